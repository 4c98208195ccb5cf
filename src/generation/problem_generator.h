#pragma once

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"
#include "generation/random_draws.h"
#include "generation/row_request.h"

namespace numbrook {

// Fills a new table of ProblemCount + 1 rows with ProblemCount problems drawn
// under the settings, yielding before each. A problem that breaks its range
// stays in the table and is reported to the warning sink as it is drawn.
// Returns false when the progress's yield abandoned the run.
bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const Progress& progress,
                      const WarningSink& warning, ProblemTable& table);

enum class DistinctOutcome { Drawn, Abandoned, RanOut };

// The same with no problem twice: a row that repeats an earlier one in all
// seven columns is drawn again, by the same rules. RanOut when no new
// problem comes for a very long run of draws.
DistinctOutcome GenerateDistinctProblems(const GenerationSettings& settings, RandomSource& random,
                                         const Progress& progress, const WarningSink& warning, ProblemTable& table);

// How many different problems the settings give, counted by exhausting the
// draws: rows are drawn by the rules until 200,000 in a row bring nothing
// new, or until `enough` are found.
std::size_t CountDistinctProblems(const GenerationSettings& settings, std::size_t enough);

}  // namespace numbrook
