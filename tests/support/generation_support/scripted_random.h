#pragma once

#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "generation/random_draws.h"

namespace numbrook::testing {

// Hands out the given numbers in order; asking for one more is a test failure.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}
  explicit ScriptedRandom(std::vector<double> values) : values_(std::move(values)) {}
  double Next() override {
    if (next_ >= values_.size()) throw std::out_of_range("the script ran out of random numbers");
    return values_[next_++];
  }
  std::size_t Remaining() const { return values_.size() - next_; }

 private:
  std::vector<double> values_;
  std::size_t next_ = 0;
};

}  // namespace numbrook::testing
