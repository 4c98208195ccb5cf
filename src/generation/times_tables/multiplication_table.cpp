// 表内乘法: the 81 facts of the nine tables, both orders of the factors
// (3 × 7 and 7 × 3 are two problems of the table of 7).
#include "generation/times_tables/times_tables.h"

namespace numbrook {

std::vector<TableFact> MultiplicationFacts(int from, int to) {
  std::vector<TableFact> facts;
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      if (InTables(a, b, from, to)) facts.push_back({a, b, a * b, std::nullopt});
    }
  }
  return facts;
}

}  // namespace numbrook
