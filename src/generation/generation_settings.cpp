#include "generation/generation_settings.h"

#include <algorithm>
#include <stdexcept>

#include "generation/times_tables/times_tables.h"

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

// The widest number of a run with × or ÷: that of each chosen operation.
int DigitWidthOfTimesTablesRun(const GenerationSettings& s) {
  int width = 1;
  if (s.AdditionChecked) width = std::max(width, DecimalDigits(s.AddRange));
  if (s.SubtractionChecked) width = std::max(width, DecimalDigits(s.SubRange));
  for (bool division : {false, true}) {
    if (!(division ? s.DivisionChecked : s.MultiplicationChecked)) continue;
    for (const TableFact& fact : FactsOf(s, division)) width = std::max(width, DecimalDigits(fact.LargestNumber()));
  }
  return width;
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

// Two steps of both levels are 混合运算 (3 × 4 + 2); of one level,
// 加减混合运算 or 乘除混合运算, or the one operation's name.
std::string TwoStepKindText(const GenerationSettings& s) {
  const bool firstLevel = s.AdditionChecked || s.SubtractionChecked;
  const bool secondLevel = s.MultiplicationChecked || s.DivisionChecked;
  if (firstLevel && secondLevel) return "混合运算";
  if (s.AdditionChecked && s.SubtractionChecked) return "加减混合运算";
  if (s.MultiplicationChecked && s.DivisionChecked) return "乘除混合运算";
  return KindTextFor(s);
}

std::string KindTextFor(const GenerationSettings& s) {
  const std::pair<bool, const char*> chosen[] = {{s.AdditionChecked, "加"},
                                                 {s.SubtractionChecked, "减"},
                                                 {s.MultiplicationChecked, "乘"},
                                                 {s.DivisionChecked, "除"}};
  std::string names;
  int count = 0;
  for (const auto& [checked, name] : chosen) {
    if (!checked) continue;
    names += name;
    ++count;
  }
  return names + (count == 1 ? "法运算" : "运算");
}

GenerationSettings SetUpRun(const RunRequest& request) {
  Require("terms", request.terms, 2, 3);
  Require(NumberSettingId::AddRange, request.addRange);
  Require(NumberSettingId::SubRange, request.subRange);
  Require(NumberSettingId::ProblemCount, request.count);
  Require(NumberSettingId::PerLine, request.perLine);
  Require("blank place", static_cast<int>(request.blank), 0, static_cast<int>(BlankPlace::Random));
  Require("tables from", request.tables.from, kTablesSetting.lowest, kTablesSetting.highest);
  Require("tables to", request.tables.to, request.tables.from, kTablesSetting.highest);
  Require("remainders", static_cast<int>(request.remainders), 0, static_cast<int>(Remainders::Mixed));
  Require("brackets", static_cast<int>(request.brackets), 0, static_cast<int>(Brackets::Mixed));
  const bool timesTables = ChoosesTimesTables(request.operations);
  const bool twoSteps = ChoosesTwoSteps(request.terms, request.operations, request.brackets);
  if (request.terms == 2 && (request.blank == BlankPlace::Third || request.brackets != Brackets::Never || request.steps)) {
    throw std::invalid_argument("a two-term problem has no third blank, no brackets and no working lines");
  }
  if ((twoSteps || request.steps) && (request.blank != BlankPlace::Result || request.columnForm)) {
    throw std::invalid_argument("a two-step problem or one with working lines asks for its result in line form");
  }
  if (request.terms == 3 && request.remainders != Remainders::Never) {
    throw std::invalid_argument("a two-step problem has no remainder");
  }

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
  s.MultiplicationChecked = Has(request.operations, OperationKinds::Multiplication);
  s.DivisionChecked = Has(request.operations, OperationKinds::Division);
  s.TablesFrom = request.tables.from;
  s.TablesTo = request.tables.to;
  s.DivisionRemainders = request.remainders;
  s.NoTrivial = request.noTrivial;
  s.TwoSteps = twoSteps;
  s.TwoStepBrackets = request.brackets;
  s.WorkingSteps = request.steps;
  s.OperationKind = KindOf(request.operations, s.TermCount);
  s.KindText = twoSteps ? TwoStepKindText(s) : timesTables ? KindTextFor(s) : KindTextFor(s.OperationKind);
  if (timesTables) s.DigitWidth = DigitWidthOfTimesTablesRun(s);
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
