#pragma once

#include <cstdint>
#include <random>

namespace numbrook {

// A source of uniform numbers in [0, 1): a fresh one for every draw.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual double Next() = 0;
};

// The production generator: 64-bit Mersenne Twister, each number built from
// 53 random bits, so it can never reach 1.0.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
  double Next() override;

 private:
  std::mt19937_64 engine_;
};

// A seed from the time of day, new at every Start.
std::uint64_t SeedFromTimeOfDay();

// The largest integer not above x.
int Int(double x);

// Int(10 r): a digit 0..9, uniform.
int DrawDigit(RandomSource& random);

inline bool IsOdd(int value) { return value % 2 != 0; }

// The tens part and the last digit of a value, with the remainder taking the
// sign of the dividend.
inline int TensOf(int value) { return Int(value / 10.0); }
inline int UnitsOf(int value) { return value % 10; }

// An addend whose units digit keeps x + addend from carrying out of the
// units place, and whose tens keep the sum's tens below those of the range.
// With raiseNegativeUnits a negative units part becomes 0.
int NoCarryDraw(int x, int range, RandomSource& random, bool raiseNegativeUnits = false);

// A subtrahend whose tens and units are each at most those of x, so that
// x minus it needs no borrow.
int NoBorrowDraw(int x, RandomSource& random);

// A subtrahend of 0..x; a 0 is drawn once more, and the second draw stands.
int SubtrahendRedrawingZero(int x, int minTerm, RandomSource& random);

}  // namespace numbrook
