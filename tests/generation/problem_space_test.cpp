// The exact count of different problems: the walk of every draw's outcomes
// against a brute force over a fine grid of random numbers, against the
// generator's own seeded draws, and on the settings that used to be
// under-counted.
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "generation/one_problem.h"
#include "generation/problem_space.h"
#include "generation/row_drawing.h"

namespace numbrook::testing {
namespace {

// Brute force: every draw tries the number 0 and the midpoints of a grid of
// 2520 equal steps (fine enough that each outcome of these small ranges
// holds whole steps), and the rows of all combinations are collected with their
// share of the grid. Outcomes come from the production formula Int(k r)
// applied to each point, not from reasoning about k.
class GridRandom final : public RandomSource {
 public:
  static constexpr int kSteps = 2520;
  double Next() override { throw std::logic_error("not used"); }
  int Scaled(double scale) override {
    return Pick([&](double r) { return Int(scale * r); });
  }
  int DigitModulo(int modulus) override {
    return Pick([&](double r) { return Int(10 * r) % modulus; });
  }
  double share = 1;
  // The next combination; false after the last.
  bool Advance() {
    path_.resize(depth_);
    while (!path_.empty() && path_.back().first + 1 == path_.back().second.size()) path_.pop_back();
    depth_ = 0;
    share = 1;
    if (path_.empty()) return false;
    ++path_.back().first;
    return true;
  }

 private:
  template <typename Formula>
  int Pick(Formula formula) {
    if (depth_ == path_.size()) {
      std::map<int, int> points{{formula(0.0), 0}};
      for (int step = 0; step < kSteps; ++step) ++points[formula((step + 0.5) / kSteps)];
      path_.push_back({0, std::vector<std::pair<int, int>>(points.begin(), points.end())});
    }
    const auto& [taken, outcomes] = path_[depth_++];
    share *= outcomes[taken].second / static_cast<double>(kSteps);
    return outcomes[taken].first;
  }
  std::vector<std::pair<std::size_t, std::vector<std::pair<int, int>>>> path_;
  std::size_t depth_ = 0;
};

std::map<ProblemRow, double> BruteForce(const GenerationSettings& settings) {
  std::map<ProblemRow, double> rows;
  GridRandom grid;
  ProblemRow row;
  do {
    if (DrawRowAttempt(settings, grid, row)) rows[row] += grid.share;
  } while (grid.Advance());
  return rows;
}

std::map<ProblemRow, double> Walked(const GenerationSettings& settings) {
  const ProblemSpace space = WalkProblemSpace(settings);
  std::map<ProblemRow, double> rows;
  for (std::size_t i = 0; i < space.rows.size(); ++i) rows[space.rows[i]] = space.chances[i];
  EXPECT_EQ(rows.size(), space.rows.size()) << "a row walked twice";
  return rows;
}

struct Ranges {
  int add;
  int sub;
};

class CountAgainstBruteForce : public ::testing::TestWithParam<Ranges> {};

TEST_P(CountAgainstBruteForce, SameRowsWithTheSameChances) {
  for (int terms : {2, 3}) {
    for (int ops = 1; ops < 8; ++ops) {
      if (terms == 2 && (ops & 4)) continue;
      for (int blank : {static_cast<int>(BlankPlace::Result), static_cast<int>(BlankPlace::Random)}) {
        for (int rules = 0; rules < 4; ++rules) {
          RunRequest c;
          c.terms = terms;
          c.operations = static_cast<OperationKinds>(ops);
          c.blank = static_cast<BlankPlace>(blank);
          c.carrying = rules & 1;
          c.borrowing = rules & 2;
          c.addRange = GetParam().add;
          c.subRange = GetParam().sub;
          const GenerationSettings settings = SetUpRun(c);
          const std::map<ProblemRow, double> expected = BruteForce(settings);
          const std::map<ProblemRow, double> walked = Walked(settings);
          ASSERT_EQ(walked.size(), expected.size()) << terms << " terms, ops " << ops << ", blank " << blank
                                                    << ", rules " << rules;
          for (const auto& [row, chance] : expected) {
            ASSERT_EQ(walked.count(row), 1u);
            EXPECT_NEAR(walked.at(row), chance, 1e-12);
          }
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SmallRanges, CountAgainstBruteForce,
                         ::testing::Values(Ranges{5, 7}, Ranges{7, 4}, Ranges{6, 1}, Ranges{3, 6}));

GenerationSettings Settings(RunRequest c, int problems) {
  c.count = problems;
  return SetUpRun(c);
}

// The two settings whose count by fruitless draws came out short.
RunRequest ThreeTermSubtractionsWithin19() {
  RunRequest c;
  c.terms = 3;
  c.operations = OperationKinds::Subtraction;
  c.subRange = 19;
  return c;
}

RunRequest MixedAdditionsWithin9SubtractionsWithin15() {
  RunRequest c;
  c.terms = 3;
  c.operations = OperationKinds::Addition | OperationKinds::Subtraction | OperationKinds::Mixed;
  c.addRange = 9;
  c.subRange = 15;
  c.blank = BlankPlace::First;
  return c;
}

TEST(ExactCount, SettingsThatFruitlessDrawsUnderCounted) {
  const std::size_t everything = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(CountDistinctProblems(Settings(ThreeTermSubtractionsWithin19(), 1), everything), 966u);
  // 999 rows as drawn, of which 16 add past 9 (such as 15 - 0 + 1) and are drawn again.
  EXPECT_EQ(CountDistinctProblems(Settings(MixedAdditionsWithin9SubtractionsWithin15(), 1), everything), 983u);
  EXPECT_EQ(CountDistinctProblems(Settings(ThreeTermSubtractionsWithin19(), 1), 500), 500u) << "stops at enough";
}

TEST(ExactCount, RarestRowHasTheChanceTheDrawsGiveIt) {
  // 17 - 0 - 1 is 17 - 1 - 0 with the subtrahends swapped (an even digit, 1 in 2):
  // a = 9 + Int(8.5 r) = 17 (0.5 in 8.5); b = Int(18 r) = 1 (1 in 18), or 0 and
  // then Int(16 r) + 1 = 1 (1 in 18 times 1 in 16); c = Int(17 r) = 0 twice.
  const ProblemSpace space = WalkProblemSpace(Settings(ThreeTermSubtractionsWithin19(), 1));
  const ProblemRow rarest = Row({"17", "-", "0", "-", "1", "=", "_"});
  const std::size_t at = std::find(space.rows.begin(), space.rows.end(), rarest) - space.rows.begin();
  ASSERT_LT(at, space.rows.size());
  EXPECT_NEAR(space.chances[at], (1.0 / 17) * (1.0 / 18 + 1.0 / 288) * (1.0 / 289) * 0.5, 1e-15);
  EXPECT_NEAR(std::accumulate(space.chances.begin(), space.chances.end(), 0.0), 1.0, 1e-12) << "none out of range";
}

TEST(ExactCount, SeededDrawsStayInsideTheWalkedSpaceAndReachItsLikelyRows) {
  const GenerationSettings settings = Settings(MixedAdditionsWithin9SubtractionsWithin15(), 1);
  const ProblemSpace space = WalkProblemSpace(settings);
  const std::set<ProblemRow> walked(space.rows.begin(), space.rows.end());
  std::set<ProblemRow> drawn;
  SeededRandom random(11);
  ProblemRow row;
  for (int i = 0; i < 300'000; ++i) {
    if (!DrawRowAttempt(settings, random, row)) continue;
    ASSERT_EQ(walked.count(row), 1u) << row[0] << row[1] << row[2] << row[3] << row[4] << row[5] << row[6];
    drawn.insert(row);
  }
  for (std::size_t i = 0; i < space.rows.size(); ++i) {
    if (space.chances[i] > 1e-4) {
      EXPECT_EQ(drawn.count(space.rows[i]), 1u);
    }
  }
}

TEST(ExactCount, AdditionsWithinOneWithCarryingHaveNoRowWithinRangeYetARunFinishes) {
  RunRequest c;
  c.addRange = 1;
  const GenerationSettings settings = Settings(c, 20);
  EXPECT_EQ(CountDistinctProblems(settings, 1), 0u);
  SeededRandom random(5);
  ProblemTable table;
  ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
  EXPECT_EQ(table.Row(19), Row({"1", "+", "1", "", "", "=", "_"}));
}

TEST(DistinctProblems, AsManyAsTheCountAllowsAlwaysFinish) {
  const GenerationSettings settings = Settings(ThreeTermSubtractionsWithin19(), 966);
  SeededRandom random(3);
  ProblemTable table;
  ASSERT_EQ(GenerateDistinctProblems(settings, random, Progress{}, table), DistinctOutcome::Drawn);
  std::set<ProblemRow> rows;
  for (int i = 0; i < 966; ++i) rows.insert(table.Row(i));
  EXPECT_EQ(rows.size(), 966u);
  EXPECT_EQ(rows.count(Row({"17", "-", "0", "-", "1", "=", "_"})), 1u);
}

TEST(DistinctProblems, OneMoreThanTheCountIsRefusedBeforeDrawing) {
  for (const auto& [controls, count] : {std::pair{ThreeTermSubtractionsWithin19(), 967},
                                        std::pair{MixedAdditionsWithin9SubtractionsWithin15(), 984}}) {
    ScriptedRandom nothingToDraw({});
    ProblemTable table;
    EXPECT_EQ(GenerateDistinctProblems(Settings(controls, count), nothingToDraw, Progress{}, table),
              DistinctOutcome::RanOut);
  }
}

}  // namespace
}  // namespace numbrook::testing

namespace numbrook {
namespace {

// Rows that only a number of exactly 0 reaches have no chance of their own:
// when only such rows are left, one is picked evenly, Int(n r); otherwise
// each by its share of the candidates' chances.
TEST(ChooseByChance, PicksByShareAndEvenlyAmongRowsWithoutAChance) {
  ProblemSpace space;
  space.rows.resize(4);
  space.chances = {0.0, 0.0, 0.0, 0.5};
  const std::vector<std::size_t> chanceless = {0, 1, 2};
  const struct {
    double r;
    std::size_t picked;
  } even[] = {{0.0, 0}, {0.34, 1}, {0.67, 2}, {0.999, 2}};
  for (const auto& c : even) {
    testing::ScriptedRandom random({c.r});
    EXPECT_EQ(ChooseByChance(space, chanceless, random), c.picked) << c.r;
  }
  space.chances = {0.1, 0.0, 0.3, 0.0};
  const struct {
    double r;
    std::size_t picked;
  } byShare[] = {{0.0, 0}, {0.24, 0}, {0.26, 2}, {0.99, 2}};
  for (const auto& c : byShare) {
    testing::ScriptedRandom random({c.r});
    EXPECT_EQ(ChooseByChance(space, {0, 1, 2, 3}, random), c.picked) << c.r;
  }
}

}  // namespace
}  // namespace numbrook
