#include "formats/pdf/pdf_page_plan.h"

#include <algorithm>
#include <cmath>
#include <set>
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
constexpr double kSizeStep = 0.5;

// What the sheet's problems need, whatever the size.
struct Demands {
  std::array<int, kProblemColumns> digits{};  // the widest value of each cell
  std::array<bool, kProblemColumns> blank{};  // whether the cell is a blank anywhere
  int places = 0;                     // column form digit places
  std::set<std::string> signs{"+", "-"};  // the operators, "+" and "-" measured always
};

Demands DemandsOf(const SheetLayout& sheet) {
  Demands demands;
  for (const SheetPage& page : sheet.pages) {
    for (const SheetLine& line : page.lines) {
      for (const SheetProblem& problem : line.problems) {
        for (std::size_t k = 0; k < kProblemColumns; ++k) {
          demands.digits[k] = std::max(demands.digits[k], static_cast<int>(problem.cells[k].text.size()));
          demands.blank[k] = demands.blank[k] || problem.cells[k].blank;
        }
        for (int k : {kFirstOperator, kSecondOperator}) {
          if (!problem.cells[static_cast<std::size_t>(k)].text.empty()) demands.signs.insert(problem.cells[static_cast<std::size_t>(k)].text);
        }
        demands.places = std::max(demands.places, problem.columnForm.places);
      }
    }
  }
  return demands;
}

// The plan's widths at one size and paper; heights are set by Finish.
PdfPagePlan Across(const SheetLayout& sheet, const Demands& demands, double size, bool landscape, PdfText& text) {
  PdfPagePlan plan;
  plan.landscape = landscape;
  plan.pageWidth = landscape ? kA4Long : kA4Short;
  plan.pageHeight = landscape ? kA4Short : kA4Long;
  plan.margin = kMargin;
  plan.size = size;
  plan.numberWidth = text.Width(std::string(std::to_string(sheet.problemCount).size(), '0') + ".", TextStyle::Regular, size);
  plan.afterNumber = 0.4 * size;
  double sign = 0;
  for (const std::string& each : demands.signs) sign = std::max(sign, text.Width(each, TextStyle::Regular, size));
  double problem = plan.numberWidth + plan.afterNumber;
  // Terms are measured in the bold of a key's answers, the widest look they have.
  auto digits = [&](int count) {
    return text.Width(std::string(static_cast<std::size_t>(std::max(count, 1)), '0'), TextStyle::Answer, size);
  };
  const double between = std::max(sign, text.Width("=", TextStyle::Regular, size)) + 0.5 * size;
  for (std::size_t k = 0; k < kProblemColumns; ++k) {
    const bool term = k % 2 == 0 || k == kRemainder;
    double width = term ? digits(demands.digits[k]) : between;
    if ((k == kSecondOperator || k == kThirdTerm) && sheet.termCount == 2) width = 0;
    // A blank is a box wide enough for a child's two digits; a remainder
    // has one, after "……" in the footer's small type, so that three
    // divisions still stand on a line of the smallest size.
    if (term && demands.blank[k]) width = std::max(width + 0.8 * size, (k == kRemainder ? 1.6 : 2.4) * size);
    if (k == kRemainder) {
      const bool shown = demands.digits[k] > 0 || demands.blank[k];
      plan.remainderLeadSize = kSmallestSize;
      plan.remainderLead = shown ? text.Width("……", TextStyle::Regular, plan.remainderLeadSize) : 0;
      width = shown ? plan.remainderLead + width : 0;
    }
    plan.cellWidths[k] = width;
    problem += width;
  }
  plan.slotWidth = problem;
  if (sheet.columnForm) {
    plan.box = std::max(kSmallestBox, 1.3 * size);
    plan.signWidth = sign + 0.5 * size;
    plan.ruleGap = 0.35 * plan.box;
    // A division frame: the divisor's box, then room for the bracket.
    plan.divisorWidth = sheet.divisionFrames ? 1.4 * plan.box : 0;
    plan.slotWidth = std::max(plan.slotWidth, plan.numberWidth + plan.afterNumber +
                                                  std::max(plan.signWidth, plan.divisorWidth) + demands.places * plan.box);
  }
  plan.slotGap = 1.5 * size;
  return plan;
}

double LineWidth(const PdfPagePlan& plan, int problems) {
  return problems * plan.slotWidth + (problems - 1) * plan.slotGap;
}

void Finish(PdfPagePlan& plan, const SheetLayout& sheet, int perLine, PdfText& text) {
  plan.perLine = perLine;
  plan.lineLeft = plan.margin + std::max(0.0, (plan.UsableWidth() - LineWidth(plan, perLine)) / 2);
  const double size = plan.size;
  plan.rowHeight = 2.0 * size;
  plan.lineHeight = plan.rowHeight + 0.3 * size;
  if (sheet.columnForm) {
    // A division frame has four rows of boxes, a line over the dividend and a rule.
    const double form = sheet.divisionFrames ? 4 * plan.box + 2 * plan.ruleGap
                                             : (sheet.termCount + 1) * plan.box + plan.ruleGap;
    plan.lineHeight += form + 0.5 * size;
  }
  plan.titleSize = std::min(22.0, size + 4);
  plan.fieldSize = std::min(size, 16.0);
  plan.footerSize = kSmallestSize;
  plan.headerHeight = text.LineHeight(plan.titleSize) + 0.4 * size + 1.8 * text.LineHeight(plan.fieldSize) + 0.5 * size;
  plan.footerHeight = 2.2 * text.LineHeight(plan.footerSize);
  const double room = plan.pageHeight - 2 * plan.margin - plan.headerHeight - plan.footerHeight;
  plan.linesPerPage = std::max(1, static_cast<int>(std::floor(room / plan.lineHeight)));
}

}  // namespace

PdfPagePlan PlanPdfPages(const SheetLayout& sheet, int perRow, PdfText& text) {
  const Demands demands = DemandsOf(sheet);
  const double smallest = perRow <= 3 ? kSmallestSizeForFewPerLine : kSmallestSize;
  for (bool landscape : {false, true}) {
    for (double size = kLargestSize; size >= smallest; size -= kSizeStep) {
      PdfPagePlan plan = Across(sheet, demands, size, landscape, text);
      if (LineWidth(plan, perRow) <= plan.UsableWidth()) {
        Finish(plan, sheet, perRow, text);
        return plan;
      }
    }
  }
  PdfPagePlan plan = Across(sheet, demands, smallest, true, text);
  int fits = 1;
  while (fits < perRow && LineWidth(plan, fits + 1) <= plan.UsableWidth()) ++fits;
  Finish(plan, sheet, fits, text);
  return plan;
}

}  // namespace numbrook
