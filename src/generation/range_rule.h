#pragma once

#include "generation/problem_table.h"

namespace numbrook {

// Whether a row, as the pupil reads it, stays within its ranges: every
// number in it (the terms, the result, and the value that belongs in the
// blank) is at least 0, and read from left to right each value right after a
// "+" is at most the addition range, each value right after a "-" is at
// least 0, and a "÷" leaves the remainder the row shows (none: 0). A row
// that fails is drawn again.
bool KeepsWithinRange(const ProblemRow& row, int addRange);

}  // namespace numbrook
