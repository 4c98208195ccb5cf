#pragma once

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/random_draws.h"

namespace numbrook {

// One attempt at a row, from its first step: choose the operation's share
// when the run has several (operation_shares.h), clear the row, choose the
// first operator and the place of the blank, and let the matching generator
// fill it; a two-step problem is drawn whole (two_step_problems.h). Returns whether the row keeps within its ranges and, when asked,
// is not too easy; one that fails is to be drawn again from the same source.
bool DrawRowAttempt(const GenerationSettings& settings, RandomSource& random, ProblemRow& row);

}  // namespace numbrook
