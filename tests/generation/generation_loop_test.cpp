// The generation loop as a whole: first operator, blank place, hooks and the
// rules that must hold for every row a seeded generator draws.
#include <array>
#include <map>

#include <gtest/gtest.h>

#include "generation/one_problem.h"

namespace numbrook::testing {
namespace {

int Value(const std::string& cell) { return std::stoi(cell); }

ProblemTable Generate(RunRequest controls, std::uint64_t seed = 20261207) {
  const GenerationSettings settings = SetUpRun(controls);
  SeededRandom random(seed);
  ProblemTable table;
  EXPECT_TRUE(GenerateProblems(settings, random, Progress{}, table));
  return table;
}

RunRequest Many(RunRequest c = {}) {
  c.count = 1000;
  return c;
}

TEST(SeededRandom, StaysInsideTheUnitInterval) {
  SeededRandom random(1);
  for (int i = 0; i < 100000; ++i) {
    const double r = random.Next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(GenerationLoop, AdditionAndSubtractionTogetherDrawTheFirstOperator) {
  RunRequest c;
  c.operations = c.operations | OperationKinds::Subtraction;
  // digit 3 odd: subtraction; a = Int(0.5 * 9 + 1) = 5; b = Int(6 * 0.5) = 3.
  EXPECT_EQ(GenerateOne(c, {0.3, 0.5, 0.5}).row, Row({"5", "-", "3", "", "", "=", "_"}));
  // digit 4 even: addition.
  EXPECT_EQ(GenerateOne(c, {0.4, 0.5, 0.35, 0.2}).row, Row({"10", "+", "4", "", "", "=", "_"}));
}

TEST(GenerationLoop, RandomBlankIsDrawnAfterTheOperator) {
  RunRequest c;
  c.blank = BlankPlace::Random;
  // digit 7 mod 3 = 1: the first term is blank.
  EXPECT_EQ(GenerateOne(c, {0.7, 0.5, 0.35}).row, Row({"_", "+", "4", "", "", "=", "14"}));
}

TEST(GenerationLoop, NoOperationTickedMeansAdditions) {
  RunRequest c = Many();
  c.operations = OperationKinds::None;
  const ProblemTable table = Generate(c);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(table.Cell(i, kFirstOperator), "+");
}

TEST(GenerationLoop, TableHasOneEmptyRowAfterTheProblems) {
  RunRequest c;
  c.count = 7;
  const ProblemTable table = Generate(c);
  ASSERT_EQ(table.RowCount(), 8);
  for (const std::string& cell : table.Row(7)) EXPECT_EQ(cell, "");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(table.Cell(i, kEqualsSign), "=");
}

TEST(GenerationLoop, ProgressRunsAroundEveryRowAndCanAbandonTheRun) {
  RunRequest c;
  c.count = 5;
  const GenerationSettings settings = SetUpRun(c);
  std::vector<int> done;
  int yields = 0;
  Progress progress;
  progress.yield = [&] { return ++yields <= 3; };
  progress.counted = [&](int count) { done.push_back(count); };
  SeededRandom random(7);
  ProblemTable table;
  EXPECT_FALSE(GenerateProblems(settings, random, progress, table));
  EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(yields, 4);
}

// Exactly one blank per row, and the row is a true statement.
void ExpectSolvableRow(const ProblemRow& row, int terms) {
  int blanks = 0;
  for (int column : {kFirstTerm, kSecondTerm, kThirdTerm, kResult}) blanks += row[column] == "_";
  ASSERT_EQ(blanks, 1);
  if (row[kResult] == "_") return;
  std::array<int, 7> v{};
  for (int column : {kFirstTerm, kSecondTerm, kThirdTerm, kResult}) {
    if (row[column] != "_" && !row[column].empty()) v[column] = Value(row[column]);
  }
  const int sign1 = row[kFirstOperator] == "+" ? 1 : -1;
  const int sign2 = row[kSecondOperator] == "-" ? -1 : 1;
  // Solve for the blank and check it is a whole, non-negative answer.
  int known = 0;
  int blankSign = 1;
  if (row[kFirstTerm] == "_") { known = sign1 * v[2] + (terms == 3 ? sign2 * v[4] : 0); blankSign = 1; }
  if (row[kSecondTerm] == "_") { known = v[0] + (terms == 3 ? sign2 * v[4] : 0); blankSign = sign1; }
  if (row[kThirdTerm] == "_") { known = v[0] + sign1 * v[2]; blankSign = sign2; }
  const int answer = (v[kResult] - known) * blankSign;
  EXPECT_GE(answer, 0);
}

TEST(GenerationProperties, TwoTermAdditionWithCarryingStaysWithinTheRange) {
  const ProblemTable table = Generate(Many());
  bool reachedTheRange = false;
  for (int i = 0; i < 1000; ++i) {
    const ProblemRow& row = table.Row(i);
    const int a = Value(row[0]), b = Value(row[2]);
    ASSERT_GE(a, 1);
    ASSERT_GE(b, 1);
    ASSERT_LE(a + b, 20);
    ASSERT_EQ(row[3], "");
    ASSERT_EQ(row[4], "");
    reachedTheRange = reachedTheRange || a + b == 20;
  }
  EXPECT_TRUE(reachedTheRange);
}

TEST(GenerationProperties, TwoTermAdditionWithoutCarryingAddsUnitsToAtMostNine) {
  RunRequest c = Many();
  c.carrying = false;
  const ProblemTable table = Generate(c);
  bool sawZero = false;
  for (int i = 0; i < 1000; ++i) {
    const int a = Value(table.Cell(i, 0)), b = Value(table.Cell(i, 2));
    ASSERT_LE(a % 10 + b % 10, 9) << a << "+" << b;
    ASSERT_LE(a / 10 + b / 10, 1) << a << "+" << b;
    ASSERT_LE(a + b, 19);
    sawZero = sawZero || b == 0 || a == 0;
  }
  EXPECT_TRUE(sawZero);
}

TEST(GenerationProperties, AboutHalfOfTheComputeRowsAreSwapped) {
  // The swap makes the two addends exchangeable, so the first one shown is
  // the larger in about half the rows; as drawn (1..98, then at most 99
  // minus the first) it would be the larger in about two thirds.
  RunRequest c = Many();
  c.addRange = 99;
  const ProblemTable table = Generate(c);
  int firstLarger = 0;
  for (int i = 0; i < 1000; ++i) firstLarger += Value(table.Cell(i, 0)) > Value(table.Cell(i, 2));
  EXPECT_GT(firstLarger, 420);
  EXPECT_LT(firstLarger, 560);
}

TEST(GenerationProperties, RandomModeBlankFrequencies) {
  RunRequest two = Many();
  two.blank = BlankPlace::Random;
  RunRequest three = two;
  three.terms = 3;
  const std::array<int, 7> expectTwo{300, 0, 300, 0, 0, 0, 400};
  const std::array<int, 7> expectThree{300, 0, 200, 0, 200, 0, 300};
  for (const auto& [controls, expected] : {std::pair{two, expectTwo}, std::pair{three, expectThree}}) {
    std::array<int, 7> count{};
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
      const ProblemTable table = Generate(controls, seed);
      for (int i = 0; i < 1000; ++i) {
        for (int column = 0; column < 7; ++column) count[column] += table.Cell(i, column) == "_";
      }
    }
    for (int column = 0; column < 7; ++column) {
      EXPECT_NEAR(count[column] / 5.0, expected[column], 30) << "column " << column;
    }
  }
}

TEST(GenerationProperties, EveryCombinationGivesSolvableRows) {
  for (int terms : {2, 3}) {
    for (int ops = 1; ops < 8; ++ops) {
      for (int blank = 0; blank < 5; ++blank) {
        if (terms == 2 && (blank == static_cast<int>(BlankPlace::Third) || (ops & 4))) continue;
        RunRequest c = Many();
        c.terms = terms;
        c.operations = static_cast<OperationKinds>(ops);  // 1 addition, 2 subtraction, 4 mixed
        c.blank = static_cast<BlankPlace>(blank);
        const ProblemTable table = Generate(c, static_cast<std::uint64_t>(terms * 100 + ops * 10 + blank));
        for (int i = 0; i < 1000; ++i) ExpectSolvableRow(table.Row(i), terms);
      }
    }
  }
}

TEST(GenerationProperties, ThreeTermSubtractionStartsFromHalfTheRange) {
  RunRequest c = Many();
  c.terms = 3;
  c.operations = OperationKinds::None;
  c.operations = c.operations | OperationKinds::Subtraction;
  c.blank = BlankPlace::Second;  // the first term is never moved
  const ProblemTable table = Generate(c);
  std::map<int, int> firstTerms;
  for (int i = 0; i < 1000; ++i) ++firstTerms[Value(table.Cell(i, 0))];
  EXPECT_EQ(firstTerms.size(), 4u);
  EXPECT_EQ(firstTerms.begin()->first, 5);
  EXPECT_EQ(firstTerms.rbegin()->first, 8);
}

TEST(GenerationProperties, ThreeTermAdditionStaysBelowHalfTheRange) {
  RunRequest c = Many();
  c.terms = 3;
  c.addRange = 99;
  c.blank = BlankPlace::First;  // the first term is the result less the others
  const ProblemTable table = Generate(c);
  int highest = 0;
  for (int i = 0; i < 1000; ++i) {
    const int a = Value(table.Cell(i, kResult)) - Value(table.Cell(i, 2)) - Value(table.Cell(i, 4));
    ASSERT_GE(a, 1);
    ASSERT_LE(a, 49);
    highest = std::max(highest, a);
  }
  EXPECT_EQ(highest, 49);
}

TEST(GenerationProperties, MixedRunsUseBothSecondOperators) {
  RunRequest c = Many();
  c.terms = 3;
  c.operations = c.operations | OperationKinds::Mixed;
  const ProblemTable table = Generate(c);
  int plus = 0;
  for (int i = 0; i < 1000; ++i) plus += table.Cell(i, kSecondOperator) == "+";
  EXPECT_GT(plus, 420);
  EXPECT_LT(plus, 580);
}

TEST(GenerationProperties, TwoTermSubtractionWithoutBorrowingNeedsNoBorrow) {
  RunRequest c = Many();
  c.operations = OperationKinds::None;
  c.operations = c.operations | OperationKinds::Subtraction;
  c.borrowing = false;
  c.subRange = 99;
  const ProblemTable table = Generate(c);
  for (int i = 0; i < 1000; ++i) {
    const int a = Value(table.Cell(i, 0)), b = Value(table.Cell(i, 2));
    ASSERT_LE(b % 10, a % 10) << a << "-" << b;
    ASSERT_LE(b / 10, a / 10) << a << "-" << b;
    ASSERT_NE(a % 10, 0) << "a whole ten is lowered by one";
    if (a % 10 >= 2) {
      ASSERT_NE(b % 10, 0) << a << "-" << b;
    }
  }
}

}  // namespace
}  // namespace numbrook::testing
