#pragma once

#include "formats/pdf/pdf_text.h"
#include "generation/generation_settings.h"
#include "sheet/sheet_layout.h"

namespace numbrook {

inline constexpr double kPointsPerMillimetre = 72.0 / 25.4;

// Where everything of a PDF sheet goes, in points, worked out once per
// sheet from the measured text: the paper, the type size, how many problems
// stand on a line and how many lines on a page.
struct PdfPagePlan {
  bool landscape = false;
  double pageWidth = 0, pageHeight = 0, margin = 0;
  double size = 0;  // the problems' type
  int perLine = 1, linesPerPage = 1;

  // A problem's line: its number, right-aligned in a column as wide as the
  // largest number of its page, an em, then its terms and signs one after
  // another, a blank as a box.
  double afterNumber = 0, itemGap = 0;
  double blankWidth = 0, blankHeight = 0;
  // A remainder follows its quotient after "……" in smaller type, in a box
  // for its one digit.
  double remainderLeadSize = 0, remainderLead = 0, remainderBlankWidth = 0;
  double bodyWidth = 0;  // the widest problem after its number, its column form included
  double slotGap = 0;
  double rowHeight = 0, lineHeight = 0;

  // The column form under a problem, this far below its line's top: an
  // operator, then one box per digit place; a division frame has its
  // divisor's box and the bracket before the boxes instead.
  double columnFormTop = 0, box = 0, signWidth = 0, ruleGap = 0, divisorWidth = 0;

  // The working (脱式) under a problem, this far below its line's top: each
  // line an "=" and a line to write on, as long as the problem is wide.
  double workingTop = 0, workingLineHeight = 0;

  double titleSize = 0, fieldSize = 0, footerSize = 0;
  double headerHeight = 0, footerHeight = 0;

  double UsableWidth() const { return pageWidth - 2 * margin; }
  // A problem's room on a page whose number column is this wide.
  double SlotWidth(double numberWidth) const { return numberWidth + afterNumber + bodyWidth; }
  double LineWidth(double numberWidth, int problems) const {
    return problems * SlotWidth(numberWidth) + (problems - 1) * slotGap;
  }
};

// The fewest pages that hold the sheet at a legible size (problems of at
// least 12 pt, 16 pt with up to three two-term problems a line, 20 pt in
// large type): upright unless lying the pages need fewer of them; then the
// largest type, up to 20 pt, and the widest line spacing that keep that
// count. Where a line of the asked problems cannot stand across the paper
// at the smallest size, it holds as many as fit.
PdfPagePlan PlanPdfPages(const SheetLayout& sheet, const GenerationSettings& settings, PdfText& text);

// What the sheet prints in place of the ASCII minus: the minus sign, as
// wide as the plus.
std::string PrintedSign(const std::string& sign);

// Brackets as the sheet's font has them, full-width beside the numbers.
inline constexpr const char* kOpeningBracket = "（";
inline constexpr const char* kClosingBracket = "）";

// A key's working line as printed: "36 + 7".
std::string PdfWorkingText(const WorkingLine& line);

}  // namespace numbrook
