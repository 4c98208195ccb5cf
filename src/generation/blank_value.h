#pragma once

#include <optional>

#include "generation/problem_table.h"

namespace numbrook {

// The number that belongs in a row's blank: the one value that makes its
// equation true (of a division's open result, the quotient; of a two-step
// problem, which asks for its result only, the value of its working).
// Nothing when the row has no blank, or when no single value fits (□ × 0 = 0).
std::optional<int> BlankValue(const ProblemRow& row);

// The remainder that belongs in a division's open remainder; nothing when
// the remainder is not a blank.
std::optional<int> RemainderBlankValue(const ProblemRow& row);

// The number a cell stands for, with a blank's answer in place of "_";
// nothing for an operator, an empty cell or a blank without an answer.
std::optional<int> CellValue(const ProblemRow& row, int column);

}  // namespace numbrook
