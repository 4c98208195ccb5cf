#include <cmath>
#include <string>
#include <utility>

#include "generation/row_request.h"

namespace numbrook {
namespace {

int DrawFirstTerm(const RowRequest& q) {
  const GenerationSettings& s = q.settings;
  if (s.TermCount == 3) return Int(s.SubRange / 2.0) + q.random.Scaled(s.SubRange / 2.0 - s.MinTerm);  // from half
  return q.random.Scaled(s.SubRange - s.MinTerm) + s.MinTerm;
}

// Half of a units digit, rounded to nearest with ties to even.
int HalfRoundedToEven(int digit) { return static_cast<int>(std::nearbyint(digit / 2.0)); }

// The second term; a no-borrow draw may first lower the minuend by one, so a
// whole ten such as 20 becomes 19 and leaves room for a units digit.
int DrawSecondTerm(const RowRequest& q, int& a) {
  const GenerationSettings& s = q.settings;
  if (s.BorrowAllowed) {
    int b = q.random.Scaled(a + s.MinTerm);
    if (b == 0) b = q.random.Scaled(a - s.MinTerm) + s.MinTerm;
    return b;
  }
  if (a > 0 && a == 10 * TensOf(a)) --a;
  int tens = q.random.Scaled(TensOf(a) + 1);
  int units = q.random.Scaled(UnitsOf(a) + 1);
  if (s.TermCount == 2) {
    // Two-term drills avoid zero places where a non-zero one is possible.
    if (TensOf(a) > 0 && tens == 0 && q.random.DigitModulo(2) == 1) tens = Int(TensOf(a) / 2.0);
    if (units == 0) units = HalfRoundedToEven(UnitsOf(a));
  }
  return 10 * tens + units;
}

// The third term of a - b + c without carrying: the units bound comes from
// the units digit of the addition range, so the total stays within it.
int NoCarryThirdAddend(const RowRequest& q, int partial) {
  const int range = q.settings.AddRange;
  const int tens = q.random.Scaled(TensOf(range) - TensOf(partial));
  const int unitsBound = UnitsOf(range) == 0 ? 10 : UnitsOf(range);
  int units = q.random.Scaled(unitsBound - UnitsOf(partial));
  if (units < 0) units = 0;
  const int c = 10 * tens + units;
  return c <= 0 ? 0 : c;
}

}  // namespace

void GenerateSubtractionFirst(const RowRequest& q) {
  const GenerationSettings& s = q.settings;
  const bool threeTerms = s.TermCount == 3;
  const std::string secondOperator = threeTerms ? SecondOperatorFor(q, "-") : "";
  const bool thirdIsAdded = secondOperator == "+";

  int a = DrawFirstTerm(q);
  int b = DrawSecondTerm(q, a);
  int c = 0;  // no third term reads as 0
  if (threeTerms) {
    int partial = a - b;
    if (!thirdIsAdded) {
      c = s.BorrowAllowed ? SubtrahendRedrawingZero(partial, s.MinTerm, q.random) : NoBorrowDraw(partial, q.random);
      if (q.random.DigitModulo(2) == 0) std::swap(b, c);
    } else {
      if (partial < 0) partial = s.AddRange;
      c = s.CarryAllowed ? q.random.Scaled(s.AddRange - partial - s.MinTerm) + s.MinTerm
                         : NoCarryThirdAddend(q, partial);
    }
  }

  // The result of the terms as they stand, after any swap of the subtrahends.
  const int result = thirdIsAdded ? a - b + c : a - b - c;

  ProblemRow& row = q.row;
  row[kFirstTerm] = std::to_string(a);
  row[kFirstOperator] = "-";
  row[kSecondTerm] = std::to_string(b);
  if (threeTerms) {
    row[kSecondOperator] = secondOperator;
    row[kThirdTerm] = std::to_string(c);
  }
  row[kResult] = kBlankMarker;
  if (q.blankPosition == BlankPlace::Result) return;
  static constexpr int kBlankColumn[] = {kResult, kFirstTerm, kSecondTerm, kThirdTerm};
  row[kBlankColumn[static_cast<int>(q.blankPosition)]] = kBlankMarker;
  row[kResult] = std::to_string(result);
}

}  // namespace numbrook
