// Two-step problems against an evaluator written here: every drawn row
// worked in the school's order by a small expression reader of its own,
// each step held to its rule, brackets only of the textbook's shapes, the
// share of brackets and of each operator, and the exact count against a
// brute force over every written problem.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generation/blank_value.h"
#include "generation/problem_generator.h"
#include "generation/problem_space.h"

namespace numbrook::testing {
namespace {

const OperationKinds kAdd = OperationKinds::Addition, kSub = OperationKinds::Subtraction,
                     kMul = OperationKinds::Multiplication, kDiv = OperationKinds::Division;

// One step as the reader works it.
struct Step {
  int left;
  char op;  // + - * /
  int right;
  int value;
};

// Reads "(12+15)/3" with the school's order: brackets, then * and /, then
// + and -, each level from left to right; records every step in the order
// worked. Nothing for a division that leaves a remainder.
class Reader {
 public:
  explicit Reader(std::string text) : text_(std::move(text)) {}
  std::optional<int> Value() {
    const std::optional<int> value = Sum();
    return pos_ == text_.size() && exact_ ? value : std::nullopt;
  }
  std::vector<Step> steps;

 private:
  std::optional<int> Sum() {
    std::optional<int> left = Product();
    while (left && pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
      const char op = text_[pos_++];
      const std::optional<int> right = Product();
      if (!right) return std::nullopt;
      const int value = op == '+' ? *left + *right : *left - *right;
      steps.push_back({*left, op, *right, value});
      left = value;
    }
    return left;
  }
  std::optional<int> Product() {
    std::optional<int> left = Factor();
    while (left && pos_ < text_.size() && (text_[pos_] == '*' || text_[pos_] == '/')) {
      const char op = text_[pos_++];
      const std::optional<int> right = Factor();
      if (!right || (op == '/' && *right == 0)) return std::nullopt;
      if (op == '/' && *left % *right != 0) exact_ = false;
      const int value = op == '*' ? *left * *right : *left / *right;
      steps.push_back({*left, op, *right, value});
      left = value;
    }
    return left;
  }
  std::optional<int> Factor() {
    if (pos_ < text_.size() && text_[pos_] == '(') {
      ++pos_;
      const std::optional<int> inner = Sum();
      if (pos_ >= text_.size() || text_[pos_++] != ')') return std::nullopt;
      return inner;
    }
    int value = 0, digits = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      value = 10 * value + (text_[pos_++] - '0');
      ++digits;
    }
    return digits > 0 ? std::optional<int>(value) : std::nullopt;
  }
  std::string text_;
  std::size_t pos_ = 0;
  bool exact_ = true;
};

char Op(const std::string& sign) { return sign == "×" ? '*' : sign == "÷" ? '/' : sign[0]; }

// The problem as written, with its brackets: "(12+15)/3".
std::string Written(const ProblemRow& row) {
  const std::string& brackets = row[kBrackets];
  std::string text = (brackets == "12" ? "(" : "") + row[kFirstTerm] + Op(row[kFirstOperator]) +
                     (brackets == "23" ? "(" : "") + row[kSecondTerm] + (brackets == "12" ? ")" : "");
  return text + Op(row[kSecondOperator]) + row[kThirdTerm] + (brackets == "23" ? ")" : "");
}

struct Rules {
  int addRange = 20, subRange = 10, from = 1, to = 9;
  bool carrying = true, borrowing = true, noTrivial = false;
};

// Each step as the textbook asks: × and ÷ of the tables from..to (a fact
// belongs to the table of its larger factor), ÷ exact with divisor and
// quotient 1..9, + within the addition range, − from a minuend within the
// subtraction range to 0 at the least; no carrying or borrowing where not
// allowed; nothing too easy where asked.
std::string BrokenRule(const Step& s, const Rules& r) {
  const int table = s.op == '*' ? std::max(s.left, s.right) : std::max(s.right, s.value);
  switch (s.op) {
    case '*':
      if (s.left < 1 || s.left > 9 || s.right < 1 || s.right > 9) return "a factor outside 1..9";
      if (table < r.from || table > r.to) return "outside the tables";
      if (r.noTrivial && (s.left == 1 || s.right == 1)) return "a factor 1";
      return "";
    case '/':
      if (s.right < 1 || s.right > 9 || s.value < 1 || s.value > 9) return "a divisor or quotient outside 1..9";
      if (table < r.from || table > r.to) return "outside the tables";
      if (r.noTrivial && (s.right == 1 || s.value == 1)) return "a divisor or quotient 1";
      return "";
    case '+':
      if (s.value > r.addRange) return "a sum past the addition range";
      if (!r.carrying && s.left % 10 + s.right % 10 > 9) return "a carry";
      break;
    default:
      if (s.left > r.subRange) return "a minuend past the subtraction range";
      if (s.value < 0) return "a difference below 0";
      if (!r.borrowing && s.right % 10 > s.left % 10) return "a borrow";
  }
  if (r.noTrivial && (s.left == 0 || s.right == 0 || s.value == 0)) return "a 0";
  return "";
}

// The shapes of the textbook: (a±b)×c, (a±b)÷c, c×(a±b), c÷(a±b), a−(b±c), a×(b÷c).
bool IsTextbookBracket(const ProblemRow& row) {
  const auto level = [](const std::string& sign) { return sign == "×" || sign == "÷" ? 2 : 1; };
  const std::string& first = row[kFirstOperator];
  const std::string& second = row[kSecondOperator];
  if (row[kBrackets] == "12") return level(first) == 1 && level(second) == 2;
  if (row[kBrackets] == "23") {
    return (level(first) == 2 && level(second) == 1) || (first == "-" && level(second) == 1) ||
           (first == "×" && second == "÷");
  }
  return row[kBrackets].empty();
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
      EXPECT_TRUE(IsTextbookBracket(row)) << written;
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

// Every problem written with operators of the run, with brackets where the
// run has them, that the reader finds sound. Its numbers are 1 up to the
// largest any step takes: a range, or a dividend of 81.
std::size_t BruteForce(const CountCase& c) {
  const int largest = std::max({c.rules.addRange, c.rules.subRange, Has(c.operations, kDiv) ? 81 : 9});
  std::vector<std::string> signs;
  if (Has(c.operations, kAdd)) signs.push_back("+");
  if (Has(c.operations, kSub)) signs.push_back("-");
  if (Has(c.operations, kMul)) signs.push_back("×");
  if (Has(c.operations, kDiv)) signs.push_back("÷");
  std::vector<std::string> placements;
  if (c.brackets != Brackets::Always) placements.push_back("");
  if (c.brackets != Brackets::Never) placements.insert(placements.end(), {"12", "23"});
  std::size_t count = 0;
  for (const std::string& first : signs) {
    for (const std::string& second : signs) {
      for (const std::string& brackets : placements) {
        ProblemRow row{"", first, "", second, "", "=", "_", "", brackets};
        if (!IsTextbookBracket(row)) continue;
        for (int a = 1; a <= largest; ++a) {
          for (int b = 1; b <= largest; ++b) {
            for (int d = 1; d <= largest; ++d) {
              row[kFirstTerm] = std::to_string(a), row[kSecondTerm] = std::to_string(b), row[kThirdTerm] = std::to_string(d);
              Reader reader(Written(row));
              if (!reader.Value()) continue;
              bool sound = true;
              for (const Step& step : reader.steps) sound = sound && BrokenRule(step, c.rules).empty();
              count += sound;
            }
          }
        }
      }
    }
  }
  return count;
}

class TwoStepCount : public ::testing::TestWithParam<CountCase> {};

// --distinct's count is the brute force's.
TEST_P(TwoStepCount, IsTheBruteForceOfEveryWrittenProblem) {
  const CountCase& c = GetParam();
  const GenerationSettings settings = SetUpRun(TwoSteps(c.operations, c.brackets, c.rules));
  const std::size_t expected = BruteForce(c);
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

// Distinct two-step problems: all of a small space can be had, one more cannot.
TEST(TwoStepDistinct, EveryProblemOnceAndNoMore) {
  RunRequest request = TwoSteps(kSub | kDiv, Brackets::Always, {10, 10, 2, 3, true, true, true});
  const std::size_t all = CountDistinctProblems(SetUpRun(request), 1000);
  ASSERT_GT(all, 10u);
  ASSERT_LT(all, 500u);
  request.count = static_cast<int>(all);
  SeededRandom random(4);
  ProblemTable table;
  ASSERT_EQ(GenerateDistinctProblems(SetUpRun(request), random, Progress{}, table), DistinctOutcome::Drawn);
  std::set<ProblemRow> rows;
  for (int i = 0; i < request.count; ++i) rows.insert(table.Row(i));
  EXPECT_EQ(rows.size(), all);
  request.count += 1;
  EXPECT_EQ(GenerateDistinctProblems(SetUpRun(request), random, Progress{}, table), DistinctOutcome::RanOut);
}

// Two-step problems ask for their result, in line form; brackets and
// working lines belong to three terms.
TEST(TwoStepSetUp, RefusesWhatTheProblemsDoNotHave) {
  const auto refused = [](void (*adjust)(RunRequest&)) {
    RunRequest request = TwoSteps(kAdd | kMul, Brackets::Never);
    adjust(request);
    EXPECT_THROW(SetUpRun(request), std::invalid_argument);
  };
  refused([](RunRequest& r) { r.blank = BlankPlace::First; });
  refused([](RunRequest& r) { r.blank = BlankPlace::Random; });
  refused([](RunRequest& r) { r.columnForm = true; });
  refused([](RunRequest& r) { r.operations = kAdd, r.steps = true, r.blank = BlankPlace::Second; });
  refused([](RunRequest& r) { r.operations = kAdd, r.steps = true, r.columnForm = true; });
  refused([](RunRequest& r) { r.terms = 2, r.brackets = Brackets::Always; });
  refused([](RunRequest& r) { r.terms = 2, r.steps = true; });
  refused([](RunRequest& r) { r.operations = kDiv, r.remainders = Remainders::Mixed; });
  // Three terms of + and − alone are the old problems; brackets make them two steps.
  EXPECT_FALSE(SetUpRun(TwoSteps(kAdd | kSub, Brackets::Never)).TwoSteps);
  EXPECT_TRUE(SetUpRun(TwoSteps(kAdd | kSub, Brackets::Mixed)).TwoSteps);
}

// The run gives no problem where an operation can stand in none: × alone
// from the tables 5 to 9 without easy problems has no product of 9 or less.
TEST(TwoStepSetUp, AnOperationInNoProblemIsKnown) {
  EXPECT_FALSE(GivesEveryOperation(SetUpRun(TwoSteps(kMul, Brackets::Never, {20, 10, 5, 9, true, true, true}))));
  EXPECT_TRUE(GivesEveryOperation(SetUpRun(TwoSteps(kAdd | kMul, Brackets::Never, {20, 10, 5, 9, true, true, true}))));
  EXPECT_TRUE(GivesEveryOperation(SetUpRun(TwoSteps(kAdd | kSub | kMul | kDiv, Brackets::Mixed))));
}

}  // namespace
}  // namespace numbrook::testing
