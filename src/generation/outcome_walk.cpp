#include "generation/outcome_walk.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace numbrook {
namespace {

// The share of [0, 1) where Int(size * r) is the outcome `step` steps from
// 0 (step 0 is the first bucket, of width 1 / size unless size is below 1).
double BucketShare(double size, std::size_t step) {
  const double from = static_cast<double>(step);
  return (std::min(from + 1, size) - from) / size;
}

}  // namespace

double OutcomeWalk::Next() {
  throw std::logic_error("a walked drawing takes every number through Scaled or DigitModulo");
}

std::size_t OutcomeWalk::Choose(std::size_t outcomes) {
  if (depth_ < path_.size()) {
    if (path_[depth_].outcomes != outcomes) throw std::logic_error("a replayed path drew differently");
    return path_[depth_++].taken;
  }
  path_.push_back({0, outcomes});
  ++depth_;
  return 0;
}

int OutcomeWalk::Scaled(double scale) {
  if (scale == 0) return 0;
  const double size = std::fabs(scale);
  const auto buckets = static_cast<std::size_t>(std::ceil(size));
  if (scale > 0) {
    const std::size_t taken = Choose(buckets);
    weight_ *= BucketShare(size, taken);
    return static_cast<int>(taken);
  }
  // Int(scale * r) for a negative scale is 0 at r = 0 only, else -1 and down.
  const std::size_t taken = Choose(buckets + 1);
  if (taken == 0) {
    weight_ = 0;
    return 0;
  }
  weight_ *= BucketShare(size, taken - 1);
  return -static_cast<int>(taken);
}

int OutcomeWalk::DigitModulo(int modulus) {
  const auto taken = static_cast<int>(Choose(static_cast<std::size_t>(modulus)));
  int digits = 0;
  for (int digit = 0; digit < 10; ++digit) digits += digit % modulus == taken;
  weight_ *= digits / 10.0;
  return taken;
}

bool OutcomeWalk::Advance() {
  path_.resize(depth_);
  while (!path_.empty() && path_.back().taken + 1 == path_.back().outcomes) path_.pop_back();
  depth_ = 0;
  weight_ = 1;
  if (path_.empty()) return false;
  ++path_.back().taken;
  return true;
}

}  // namespace numbrook
