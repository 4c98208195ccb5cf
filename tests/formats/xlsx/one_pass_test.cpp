// The spreadsheet writer writes each cell once, in row order, with its final
// text and format. The library's cell calls are caught on their way (the
// test links with --wrap) and compared with the sheet model.
#include <xlsxwriter.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <tuple>

#include "sets_support/run_export.h"
#include "formats_support/sheet_model.h"
#include "files_support/temp_folder.h"
#include "generation/problem_generator.h"

namespace {

std::string NumberText(double number) {
  const auto whole = static_cast<long long>(number);
  return std::to_string(whole);
}

// A format as the model describes one.
std::string Hex(unsigned colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", colour);
  return text;
}

numbrook::testing::Fields LookOf(const lxw_format* format) {
  const char* align = format->text_h_align == LXW_ALIGN_LEFT    ? "left"
                      : format->text_h_align == LXW_ALIGN_RIGHT ? "right"
                                                                : "center";
  return {{"format", format->num_format[0] != '\0' ? format->num_format : "General"},
          {"font", format->font_name},
          {"size", NumberText(format->font_size)},
          {"bold", format->bold ? "1" : "0"},
          {"italic", format->italic ? "1" : "0"},
          {"align", align},
          {"top", format->top == LXW_BORDER_THIN ? "thin" : ""},
          {"color", format->font_color == LXW_COLOR_UNSET ? "" : "FF" + Hex(format->font_color)},
          {"underline", format->underline == LXW_UNDERLINE_SINGLE ? "single" : ""}};
}

struct CellCall {
  int row, column;  // from 1, as the model counts
  numbrook::testing::Fields fields;
  const lxw_format* format;  // only to count the formats; freed with the workbook
};
std::vector<CellCall> calls;

void Record(lxw_row_t row, lxw_col_t column, const char* kind, const std::string& value, const lxw_format* format) {
  numbrook::testing::Fields fields = LookOf(format);
  fields["kind"] = kind;
  fields["value"] = value;
  calls.push_back({static_cast<int>(row) + 1, static_cast<int>(column) + 1, fields, format});
}

}  // namespace

extern "C" {
lxw_error __real_worksheet_write_string(lxw_worksheet*, lxw_row_t, lxw_col_t, const char*, lxw_format*);
lxw_error __real_worksheet_write_number(lxw_worksheet*, lxw_row_t, lxw_col_t, double, lxw_format*);
lxw_error __real_worksheet_write_blank(lxw_worksheet*, lxw_row_t, lxw_col_t, lxw_format*);

lxw_error __wrap_worksheet_write_string(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const char* text,
                                        lxw_format* format) {
  Record(row, column, "s", text, format);
  return __real_worksheet_write_string(sheet, row, column, text, format);
}
lxw_error __wrap_worksheet_write_number(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, double number,
                                        lxw_format* format) {
  Record(row, column, "n", NumberText(number), format);
  return __real_worksheet_write_number(sheet, row, column, number, format);
}
lxw_error __wrap_worksheet_write_blank(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, lxw_format* format) {
  Record(row, column, "-", "", format);
  return __real_worksheet_write_blank(sheet, row, column, format);
}
}

namespace numbrook::testing {
namespace {

class OnePass : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(OnePass, EachCellIsWrittenOnceInRowOrderWithItsFinalTextAndFormat) {
  const LayoutCase& c = GetParam();
  const GenerationSettings settings = SetUpRun(RequestFor(c.sheet));
  SeededRandom random(static_cast<std::uint64_t>(c.sheet.count * 7 + c.sheet.perRow));
  ProblemTable drawn;
  ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, drawn));
  ProblemTable exported = drawn;
  TempFolder folder;
  calls.clear();
  ASSERT_EQ(RunExport(settings, exported, Progress{}, folder.path() / "s.XLS").outcome, ExportOutcome::Written);

  const ExpectedSheet expected(settings, drawn, c.perLine, c.linesPerPage);
  ASSERT_EQ(calls.size(), expected.cells.size()) << "one call for each cell of the sheet, no more";
  std::set<const lxw_format*> formats;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const CellCall& call = calls[i];
    if (i > 0) {
      ASSERT_LT(std::tie(calls[i - 1].row, calls[i - 1].column), std::tie(call.row, call.column))
          << "row " << call.row << " column " << call.column << " out of order or written again";
    }
    const auto found = expected.cells.find({call.row, call.column});
    ASSERT_NE(found, expected.cells.end()) << "row " << call.row << " column " << call.column;
    ASSERT_EQ(call.fields, found->second) << "row " << call.row << " column " << call.column;
    formats.insert(call.format);
  }
  EXPECT_LE(formats.size(), 6u) << "the few formats made once, not one per cell";
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, OnePass, ::testing::ValuesIn(kSheetLayouts));

}  // namespace
}  // namespace numbrook::testing
