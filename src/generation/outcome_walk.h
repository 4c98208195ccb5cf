#pragma once

#include <cstddef>
#include <vector>

#include "generation/random_draws.h"

namespace numbrook {

// A random source that walks every path of a deterministic drawing: each
// draw has a small finite set of outcomes, and the walk replays the drawing
// once per combination of them, depth first, like an odometer over the
// choices made so far. Outcomes are chosen directly, not through a number
// in [0, 1), so that no rounding can send a path into the wrong outcome.
class OutcomeWalk final : public RandomSource {
 public:
  double Next() override;  // refused: a bare number has no finite outcomes
  int Scaled(double scale) override;
  int DigitModulo(int modulus) override;

  // The chance of the path just walked, under uniform numbers in [0, 1).
  // An outcome that needs r = 0 exactly has chance 0.
  double Weight() const { return weight_; }
  // Moves on to the next path; false when every path has been walked.
  bool Advance();

 private:
  std::size_t Choose(std::size_t outcomes);

  struct Choice {
    std::size_t taken;
    std::size_t outcomes;
  };
  std::vector<Choice> path_;
  std::size_t depth_ = 0;
  double weight_ = 1;
};

}  // namespace numbrook
