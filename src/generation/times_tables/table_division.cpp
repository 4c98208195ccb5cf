// 表内除法: each multiplication fact read backwards, the product divided
// by one factor gives the other (56 ÷ 7 = 8); 81 problems for all nine tables.
#include "generation/times_tables/times_tables.h"

namespace numbrook {

std::vector<TableFact> TableDivisionFacts(int from, int to, bool showsRemainder) {
  std::vector<TableFact> facts;
  for (int divisor = 1; divisor <= 9; ++divisor) {
    for (int quotient = 1; quotient <= 9; ++quotient) {
      if (!InTables(divisor, quotient, from, to)) continue;
      facts.push_back({divisor * quotient, divisor, quotient, showsRemainder ? std::optional<int>(0) : std::nullopt});
    }
  }
  return facts;
}

}  // namespace numbrook
