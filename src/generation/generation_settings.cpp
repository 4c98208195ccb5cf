#include "generation/generation_settings.h"

#include <algorithm>
#include <stdexcept>

namespace numbrook {
namespace {

void Require(const char* what, int value, int lowest, int highest) {
  if (value < lowest || value > highest) {
    throw std::invalid_argument(std::string(what) + " " + std::to_string(value) + " is outside " +
                                std::to_string(lowest) + ".." + std::to_string(highest));
  }
}

void Require(NumberSettingId id, int value) {
  const NumberSetting& setting = SettingOf(id);
  Require(setting.option.data(), value, setting.lowest, setting.highest);
}

ProblemKind KindOf(OperationKinds kinds, int termCount) {
  if (termCount == 3 && Has(kinds, OperationKinds::Mixed)) return ProblemKind::Mixed;
  const bool addition = Has(kinds, OperationKinds::Addition);
  const bool subtraction = Has(kinds, OperationKinds::Subtraction);
  if (addition && subtraction) return ProblemKind::AddAndSubtract;
  if (subtraction) return ProblemKind::SubtractionOnly;
  return ProblemKind::AdditionOnly;
}

}  // namespace

int DecimalDigits(int value) { return static_cast<int>(std::to_string(value).size()); }

std::string KindTextFor(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::Mixed: return "加减混合运算";
    case ProblemKind::AddAndSubtract: return "加减运算";
    case ProblemKind::SubtractionOnly: return "减法运算";
    case ProblemKind::AdditionOnly: break;
  }
  return "加法运算";
}

GenerationSettings SetUpRun(const RunRequest& request) {
  Require("terms", request.terms, 2, 3);
  Require(NumberSettingId::AddRange, request.addRange);
  Require(NumberSettingId::SubRange, request.subRange);
  Require(NumberSettingId::ProblemCount, request.count);
  Require(NumberSettingId::PerLine, request.perLine);
  Require("blank place", static_cast<int>(request.blank), 0, static_cast<int>(BlankPlace::Random));

  GenerationSettings s;
  s.TermCount = request.terms;
  s.MinTerm = 1;
  s.AddRange = request.addRange;
  s.SubRange = request.subRange;
  s.DigitWidth = std::max(DecimalDigits(s.AddRange), DecimalDigits(s.SubRange));
  s.ProblemCount = request.count;
  s.PerRow = request.perLine;

  s.AdditionChecked = Has(request.operations, OperationKinds::Addition);
  s.SubtractionChecked = Has(request.operations, OperationKinds::Subtraction);
  s.CarryAllowed = request.carrying;
  s.BorrowAllowed = request.borrowing;
  s.OperationKind = KindOf(request.operations, s.TermCount);
  s.KindText = KindTextFor(s.OperationKind);
  s.BlankMode = request.blank;
  s.ExportFormat = request.format;
  s.VerticalForm = request.columnForm;
  s.NumberEachPage = request.numberEachPage;
  s.TwoSided = request.twoSided;
  s.LargeType = request.largeType;
  s.TextFileEncoding = request.textEncoding;
  return s;
}

}  // namespace numbrook
