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

}  // namespace numbrook
