// Exact rows of problems that begin with "+", from scripted random numbers.
#include <gtest/gtest.h>

#include "generation/one_problem.h"

namespace numbrook::testing {
namespace {

RunRequest ThreeTerms() {
  RunRequest c;
  c.terms = 3;
  return c;
}

TEST(AdditionFirst, TwoTermsWithCarryingAndTheComputeSwap) {
  // a = Int(0.5 * 19 + 1) = 10; b = Int(10 * 0.35 + 1) = 4; digit 3 is odd: swap.
  const OneProblem p = GenerateOne(RunRequest{}, {0.5, 0.35, 0.3});
  EXPECT_EQ(p.row, Row({"4", "+", "10", "", "", "=", "_"}));
}

TEST(AdditionFirst, TwoTermsWithoutCarryingKeepTheUnitsBelowTen) {
  RunRequest c;
  c.carrying = false;
  // a = 13; tens Int(1 * 0.9) = 0, units Int(7 * 0.99) = 6; digit 2 even: no swap.
  const OneProblem p = GenerateOne(c, {12.5 / 19, 0.9, 0.99, 0.2});
  EXPECT_EQ(p.row, Row({"13", "+", "6", "", "", "=", "_"}));
}

TEST(AdditionFirst, BlankInATwoTermProblemDrawsNoSwap) {
  RunRequest c;
  c.blank = BlankPlace::Second;
  const OneProblem p = GenerateOne(c, {0.5, 0.35});
  EXPECT_EQ(p.row, Row({"10", "+", "_", "", "", "=", "14"}));
}

TEST(AdditionFirst, MixedRunWithAMinusSecondOperatorCapsThePartialAtTheSubtractionRange) {
  RunRequest c = ThreeTerms();
  c.operations = c.operations | OperationKinds::Mixed;
  c.blank = BlankPlace::First;
  // digit 4 even: "-"; a = Int(9 * 0.9 + 1) = 9; b = Int(11 * 0.5 + 1) = 6;
  // partial 15 becomes 10; c = Int(11 * 0) = 0, drawn again: Int(11 * 0.3) = 3.
  const OneProblem p = GenerateOne(c, {0.45, 0.9, 0.5, 0.0, 0.3});
  EXPECT_EQ(p.row, Row({"_", "+", "6", "-", "3", "=", "12"}));
}

TEST(AdditionFirst, SubtrahendOfZeroIsKeptWhenTheSecondDrawIsZeroToo) {
  RunRequest c = ThreeTerms();
  c.operations = c.operations | OperationKinds::Mixed;
  const OneProblem p = GenerateOne(c, {0.45, 0.9, 0.5, 0.0, 0.0, 0.2});
  EXPECT_EQ(p.row, Row({"9", "+", "6", "-", "0", "=", "_"}));
}

TEST(AdditionFirst, ThirdSubtrahendWithoutBorrowing) {
  RunRequest c = ThreeTerms();
  c.operations = c.operations | OperationKinds::Mixed;
  c.borrowing = false;
  // "-"; a = 9; b = 6; partial 10: tens Int(2 * 0.7) = 1, units Int(1 * 0.5) = 0.
  const OneProblem p = GenerateOne(c, {0.45, 0.9, 0.5, 0.7, 0.5, 0.2});
  EXPECT_EQ(p.row, Row({"9", "+", "6", "-", "10", "=", "_"}));
}

TEST(AdditionFirst, FirstTwoTermsReachingTheRangeLeaveAThirdTermOfZero) {
  // a = Int(9 * 0.5 + 1) = 5; b = Int(15 * 14.5/15 + 1) = 15; c = Int(-1 * 0.5 + 1) = 0.
  const OneProblem p = GenerateOne(ThreeTerms(), {0.5, 14.5 / 15, 0.5, 0.1});
  EXPECT_EQ(p.row, Row({"15", "+", "5", "+", "0", "=", "_"}));  // kept: the sum is exactly 20
}

TEST(AdditionFirst, SumBeyondASmallRangeIsDrawnAgainFromTheFirstStep) {
  RunRequest c = ThreeTerms();
  c.addRange = 5;
  c.carrying = false;
  c.blank = BlankPlace::Second;
  // a = Int(1.5 * 0.9 + 1) = 2; b: tens 0, units Int(8 * 0.4375) = 3;
  // c: tens 0, units Int(5 * 0.9) = 4; 2 + 3 + 4 = 9 > 5 (digit 7: swap): drawn again.
  // a = Int(1.5 * 0.1 + 1) = 1; b: tens 0, units Int(9 * 0.2) = 1; c: tens 0, units
  // Int(8 * 0.3) = 2; 1 + 1 + 2 = 4; digit 0 even: no swap.
  const OneProblem p = GenerateOne(c, {0.9, 0.5, 0.4375, 0.5, 0.9, 0.7, 0.1, 0.5, 0.2, 0.5, 0.3, 0.0});
  EXPECT_EQ(p.row, Row({"1", "+", "_", "+", "2", "=", "4"}));
}

struct BlankSwapCase {
  BlankPlace blankMode;
  double swapDraw;
  ProblemRow expected;
};

void PrintTo(const BlankSwapCase& c, std::ostream* out) { *out << "blank mode " << static_cast<int>(c.blankMode) << ", draw " << c.swapDraw; }

class AdditionBlankSwaps : public ::testing::TestWithParam<BlankSwapCase> {};

TEST_P(AdditionBlankSwaps, NumbersBesideTheBlankTradePlacesOnAnOddDigit) {
  RunRequest c = ThreeTerms();
  c.blank = GetParam().blankMode;
  // a = Int(9 * 0.3 + 1) = 3; b = Int(17 * 0.25 + 1) = 5; c = Int(11 * 0.5 + 1) = 6; sum 14.
  const OneProblem p = GenerateOne(c, {0.3, 0.25, 0.5, GetParam().swapDraw});
  EXPECT_EQ(p.row, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryBlank, AdditionBlankSwaps,
    ::testing::Values(BlankSwapCase{BlankPlace::Result, 0.1, Row({"5", "+", "3", "+", "6", "=", "_"})},
                      BlankSwapCase{BlankPlace::Result, 0.2, Row({"3", "+", "5", "+", "6", "=", "_"})},
                      BlankSwapCase{BlankPlace::First, 0.9, Row({"_", "+", "6", "+", "5", "=", "14"})},
                      BlankSwapCase{BlankPlace::First, 0.8, Row({"_", "+", "5", "+", "6", "=", "14"})},
                      BlankSwapCase{BlankPlace::Second, 0.5, Row({"6", "+", "_", "+", "3", "=", "14"})},
                      BlankSwapCase{BlankPlace::Second, 0.4, Row({"3", "+", "_", "+", "6", "=", "14"})},
                      BlankSwapCase{BlankPlace::Third, 0.3, Row({"5", "+", "3", "+", "_", "=", "14"})},
                      BlankSwapCase{BlankPlace::Third, 0.0, Row({"3", "+", "5", "+", "_", "=", "14"})}));

TEST(AdditionFirst, MixedRunWithAPlusSecondOperatorWithoutCarrying) {
  RunRequest c = ThreeTerms();
  c.operations = c.operations | OperationKinds::Mixed;
  c.carrying = false;
  c.addRange = 30;
  // digit 1 odd: "+"; a = Int(14 * 0.5 + 1) = 8; b: tens Int(3 * 0.5) = 1, units Int(2 * 0.5) = 1;
  // partial 19: tens Int(2 * 0.9) = 1, units Int(1 * 0.9) = 0; 8 + 11 + 10 = 29. Digit 0: no swap.
  const OneProblem p = GenerateOne(c, {0.15, 0.5, 0.5, 0.5, 0.9, 0.9, 0.0});
  EXPECT_EQ(p.row, Row({"8", "+", "11", "+", "10", "=", "_"}));
}

}  // namespace
}  // namespace numbrook::testing
