// Two-step problems against a teacher's reading written for the tests
// (school_order.h): every drawn row worked in the school's order, each step
// held to its rule, brackets only of the textbook's shapes, the share of
// brackets and of each operator, and the exact count against a brute force
// over every written problem.
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "generation/blank_value.h"
#include "generation/problem_generator.h"
#include "generation/problem_space.h"
#include "generation_support/school_order.h"

namespace numbrook::testing {
namespace {

const OperationKinds kAdd = OperationKinds::Addition, kSub = OperationKinds::Subtraction,
                     kMul = OperationKinds::Multiplication, kDiv = OperationKinds::Division;

// The problem as written, with its brackets, as the reader takes it: "(12+15)/3".
std::string Written(const ProblemRow& row) {
  const auto op = [](const std::string& sign) { return sign == "×" ? '*' : sign == "÷" ? '/' : sign[0]; };
  return Expression(std::stoi(row[kFirstTerm]), op(row[kFirstOperator]), std::stoi(row[kSecondTerm]),
                    op(row[kSecondOperator]), std::stoi(row[kThirdTerm]), row[kBrackets]);
}

RunRequest TwoSteps(OperationKinds operations, Brackets brackets, const Rules& r = {}) {
  RunRequest request;
  request.terms = 3;
  request.operations = operations;
  request.brackets = brackets;
  request.addRange = r.addRange;
  request.subRange = r.subRange;
  request.tables = {r.from, r.to};
  request.carrying = r.carrying;
  request.borrowing = r.borrowing;
  request.noTrivial = r.noTrivial;
  request.count = 1000;
  return request;
}

struct DrawCase {
  const char* name;
  OperationKinds operations;
  Brackets brackets;
  Rules rules;
};

class TwoStepDraws : public ::testing::TestWithParam<DrawCase> {};

// Every row of many sheets: worked by the reader, each step within its
// rule, the result the key shows, brackets only of the textbook's shapes.
TEST_P(TwoStepDraws, EveryRowIsSoundWorkedInTheSchoolsOrder) {
  const DrawCase& c = GetParam();
  const GenerationSettings settings = SetUpRun(TwoSteps(c.operations, c.brackets, c.rules));
  int bracketed = 0;
  for (std::uint64_t seed = 1; seed <= 5; ++seed) {
    SeededRandom random(seed);
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
    for (int i = 0; i < settings.ProblemCount; ++i) {
      const ProblemRow& row = table.Row(i);
      const std::string written = Written(row);
      ASSERT_EQ(row[kResult], "_") << written;
      Reader reader(written);
      const std::optional<int> value = reader.Value();
      ASSERT_TRUE(value.has_value()) << written;
      ASSERT_EQ(reader.steps.size(), 2u) << written;
      for (const Step& step : reader.steps) {
        ASSERT_EQ(BrokenRule(step, c.rules), "") << written;
        ASSERT_GE(step.left, 0) << written;
      }
      for (int term : {kFirstTerm, kSecondTerm, kThirdTerm}) ASSERT_GE(std::stoi(row[term]), 1) << written;
      EXPECT_EQ(CellValue(row, kResult), value) << written;
      EXPECT_TRUE(IsTextbookShape(written)) << written;
      bracketed += !row[kBrackets].empty();
    }
  }
  // Under mixed, half of 5000 within 4.5 standard deviations (35 problems).
  const int expected[] = {0, 5000, 2500};
  EXPECT_NEAR(bracketed, expected[static_cast<int>(c.brackets)], c.brackets == Brackets::Mixed ? 160 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TwoStepDraws,
    ::testing::Values(DrawCase{"AllFourPlain", kAdd | kSub | kMul | kDiv, Brackets::Never, {99, 99}},
                      DrawCase{"AllFourMixed", kAdd | kSub | kMul | kDiv, Brackets::Mixed, {99, 99}},
                      DrawCase{"AddMulBrackets", kAdd | kMul, Brackets::Always, {}},
                      DrawCase{"SubDivMixedNoBorrow", kSub | kDiv, Brackets::Mixed, {20, 50, 1, 9, true, false}},
                      DrawCase{"MulDivTablesTwoToFive", kMul | kDiv, Brackets::Mixed, {20, 10, 2, 5}},
                      DrawCase{"AddSubBracketsNoCarryNoTrivial", kAdd | kSub, Brackets::Always,
                               {50, 60, 1, 9, false, true, true}},
                      DrawCase{"AllFourNoTrivial", kAdd | kSub | kMul | kDiv, Brackets::Mixed,
                               {40, 90, 2, 9, true, true, true}}),
    [](const ::testing::TestParamInfo<DrawCase>& info) { return std::string(info.param.name); });

// Without brackets each operator of a problem is any chosen one alike.
TEST(TwoStepDraws, EachOperatorIsDrawnAlike) {
  const GenerationSettings settings = SetUpRun(TwoSteps(kAdd | kSub | kMul | kDiv, Brackets::Never, {99, 99}));
  std::map<std::string, int> first, second;
  for (std::uint64_t seed = 1; seed <= 8; ++seed) {
    SeededRandom random(seed);
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
    for (int i = 0; i < settings.ProblemCount; ++i) {
      ++first[table.Row(i)[kFirstOperator]];
      ++second[table.Row(i)[kSecondOperator]];
    }
  }
  // A quarter of 8000 within 4.5 standard deviations (39 problems).
  for (const auto& counts : {first, second}) {
    ASSERT_EQ(counts.size(), 4u);
    for (const auto& [sign, count] : counts) EXPECT_NEAR(count, 2000, 175) << sign;
  }
}

struct CountCase {
  OperationKinds operations;
  Brackets brackets;
  Rules rules;
};

std::string OpsOf(OperationKinds operations) {
  std::string ops;
  for (auto [kind, op] : {std::pair{kAdd, '+'}, std::pair{kSub, '-'}, std::pair{kMul, '*'}, std::pair{kDiv, '/'}}) {
    if (Has(operations, kind)) ops += op;
  }
  return ops;
}

class TwoStepCount : public ::testing::TestWithParam<CountCase> {};

// --distinct's count is the brute force's.
TEST_P(TwoStepCount, IsTheBruteForceOfEveryWrittenProblem) {
  const CountCase& c = GetParam();
  const GenerationSettings settings = SetUpRun(TwoSteps(c.operations, c.brackets, c.rules));
  const std::size_t expected =
      BruteForceCount(OpsOf(c.operations), c.brackets != Brackets::Always, c.brackets != Brackets::Never, c.rules);
  EXPECT_GT(expected, 0u);
  EXPECT_EQ(CountDistinctProblems(settings, std::numeric_limits<std::size_t>::max()), expected);
  EXPECT_EQ(CountDistinctProblems(settings, 10), std::min<std::size_t>(expected, 10)) << "stops at enough";
}

INSTANTIATE_TEST_SUITE_P(SmallSpaces, TwoStepCount,
                         ::testing::Values(CountCase{kMul | kAdd, Brackets::Never, {20, 10, 2, 3}},
                                           CountCase{kMul | kAdd, Brackets::Mixed, {20, 10, 2, 3}},
                                           CountCase{kMul | kAdd, Brackets::Always, {20, 10, 2, 3, true, true, true}},
                                           CountCase{kSub | kDiv, Brackets::Mixed, {10, 12, 2, 4, true, false}},
                                           CountCase{kSub, Brackets::Always, {10, 9}}));

// The run gives no problem where an operation can stand in none: × alone
// from the tables 5 to 9 without easy problems has no product of 9 or less.
TEST(TwoStepSetUp, AnOperationInNoProblemIsKnown) {
  EXPECT_FALSE(GivesEveryOperation(SetUpRun(TwoSteps(kMul, Brackets::Never, {20, 10, 5, 9, true, true, true}))));
  EXPECT_TRUE(GivesEveryOperation(SetUpRun(TwoSteps(kAdd | kMul, Brackets::Never, {20, 10, 5, 9, true, true, true}))));
  EXPECT_TRUE(GivesEveryOperation(SetUpRun(TwoSteps(kAdd | kSub | kMul | kDiv, Brackets::Mixed))));
}

}  // namespace
}  // namespace numbrook::testing
