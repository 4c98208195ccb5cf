#pragma once

#include <cstdint>
#include <random>

namespace numbrook {

// A source of uniform numbers in [0, 1): a fresh one for every draw.
// The generators take every number through Scaled or DigitModulo, whose
// outcomes are few and known, so that a source can walk all of them.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual double Next() = 0;
  // Int(scale * r): 0 .. ceil(scale) - 1 for a positive scale, 0 for 0,
  // and for a negative one 0 (only at r = 0) down to floor(scale).
  virtual int Scaled(double scale);
  // Int(10 r) mod modulus: which of the modulus classes a digit falls in.
  virtual int DigitModulo(int modulus);
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
