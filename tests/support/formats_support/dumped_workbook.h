#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace numbrook::testing {

using Fields = std::map<std::string, std::string>;

// What the independent reader (openpyxl) found in a workbook.
struct DumpedWorkbook {
  Fields facts;                                    // sheet, margins, header, footer...
  std::map<int, Fields> columns;                   // by column number, from 1
  std::map<int, std::string> rowHeights;           // by row number, from 1
  std::vector<int> breaks;                         // rows above which a page breaks, less one
  std::map<std::pair<int, int>, Fields> cells;     // by (row, column)
  bool ok = false;
};

inline std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

inline Fields KeyValues(const std::vector<std::string>& fields, std::size_t from) {
  Fields out;
  for (std::size_t i = from; i < fields.size(); ++i) {
    const std::size_t eq = fields[i].find('=');
    out[fields[i].substr(0, eq)] = eq == std::string::npos ? "" : fields[i].substr(eq + 1);
  }
  return out;
}

inline DumpedWorkbook DumpWorkbook(const std::filesystem::path& file) {
  DumpedWorkbook book;
  const std::string command = "/usr/bin/python3 '" NUMBROOK_DUMP_WORKBOOK "' '" + file.string() + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return book;
  std::string output;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  book.ok = pclose(pipe) == 0;

  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = SplitTabs(line);
    if (f.empty()) continue;
    const std::string& kind = f[0];
    if (kind == "margin") {
      book.facts["margin " + f[1]] = f[2];
    } else if (kind == "column") {
      book.columns[std::stoi(f[1])] = KeyValues(f, 2);
    } else if (kind == "row") {
      book.rowHeights[std::stoi(f[1])] = KeyValues(f, 2)["height"];
    } else if (kind == "break") {
      book.breaks.push_back(std::stoi(f[1]));
    } else if (kind == "cell") {
      Fields cell = KeyValues(f, 4);
      cell["kind"] = f[3];
      book.cells[{std::stoi(f[1]), std::stoi(f[2])}] = cell;
    } else {
      book.facts[kind] = f.size() > 1 ? f[1] : "";
    }
  }
  return book;
}

// The workbook's rows, each cell's value in column order, as lines of text.
inline std::string WorkbookText(const DumpedWorkbook& book) {
  std::string text;
  int row = 0;
  for (const auto& [at, cell] : book.cells) {
    if (at.first != row) text += "\n";
    row = at.first;
    text += " " + cell.at("value");
  }
  return text;
}

}  // namespace numbrook::testing
