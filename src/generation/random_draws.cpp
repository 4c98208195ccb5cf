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

int RandomSource::Scaled(double scale) { return Int(scale * Next()); }

int RandomSource::DigitModulo(int modulus) { return Int(10 * Next()) % modulus; }

int NoCarryDraw(int x, int range, RandomSource& random, bool raiseNegativeUnits) {
  const int tens = random.Scaled(TensOf(range) - TensOf(x));
  int units = random.Scaled(10 - UnitsOf(x));
  if (raiseNegativeUnits && units < 0) units = 0;
  return 10 * tens + units;
}

int NoBorrowDraw(int x, RandomSource& random) {
  const int tens = random.Scaled(TensOf(x) + 1);
  const int units = random.Scaled(UnitsOf(x) + 1);
  return 10 * tens + units;
}

int SubtrahendRedrawingZero(int x, int minTerm, RandomSource& random) {
  int subtrahend = random.Scaled(x + minTerm);
  if (subtrahend == 0) subtrahend = random.Scaled(x + minTerm);
  return subtrahend;
}

}  // namespace numbrook
