#include "sheet/sheet_texts.h"

namespace numbrook {
namespace {

const std::string kFifteenSpaces(15, ' ');

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string AdditionText(const GenerationSettings& s) {
  return ", " + std::to_string(s.AddRange) + (s.CarryAllowed ? "以内含进位加法" : "以内不含进位加法");
}

std::string SubtractionText(const GenerationSettings& s) {
  return ", " + std::to_string(s.SubRange) + (s.BorrowAllowed ? "以内含退位减法" : "以内不含退位减法");
}

// The tables, and which divisions: ",乘法口诀2~9,有余数除法".
std::string TimesTablesText(const GenerationSettings& s) {
  std::string text = ",乘法口诀" + std::to_string(s.TablesFrom);
  if (s.TablesTo != s.TablesFrom) text += "~" + std::to_string(s.TablesTo);
  if (s.DivisionChecked && s.DivisionRemainders == Remainders::Always) text += ",有余数除法";
  if (s.DivisionChecked && s.DivisionRemainders == Remainders::Mixed) text += ",表内除法和有余数除法";
  return text;
}

std::string DescriptionOf(const GenerationSettings& s) {
  std::string text = std::string(kTermCountItems[static_cast<std::size_t>(s.TermCount - 2)]) + "," + s.KindText +
                     "," + std::string(kBlankModeCaptions[static_cast<std::size_t>(s.BlankMode)]);
  ReplaceAll(text, "随机", "随机填空");
  if (DrawsTimesTables(s) || s.TwoSteps) {
    // Only the chosen operations are named.
    if (s.AdditionChecked) text += AdditionText(s);
    if (s.SubtractionChecked) text += SubtractionText(s);
    if (DrawsTimesTables(s)) text += TimesTablesText(s);
  } else {
    if (s.OperationKind != ProblemKind::SubtractionOnly) text += AdditionText(s);
    if (s.OperationKind != ProblemKind::AdditionOnly) text += SubtractionText(s);
  }
  if (s.NoTrivial) text += ",不含简单题";
  if (s.TwoSteps && s.TwoStepBrackets == Brackets::Always) text += ",带括号";
  if (s.TwoSteps && s.TwoStepBrackets == Brackets::Mixed) text += ",部分带括号";
  if (s.WorkingSteps) text += ",脱式计算";
  return text;
}

}  // namespace

SheetTexts TextsOf(const GenerationSettings& settings) {
  SheetTexts texts;
  texts.HeaderLine1 = "姓名：" + kFifteenSpaces + "日期：" + kFifteenSpaces + "时间开始：" + kFifteenSpaces + "完成：";
  texts.HeaderLine2 = "○ 你真棒" + kFifteenSpaces + "○ 还不错" + kFifteenSpaces + "○ 要加油";
  texts.Description = DescriptionOf(settings);
  return texts;
}

}  // namespace numbrook
