#pragma once

#include <cstddef>
#include <vector>

#include "generation/generation_settings.h"
#include "generation/random_draws.h"

namespace numbrook {

// A run that draws × or ÷ beside other operations gives each chosen
// operation the same chance per problem: it is drawn as one run of each
// operation alone (a share, in the order +, −, ×, ÷), a share chosen evenly
// for every problem, and a row that is drawn again stays in its share. Any
// other run is a single share, itself: additions and subtractions together
// draw their first operator as they always have, and two-step problems
// draw their operators themselves (two_step_problems.h).
std::vector<GenerationSettings> OperationShares(const GenerationSettings& settings);

// Whether the run is drawn in several shares.
bool HasSeveralShares(const GenerationSettings& settings);

// Which of the shares a problem is drawn from: each with the same chance.
std::size_t ChooseShare(std::size_t shares, RandomSource& random);

}  // namespace numbrook
