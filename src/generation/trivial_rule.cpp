#include "generation/trivial_rule.h"

#include "generation/blank_value.h"

namespace numbrook {

bool IsTrivial(const ProblemRow& row) {
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
