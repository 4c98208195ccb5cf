#pragma once

#include <functional>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/random_draws.h"
#include "generation/row_request.h"

namespace numbrook {

// What the front end does around each problem.
struct GenerationHooks {
  std::function<bool()> beforeRow;          // a yield; false abandons the run
  std::function<void(int done)> rowDone;    // how many problems are done
  WarningSink warning;                      // a problem broke its range
};

// Fills a new table of ProblemCount + 1 rows with ProblemCount problems drawn
// under the settings. Returns false when a hook abandoned the run.
bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const GenerationHooks& hooks,
                      ProblemTable& table);

}  // namespace numbrook
