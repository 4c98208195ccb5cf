#include "generation/trivial_rule.h"

#include "generation/blank_value.h"

namespace numbrook {

bool IsTrivialStep(const WorkStep& step) {
  if (step.sign == kTimesSign) return step.left == 1 || step.right == 1;
  if (step.sign == kDivisionSign) return step.right == 1 || step.value == 1;
  return step.left == 0 || step.right == 0 || step.value == 0;
}

bool IsTrivial(const ProblemRow& row) {
  if (IsTwoStepRow(row)) {
    for (const WorkStep& step : StepsOf(row)) {
      if (IsTrivialStep(step)) return true;
    }
    return false;
  }
  const bool threeTerms = !row[kSecondOperator].empty();
  const std::string& sign = row[kFirstOperator];
  if (sign == kTimesSign || sign == kDivisionSign) {
    const int trivial[] = {CellValue(row, kSecondTerm).value_or(1),
                           CellValue(row, sign == kTimesSign ? kFirstTerm : kResult).value_or(1)};
    return trivial[0] == 1 || trivial[1] == 1;
  }
  for (int column : {kFirstTerm, kSecondTerm, kThirdTerm, kResult}) {
    if (column == kThirdTerm && !threeTerms) continue;
    if (CellValue(row, column).value_or(0) == 0) return true;
  }
  return false;
}

}  // namespace numbrook
