#pragma once

#include "generation/order_of_work.h"
#include "generation/problem_table.h"

namespace numbrook {

// Whether a row, as the pupil solves it, is too easy for a drill that asks
// for none: a factor 1 (7 × 1), a divisor or a quotient 1 (7 ÷ 1, 7 ÷ 7,
// 9 ÷ 5 = 1……4), and in additions and subtractions a term 0 or a result 0
// (7 + 0, 5 − 5); in a two-step problem, any of its steps so. Such a row is
// drawn again, as one out of range is.
bool IsTrivial(const ProblemRow& row);

// The same for one step of the working.
bool IsTrivialStep(const WorkStep& step);

}  // namespace numbrook
