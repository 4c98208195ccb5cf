// Which rows break their range, and that no row in a table does.
#include <string>

#include <gtest/gtest.h>

#include "generation/one_problem.h"
#include "generation/range_rule.h"

namespace numbrook::testing {
namespace {

struct RangeCase {
  ProblemRow row;
  int addRange;
  bool keeps;
};

void PrintTo(const RangeCase& c, std::ostream* out) {
  for (const std::string& cell : c.row) *out << cell << ' ';
  *out << "within " << c.addRange;
}

class RangeRule : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeRule, NegativeNumbersAndSumsPastTheAdditionRangeBreakIt) {
  EXPECT_EQ(KeepsWithinRange(GetParam().row, GetParam().addRange), GetParam().keeps);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RangeRule,
    ::testing::Values(RangeCase{Row({"15", "+", "5", "+", "0", "=", "_"}), 20, true},
                      RangeCase{Row({"15", "+", "6", "", "", "=", "_"}), 20, false},  // a two-term sum
                      RangeCase{Row({"3", "+", "4", "", "", "=", "_"}), 5, false},
                      RangeCase{Row({"4", "+", "_", "+", "2", "=", "9"}), 5, false},  // the blank is 3
                      RangeCase{Row({"2", "+", "7", "-", "5", "=", "_"}), 5, false},  // 2 + 7 on the way
                      RangeCase{Row({"44", "-", "9", "+", "-24", "=", "_"}), 20, false},
                      RangeCase{Row({"6", "-", "2", "+", "_", "=", "3"}), 20, false},  // the blank is -1
                      RangeCase{Row({"37", "-", "1", "+", "0", "=", "_"}), 20, false},
                      RangeCase{Row({"-1", "-", "0", "-", "0", "=", "_"}), 5, false},
                      RangeCase{Row({"7", "-", "_", "-", "2", "=", "1"}), 20, true},
                      RangeCase{Row({"0", "-", "0", "-", "0", "=", "_"}), 5, true},
                      RangeCase{Row({"5", "-", "3", "+", "18", "=", "_"}), 20, true},
                      // × and ÷ are not bound by the addition range; a ÷ leaves the
                      // remainder the row shows, or none.
                      RangeCase{Row({"9", "×", "9", "", "", "=", "_"}), 20, true},
                      RangeCase{Row({"9", "×", "9", "", "", "=", "80"}), 20, false},
                      RangeCase{Row({"17", "÷", "5", "", "", "=", "_"}), 20, false},
                      RangeCase{Row({"17", "÷", "5", "", "", "=", "_", "_"}), 20, true},
                      RangeCase{Row({"_", "÷", "5", "", "", "=", "3", "2"}), 20, true},
                      RangeCase{Row({"_", "÷", "5", "", "", "=", "3", "7"}), 20, false},  // 22 ÷ 5 leaves 2
                      RangeCase{Row({"15", "÷", "_", "", "", "=", "3", "0"}), 20, true},
                      RangeCase{Row({"15", "÷", "0", "", "", "=", "_"}), 20, false}));

// Read independently of the rule: the numbers as written, the blank solved
// from the equation, then every number at least 0 and every value after a
// "+" at most the range, after a "-" at least 0.
void ExpectWithinRange(const ProblemRow& row, int addRange) {
  const bool three = !row[kSecondOperator].empty();
  std::vector<int> terms;
  int blankAt = -1;
  for (int column : {kFirstTerm, kSecondTerm, kThirdTerm}) {
    if (column == kThirdTerm && !three) break;
    if (row[column] == "_") blankAt = static_cast<int>(terms.size());
    terms.push_back(row[column] == "_" ? 0 : std::stoi(row[column]));
  }
  const auto total = [&] {
    int sum = terms[0];
    for (std::size_t i = 1; i < terms.size(); ++i) sum += (row[2 * i - 1] == "+" ? 1 : -1) * terms[i];
    return sum;
  };
  if (blankAt >= 0) {
    const int sign = blankAt == 0 ? 1 : (row[2 * blankAt - 1] == "+" ? 1 : -1);
    terms[blankAt] = sign * (std::stoi(row[kResult]) - total());
  }
  int running = terms[0];
  for (int term : terms) ASSERT_GE(term, 0);
  for (std::size_t i = 1; i < terms.size(); ++i) {
    const bool plus = row[2 * i - 1] == "+";
    running += plus ? terms[i] : -terms[i];
    if (plus) {
      ASSERT_LE(running, addRange);
    }
    ASSERT_GE(running, 0);
  }
}

RunRequest Three(int add, int sub, bool mixed = true) {
  RunRequest c;
  c.terms = 3;
  c.operations = OperationKinds::Addition | OperationKinds::Subtraction;
  if (mixed) c.operations = c.operations | OperationKinds::Mixed;
  c.addRange = add;
  c.subRange = sub;
  c.blank = BlankPlace::Random;
  return c;
}

TEST(RowsWithinRange, NoRowOfManySeedsBreaksItsRange) {
  RunRequest noCarry = Three(5, 10);
  noCarry.carrying = false;
  RunRequest twoTermsNoCarry;
  twoTermsNoCarry.addRange = 25;
  twoTermsNoCarry.carrying = false;
  RunRequest smallTwoTerms = twoTermsNoCarry;
  smallTwoTerms.addRange = 7;
  RunRequest subtractionOfOne = Three(20, 1, false);
  subtractionOfOne.operations = OperationKinds::Subtraction;
  const RunRequest cases[] = {Three(20, 50), Three(9, 15), Three(44, 90), noCarry,
                              twoTermsNoCarry, smallTwoTerms, Three(5, 1), subtractionOfOne};
  for (RunRequest c : cases) {
    c.count = 1000;
    const GenerationSettings settings = SetUpRun(c);
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
      SeededRandom random(seed);
      ProblemTable table;
      ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
      for (int i = 0; i < 1000; ++i) {
        SCOPED_TRACE("add " + std::to_string(c.addRange) + ", sub " + std::to_string(c.subRange) + ", seed " +
                     std::to_string(seed));
        ExpectWithinRange(table.Row(i), settings.AddRange);
      }
    }
  }
}

}  // namespace
}  // namespace numbrook::testing
