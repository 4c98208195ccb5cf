#include "generation/range_rule.h"

#include <optional>
#include <string>
#include <vector>

#include "generation/blank_value.h"
#include "generation/order_of_work.h"

namespace numbrook {

bool KeepsWithinRange(const ProblemRow& row, int addRange) {
  if (!BlankValue(row)) return false;
  const bool threeTerms = !row[kSecondOperator].empty();
  for (int column : {kFirstTerm, kSecondTerm, kThirdTerm}) {
    if (column == kThirdTerm && !threeTerms) continue;
    const std::optional<int> term = CellValue(row, column);
    if (!term || *term < 0) return false;
  }
  const std::vector<WorkStep> steps = StepsOf(row);
  if (steps.empty()) return false;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const WorkStep& step = steps[i];
    if (step.sign == kDivisionSign && (step.right < 0 || (i + 1 < steps.size() && step.remainder != 0))) return false;
    if (step.sign == "+" && step.value > addRange) return false;
    if (step.sign == "-" && step.value < 0) return false;
  }
  const std::optional<int> shownRemainder = row[kRemainder].empty() ? 0 : CellValue(row, kRemainder);
  return CellValue(row, kResult) == steps.back().value && shownRemainder == steps.back().remainder;
}

}  // namespace numbrook
