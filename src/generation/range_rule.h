#pragma once

#include "generation/problem_table.h"

namespace numbrook {

// Whether a row, as the pupil reads it, stays within its ranges: every
// number in it (the terms, the result, and the value that belongs in the
// blank) is at least 0, and worked in the school's order (order_of_work.h)
// each step's sum is at most the addition range, each difference at least
// 0, a "÷" before the last step leaves nothing over and the last leaves the
// remainder the row shows (none: 0). A row that fails is drawn again.
bool KeepsWithinRange(const ProblemRow& row, int addRange);

}  // namespace numbrook
