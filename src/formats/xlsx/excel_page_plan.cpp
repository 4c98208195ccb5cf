#include "formats/xlsx/excel_page_plan.h"

#include <algorithm>
#include <cmath>

namespace numbrook {
namespace {

constexpr double kTermWidth = static_cast<double>(2.7f);  // the single-precision 2.7 of the original sheets
constexpr double kWideTermWidth = 4.8;
constexpr double kBracketTermWidth = 5.5;  // a full-width bracket and two digits at 12 points
constexpr double kRemainderLeadWidth = 3.6;  // "……" at 12 points
constexpr double kA4Short = 210 / 25.4 * 72;  // points
constexpr double kA4Long = 297 / 25.4 * 72;
constexpr double kTermSize = 12;
constexpr double kSmallestPrintedSize = 9;
// Lines a page upright: 25, or 8 with a column form of three rows, 7 with
// one of four, whatever the scale (the tallest page, 694 points, fits A4's
// 748).
constexpr int kLinesPerPage = 25;
constexpr int kThreeRowFormLines = 8;
constexpr int kFourRowFormLines = 7;
constexpr int kWorkingLines = 8;  // a line and its two working rows, all as high as a line
// Spreadsheets round their fitting scale down; the page is kept this much
// clear of the paper's printable height.
constexpr double kHeightReserve = 0.97;

// A column of w characters as the spreadsheet draws it: whole pixels of the
// default font's digit (7 pixels) and 5 of padding, at 96 pixels an inch.
double ColumnPoints(double characters) {
  if (characters == 0) return 0;
  return (std::trunc(characters * 7 + 0.5) + 5) * 0.75;
}

double PrintableWidth(bool landscape) { return (landscape ? kA4Long : kA4Short) - 2 * kSideMargin * 72; }
double PrintableHeight(bool landscape) {
  return (landscape ? kA4Short : kA4Long) - (kTopMargin + kBottomMargin) * 72;
}

double Scale(double lineWidth, bool landscape) { return std::min(1.0, PrintableWidth(landscape) / lineWidth); }

}  // namespace

int ColumnsPerProblem(const GenerationSettings& settings) {
  return ShowsRemainders(settings) ? kColsPerProblemWithRemainder : kColsPerProblem;
}

int FormRows(const GenerationSettings& settings) {
  if (settings.WorkingSteps) return 2;
  if (!settings.VerticalForm) return 0;
  return settings.DivisionChecked ? 4 : settings.TermCount + 1;
}

std::vector<double> SlotColumnWidths(const GenerationSettings& settings) {
  const BlankPlace mode = settings.BlankMode;
  auto termWidth = [&](BlankPlace blankMode) {
    return mode == blankMode || mode == BlankPlace::Random ? kWideTermWidth : kTermWidth;
  };
  std::vector<double> widths = {3.0, termWidth(BlankPlace::First), 1.0, termWidth(BlankPlace::Second),
                                1.0, termWidth(BlankPlace::Third), 1.0, termWidth(BlankPlace::Result), 1.2};
  if (settings.TwoSteps && settings.TwoStepBrackets != Brackets::Never) {
    for (std::size_t term : {1, 3, 5}) widths[term] = kBracketTermWidth;
  }
  if (settings.TermCount == 2) widths[4] = widths[5] = 0;
  if (ColumnsPerProblem(settings) == kColsPerProblemWithRemainder) {
    widths.insert(widths.end() - 1, {kRemainderLeadWidth, termWidth(BlankPlace::Result)});
  }
  return widths;
}

ExcelPagePlan PlanExcelPage(const GenerationSettings& settings) {
  double slot = 0;
  for (double width : SlotColumnWidths(settings)) slot += ColumnPoints(width);
  ExcelPagePlan plan;
  plan.perLine = settings.PerRow;
  const int formRows = FormRows(settings);
  plan.linesPerPage = formRows == 0                ? kLinesPerPage
                      : settings.WorkingSteps       ? kWorkingLines
                      : formRows == 3               ? kThreeRowFormLines
                                                    : kFourRowFormLines;
  plan.printedSize = kTermSize * Scale(plan.perLine * slot, false);
  if (plan.printedSize >= kSmallestPrintedSize || Scale(plan.perLine * slot, true) <= Scale(plan.perLine * slot, false)) {
    return plan;
  }
  plan.landscape = true;
  while (plan.perLine > 1 && kTermSize * Scale(plan.perLine * slot, true) < kSmallestPrintedSize) --plan.perLine;
  const double scale = Scale(plan.perLine * slot, true);
  plan.printedSize = kTermSize * scale;
  // The lines that fit the lying page's height at that scale, under the spacer row.
  const double lineHeight = formRows == 0            ? kLineRowHeight
                            : settings.WorkingSteps ? (1 + formRows) * kLineRowHeight
                                                    : 2 * kLineRowHeight + (formRows - 1) * kDefaultRowHeight;
  const double room = PrintableHeight(true) * kHeightReserve / scale - kSpacerRowHeight;
  plan.linesPerPage = std::clamp(static_cast<int>(room / lineHeight), 1, plan.linesPerPage);
  return plan;
}

}  // namespace numbrook
