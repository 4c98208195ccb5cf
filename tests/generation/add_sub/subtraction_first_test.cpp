// Exact rows of problems that begin with "-", from scripted random numbers.
#include <gtest/gtest.h>

#include "generation/one_problem.h"

namespace numbrook::testing {
namespace {

RunRequest SubtractionOnly(int terms = 2) {
  RunRequest c;
  c.operations = OperationKinds::None;
  c.operations = c.operations | OperationKinds::Subtraction;
  c.terms = terms;
  return c;
}

TEST(SubtractionFirst, TwoTermsWithBorrowingRedrawAZeroSubtrahendFromOne) {
  // a = Int(0.8 * 9 + 1) = 8; b = Int(9 * 0.05) = 0, again as Int(7 * 0.5 + 1) = 4.
  const OneProblem p = GenerateOne(SubtractionOnly(), {0.8, 0.05, 0.5});
  EXPECT_EQ(p.row, Row({"8", "-", "4", "", "", "=", "_"}));
}

TEST(SubtractionFirst, WholeTenLosesOneAndAZeroUnitsPlaceBecomesHalfTheMinuendsUnits) {
  RunRequest c = SubtractionOnly();
  c.subRange = 20;
  c.borrowing = false;
  c.blank = BlankPlace::Second;
  // a = Int(0.5 * 19 + 1) = 10, lowered to 9; tens Int(1 * 0.3) = 0 (no tens to adjust);
  // units Int(10 * 0.05) = 0 becomes 4.5 rounded to the even 4.
  const OneProblem p = GenerateOne(c, {0.5, 0.3, 0.05});
  EXPECT_EQ(p.row, Row({"9", "-", "_", "", "", "=", "5"}));
}

TEST(SubtractionFirst, ZeroTensOfATwoTermSubtrahendBecomeHalfTheMinuendsTensOnAnOddDigit) {
  RunRequest c = SubtractionOnly();
  c.subRange = 50;
  c.borrowing = false;
  // a = 35; tens Int(4 * 0.1) = 0, units Int(6 * 0.1) = 0; digit 5 odd: tens 1; units 2.5 -> 2.
  const OneProblem odd = GenerateOne(c, {34.5 / 49, 0.1, 0.1, 0.5});
  EXPECT_EQ(odd.row, Row({"35", "-", "12", "", "", "=", "_"}));
  const OneProblem even = GenerateOne(c, {34.5 / 49, 0.1, 0.1, 0.4});
  EXPECT_EQ(even.row, Row({"35", "-", "2", "", "", "=", "_"}));
}

TEST(SubtractionFirst, ThreeTermsWithoutBorrowingKeepAZeroSubtrahend) {
  RunRequest c = SubtractionOnly(3);
  c.subRange = 20;
  c.borrowing = false;
  // a = Int(10 + 9 * 0.5) = 14; tens Int(2 * 0.2) = 0, units Int(5 * 0.1) = 0: b stays 0.
  // partial 14: tens Int(2 * 0.6) = 1, units Int(5 * 0.5) = 2; digit 3 odd: no swap.
  const OneProblem p = GenerateOne(c, {0.5, 0.2, 0.1, 0.6, 0.5, 0.3});
  EXPECT_EQ(p.row, Row({"14", "-", "0", "-", "12", "=", "_"}));
}

TEST(SubtractionFirst, SubtrahendsTradeColumnsOnAnEvenDigitAndTheResultFollows) {
  RunRequest c = SubtractionOnly(3);
  c.blank = BlankPlace::Third;
  // a = Int(5 + 4 * 0.6) = 7; b = Int(8 * 0.5) = 4; c = Int(4 * 0.6) = 2; digit 4 even: swap.
  const OneProblem p = GenerateOne(c, {0.6, 0.5, 0.6, 0.4});
  EXPECT_EQ(p.row, Row({"7", "-", "2", "-", "_", "=", "1"}));
}

TEST(SubtractionFirst, MixedRunAddsAThirdTermWithCarrying) {
  RunRequest c = SubtractionOnly(3);
  c.operations = c.operations | OperationKinds::Mixed;
  // digit 1 odd: "+"; a = Int(5 + 4 * 0) = 5; b = Int(6 * 0.9) = 5; c = Int(19 * 0.5 + 1) = 10.
  const OneProblem p = GenerateOne(c, {0.15, 0.0, 0.9, 0.5});
  EXPECT_EQ(p.row, Row({"5", "-", "5", "+", "10", "=", "_"}));
}

TEST(SubtractionFirst, ThirdAddendWithoutCarryingTakesItsUnitsBoundFromTheAdditionRange) {
  RunRequest c = SubtractionOnly(3);
  c.operations = c.operations | OperationKinds::Mixed;
  c.carrying = false;
  c.addRange = 15;
  c.blank = BlankPlace::First;
  // "+"; a = Int(5 + 4 * 0.99) = 8; b = Int(9 * 0.2) = 1; partial 7:
  // tens Int(1 * 0.5) = 0, units Int((5 - 7) * 0.5) = -1 raised to 0.
  const OneProblem p = GenerateOne(c, {0.15, 0.99, 0.2, 0.5, 0.5});
  EXPECT_EQ(p.row, Row({"_", "-", "1", "+", "0", "=", "7"}));
}

TEST(SubtractionFirst, PartialBeyondTheAdditionRangeIsDrawnAgain) {
  RunRequest c = SubtractionOnly(3);
  c.operations = c.operations | OperationKinds::Mixed;
  c.subRange = 50;
  // "+"; a = Int(25 + 24 * 0.5) = 37; b = Int(38 * 0.01) = 0, again Int(36 * 0.01 + 1) = 1;
  // partial 36 >= 20: c = Int(-17 * 0.5 + 1) = -8, a negative term: drawn again.
  // "+"; a = 25; b = Int(26 * 0.9) = 23; partial 2: c = Int(17 * 0.5 + 1) = 9; 25 - 23 + 9 = 11.
  const OneProblem p = GenerateOne(c, {0.15, 0.5, 0.01, 0.01, 0.5, 0.15, 0.0, 0.9, 0.5});
  EXPECT_EQ(p.row, Row({"25", "-", "23", "+", "9", "=", "_"}));
}

TEST(SubtractionFirst, SubtractionRangeOfOneStartingBelowZeroIsDrawnAgain) {
  RunRequest c = SubtractionOnly(3);
  c.subRange = 1;
  c.addRange = 5;
  // a = Int(0 - 0.5 * 0.5) = -1; b = Int(0 * 0.3) = 0, again Int(-2 * 0.1 + 1) = 0;
  // partial -1: c = Int(0 * r) twice; digit 5 odd: no swap. -1 - 0 - 0 < 0: drawn again.
  // a = Int(0 - 0.5 * 0) = 0; b = Int(1 * 0.3) = 0, again Int(-1 * 0.1 + 1) = 0; c = 0 twice.
  const OneProblem p = GenerateOne(c, {0.5, 0.3, 0.1, 0.7, 0.7, 0.5, 0.0, 0.3, 0.1, 0.7, 0.7, 0.5});
  EXPECT_EQ(p.row, Row({"0", "-", "0", "-", "0", "=", "_"}));
}

TEST(SubtractionFirst, TwoTermProblemWithALargeSubtractionRangeNeverWarns) {
  RunRequest c = SubtractionOnly();
  c.subRange = 50;
  const OneProblem p = GenerateOne(c, {0.99, 0.0, 0.0});
  EXPECT_EQ(p.row, Row({"49", "-", "1", "", "", "=", "_"}));
}

}  // namespace
}  // namespace numbrook::testing
