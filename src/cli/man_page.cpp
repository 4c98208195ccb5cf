// Writes numbrook-sheet's manual page from its template at build time, with
// every limit and default taken from the run's settings table: "@count.lowest@",
// "@count.highest@", "@count.default@", "@per-row.three-terms@", "@per-row.steps@", and the
// tables' "@tables.lowest@", "@tables.highest@" and "@tables.default@" (1\-9).
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <string>

#include "generation/settings_table.h"

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: man_page TEMPLATE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  for (const numbrook::NumberSetting& setting : numbrook::kNumberSettings) {
    const std::string name = "@" + std::string(setting.option) + ".";
    ReplaceAll(page, name + "lowest@", std::to_string(setting.lowest));
    ReplaceAll(page, name + "highest@", std::to_string(setting.highest));
    ReplaceAll(page, name + "default@", std::to_string(setting.startUp));
  }
  ReplaceAll(page, "@per-row.three-terms@", std::to_string(numbrook::DefaultPerLine(3)));
  ReplaceAll(page, "@per-row.steps@", std::to_string(numbrook::DefaultPerLine(3, true)));
  const numbrook::TablesSetting& tables = numbrook::kTablesSetting;
  const std::string name = "@" + std::string(tables.option) + ".";
  ReplaceAll(page, name + "lowest@", std::to_string(tables.lowest));
  ReplaceAll(page, name + "highest@", std::to_string(tables.highest));
  ReplaceAll(page, name + "default@", std::to_string(tables.startUpFrom) + "\\-" + std::to_string(tables.startUpTo));
  std::smatch unknown;
  if (std::regex_search(page, unknown, std::regex("@[a-z-]+\\.[a-z-]+@"))) {
    std::cerr << "man_page: " << argv[1] << " names an unknown setting: " << unknown.str() << "\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  return out ? 0 : 1;
}
