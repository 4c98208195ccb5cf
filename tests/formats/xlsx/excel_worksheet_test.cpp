// The spreadsheet worksheet as an independent reader (openpyxl) finds it.
#include <cmath>

#include <gtest/gtest.h>

#include "sets_support/run_export.h"
#include "formats_support/dumped_workbook.h"
#include "formats_support/sheet_model.h"
#include "files_support/temp_folder.h"
#include "generation/problem_generator.h"

namespace numbrook::testing {
namespace {

struct WrittenSheet {
  GenerationSettings settings;
  ProblemTable drawn;  // the table as generated, before the writer boxed its blanks
  ProblemTable exported;
  DumpedWorkbook book;
  std::vector<std::string> notices;
};

WrittenSheet Write(const SheetCase& c) {
  RunRequest controls = RequestFor(c);
  WrittenSheet sheet;
  sheet.settings = SetUpRun(controls);
  SeededRandom random(static_cast<std::uint64_t>(c.count * 31 + c.perRow));
  EXPECT_TRUE(GenerateProblems(sheet.settings, random, Progress{}, sheet.drawn));
  sheet.exported = sheet.drawn;
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "sheet.XLS";
  const ExportResult result = RunExport(sheet.settings, sheet.exported, Progress{}, file);
  EXPECT_EQ(result.outcome, ExportOutcome::Written) << result.error;
  sheet.notices = result.notices;
  sheet.book = DumpWorkbook(file);
  EXPECT_TRUE(sheet.book.ok) << "openpyxl could not read the workbook";
  return sheet;
}

class SheetLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SheetLayout, EveryCellRowHeightAndPageBreakIsWhereThePageGeometryPutsIt) {
  const LayoutCase& c = GetParam();
  const WrittenSheet sheet = Write(c.sheet);
  ASSERT_TRUE(sheet.book.ok);
  // On A4, lying where the line is too wide, and fewer problems a line said.
  EXPECT_EQ(sheet.book.facts.at("paper"), "9");
  EXPECT_EQ(sheet.book.facts.at("orientation"), c.linesPerPage != 0 ? "landscape" : "portrait");
  const bool fewer = c.perLine != 0 && c.perLine < c.sheet.perRow;
  EXPECT_EQ(sheet.notices, fewer ? std::vector<std::string>{FewerPerLineNotice(c.perLine)} : std::vector<std::string>{});
  const ExpectedSheet expected(sheet.settings, sheet.drawn, c.perLine, c.linesPerPage);
  EXPECT_EQ(sheet.book.breaks, expected.breaks);
  EXPECT_EQ(sheet.book.facts.at("default_row_height"), "15.0");
  EXPECT_EQ(sheet.book.rowHeights, expected.heights);
  ASSERT_EQ(sheet.book.cells.size(), expected.cells.size());
  for (const auto& [at, fields] : expected.cells) {
    const auto found = sheet.book.cells.find(at);
    ASSERT_NE(found, sheet.book.cells.end()) << "row " << at.first << " column " << at.second;
    EXPECT_EQ(found->second, fields) << "row " << at.first << " column " << at.second;
    if (found->second != fields) break;
  }
}

INSTANTIATE_TEST_SUITE_P(LineAndColumnForms, SheetLayout, ::testing::ValuesIn(kSheetLayouts));

// The width the spreadsheet stores for a column of w characters: whole
// pixels of the default font's digit (7 pixels) plus 5 pixels of padding.
std::string StoredWidth(double w) {
  if (w == 0) return "0.0";
  const int pixels = static_cast<int>(w * 7 + 0.5) + 5;
  const double stored = std::trunc(pixels / 7.0 * 256) / 256;
  std::ostringstream out;
  out.precision(17);
  out << stored;
  std::string text = out.str();
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

struct GridCase {
  int terms;
  BlankPlace blankMode;
  int perRow;
  int slots;  // those that print at 9 pt at least
};

void PrintTo(const GridCase& c, std::ostream* out) {
  *out << c.terms << " terms, blank mode " << static_cast<int>(c.blankMode) << ", " << c.perRow << " per row";
}

class ColumnGrid : public ::testing::TestWithParam<GridCase> {};

TEST_P(ColumnGrid, EverySlotHasTheWidthsFontsAndHiddenColumnsOfItsBlankMode) {
  const GridCase c = GetParam();
  const WrittenSheet sheet = Write({c.terms, false, c.perRow, 7, true, c.blankMode});
  const bool random = c.blankMode == BlankPlace::Random;
  auto term = [&](BlankPlace mode) { return c.blankMode == mode || random ? 4.8 : static_cast<double>(2.7f); };
  const double widths[9] = {3.0, term(BlankPlace::First), 1.0, term(BlankPlace::Second), c.terms == 3 ? 1.0 : 0,
                            c.terms == 3 ? term(BlankPlace::Third) : 0, 1.0, term(BlankPlace::Result), 1.2};
  ASSERT_EQ(sheet.book.columns.size(), static_cast<std::size_t>(9 * c.slots));
  for (int column = 1; column <= 9 * c.slots; ++column) {
    const int j = (column - 1) % 9;
    const Fields& f = sheet.book.columns.at(column);
    EXPECT_EQ(f.at("width"), StoredWidth(widths[j])) << "column " << column;
    EXPECT_EQ(f.at("hidden"), widths[j] == 0 ? "1" : "0") << "column " << column;
    EXPECT_EQ(f.at("size"), j == 0 ? "9" : "12");
    EXPECT_EQ(f.at("font"), "DejaVu Sans");
    EXPECT_EQ(f.at("bold"), j == 0 ? "1" : "0");
    EXPECT_EQ(f.at("italic"), j == 0 ? "1" : "0");
    EXPECT_EQ(f.at("align"), "center");
  }
}

INSTANTIATE_TEST_SUITE_P(BlankModes, ColumnGrid,
                         ::testing::Values(GridCase{2, BlankPlace::Result, 4, 4}, GridCase{2, BlankPlace::First, 1, 1},
                                           GridCase{2, BlankPlace::Second, 4, 4}, GridCase{2, BlankPlace::Random, 10, 7},
                                           GridCase{3, BlankPlace::Third, 4, 4}, GridCase{3, BlankPlace::Random, 10, 6},
                                           GridCase{3, BlankPlace::Result, 1, 1}, GridCase{2, BlankPlace::Result, 9, 9}));

TEST(SpreadsheetPage, SheetNameMarginsHeaderAndFooter) {
  const WrittenSheet sheet = Write({3, false, 4, 7, true, BlankPlace::Random});
  const Fields& f = sheet.book.facts;
  EXPECT_EQ(f.at("sheets"), "1");
  EXPECT_EQ(f.at("sheet"), "题目列表");
  // Header and footer a quarter inch inside the edges, the problems between
  // them, the sheet as wide as the paper and as tall as its breaks make it.
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin left")), 0.25);
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin right")), 0.25);
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin top")), 0.75);
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin bottom")), 0.55);
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin header")), 0.25);
  EXPECT_DOUBLE_EQ(std::stod(f.at("margin footer")), 0.25);
  EXPECT_EQ(f.at("fit"), "1 wide, 0 tall");
  EXPECT_EQ(f.at("centered"), "1");
  EXPECT_EQ(f.at("header_left_font"), "Noto Sans CJK SC,Regular 11");
  EXPECT_EQ(f.at("footer_center_font"), "Noto Sans CJK SC,Regular 11");
  const std::string gap(15, ' ');
  EXPECT_EQ(f.at("header_left"), "姓名：" + gap + "日期：" + gap + "时间开始：" + gap + "完成：\\n" +
                                     "【说明：三个数,加减混合运算,随机填空, 20以内含进位加法, 10以内含退位减法】");
  EXPECT_EQ(f.at("header_center"), "");
  EXPECT_EQ(f.at("footer_center"), "○ 你真棒" + gap + "○ 还不错" + gap + "○ 要加油");
}

TEST(SpreadsheetPage, PageBreaksOfEachForm) {
  EXPECT_EQ(Write({2, false, 4, 100, true, BlankPlace::Result}).book.breaks, std::vector<int>{26});
  EXPECT_EQ(Write({2, true, 1, 9, true, BlankPlace::Result}).book.breaks, std::vector<int>{33});
  EXPECT_EQ(Write({3, true, 1, 8, true, BlankPlace::Result}).book.breaks, std::vector<int>{36});
  EXPECT_TRUE(Write({2, false, 4, 1, true, BlankPlace::Result}).book.breaks.empty());
}

TEST(SpreadsheetCells, NumberingRestartsOnEveryPageWhenAsked) {
  const WrittenSheet perPage = Write({2, false, 4, 104, true, BlankPlace::Result});
  EXPECT_EQ(perPage.book.cells.at({2, 1}).at("value"), "  1. ");
  EXPECT_EQ(perPage.book.cells.at({2, 19}).at("value"), "  3. ");
  EXPECT_EQ(perPage.book.rowHeights.count(27), 0u) << "the spacer row keeps the default height of 15";
  EXPECT_EQ(perPage.book.rowHeights.at(26), "26.0");
  EXPECT_EQ(perPage.book.cells.at({28, 1}).at("value"), "  1. ");
  const WrittenSheet running = Write({2, false, 4, 104, false, BlankPlace::Result});
  EXPECT_EQ(running.book.cells.at({28, 1}).at("value"), "101. ");
}

TEST(SpreadsheetCells, BlankSecondTermInColumnForm) {
  // 12 + _ = 20: the value column holds "12", then the box split over the
  // value and closing columns, then the rule and the result.
  RunRequest controls = RequestFor({2, true, 4, 1, true, BlankPlace::Second});
  const GenerationSettings s = SetUpRun(controls);
  ProblemTable table(2);
  table.Row(0) = {"12", "+", "_", "", "", "=", "20"};
  TempFolder folder;
  ASSERT_EQ(RunExport(s, table, Progress{}, folder.path() / "b.XLS").outcome, ExportOutcome::Written);
  EXPECT_EQ(table.Cell(0, kSecondTerm), "_") << "the caller's table is only read";
  const DumpedWorkbook book = DumpWorkbook(folder.path() / "b.XLS");
  auto cell = [&](int row, int column) { return book.cells.at({row, column}); };
  EXPECT_EQ(cell(3, 4).at("value"), "12");
  EXPECT_EQ(cell(3, 4).at("align"), "right");
  EXPECT_EQ(cell(4, 3).at("value"), "+");
  EXPECT_EQ(cell(4, 3).at("align"), "left");
  EXPECT_EQ(cell(4, 4).at("value"), "(   ");
  EXPECT_EQ(cell(4, 4).at("align"), "right");
  EXPECT_EQ(cell(4, 7).at("value"), ")");
  for (int column : {3, 4, 7}) EXPECT_EQ(cell(5, column).at("top"), "thin") << column;
  EXPECT_EQ(cell(5, 4).at("value"), "20");
  EXPECT_EQ(cell(5, 3).at("kind"), "-") << "a bordered blank cell";
  EXPECT_EQ(book.cells.count({5, 5}), 0u);
}

// Two steps with their working: under each line two rows as high as a
// line, "=" in the number's column and a line to write on across the
// problem's columns, the key's working on it; 8 lines a page. A bracket
// stands in its number's cell, full-width.
TEST(SpreadsheetCells, WorkingRowsAndBrackets) {
  RunRequest controls;
  controls.terms = 3;
  controls.operations = OperationKinds::Addition | OperationKinds::Division;
  controls.brackets = Brackets::Mixed;
  controls.steps = true;
  controls.perLine = 2;
  controls.count = 17;
  const GenerationSettings s = SetUpRun(controls);
  ProblemTable table(s.ProblemCount + 1);
  for (int i = 0; i < s.ProblemCount; ++i) table.Row(i) = {"12", "+", "15", "÷", "3", "=", "_", "", i % 2 == 0 ? "" : "12"};
  TempFolder folder;
  ASSERT_EQ(RunExport(s, table, Progress{}, folder.path() / "s.XLS", SheetKind::AnswerKey).outcome, ExportOutcome::Written);
  const DumpedWorkbook book = DumpWorkbook(folder.path() / "s.XLS");
  auto cell = [&](int row, int column) { return book.cells.at({row, column}); };
  // A spacer row, then 8 lines of three rows a page.
  EXPECT_EQ(book.breaks, std::vector<int>{25});
  for (int row : {2, 3, 4, 5, 25, 28}) EXPECT_EQ(book.rowHeights.at(row), "26.0") << row;
  const std::pair<int, std::vector<std::string>> problems[] = {{1, {"12", "+", "15", "÷", "3"}},
                                                               {10, {"（12", "+", "15）", "÷", "3"}}};
  for (const auto& [first, terms] : problems) {
    for (std::size_t k = 0; k < terms.size(); ++k) EXPECT_EQ(cell(2, first + 1 + static_cast<int>(k)).at("value"), terms[k]);
    EXPECT_EQ(book.cells.count({2, first + 6}), 0u) << "no \"=\" in the problem's line";
    for (int row : {3, 4}) {
      EXPECT_EQ(cell(row, first).at("value"), "=");
      EXPECT_EQ(cell(row, first).at("align"), "right");
      for (int column = first + 1; column <= first + 7; ++column) EXPECT_EQ(cell(row, column).at("bottom"), "thin");
    }
  }
  // 12 + 15 ÷ 3 = 12 + 5 = 17, and (12 + 15) ÷ 3 = 27 ÷ 3 = 9, in the key's red.
  const std::pair<std::pair<int, int>, const char*> working[] = {
      {{3, 2}, "12"}, {{3, 3}, "+"}, {{3, 4}, "5"}, {{4, 2}, "17"}, {{3, 11}, "27"}, {{3, 12}, "÷"}, {{3, 13}, "3"}, {{4, 11}, "9"}};
  for (const auto& [at, value] : working) {
    EXPECT_EQ(cell(at.first, at.second).at("value"), value) << at.first << "," << at.second;
    EXPECT_EQ(cell(at.first, at.second).at("color"), "FFFF0000") << at.first << "," << at.second;
  }
}

}  // namespace
}  // namespace numbrook::testing
