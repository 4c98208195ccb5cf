#include "generation/problem_generator.h"

#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "generation/operation_shares.h"
#include "generation/problem_space.h"
#include "generation/row_drawing.h"
#include "generation/two_steps/two_step_problems.h"

namespace numbrook {
namespace {

// Attempts at one row before the draw is made from the walked space instead:
// that gives each row the same odds as endless attempts would, and ends
// settings whose rows almost never keep within range, or whose last unused
// problems are very rare.
constexpr int kAttemptsBeforeChoosing = 10'000;

// The most rows such a choice walks: every space of ranges up to 20 fits
// whole (the largest holds 22,892 rows); ranges up to 99 hold millions,
// which would take minutes and gigabytes, so their choice is among the first
// rows of the walk, by the same odds among those.
constexpr std::size_t kMostRowsWalked = 100'000;

std::vector<std::size_t> AllOf(const ProblemSpace& space) {
  std::vector<std::size_t> all(space.rows.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  return all;
}

// Draws rows within range for one run, walking the space on first need. A
// run of several shares draws each problem from a share chosen evenly, and
// draws it again within that share.
class RowDrawer {
 public:
  RowDrawer(const GenerationSettings& settings, RandomSource& random) : settings_(settings), random_(random) {
    if (!HasSeveralShares(settings)) return;
    shares_ = OperationShares(settings);
    for (const GenerationSettings& share : shares_) parts_.push_back(std::make_unique<RowDrawer>(share, random));
  }

  void Draw(ProblemRow& row) {
    if (!parts_.empty()) {
      parts_[ChooseShare(parts_.size(), random_)]->Draw(row);
      return;
    }
    // Once the walk has shown that attempts almost never keep within range,
    // every row is chosen from the space straight away.
    if (!space_ || withinRangeChance_ >= 1.0 / kAttemptsBeforeChoosing) {
      for (int attempt = 0; attempt < kAttemptsBeforeChoosing; ++attempt) {
        if (DrawRowAttempt(settings_, random_, row)) return;
      }
    }
    if (Space().rows.empty()) {
      // Additions within 1 with carrying (1 + 1 is all they draw) have no row
      // within range at all: the row stays as drawn rather than none.
      DrawRowAttempt(settings_, random_, row);
      return;
    }
    row = Choose(AllOf(Space()));
  }

  ProblemRow Choose(const std::vector<std::size_t>& candidates) {
    if (candidates.empty()) throw std::logic_error("the settings give no problem within range");
    return Space().rows[ChooseByChance(Space(), candidates, random_)];
  }

  const ProblemSpace& Space() {
    if (!space_) {
      space_ = WalkProblemSpace(settings_, kMostRowsWalked);
      withinRangeChance_ = 0;
      for (double chance : space_->chances) withinRangeChance_ += chance;
    }
    return *space_;
  }

 private:
  const GenerationSettings& settings_;
  RandomSource& random_;
  std::vector<GenerationSettings> shares_;  // kept for the parts, which refer to them
  std::vector<std::unique_ptr<RowDrawer>> parts_;
  std::optional<ProblemSpace> space_;
  double withinRangeChance_ = 1;
};

std::vector<std::size_t> UnusedOf(const ProblemSpace& space, const std::set<ProblemRow>& used) {
  std::vector<std::size_t> unused;
  for (std::size_t i = 0; i < space.rows.size(); ++i) {
    if (used.count(space.rows[i]) == 0) unused.push_back(i);
  }
  return unused;
}

}  // namespace

bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const Progress& progress,
                      ProblemTable& table) {
  table = ProblemTable(settings.ProblemCount + 1);
  RowDrawer drawer(settings, random);
  for (int index = 0; index < settings.ProblemCount; ++index) {
    if (!progress.Yield()) return false;
    drawer.Draw(table.Row(index));
    progress.Count(index + 1);
  }
  return true;
}

DistinctOutcome GenerateDistinctProblems(const GenerationSettings& settings, RandomSource& random,
                                         const Progress& progress, ProblemTable& table) {
  table = ProblemTable(settings.ProblemCount + 1);
  const auto wanted = static_cast<std::size_t>(settings.ProblemCount);
  if (CountDistinctProblems(settings, wanted) < wanted) return DistinctOutcome::RanOut;
  RowDrawer drawer(settings, random);
  std::set<ProblemRow> drawn;
  for (int index = 0; index < settings.ProblemCount; ++index) {
    if (!progress.Yield()) return DistinctOutcome::Abandoned;
    ProblemRow row;
    int attempts = 0;
    do {
      if (++attempts > kAttemptsBeforeChoosing) {
        row = drawer.Choose(UnusedOf(drawer.Space(), drawn));
        break;
      }
      drawer.Draw(row);
    } while (drawn.count(row) != 0);
    drawn.insert(row);
    table.Row(index) = row;
    progress.Count(index + 1);
  }
  return DistinctOutcome::Drawn;
}

bool GivesEveryOperation(const GenerationSettings& settings) {
  if (settings.TwoSteps) return TwoStepsGiveEveryOperation(settings);
  for (const GenerationSettings& share : OperationShares(settings)) {
    if (CountDistinctProblems(share, 1) == 0) return false;
  }
  return true;
}

std::size_t CountDistinctProblems(const GenerationSettings& settings, std::size_t enough) {
  return WalkProblemSpace(settings, enough).rows.size();
}

}  // namespace numbrook
