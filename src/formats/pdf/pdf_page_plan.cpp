#include "formats/pdf/pdf_page_plan.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace numbrook {
namespace {

constexpr double kA4Short = 210 * kPointsPerMillimetre;
constexpr double kA4Long = 297 * kPointsPerMillimetre;
constexpr double kMargin = 12 * kPointsPerMillimetre;  // printers keep clear of the last 10 mm
constexpr double kSmallestBox = 8 * kPointsPerMillimetre;
constexpr double kLargestSize = 20;
constexpr double kSmallestSize = 12;
constexpr double kSmallestSizeForFewPerLine = 16;  // legible in the first school years
constexpr double kLargeTypeSize = 20;             // for first graders
constexpr double kSizeStep = 0.5;
// Text is measured once at this size: without hinting its widths grow
// exactly with the size.
constexpr double kMeasuringSize = 100;

// In ems of the problems' type. The gap after a number is the widest
// within a problem, and the gap between problems wider still, so that a
// number is read with the problem it leads.
constexpr double kAfterNumber = 1.1;  // a reader finds an em at least, whatever its glyph boxes
constexpr double kItemGap = 0.25;
constexpr double kSlotGap = 1.5;
constexpr double kSmallestBlank = 2.4;  // room for a child's two digits
constexpr double kSmallestRemainderBlank = 1.6;  // a remainder has one
constexpr double kRemainderLeadScale = 0.75;     // "……" smaller than the terms, so three divisions still fit
constexpr double kBlankHeight = 1.4;
constexpr double kRowHeight = 1.5;
constexpr double kTightestLineForm = 1.9;  // from one line to the next
constexpr double kColumnFormSpace = 0.6;   // under a column form, at the least
constexpr double kMostExtraSpace = 1.2;    // a short sheet spreads its lines this much more at most
constexpr double kWorkingLine = 1.8;       // each working line, room for a child's hand
constexpr double kShortestWritingLine = 6;  // after its "=": room for "81 ÷ 9"

// What the sheet's problems need, in ems, whatever the size.
struct Demands {
  double body = 0;   // the widest problem after its number, in line form
  double digit = 0;  // the widest digit
  double dot = 0;
  double sign = 0;   // the widest operator
  double blank = 0;
  double remainderLead = 0;   // "……" in its smaller type
  double remainderBlank = 0;
  int places = 0;    // column form digit places
  bool divisionFrames = false;
  int problems = 0;
  int terms = 2;
  bool columnForm = false;
  bool working = false;
};

double Ems(PdfText& text, const std::string& what, TextStyle style = TextStyle::Regular) {
  return text.Width(what, style, kMeasuringSize) / kMeasuringSize;
}

// A problem after its number: its terms and signs one after another, a
// remainder after its "……".
double BodyEms(const SheetProblem& problem, const Demands& demands, PdfText& text) {
  double width = 0;
  int items = 0;
  for (std::size_t k = 0; k < problem.cells.size(); ++k) {
    const SheetCell& cell = problem.cells[k];
    if (!cell.blank && cell.text.empty()) continue;  // the third term of a two-term problem, a missing remainder
    // A full-width bracket's own room stands in for the gap on its outer side.
    if (OpensBracket(problem, k)) width += Ems(text, kOpeningBracket) - kItemGap;
    if (ClosesBracket(problem, k)) width += Ems(text, kClosingBracket) - kItemGap;
    if (k == kRemainder) {
      width += demands.remainderLead + kItemGap;
      width += cell.blank ? demands.remainderBlank : Ems(text, cell.text);
    } else if (cell.blank) {
      width += demands.blank;
    } else {
      width += Ems(text, IsSignColumn(k) ? PrintedSign(cell.text) : cell.text);
    }
    ++items;
  }
  return width + (items - 1) * kItemGap;
}

Demands DemandsOf(const SheetLayout& sheet, const GenerationSettings& settings, PdfText& text) {
  Demands demands;
  demands.problems = sheet.problemCount;
  demands.terms = sheet.termCount;
  demands.columnForm = sheet.columnForm;
  for (char digit = '0'; digit <= '9'; ++digit) demands.digit = std::max(demands.digit, Ems(text, std::string(1, digit)));
  demands.dot = Ems(text, ".");
  demands.sign = std::max({Ems(text, "+"), Ems(text, PrintedSign("-")), Ems(text, "×"), Ems(text, "÷"), Ems(text, "=")});
  demands.divisionFrames = sheet.divisionFrames;
  std::size_t longest = static_cast<std::size_t>(settings.DigitWidth);
  for (const SheetPage& page : sheet.pages) {
    for (const SheetLine& line : page.lines) {
      for (const SheetProblem& problem : line.problems) {
        for (const SheetCell& cell : problem.cells) longest = std::max(longest, cell.text.size());
        demands.places = std::max(demands.places, problem.columnForm.places);
      }
    }
  }
  // A blank is the same box on a sheet and on its key, where the answer stands in it.
  demands.blank = std::max(kSmallestBlank, Ems(text, std::string(longest, '0'), TextStyle::Answer) + 0.8);
  if (sheet.remainders) {
    demands.remainderLead = kRemainderLeadScale * Ems(text, "……");
    demands.remainderBlank = std::max(kSmallestRemainderBlank, Ems(text, "0", TextStyle::Answer) + 0.8);
  }
  demands.working = sheet.workingSteps;
  const double equals = Ems(text, "=") + kItemGap;
  for (const SheetPage& page : sheet.pages) {
    for (const SheetLine& line : page.lines) {
      for (const SheetProblem& problem : line.problems) {
        demands.body = std::max(demands.body, BodyEms(problem, demands, text));
        if (!demands.working) continue;
        // The working's lines as long on a sheet as on its key.
        demands.body = std::max(demands.body, equals + kShortestWritingLine);
        for (const WorkingLine& working : problem.working) {
          demands.body = std::max(demands.body, equals + Ems(text, PdfWorkingText(working), TextStyle::Answer));
        }
      }
    }
  }
  return demands;
}

// The plan's sizes at one type size and paper, without the line count.
PdfPagePlan At(const Demands& demands, bool landscape, double size, PdfText& text) {
  PdfPagePlan plan;
  plan.landscape = landscape;
  plan.pageWidth = landscape ? kA4Long : kA4Short;
  plan.pageHeight = landscape ? kA4Short : kA4Long;
  plan.margin = kMargin;
  plan.size = size;
  plan.afterNumber = kAfterNumber * size;
  plan.itemGap = kItemGap * size;
  plan.blankWidth = demands.blank * size;
  plan.blankHeight = kBlankHeight * size;
  plan.remainderLeadSize = kRemainderLeadScale * size;
  plan.remainderLead = demands.remainderLead * size;
  plan.remainderBlankWidth = demands.remainderBlank * size;
  plan.slotGap = kSlotGap * size;
  plan.rowHeight = kRowHeight * size;
  plan.bodyWidth = demands.body * size;
  plan.lineHeight = kTightestLineForm * size;
  if (demands.columnForm) {
    plan.box = std::max(kSmallestBox, 1.3 * size);
    plan.signWidth = (demands.sign + 0.5) * size;
    plan.ruleGap = 0.35 * plan.box;
    plan.columnFormTop = plan.rowHeight + 0.2 * size;
    // A division frame: the divisor's box, then room for the bracket; four
    // rows of boxes, the line over the dividend and a rule.
    plan.divisorWidth = demands.divisionFrames ? 1.4 * plan.box : 0;
    plan.bodyWidth = std::max(plan.bodyWidth, std::max(plan.signWidth, plan.divisorWidth) + demands.places * plan.box);
    const double form = demands.divisionFrames ? std::max(4 * plan.box + 2 * plan.ruleGap,
                                                          (demands.terms + 1) * plan.box + plan.ruleGap)
                                               : (demands.terms + 1) * plan.box + plan.ruleGap;
    plan.lineHeight = plan.columnFormTop + form + kColumnFormSpace * size;
  }
  if (demands.working) {
    plan.workingTop = plan.rowHeight;
    plan.workingLineHeight = kWorkingLine * size;
    plan.lineHeight = plan.workingTop + kWorkingLines * plan.workingLineHeight + kColumnFormSpace * size;
  }
  plan.titleSize = std::min(22.0, size + 4);
  plan.fieldSize = std::min(size, 16.0);
  plan.footerSize = kSmallestSize;
  plan.headerHeight = text.LineHeight(plan.titleSize) + 0.4 * size + 1.8 * text.LineHeight(plan.fieldSize) + 0.5 * size;
  plan.footerHeight = 2.2 * text.LineHeight(plan.footerSize);
  return plan;
}

double Room(const PdfPagePlan& plan) {
  return plan.pageHeight - 2 * plan.margin - plan.headerHeight - plan.footerHeight;
}

int LinesThatFit(const PdfPagePlan& plan) {
  return std::max(1, static_cast<int>(std::floor(Room(plan) / plan.lineHeight)));
}

int LinesOf(const Demands& demands, int perLine) { return (demands.problems + perLine - 1) / perLine; }

// The width of the number column for numbers up to this one.
double NumberWidth(const PdfPagePlan& plan, const Demands& demands, int largest) {
  return (DecimalDigits(largest) * demands.digit + demands.dot) * plan.size;
}

// The largest number a page prints when it holds this many lines.
int LargestNumber(const Demands& demands, const GenerationSettings& settings, int perLine, int lines) {
  return settings.NumberEachPage ? std::min(demands.problems, perLine * lines) : demands.problems;
}

bool FitsAcross(const PdfPagePlan& plan, const Demands& demands, const GenerationSettings& settings, int perLine) {
  const int largest = LargestNumber(demands, settings, perLine, LinesThatFit(plan));
  return plan.LineWidth(NumberWidth(plan, demands, largest), perLine) <= plan.UsableWidth();
}

struct Candidate {
  PdfPagePlan plan;
  int pages = 0;
};

// Fewer pages first, then upright, then larger type.
bool Better(const Candidate& a, const Candidate& b) {
  if (a.pages != b.pages) return a.pages < b.pages;
  if (a.plan.landscape != b.plan.landscape) return !a.plan.landscape;
  return a.plan.size > b.plan.size;
}

}  // namespace

std::string PrintedSign(const std::string& sign) { return sign == "-" ? "\u2212" : sign; }

std::string PdfWorkingText(const WorkingLine& line) {
  std::string text;
  for (const std::string& part : line.parts) text += (text.empty() ? "" : " ") + PrintedSign(part);
  return text;
}

PdfPagePlan PlanPdfPages(const SheetLayout& sheet, const GenerationSettings& settings, PdfText& text) {
  const Demands demands = DemandsOf(sheet, settings, text);
  const int asked = settings.PerRow;
  const double smallest = settings.LargeType                      ? kLargeTypeSize
                          : sheet.termCount == 2 && asked <= 3 ? kSmallestSizeForFewPerLine
                                                                 : kSmallestSize;
  const double largest = std::max(kLargestSize, smallest);

  // The problems a line holds: as asked where that fits across either
  // paper, else as many as fit across one.
  auto mostThatFit = [&](bool landscape) {
    const PdfPagePlan plan = At(demands, landscape, smallest, text);
    int fits = asked;
    while (fits > 1 && !FitsAcross(plan, demands, settings, fits)) --fits;
    return fits;
  };
  const int upright = mostThatFit(false), lying = mostThatFit(true);
  const int perLine = std::max(upright, lying);

  std::optional<Candidate> best;
  for (bool landscape : {false, true}) {
    if ((landscape ? lying : upright) != perLine) continue;
    for (double size = smallest; size <= largest + 1e-9; size += kSizeStep) {
      Candidate candidate{At(demands, landscape, size, text), 0};
      if (!FitsAcross(candidate.plan, demands, settings, perLine)) continue;
      candidate.plan.perLine = perLine;
      candidate.pages = (LinesOf(demands, perLine) + LinesThatFit(candidate.plan) - 1) / LinesThatFit(candidate.plan);
      if (!best || Better(candidate, *best)) best = candidate;
    }
  }
  if (!best) {
    // Not even one problem stands across the paper: it is set as small as allowed.
    best = Candidate{At(demands, true, smallest, text), 0};
    best->plan.perLine = 1;
    best->pages = (demands.problems + LinesThatFit(best->plan) - 1) / LinesThatFit(best->plan);
  }

  // The lines shared out evenly over those pages, and spaced to fill them.
  PdfPagePlan plan = best->plan;
  const int lines = LinesOf(demands, plan.perLine);
  plan.linesPerPage = std::max(1, (lines + best->pages - 1) / best->pages);
  plan.lineHeight = std::min(plan.lineHeight + kMostExtraSpace * plan.size, Room(plan) / plan.linesPerPage);
  return plan;
}

}  // namespace numbrook
