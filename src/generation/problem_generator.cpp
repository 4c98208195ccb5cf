#include "generation/problem_generator.h"

namespace numbrook {
namespace {

enum FirstOperator { kAdditionFirst = 0, kSubtractionFirst = 1 };

const std::string kEqualsText = "=";

int ChooseFirstOperator(const GenerationSettings& s, RandomSource& random) {
  if (s.AdditionChecked && s.SubtractionChecked) return DrawDigit(random) % 2;
  if (s.AdditionChecked) return kAdditionFirst;
  if (s.SubtractionChecked) return kSubtractionFirst;
  return kAdditionFirst;
}

// Random mode: with two terms the result is blank 4 times in 10 and each
// term 3 times; with three terms 3, 3, 2 and 2 times in 10.
int ChooseBlankPosition(const GenerationSettings& s, RandomSource& random) {
  if (s.BlankMode != kBlankRandom) return s.BlankMode;
  return DrawDigit(random) % (s.TermCount == 2 ? 3 : 4);
}

}  // namespace

bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const Progress& progress,
                      const WarningSink& warning, ProblemTable& table) {
  table = ProblemTable(settings.ProblemCount + 1);
  const WarningSink warn = warning ? warning : WarningSink([](int, const std::string&) {});

  for (int index = 0; index < settings.ProblemCount; ++index) {
    if (!progress.Yield()) return false;
    ProblemRow& row = table.Row(index);
    row.fill("");
    row[kEqualsSign] = kEqualsText;

    const int firstOperator = ChooseFirstOperator(settings, random);
    const int blankPosition = ChooseBlankPosition(settings, random);
    const RowRequest request{row, index, blankPosition, settings, random, warn};
    if (firstOperator == kAdditionFirst) {
      GenerateAdditionFirst(request);
    } else {
      GenerateSubtractionFirst(request);
    }
    if (settings.TermCount == 2) {
      row[kSecondOperator].clear();
      row[kThirdTerm].clear();
    }
    progress.Count(index + 1);
  }
  return true;
}

}  // namespace numbrook
