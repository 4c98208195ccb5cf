#include "generation/two_steps/two_step_problems.h"

#include <map>
#include <tuple>

#include "generation/two_steps/step_rule.h"

namespace numbrook {
namespace {

// Written numbers are 1..99: the ranges are below 100 and a dividend is at most 81.
constexpr int kLargestTerm = 99;

std::vector<TwoStepTerms> MakeProblems(const GenerationSettings& s, const TwoStepShape& shape) {
  const bool lastTwoFirst = WorksLastTwoFirst(shape.firstSign, shape.secondSign, shape.brackets);
  const std::string& innerSign = lastTwoFirst ? shape.secondSign : shape.firstSign;
  std::vector<TwoStepTerms> problems;
  for (int x = 1; x <= kLargestTerm; ++x) {
    for (int y = 1; y <= kLargestTerm; ++y) {
      const std::optional<WorkStep> inner = Work(x, innerSign, y);
      if (!inner || !IsSoundStep(s, *inner)) continue;
      for (int other = 1; other <= kLargestTerm; ++other) {
        const std::optional<WorkStep> outer = lastTwoFirst ? Work(other, shape.firstSign, inner->value)
                                                           : Work(inner->value, shape.secondSign, other);
        if (!outer || !IsSoundStep(s, *outer)) continue;
        const auto [a, b, c] = lastTwoFirst ? std::tuple{other, x, y} : std::tuple{x, y, other};
        problems.push_back({static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)});
      }
    }
  }
  return problems;
}

const std::vector<std::string> kSigns = {"+", "-", kTimesSign, kDivisionSign};

std::vector<std::string> ChosenSigns(const GenerationSettings& s) {
  const bool chosen[] = {s.AdditionChecked, s.SubtractionChecked, s.MultiplicationChecked, s.DivisionChecked};
  std::vector<std::string> signs;
  for (std::size_t i = 0; i < kSigns.size(); ++i) {
    if (chosen[i]) signs.push_back(kSigns[i]);
  }
  return signs;
}

// The group a problem is drawn from: with brackets or not.
const std::vector<TwoStepShape>* ChooseGroup(const GenerationSettings& s, const TwoStepShapes& shapes,
                                             RandomSource& random) {
  switch (s.TwoStepBrackets) {
    case Brackets::Never: return &shapes.plain;
    case Brackets::Always: return &shapes.bracketed;
    case Brackets::Mixed: break;
  }
  if (shapes.plain.empty()) return &shapes.bracketed;
  if (shapes.bracketed.empty()) return &shapes.plain;
  return random.Scaled(2) == 1 ? &shapes.bracketed : &shapes.plain;
}

}  // namespace

const std::vector<TwoStepTerms>& ProblemsOfShape(const GenerationSettings& s, const TwoStepShape& shape) {
  using Key = std::tuple<int, int, bool, bool, int, int, bool, std::string, std::string, BracketPlace>;
  thread_local std::map<Key, std::vector<TwoStepTerms>> made;
  const Key key{s.AddRange,  s.SubRange,       s.CarryAllowed,    s.BorrowAllowed, s.TablesFrom,
                s.TablesTo,  s.NoTrivial,      shape.firstSign,   shape.secondSign, shape.brackets};
  auto found = made.find(key);
  if (found == made.end()) found = made.emplace(key, MakeProblems(s, shape)).first;
  return found->second;
}

const TwoStepShapes& ShapesOf(const GenerationSettings& s) {
  // Asked for every problem drawn: kept per thread, as the problems are.
  using Key = std::tuple<int, int, bool, bool, int, int, bool, bool, bool, bool, bool, Brackets>;
  thread_local std::map<Key, TwoStepShapes> made;
  const Key key{s.AddRange,        s.SubRange,           s.CarryAllowed,          s.BorrowAllowed,
                s.TablesFrom,      s.TablesTo,           s.NoTrivial,             s.AdditionChecked,
                s.SubtractionChecked, s.MultiplicationChecked, s.DivisionChecked, s.TwoStepBrackets};
  if (const auto found = made.find(key); found != made.end()) return found->second;
  TwoStepShapes shapes;
  const std::vector<std::string> signs = ChosenSigns(s);
  for (const std::string& first : signs) {
    for (const std::string& second : signs) {
      const TwoStepShape plain{first, second, BracketPlace::None};
      if (s.TwoStepBrackets != Brackets::Always && !ProblemsOfShape(s, plain).empty()) shapes.plain.push_back(plain);
      const std::optional<BracketPlace> brackets = TextbookBrackets(first, second);
      if (!brackets || s.TwoStepBrackets == Brackets::Never) continue;
      const TwoStepShape bracketed{first, second, *brackets};
      if (!ProblemsOfShape(s, bracketed).empty()) shapes.bracketed.push_back(bracketed);
    }
  }
  return made.emplace(key, shapes).first->second;
}

void GenerateTwoStepRow(const GenerationSettings& s, RandomSource& random, ProblemRow& row) {
  const TwoStepShapes& shapes = ShapesOf(s);
  const std::vector<TwoStepShape>& group = *ChooseGroup(s, shapes, random);
  if (group.empty()) return;
  const TwoStepShape& shape = group[static_cast<std::size_t>(random.Scaled(static_cast<double>(group.size())))];
  const std::vector<TwoStepTerms>& problems = ProblemsOfShape(s, shape);
  const TwoStepTerms& terms = problems[static_cast<std::size_t>(random.Scaled(static_cast<double>(problems.size())))];
  row[kFirstTerm] = std::to_string(terms.a);
  row[kFirstOperator] = shape.firstSign;
  row[kSecondTerm] = std::to_string(terms.b);
  row[kSecondOperator] = shape.secondSign;
  row[kThirdTerm] = std::to_string(terms.c);
  row[kResult] = kBlankMarker;
  row[kBrackets] = BracketsText(shape.brackets);
}

bool TwoStepsGiveEveryOperation(const GenerationSettings& s) {
  const TwoStepShapes& shapes = ShapesOf(s);
  for (const std::string& sign : ChosenSigns(s)) {
    bool stands = false;
    for (const std::vector<TwoStepShape>* group : {&shapes.plain, &shapes.bracketed}) {
      for (const TwoStepShape& shape : *group) stands = stands || shape.firstSign == sign || shape.secondSign == sign;
    }
    if (!stands) return false;
  }
  return true;
}

}  // namespace numbrook
