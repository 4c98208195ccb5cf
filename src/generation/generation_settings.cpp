#include "generation/generation_settings.h"

#include <algorithm>

#include "generation/leading_number.h"

namespace numbrook {
namespace {

const std::string kFifteenSpaces(15, ' ');

// A field's value as the run uses it: empty, zero, negative, fractional
// values that round to zero, and anything above the highest value fall back
// to the default.
int SettingFromText(const std::string& text, int highest, int fallback) {
  const std::optional<int> value = IntegerValueOf(text);
  if (!value || *value <= 0 || *value > highest) return fallback;
  return *value;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

int OperationKindOf(const ControlState& controls) {
  if (controls.checkAS) return kMixed;
  if (controls.checkA && controls.checkS) return kAddAndSubtract;
  if (controls.checkS) return kSubtractionOnly;
  return kAdditionOnly;
}

std::string DescriptionOf(const GenerationSettings& s, const ControlState& controls) {
  std::string text = std::string(kTermCountItems[static_cast<std::size_t>(s.TermCount - 2)]) + "," +
                     s.KindText + "," + std::string(kBlankModeCaptions[static_cast<std::size_t>(s.BlankMode)]);
  ReplaceAll(text, "随机", "随机填空");
  if (s.OperationKind != kSubtractionOnly) {
    text += ", " + std::to_string(s.AddRange) + (controls.checkAdd ? "以内含进位加法" : "以内不含进位加法");
  }
  if (s.OperationKind != kAdditionOnly) {
    text += ", " + std::to_string(s.SubRange) + (controls.checkSub ? "以内含退位减法" : "以内不含退位减法");
  }
  return text;
}

}  // namespace

int DecimalDigits(int value) { return static_cast<int>(std::to_string(value).size()); }

std::string KindTextFor(int operationKind) {
  switch (operationKind) {
    case kMixed: return "加减混合运算";
    case kAddAndSubtract: return "加减运算";
    case kSubtractionOnly: return "减法运算";
    default: return "加法运算";
  }
}

RunSetUp SetUpRun(const ControlState& given) {
  ControlState controls = given;
  GenerationSettings s;
  s.HeaderLine1 = "姓名：" + kFifteenSpaces + "日期：" + kFifteenSpaces + "时间开始：" + kFifteenSpaces + "完成：";
  s.HeaderLine2 = "○ 你真棒" + kFifteenSpaces + "○ 还不错" + kFifteenSpaces + "○ 要加油";

  s.TermCount = controls.combo1Index == 1 ? 3 : 2;
  if (s.TermCount == 2) controls.checkAS = false;
  s.ColsPerProblem = 9;
  s.MinTerm = 1;

  s.AddRange = SettingFromText(controls.text3, 99, 20);
  s.SubRange = SettingFromText(controls.text4, 99, 10);
  s.TermWidth = 2.7f;
  s.DigitWidth = std::max(DecimalDigits(s.AddRange), DecimalDigits(s.SubRange));
  s.ProblemCount = SettingFromText(controls.text1, 1000, 100);
  s.PerRow = SettingFromText(controls.text2, 10, 4);

  s.OperationKind = OperationKindOf(controls);
  s.KindText = KindTextFor(s.OperationKind);
  s.BlankMode = std::clamp(controls.option3Index, 0, static_cast<int>(kBlankModeCaptions.size()) - 1);
  s.Description = DescriptionOf(s, controls);
  s.ExportFormat = controls.option2Index == kExportText ? kExportText : kExportExcel;

  s.AdditionChecked = controls.checkA;
  s.SubtractionChecked = controls.checkS;
  s.CarryAllowed = controls.checkAdd;
  s.BorrowAllowed = controls.checkSub;
  s.VerticalForm = controls.checkExp;
  s.NumberEachPage = controls.checkNewPage;
  return {s, controls};
}

}  // namespace numbrook
