#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generation/generation_settings.h"
#include "generation/order_of_work.h"
#include "generation/problem_table.h"
#include "generation/random_draws.h"

namespace numbrook {

// Two-step problems (两步混合运算) of three terms: 3 × 4 + 2, 50 − 4 × 9,
// 72 ÷ 8 × 5, (12 + 15) ÷ 3, 64 − (35 − 18). A shape is a pair of operators
// and where the brackets stand; its problems are every choice of written
// numbers, each at least 1, whose two steps in the order of work are sound
// (step_rule.h).
struct TwoStepShape {
  std::string firstSign, secondSign;
  BracketPlace brackets = BracketPlace::None;
};

// A problem's three numbers as written, from left to right.
struct TwoStepTerms {
  std::uint8_t a = 0, b = 0, c = 0;
};

// Every problem of the shape under the run's settings, in a fixed order;
// made once per thread and kept, as every problem draws from them.
const std::vector<TwoStepTerms>& ProblemsOfShape(const GenerationSettings& settings, const TwoStepShape& shape);

// The shapes a run draws from, those that give a problem: for every pair of
// the chosen operations (in the order +, −, ×, ÷, the first operator
// before the second) without brackets, and with them where the textbook
// prints them, as the run's bracket choice wants.
struct TwoStepShapes {
  std::vector<TwoStepShape> plain, bracketed;
};
const TwoStepShapes& ShapesOf(const GenerationSettings& settings);

// Draws one two-step problem, the result its blank: with brackets or not
// (each half the time when the run mixes them and both have problems),
// then a shape of that kind, each alike, then a problem of the shape, each
// alike. A run without any shape leaves the row without a blank, which no
// rule accepts.
void GenerateTwoStepRow(const GenerationSettings& settings, RandomSource& random, ProblemRow& row);

// Whether each chosen operation stands in a problem the run can draw.
bool TwoStepsGiveEveryOperation(const GenerationSettings& settings);

}  // namespace numbrook
