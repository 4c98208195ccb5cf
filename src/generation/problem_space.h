#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/random_draws.h"

namespace numbrook {

// Every different row that the settings can give within range, each with
// the chance that one attempt at a row draws it, found by walking all
// outcomes of the draws. A run of several shares (operation_shares.h) is
// the rows of all its shares, each share's chances scaled to sum to its
// part of a problem.
struct ProblemSpace {
  std::vector<ProblemRow> rows;
  std::vector<double> chances;
  std::size_t pathsWalked = 0;
};

// Walks the draws of a row through all their outcomes; stops early once
// `enough` different rows are found.
ProblemSpace WalkProblemSpace(const GenerationSettings& settings,
                              std::size_t enough = std::numeric_limits<std::size_t>::max());

// Picks one of the candidate rows of the space with the odds that the draws
// give them among themselves; rows that only a number of exactly 0 reaches
// are picked evenly when no other is left. Candidates must not be empty.
std::size_t ChooseByChance(const ProblemSpace& space, const std::vector<std::size_t>& candidates,
                           RandomSource& random);

}  // namespace numbrook
