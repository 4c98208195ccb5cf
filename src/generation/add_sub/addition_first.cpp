#include <utility>

#include "generation/row_request.h"

namespace numbrook {
namespace {

int DrawFirstTerm(const RowRequest& q) {
  const GenerationSettings& s = q.settings;
  if (s.TermCount == 3) return q.random.Scaled(s.AddRange / 2.0 - s.MinTerm) + s.MinTerm;  // below half the range
  return q.random.Scaled(s.AddRange - s.MinTerm) + s.MinTerm;
}

int DrawSecondTerm(const RowRequest& q, int a) {
  const GenerationSettings& s = q.settings;
  if (s.CarryAllowed) return q.random.Scaled(s.AddRange - a) + s.MinTerm;
  return NoCarryDraw(a, s.AddRange, q.random);
}

int DrawThirdTerm(const RowRequest& q, bool thirdIsAdded, int partial) {
  const GenerationSettings& s = q.settings;
  if (!thirdIsAdded) {
    if (partial > s.SubRange) partial = s.SubRange;
    if (s.BorrowAllowed) return SubtrahendRedrawingZero(partial, s.MinTerm, q.random);
    return NoBorrowDraw(partial, q.random);
  }
  if (s.CarryAllowed) return q.random.Scaled(s.AddRange - partial - s.MinTerm) + s.MinTerm;
  return NoCarryDraw(partial, s.AddRange, q.random, /*raiseNegativeUnits=*/true);
}

void SwapOnOddDigit(const RowRequest& q, int columnA, int columnB) {
  if (q.random.DigitModulo(2) == 1) std::swap(q.row[columnA], q.row[columnB]);
}

}  // namespace

void GenerateAdditionFirst(const RowRequest& q) {
  ProblemRow& row = q.row;
  const bool threeTerms = q.settings.TermCount == 3;

  row[kFirstOperator] = "+";
  if (threeTerms) row[kSecondOperator] = SecondOperatorFor(q, "+");
  const bool thirdIsAdded = row[kSecondOperator] == "+";

  const int a = DrawFirstTerm(q);
  const int b = DrawSecondTerm(q, a);
  const int c = threeTerms ? DrawThirdTerm(q, thirdIsAdded, a + b) : 0;

  const int result = thirdIsAdded ? a + b + c : a + b - c;

  // Column 4 holds c even in a two-term row; the loop clears it afterwards.
  // Addends may trade places, which keeps the written problem true.
  row[kFirstTerm] = std::to_string(a);
  row[kSecondTerm] = std::to_string(b);
  row[kThirdTerm] = std::to_string(c);
  row[kResult] = std::to_string(result);
  switch (q.blankPosition) {
    case BlankPlace::Result:
      row[kResult] = kBlankMarker;
      SwapOnOddDigit(q, kFirstTerm, kSecondTerm);
      break;
    case BlankPlace::First:
      row[kFirstTerm] = kBlankMarker;
      if (thirdIsAdded) SwapOnOddDigit(q, kSecondTerm, kThirdTerm);
      break;
    case BlankPlace::Second:
      row[kSecondTerm] = kBlankMarker;
      if (thirdIsAdded) SwapOnOddDigit(q, kFirstTerm, kThirdTerm);
      break;
    case BlankPlace::Third:
      row[kThirdTerm] = kBlankMarker;
      if (thirdIsAdded) SwapOnOddDigit(q, kFirstTerm, kSecondTerm);
      break;
    case BlankPlace::Random:
      break;  // a row's place has been drawn before it comes here
  }
}

}  // namespace numbrook
