// Multiplication and division: exact rows from scripted numbers, the
// exact count of every kind against a brute force written here, each kind
// drawn evenly over its problems (a chi-square test), and the operations of
// one run drawn alike.
#include <cmath>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "generation/blank_value.h"
#include "generation/one_problem.h"
#include "generation/problem_space.h"
#include "generation/trivial_rule.h"

namespace numbrook::testing {
namespace {

RunRequest TimesTables(OperationKinds operations, Remainders remainders = Remainders::Never, int from = 1,
                       int to = 9, bool noTrivial = false) {
  RunRequest c;
  c.operations = operations;
  c.remainders = remainders;
  c.tables = {from, to};
  c.noTrivial = noTrivial;
  return c;
}

const OperationKinds kMul = OperationKinds::Multiplication;
const OperationKinds kDiv = OperationKinds::Division;

// The number in [0, 1) that makes Int(count r) give index.
double Pick(int index, int count) { return (index + 0.5) / count; }

struct ScriptedCase {
  const char* name;
  RunRequest request;
  std::vector<double> script;
  ProblemRow row;
};

RunRequest WithBlank(RunRequest c, BlankPlace blank) {
  c.blank = blank;
  return c;
}

RunRequest Alongside(RunRequest c, OperationKinds more) {
  c.operations = c.operations | more;
  return c;
}

TEST(TimesTableRows, ExactRowsFromScriptedNumbers) {
  const ScriptedCase cases[] = {
      // The facts stand in order of the first factor, then the second.
      {"3 × 7", TimesTables(kMul), {Pick(2 * 9 + 6, 81)}, Row({"3", "×", "7", "", "", "=", "_"})},
      {"56 ÷ 7 = 8, first blank",
       WithBlank(TimesTables(kDiv), BlankPlace::First),
       {Pick(6 * 9 + 7, 81)},
       Row({"_", "÷", "7", "", "", "=", "8"})},
      // After the divisors 2, 3 and 4 (9 + 18 + 27 facts): 5 × 3 + 2.
      {"17 ÷ 5 = 3……2", TimesTables(kDiv, Remainders::Always), {Pick(54 + 2 * 4 + 1, 324)},
       Row({"17", "÷", "5", "", "", "=", "_", "_"})},
      // The 81 exact divisions come first, each with a remainder 0.
      {"62 ÷ 7 = 8……6, second blank",
       WithBlank(TimesTables(kDiv, Remainders::Mixed), BlankPlace::Second),
       {Pick(81 + 135 + 7 * 6 + 5, 405)},
       Row({"62", "÷", "_", "", "", "=", "8", "6"})},
      {"9 ÷ 3 = 3……0", TimesTables(kDiv, Remainders::Mixed), {Pick(2 * 9 + 2, 405)},
       Row({"9", "÷", "3", "", "", "=", "_", "_"})},
      // The blank is drawn before the fact, as for additions.
      {"random blank", WithBlank(TimesTables(kMul), BlankPlace::Random), {0.15, Pick(8 * 9 + 3, 81)},
       Row({"_", "×", "4", "", "", "=", "36"})},
      // With + beside ×, the share first: the second of two is ×.
      {"× share", Alongside(TimesTables(kMul), OperationKinds::Addition), {0.7, Pick(0, 81)},
       Row({"1", "×", "1", "", "", "=", "_"})},
      // The first share is +, drawn as always: a = 10, b = 6, swapped on an odd digit.
      {"+ share", Alongside(TimesTables(kMul), OperationKinds::Addition), {0.2, 0.5, 0.5, 0.1},
       Row({"6", "+", "10", "", "", "=", "_"})},
      // 1 × 5 is too easy and drawn again.
      {"no factor 1", TimesTables(kMul, Remainders::Never, 1, 9, true), {Pick(4, 81), Pick(2 * 9 + 6, 81)},
       Row({"3", "×", "7", "", "", "=", "_"})},
      // 5 - 5 is too easy: the subtraction is drawn again from its first step.
      {"no result 0", TimesTables(OperationKinds::Subtraction, Remainders::Never, 1, 9, true), {0.5, 0.9, 0.5, 0.5},
       Row({"5", "-", "3", "", "", "=", "_"})},
  };
  for (const ScriptedCase& c : cases) {
    RunRequest request = c.request;
    request.count = 1;
    const GenerationSettings settings = SetUpRun(request);
    ScriptedRandom numbers(c.script);
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, numbers, Progress{}, table)) << c.name;
    EXPECT_EQ(numbers.Remaining(), 0u) << c.name;
    EXPECT_EQ(table.Row(0), c.row) << c.name;
  }
}

// What a pupil solving the row would count as too easy.
TEST(TrivialRule, FactorsDivisorsAndQuotientsOfOneAndZerosInAdditionsAndSubtractions) {
  const std::pair<ProblemRow, bool> cases[] = {
      {Row({"1", "×", "7", "", "", "=", "_"}), true},       {Row({"7", "×", "_", "", "", "=", "7"}), true},
      {Row({"3", "×", "7", "", "", "=", "_"}), false},      {Row({"7", "÷", "1", "", "", "=", "_"}), true},
      {Row({"7", "÷", "7", "", "", "=", "_"}), true},       {Row({"9", "÷", "5", "", "", "=", "_", "_"}), true},
      {Row({"_", "÷", "5", "", "", "=", "3", "2"}), false}, {Row({"7", "+", "0", "", "", "=", "_"}), true},
      {Row({"5", "-", "5", "", "", "=", "_"}), true},       {Row({"5", "-", "_", "", "", "=", "0"}), true},
      {Row({"5", "-", "3", "+", "_", "=", "2"}), true},     {Row({"5", "-", "3", "+", "1", "=", "_"}), false},
  };
  for (const auto& [row, trivial] : cases) EXPECT_EQ(IsTrivial(row), trivial) << row[0] << row[1] << row[2] << row[6];
}

// The problems as the textbook defines them, enumerated here: a factor, a
// divisor and a quotient 1..9, the table that of the larger factor, a
// remainder below the divisor. Each is "dividend op divisor = result r".
std::set<std::string> BruteForce(bool multiplication, Remainders remainders, int from, int to, bool noTrivial) {
  std::set<std::string> problems;
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      const int table = a > b ? a : b;
      if (table < from || table > to) continue;
      if (noTrivial && (a == 1 || b == 1)) continue;
      if (multiplication) {
        problems.insert(std::to_string(a) + "×" + std::to_string(b) + "=" + std::to_string(a * b));
        continue;
      }
      for (int r = 0; r < a; ++r) {
        const bool wanted = r == 0 ? remainders != Remainders::Always : remainders != Remainders::Never;
        if (!wanted) continue;
        problems.insert(std::to_string(a * b + r) + "÷" + std::to_string(a) + "=" + std::to_string(b) +
                        (remainders == Remainders::Never ? "" : "r" + std::to_string(r)));
      }
    }
  }
  return problems;
}

std::string Written(const ProblemRow& row) {
  const std::string result = row[kResult] == "_" ? "" : row[kResult];
  return row[kFirstTerm] + row[kFirstOperator] + row[kSecondTerm] + "=" + result +
         (row[kRemainder].empty() ? "" : "r" + row[kRemainder]);
}

struct CountCase {
  OperationKinds operations;
  Remainders remainders;
  int from, to;
  bool noTrivial;
  std::size_t textbook;  // the count the textbook's tables give, 0 when not listed
};

// "mul_div_mixed_1_9_no_trivial": a case's name in the test list.
void PrintTo(const CountCase& c, std::ostream* out) {
  const char* remainders[] = {"never", "always", "mixed"};
  *out << (Has(c.operations, kMul) ? "mul_" : "") << (Has(c.operations, kDiv) ? "div_" : "")
       << remainders[static_cast<int>(c.remainders)] << '_' << c.from << '_' << c.to
       << (c.noTrivial ? "_no_trivial" : "");
}

class TablesCount : public ::testing::TestWithParam<CountCase> {};

// The walk of every draw finds exactly the problems of the brute force.
TEST_P(TablesCount, IsTheBruteForceOfItsKinds) {
  const CountCase c = GetParam();
  RunRequest request = TimesTables(c.operations, c.remainders, c.from, c.to, c.noTrivial);
  request.blank = BlankPlace::Result;
  const GenerationSettings settings = SetUpRun(request);
  std::set<std::string> expected;
  if (Has(c.operations, kMul)) expected = BruteForce(true, c.remainders, c.from, c.to, c.noTrivial);
  if (Has(c.operations, kDiv)) {
    for (const std::string& p : BruteForce(false, c.remainders, c.from, c.to, c.noTrivial)) expected.insert(p);
  }
  const ProblemSpace space = WalkProblemSpace(settings);
  std::set<std::string> walked;
  for (const ProblemRow& row : space.rows) {
    // The result is the blank: the problem is the row solved.
    ProblemRow solved = row;
    solved[kResult] = std::to_string(*CellValue(row, kResult));
    if (row[kRemainder] == "_") solved[kRemainder] = std::to_string(*CellValue(row, kRemainder));
    walked.insert(Written(solved));
  }
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(CountDistinctProblems(settings, std::numeric_limits<std::size_t>::max()), expected.size());
  if (c.textbook != 0) {
    EXPECT_EQ(expected.size(), c.textbook);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TablesCount,
    ::testing::Values(CountCase{kMul, Remainders::Never, 1, 9, false, 81},
                      CountCase{kMul, Remainders::Never, 1, 9, true, 64},
                      CountCase{kDiv, Remainders::Never, 1, 9, false, 81},
                      CountCase{kDiv, Remainders::Never, 1, 9, true, 64},
                      CountCase{kDiv, Remainders::Always, 1, 9, false, 324},
                      CountCase{kDiv, Remainders::Always, 1, 9, true, 288},
                      CountCase{kDiv, Remainders::Mixed, 1, 9, false, 405},
                      CountCase{kMul | kDiv, Remainders::Mixed, 1, 9, false, 81 + 405},
                      CountCase{kMul | kDiv, Remainders::Always, 1, 9, true, 64 + 288},
                      CountCase{kMul, Remainders::Never, 2, 9, false, 0},
                      CountCase{kDiv, Remainders::Mixed, 3, 5, true, 0},
                      CountCase{kMul | kDiv, Remainders::Never, 7, 7, false, 0},
                      CountCase{kDiv, Remainders::Always, 1, 1, false, 0},
                      CountCase{kDiv, Remainders::Always, 1, 2, true, 0}));

// Additions beside the tables: the count is the sum of each operation's.
TEST(OperationsCount, SeveralOperationsCountTheSumOfTheirs) {
  RunRequest additions;
  additions.addRange = 10;
  const std::size_t all = std::numeric_limits<std::size_t>::max();
  const std::size_t additionsAlone = CountDistinctProblems(SetUpRun(additions), all);
  RunRequest both = Alongside(additions, kMul);
  both.tables = {2, 3};
  // The tables of 2 and 3: 1 × 2, 2 × 1, 2 × 2, 1 × 3, 3 × 1, 2 × 3, 3 × 2, 3 × 3.
  EXPECT_EQ(CountDistinctProblems(SetUpRun(both), all), additionsAlone + 8u);
  both.operations = both.operations | OperationKinds::Subtraction;
  RunRequest subtractions;
  subtractions.operations = OperationKinds::Subtraction;
  EXPECT_EQ(CountDistinctProblems(SetUpRun(both), all),
            additionsAlone + 8u + CountDistinctProblems(SetUpRun(subtractions), all));
}

// The critical value of chi-square with `freedom` degrees at a chance of
// 1 in 10,000 of a false alarm (Wilson and Hilferty's approximation).
double ChiSquareLimit(double freedom) {
  const double z = 3.719;
  const double v = 2 / (9 * freedom);
  return freedom * std::pow(1 - v + z * std::sqrt(v), 3);
}

class EvenDraw : public ::testing::TestWithParam<CountCase> {};

// A kind's problems come out alike often: the counts of many seeded draws
// against the same count for each, by chi-square.
TEST_P(EvenDraw, EveryProblemOfTheKindIsAsLikely) {
  const CountCase c = GetParam();
  RunRequest request = TimesTables(c.operations, c.remainders, c.from, c.to, c.noTrivial);
  request.count = 1000;
  const GenerationSettings settings = SetUpRun(request);
  std::map<ProblemRow, int> counts;
  SeededRandom random(2024);
  int drawn = 0;
  while (drawn < 200 * static_cast<int>(c.textbook)) {
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
    for (int i = 0; i < 1000; ++i) ++counts[table.Row(i)];
    drawn += 1000;
  }
  ASSERT_EQ(counts.size(), c.textbook) << "every problem drawn";
  const double expected = static_cast<double>(drawn) / static_cast<double>(c.textbook);
  double chiSquare = 0;
  for (const auto& [row, count] : counts) chiSquare += (count - expected) * (count - expected) / expected;
  EXPECT_LT(chiSquare, ChiSquareLimit(static_cast<double>(c.textbook) - 1));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EvenDraw,
                         ::testing::Values(CountCase{kMul, Remainders::Never, 1, 9, true, 64},
                                           CountCase{kDiv, Remainders::Never, 1, 9, false, 81},
                                           CountCase{kDiv, Remainders::Always, 1, 9, true, 288},
                                           CountCase{kDiv, Remainders::Mixed, 1, 9, false, 405}));

// Each chosen operation comes out as often as the others, however often its
// rows are drawn again: subtractions are, under --no-trivial, and the
// table of 9 alone rejects nothing but draws few facts.
TEST(OperationShares, EachChosenOperationHasTheSameChance) {
  RunRequest request = TimesTables(OperationKinds::Addition | OperationKinds::Subtraction | kMul | kDiv,
                                   Remainders::Always, 9, 9, true);
  request.count = 1000;
  const GenerationSettings settings = SetUpRun(request);
  std::map<std::string, int> counts;
  SeededRandom random(7);
  const int runs = 20;
  for (int run = 0; run < runs; ++run) {
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
    for (int i = 0; i < 1000; ++i) ++counts[table.Row(i)[kFirstOperator]];
  }
  ASSERT_EQ(counts.size(), 4u);
  // A quarter of 20,000, within 4.5 standard deviations (61 problems each).
  for (const auto& [sign, count] : counts) EXPECT_NEAR(count, runs * 1000 / 4, 275) << sign;
}

// Distinct problems of the tables: all of them can be had, one more cannot.
TEST(DistinctProblems, EveryFactOfATableOnceAndNoMore) {
  RunRequest request = TimesTables(kDiv, Remainders::Always, 1, 9, true);
  request.count = 288;
  SeededRandom random(9);
  ProblemTable table;
  ASSERT_EQ(GenerateDistinctProblems(SetUpRun(request), random, Progress{}, table), DistinctOutcome::Drawn);
  std::set<ProblemRow> rows;
  for (int i = 0; i < 288; ++i) rows.insert(table.Row(i));
  EXPECT_EQ(rows.size(), 288u);
  request.count = 289;
  EXPECT_EQ(GenerateDistinctProblems(SetUpRun(request), random, Progress{}, table), DistinctOutcome::RanOut);
}

TEST(RunSetUp, TimesTablesAreTwoTermProblemsOfTheirTables) {
  const auto refused = [](void (*adjust)(RunRequest&)) {
    RunRequest request = TimesTables(kMul);
    adjust(request);
    EXPECT_THROW(SetUpRun(request), std::invalid_argument);
  };
  // Three terms are two steps, which ask for their result only.
  refused([](RunRequest& r) { r.terms = 3, r.blank = BlankPlace::First; });
  refused([](RunRequest& r) { r.blank = BlankPlace::Third; });
  refused([](RunRequest& r) { r.tables = {0, 9}; });
  refused([](RunRequest& r) { r.tables = {9, 2}; });
  refused([](RunRequest& r) { r.tables = {1, 10}; });
  struct Width {
    RunRequest request;
    int digits;
  };
  RunRequest small = TimesTables(kMul, Remainders::Never, 1, 1);
  small.addRange = small.subRange = 9;
  RunRequest withAdditions = Alongside(small, OperationKinds::Addition);
  withAdditions.addRange = 20;
  const Width widths[] = {{small, 1}, {TimesTables(kDiv, Remainders::Always, 2, 2), 1},
                          {TimesTables(kMul, Remainders::Never, 2, 2), 1}, {TimesTables(kMul, Remainders::Never, 4, 4), 2},
                          {withAdditions, 2}};
  for (const Width& w : widths) EXPECT_EQ(SetUpRun(w.request).DigitWidth, w.digits);
}

}  // namespace
}  // namespace numbrook::testing
