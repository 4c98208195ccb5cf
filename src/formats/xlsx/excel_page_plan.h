#pragma once

#include <vector>

#include "generation/generation_settings.h"

namespace numbrook {

// Every problem slot has nine columns (number, three terms, two operators,
// "=", the result and a gap), whatever its term count; a sheet whose
// divisions may leave a remainder has two more before the gap: "……" and
// the remainder.
inline constexpr int kColsPerProblem = 9;
inline constexpr int kColsPerProblemWithRemainder = 11;
int ColumnsPerProblem(const GenerationSettings& settings);

// The rows under a line that its column form takes: the terms and the
// result, or the four rows of a division frame (quotient, dividend,
// product, remainder), whichever a problem of the sheet may need; or the
// two rows of the working (脱式) written under each problem.
int FormRows(const GenerationSettings& settings);

// The page set-up, in inches: header and footer a quarter inch inside the
// paper's edge, where every printer prints; the problems start below the
// header's two lines and end above the footer's line.
inline constexpr double kSideMargin = 0.25;
inline constexpr double kHeaderFooterMargin = 0.25;
inline constexpr double kTopMargin = 0.75;
inline constexpr double kBottomMargin = 0.55;

// Row heights in points: a line's row (and a column form's result row), the
// spacer row atop every page, and every other row.
inline constexpr double kLineRowHeight = 26;
inline constexpr double kSpacerRowHeight = 15;
inline constexpr double kDefaultRowHeight = 15;

// The widths of a slot's columns, in characters: a term's column is 2.7
// characters wide, or wider where it holds the blank or brackets may stand
// beside its number; a two-term problem hides its second operator and
// third term.
std::vector<double> SlotColumnWidths(const GenerationSettings& settings);

// How the workbook prints on A4. It is fitted to the paper's width, so a
// wide line prints its 12 pt terms smaller: upright while they print at 9
// pt or more, else lying where that prints them larger, with as many lines
// a page as then fit its height, and as many problems a line as print at 9
// pt at least.
struct ExcelPagePlan {
  bool landscape = false;
  int perLine = 1;
  int linesPerPage = 25;
  double printedSize = 12;  // the terms' size on paper
};

ExcelPagePlan PlanExcelPage(const GenerationSettings& settings);

}  // namespace numbrook
