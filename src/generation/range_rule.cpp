#include "generation/range_rule.h"

#include <array>
#include <optional>
#include <string>

#include "generation/blank_value.h"

namespace numbrook {

bool KeepsWithinRange(const ProblemRow& row, int addRange) {
  if (!BlankValue(row)) return false;
  const bool threeTerms = !row[kSecondOperator].empty();
  std::array<std::optional<int>, 3> terms{CellValue(row, kFirstTerm), CellValue(row, kSecondTerm),
                                          threeTerms ? CellValue(row, kThirdTerm) : 0};
  const std::array<const std::string*, 2> operators{&row[kFirstOperator], &row[kSecondOperator]};
  for (const std::optional<int>& term : terms) {
    if (!term || *term < 0) return false;
  }
  int running = *terms[0];
  int remainder = 0;
  for (int step = 0; step < (threeTerms ? 2 : 1); ++step) {
    const std::string& sign = *operators[step];
    const int term = *terms[step + 1];
    if (sign == kTimesSign) {
      running *= term;
    } else if (sign == kDivisionSign) {
      if (term <= 0) return false;
      remainder = running % term;
      running /= term;
    } else {
      const bool added = sign == "+";
      running += added ? term : -term;
      if (added ? running > addRange : running < 0) return false;
    }
  }
  const std::optional<int> shownRemainder = row[kRemainder].empty() ? 0 : CellValue(row, kRemainder);
  return CellValue(row, kResult) == running && shownRemainder == remainder;
}

}  // namespace numbrook
