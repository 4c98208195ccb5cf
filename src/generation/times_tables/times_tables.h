#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "generation/generation_settings.h"

namespace numbrook {

// One problem of the multiplication tables before its blank is placed:
// first × second = result, or first ÷ second = result, with the
// remainder when the run's divisions show one.
struct TableFact {
  int first = 0;
  int second = 0;
  int result = 0;
  std::optional<int> remainder;  // none: the row has no remainder

  int LargestNumber() const { return std::max({first, second, result}); }
};

// A fact belongs to the table of its larger factor (三七二十一 is in the
// table of 7); a run keeps the facts whose table lies in from..to.
inline bool InTables(int factor, int otherFactor, int from, int to) {
  const int table = std::max(factor, otherFactor);
  return from <= table && table <= to;
}

// 表内乘法 a × b = c: a and b in 1..9 (multiplication_table.cpp).
std::vector<TableFact> MultiplicationFacts(int from, int to);

// 表内除法 c ÷ a = b, the inverse of a table fact: divisor a and quotient b
// in 1..9. With a remainder shown, it is 0 (table_division.cpp).
std::vector<TableFact> TableDivisionFacts(int from, int to, bool showsRemainder);

// 有余数的除法 c ÷ d = q……r: divisor d in 2..9, quotient q in 1..9, the
// remainder r in 1..d−1 and c = d·q + r (remainder_division.cpp).
std::vector<TableFact> RemainderDivisionFacts(int from, int to);

// The facts a run's multiplications or divisions are drawn from, each with
// the same chance: a run whose divisions may or may not have a remainder
// draws evenly from both kinds together. Made once per choice and kept, as
// every problem draws from them.
const std::vector<TableFact>& FactsOf(const GenerationSettings& settings, bool division);

}  // namespace numbrook
