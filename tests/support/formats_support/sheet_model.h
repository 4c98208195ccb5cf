#pragma once

// The spreadsheet sheet that a run must give, worked out from the page
// geometry independently of the writer: the layouts the tests cover, and
// every cell's value and look, every row height and every page break.
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"

namespace numbrook::testing {

// A cell's facts by name, as the workbook reader prints them.
using Fields = std::map<std::string, std::string>;

struct SheetCase {
  int terms;
  bool vertical;
  int perRow;
  int count;
  bool newPage;
  BlankPlace blankMode;
};

inline void PrintTo(const SheetCase& c, std::ostream* out) {
  *out << c.terms << " terms, " << (c.vertical ? "column form" : "line form") << ", " << c.perRow
       << " per row, " << c.count << " problems" << (c.newPage ? ", numbered per page" : "") << ", blank mode "
       << static_cast<int>(c.blankMode);
}

inline RunRequest RequestFor(const SheetCase& c) {
  RunRequest controls;
  controls.terms = c.terms;
  controls.operations = controls.operations | OperationKinds::Subtraction;
  if (c.terms == 3) controls.operations = controls.operations | OperationKinds::Mixed;
  controls.columnForm = c.vertical;
  controls.numberEachPage = c.newPage;
  controls.blank = c.blankMode;
  controls.count = c.count;
  controls.perLine = c.perRow;
  return controls;
}

// A sheet the spreadsheet tests cover, and how it prints on A4: upright
// with the asked problems a line and 25 lines a page (8 or 7 with the
// column form); a line too wide to print its terms at 9 pt upright prints
// lying, with as many problems as print at 9 pt at least and the lines that
// fit the page. Worked out by hand: a slot is 150 pixels (112.5 points)
// wide, 180 with random blanks, 186 with three terms; lying A4 prints 806
// points across and 487 down (the margins and a reserve of 3 % off), so 9
// pt is a line of 1074 points at most.
struct LayoutCase {
  SheetCase sheet;
  int perLine = 0;       // 0: as asked
  int linesPerPage = 0;  // 0: 25, 8 or 7
};

inline void PrintTo(const LayoutCase& c, std::ostream* out) {
  PrintTo(c.sheet, out);
  if (c.perLine != 0) *out << ", lying with " << c.perLine << " a line, " << c.linesPerPage << " lines a page";
}

// The layouts of both forms the spreadsheet tests cover.
inline const LayoutCase kSheetLayouts[] = {
    {{2, false, 4, 100, true, BlankPlace::Result}, 0, 0},    {{2, false, 4, 104, true, BlankPlace::Random}, 0, 0},
    {{2, false, 4, 104, false, BlankPlace::Second}, 0, 0},   {{3, false, 1, 7, true, BlankPlace::Third}, 0, 0},
    {{3, false, 4, 7, true, BlankPlace::Random}, 0, 0},      {{2, true, 4, 100, true, BlankPlace::Random}, 0, 0},
    {{3, true, 4, 104, false, BlankPlace::Random}, 0, 0},    {{2, true, 1, 1, true, BlankPlace::Result}, 0, 0},
    {{3, true, 1, 1000, true, BlankPlace::Random}, 0, 0},
    // 6 slots of 150 pixels print at 9.9 pt upright.
    {{2, false, 6, 300, true, BlankPlace::Result}, 0, 0},
    // 7 at 8.5 pt upright, 12 pt lying: (487 - 15) / 26 lines.
    {{2, false, 7, 300, true, BlankPlace::Result}, 7, 18},
    // 10 slots of 150 pixels print at 8.6 pt lying, 9 at 9.5 pt: 487 / 0.796 points.
    {{2, false, 10, 1000, true, BlankPlace::First}, 9, 22},
    // 7 slots of 180 pixels at 10.2 pt: lines of 82 points in 487 / 0.853.
    {{2, true, 10, 1000, false, BlankPlace::Random}, 7, 6},
    // 7 slots of 186 pixels at 9.9 pt: lines of 97 points in 487 / 0.825.
    {{3, true, 10, 1000, true, BlankPlace::Result}, 7, 5}};

// The layout a sheet must have, worked out from the page geometry: a
// spacer row on top of every page, then 25 lines, or 8 two-term or 7
// three-term lines with their column form, or the lines a lying page holds.
class ExpectedSheet {
 public:
  ExpectedSheet(const GenerationSettings& s, const ProblemTable& drawn, int printedPerLine = 0, int printedLines = 0)
      : s_(s) {
    const int perLine = printedPerLine != 0 ? printedPerLine : s.PerRow;
    const int linesPerPage = printedLines != 0 ? printedLines : !s.VerticalForm ? 25 : (s.TermCount == 2 ? 8 : 7);
    const int rowsPerLine = s.VerticalForm ? s.TermCount + 2 : 1;
    const int pageRows = 1 + linesPerPage * rowsPerLine;
    const int lines = (s.ProblemCount + perLine - 1) / perLine;
    const int width = static_cast<int>(std::to_string(s.ProblemCount).size());
    for (int line = 0; line < lines; ++line) {
      const int page = line / linesPerPage;
      const int onPage = line % linesPerPage;
      const int top = page * pageRows + 1;
      const int lineRow = top + 1 + onPage * rowsPerLine;
      // The spacer row's 15 is the sheet's default row height, which the
      // file records once for the sheet rather than on the row.
      if (onPage > 0) heights[lineRow - 1] = "26.0";
      heights[lineRow] = "26.0";
      // A column form's result row is as high as a line, on the last line
      // of a page too.
      if (s.VerticalForm) heights[lineRow + s.TermCount + 1] = "26.0";
      if (onPage == linesPerPage - 1) breaks.push_back(top + pageRows - 1);
      for (int position = 0; position < perLine; ++position) {
        const int p = line * perLine + position;
        if (p >= s.ProblemCount) break;
        const int g = position * 9;
        const int number = s.NumberEachPage ? p - page * linesPerPage * perLine + 1 : p + 1;
        std::string numberText = std::to_string(number);
        numberText.insert(0, static_cast<std::size_t>(width) - numberText.size(), ' ');
        Value(lineRow, g + 1, numberText + ". ");
        ProblemRow row = drawn.Row(p);
        for (std::string& cell : row) {
          if (cell == "_") cell = "(   )";
        }
        for (int k = 0; k < 7; ++k) Value(lineRow, g + 2 + k, row[static_cast<std::size_t>(k)]);
        if (s.VerticalForm) ColumnForm(lineRow, g, row);
      }
    }
    for (auto it = cells.begin(); it != cells.end();) {
      const Fields& f = it->second;
      const bool unwritten = f.at("value").empty() && f.at("align") == "center" && f.at("top").empty();
      it = unwritten ? cells.erase(it) : std::next(it);
    }
  }

  std::map<std::pair<int, int>, Fields> cells;
  std::map<int, std::string> heights;
  std::vector<int> breaks;

 private:
  Fields& At(int row, int column) {
    auto [it, added] = cells.try_emplace({row, column});
    if (added) {
      const bool numberColumn = (column - 1) % 9 == 0;
      it->second = {{"kind", "-"},    {"value", ""},     {"font", "DejaVu Sans"},     {"format", numberColumn ? "@" : "General"},
                    {"size", numberColumn ? "9" : "12"}, {"bold", numberColumn ? "1" : "0"},
                    {"italic", numberColumn ? "1" : "0"}, {"align", "center"}, {"top", ""},
                    {"color", ""},    {"underline", ""}};
    }
    return it->second;
  }

  void Value(int row, int column, const std::string& value) {
    Fields& f = At(row, column);
    f["value"] = value;
    const bool whole = !value.empty() && value.find_first_not_of("-0123456789") == std::string::npos &&
                       value != "-" && f["format"] != "@";
    f["kind"] = value.empty() ? "-" : (whole ? "n" : "s");
  }

  void ColumnForm(int r, int g, const ProblemRow& row) {
    const int closing = s_.TermCount == 3 ? g + 5 : g + 7;
    auto place = [&](int at, const std::string& v) {
      if (v == "(   )") {
        Value(at, g + 4, "(   ");
        Value(at, closing, ")");
      } else {
        Value(at, g + 4, v);
      }
      At(at, g + 4)["align"] = "right";
    };
    place(r + 1, row[kFirstTerm]);
    Value(r + 2, g + 3, row[kFirstOperator]);
    At(r + 2, g + 3)["align"] = "left";
    place(r + 2, row[kSecondTerm]);
    if (s_.TermCount == 3) {
      Value(r + 3, g + 3, row[kSecondOperator]);
      At(r + 3, g + 3)["align"] = "left";
      place(r + 3, row[kThirdTerm]);
    }
    const int result = r + s_.TermCount + 1;
    for (int column : {g + 3, g + 4, closing}) At(result, column)["top"] = "thin";
    place(result, row[kResult]);
  }

  const GenerationSettings& s_;
};

}  // namespace numbrook::testing
