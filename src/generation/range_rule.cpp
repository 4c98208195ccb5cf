#include "generation/range_rule.h"

#include <array>
#include <optional>
#include <string>

#include "generation/blank_value.h"

namespace numbrook {

bool KeepsWithinRange(const ProblemRow& row, int addRange) {
  const std::optional<int> blank = BlankValue(row);
  if (!blank) return false;
  const auto value = [&](int column) { return row[column] == kBlankMarker ? *blank : std::stoi(row[column]); };
  const bool threeTerms = !row[kSecondOperator].empty();

  std::array<int, 3> terms{value(kFirstTerm), value(kSecondTerm), threeTerms ? value(kThirdTerm) : 0};
  const std::array<const std::string*, 2> operators{&row[kFirstOperator], &row[kSecondOperator]};
  for (int term : terms) {
    if (term < 0) return false;
  }
  int running = terms[0];
  for (int step = 0; step < (threeTerms ? 2 : 1); ++step) {
    const bool added = *operators[step] == "+";
    running += added ? terms[step + 1] : -terms[step + 1];
    if (added ? running > addRange : running < 0) return false;
  }
  return value(kResult) == running;
}

}  // namespace numbrook
