#include "generation/problem_space.h"

#include <string>
#include <unordered_map>

#include "generation/operation_shares.h"
#include "generation/outcome_walk.h"
#include "generation/row_drawing.h"

namespace numbrook {
namespace {

std::string KeyOf(const ProblemRow& row) {
  std::string key;
  for (const std::string& cell : row) key += cell + '|';
  return key;
}

// The shares' spaces side by side (their rows differ in the operator),
// each share's chances scaled to its even part of every problem.
ProblemSpace WalkShares(const std::vector<GenerationSettings>& shares, std::size_t enough) {
  ProblemSpace whole;
  for (const GenerationSettings& share : shares) {
    const ProblemSpace part = WalkProblemSpace(share, enough - whole.rows.size());
    double total = 0;
    for (double chance : part.chances) total += chance;
    for (std::size_t i = 0; i < part.rows.size(); ++i) {
      whole.rows.push_back(part.rows[i]);
      whole.chances.push_back(total > 0 ? part.chances[i] / total / static_cast<double>(shares.size()) : 0);
    }
    whole.pathsWalked += part.pathsWalked;
    if (whole.rows.size() >= enough) break;
  }
  return whole;
}

}  // namespace

ProblemSpace WalkProblemSpace(const GenerationSettings& settings, std::size_t enough) {
  ProblemSpace space;
  if (enough == 0) return space;
  if (HasSeveralShares(settings)) {
    const std::vector<GenerationSettings> shares = OperationShares(settings);
    return WalkShares(shares, enough);
  }
  std::unordered_map<std::string, std::size_t> indexOf;
  OutcomeWalk walk;
  ProblemRow row;
  do {
    ++space.pathsWalked;
    if (!DrawRowAttempt(settings, walk, row)) continue;
    const auto [place, fresh] = indexOf.emplace(KeyOf(row), space.rows.size());
    if (fresh) {
      space.rows.push_back(row);
      space.chances.push_back(walk.Weight());
      if (space.rows.size() >= enough) break;
    } else {
      space.chances[place->second] += walk.Weight();
    }
  } while (walk.Advance());
  return space;
}

std::size_t ChooseByChance(const ProblemSpace& space, const std::vector<std::size_t>& candidates,
                           RandomSource& random) {
  double total = 0;
  for (std::size_t index : candidates) total += space.chances[index];
  if (total <= 0) return candidates[static_cast<std::size_t>(Int(candidates.size() * random.Next()))];
  double point = total * random.Next();
  for (std::size_t index : candidates) {
    point -= space.chances[index];
    if (point < 0) return index;
  }
  // Rounding left the point at the very end: the last row with any chance.
  for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
    if (space.chances[*it] > 0) return *it;
  }
  return candidates.back();
}

}  // namespace numbrook
