// 有余数的除法: a table fact d × q with a remainder 1..d−1 added, so that
// the quotient is still read from the table (17 ÷ 5 = 3……2); the dividend
// is at most 9 × 9 + 8 = 89. 324 problems for all nine tables.
#include "generation/times_tables/times_tables.h"

namespace numbrook {

std::vector<TableFact> RemainderDivisionFacts(int from, int to) {
  std::vector<TableFact> facts;
  for (int divisor = 2; divisor <= 9; ++divisor) {
    for (int quotient = 1; quotient <= 9; ++quotient) {
      if (!InTables(divisor, quotient, from, to)) continue;
      for (int remainder = 1; remainder < divisor; ++remainder) {
        facts.push_back({divisor * quotient + remainder, divisor, quotient, remainder});
      }
    }
  }
  return facts;
}

}  // namespace numbrook
