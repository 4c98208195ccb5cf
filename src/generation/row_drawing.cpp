#include "generation/row_drawing.h"

#include <string>

#include "generation/operation_shares.h"
#include "generation/range_rule.h"
#include "generation/row_request.h"
#include "generation/trivial_rule.h"
#include "generation/two_steps/two_step_problems.h"

namespace numbrook {
namespace {

enum FirstOperator { kAdditionFirst = 0, kSubtractionFirst = 1 };

const std::string kEqualsText = "=";

int ChooseFirstOperator(const GenerationSettings& s, RandomSource& random) {
  if (s.AdditionChecked && s.SubtractionChecked) return random.DigitModulo(2);
  if (s.AdditionChecked) return kAdditionFirst;
  if (s.SubtractionChecked) return kSubtractionFirst;
  return kAdditionFirst;
}

// Random mode: with two terms the result is blank 4 times in 10 and each
// term 3 times; with three terms 3, 3, 2 and 2 times in 10.
BlankPlace ChooseBlankPosition(const GenerationSettings& s, RandomSource& random) {
  if (s.BlankMode != BlankPlace::Random) return s.BlankMode;
  return static_cast<BlankPlace>(random.DigitModulo(s.TermCount == 2 ? 3 : 4));
}

}  // namespace

bool DrawRowAttempt(const GenerationSettings& settings, RandomSource& random, ProblemRow& row) {
  if (HasSeveralShares(settings)) {
    const std::vector<GenerationSettings> shares = OperationShares(settings);
    return DrawRowAttempt(shares[ChooseShare(shares.size(), random)], random, row);
  }
  row.fill("");
  row[kEqualsSign] = kEqualsText;
  if (settings.TwoSteps) {
    GenerateTwoStepRow(settings, random, row);
    return KeepsWithinRange(row, settings.AddRange) && !(settings.NoTrivial && IsTrivial(row));
  }
  // A share of × or ÷ alone has no first operator to choose.
  const int firstOperator = DrawsTimesTables(settings) ? kAdditionFirst : ChooseFirstOperator(settings, random);
  const BlankPlace blankPosition = ChooseBlankPosition(settings, random);
  const RowRequest request{row, blankPosition, settings, random};
  if (DrawsTimesTables(settings)) {
    GenerateTimesTableRow(request, settings.DivisionChecked);
  } else if (firstOperator == kAdditionFirst) {
    GenerateAdditionFirst(request);
  } else {
    GenerateSubtractionFirst(request);
  }
  if (settings.TermCount == 2) {
    row[kSecondOperator].clear();
    row[kThirdTerm].clear();
  }
  return KeepsWithinRange(row, settings.AddRange) && !(settings.NoTrivial && IsTrivial(row));
}

}  // namespace numbrook
