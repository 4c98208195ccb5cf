#pragma once

#include <cstddef>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"
#include "generation/random_draws.h"

namespace numbrook {

// Fills a new table of ProblemCount + 1 rows with ProblemCount problems drawn
// under the settings, yielding before each. A row that breaks its range
// (see KeepsWithinRange) is drawn again from its first step with the same
// random source, so every row in the table keeps within its ranges.
// Returns false when the progress's yield abandoned the run.
bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const Progress& progress,
                      ProblemTable& table);

enum class DistinctOutcome { Drawn, Abandoned, RanOut };

// The same with no problem twice: a row that repeats an earlier one in all
// seven columns is drawn again, by the same rules. RanOut, before anything is
// drawn, when the settings give fewer different problems than asked for;
// otherwise the run always finishes.
DistinctOutcome GenerateDistinctProblems(const GenerationSettings& settings, RandomSource& random,
                                         const Progress& progress, ProblemTable& table);

// Whether each operation of the run gives a problem at all: divisions with
// a remainder from the table of 1 alone do not, nor, without easy
// problems, additions within 1; in two-step problems, whether each stands
// in one.
bool GivesEveryOperation(const GenerationSettings& settings);

// How many different problems within range the settings give, counted
// exactly by walking every outcome of the draws; the count stops at
// `enough` when there are at least that many.
std::size_t CountDistinctProblems(const GenerationSettings& settings, std::size_t enough);

}  // namespace numbrook
