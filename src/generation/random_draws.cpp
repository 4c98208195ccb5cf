#include "generation/random_draws.h"

#include <chrono>
#include <cmath>

namespace numbrook {

double SeededRandom::Next() {
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::uint64_t SeedFromTimeOfDay() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int Int(double x) { return static_cast<int>(std::floor(x)); }

int DrawDigit(RandomSource& random) { return Int(10 * random.Next()); }

int NoCarryDraw(int x, int range, RandomSource& random, bool raiseNegativeUnits) {
  const int tens = Int((TensOf(range) - TensOf(x)) * random.Next());
  int units = Int((10 - UnitsOf(x)) * random.Next());
  if (raiseNegativeUnits && units < 0) units = 0;
  return 10 * tens + units;
}

int NoBorrowDraw(int x, RandomSource& random) {
  const int tens = Int((TensOf(x) + 1) * random.Next());
  const int units = Int((UnitsOf(x) + 1) * random.Next());
  return 10 * tens + units;
}

int SubtrahendRedrawingZero(int x, int minTerm, RandomSource& random) {
  int subtrahend = Int((x + minTerm) * random.Next());
  if (subtrahend == 0) subtrahend = Int((x + minTerm) * random.Next());
  return subtrahend;
}

}  // namespace numbrook
