#pragma once

#include <array>

#include "formats/pdf/pdf_text.h"
#include "sheet/sheet_layout.h"

namespace numbrook {

inline constexpr double kPointsPerMillimetre = 72.0 / 25.4;

// Where everything of a PDF sheet goes, in points, worked out once per
// sheet from the measured text: the paper, the type size, how many problems
// stand on a line and how many lines on a page.
struct PdfPagePlan {
  bool landscape = false;
  double pageWidth = 0, pageHeight = 0, margin = 0;
  double size = 0;                // the problems' type
  int perLine = 1, linesPerPage = 1;

  // A problem's line: the number, then its cells; a remainder's cell
  // begins with "……", in smaller type.
  double numberWidth = 0, afterNumber = 0;
  std::array<double, kProblemColumns> cellWidths{};
  double remainderLead = 0, remainderLeadSize = 0;
  double slotWidth = 0, slotGap = 0, lineLeft = 0;
  double rowHeight = 0, lineHeight = 0;

  // The column form under a problem: an operator, then one box per digit
  // place; a division frame has its divisor's box and the bracket before
  // the boxes instead.
  double box = 0, signWidth = 0, ruleGap = 0, divisorWidth = 0;

  double titleSize = 0, fieldSize = 0, footerSize = 0;
  double headerHeight = 0, footerHeight = 0;

  double UsableWidth() const { return pageWidth - 2 * margin; }
};

// The largest type, at most 20 pt and at least 12 pt (16 pt with up to
// three problems a line), at which the sheet's lines fit across A4
// portrait; landscape when no size fits upright. Where even landscape
// cannot hold a whole line at the smallest size, a line holds what fits
// and the rest follow on the next.
PdfPagePlan PlanPdfPages(const SheetLayout& sheet, int perRow, PdfText& text);

}  // namespace numbrook
