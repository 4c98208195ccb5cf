#include "generation/generation_settings.h"

#include <algorithm>
#include <stdexcept>

namespace numbrook {
namespace {

const std::string kFifteenSpaces(15, ' ');

void Require(const char* what, int value, int lowest, int highest) {
  if (value < lowest || value > highest) {
    throw std::invalid_argument(std::string(what) + " " + std::to_string(value) + " is outside " +
                                std::to_string(lowest) + ".." + std::to_string(highest));
  }
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

int OperationKindOf(OperationKinds kinds, int termCount) {
  if (termCount == 3 && Has(kinds, OperationKinds::Mixed)) return kMixed;
  const bool addition = Has(kinds, OperationKinds::Addition);
  const bool subtraction = Has(kinds, OperationKinds::Subtraction);
  if (addition && subtraction) return kAddAndSubtract;
  if (subtraction) return kSubtractionOnly;
  return kAdditionOnly;
}

std::string DescriptionOf(const GenerationSettings& s) {
  std::string text = std::string(kTermCountItems[static_cast<std::size_t>(s.TermCount - 2)]) + "," +
                     s.KindText + "," + std::string(kBlankModeCaptions[static_cast<std::size_t>(s.BlankMode)]);
  ReplaceAll(text, "随机", "随机填空");
  if (s.OperationKind != kSubtractionOnly) {
    text += ", " + std::to_string(s.AddRange) + (s.CarryAllowed ? "以内含进位加法" : "以内不含进位加法");
  }
  if (s.OperationKind != kAdditionOnly) {
    text += ", " + std::to_string(s.SubRange) + (s.BorrowAllowed ? "以内含退位减法" : "以内不含退位减法");
  }
  return text;
}

int FormatCode(ExportFormat format) {
  switch (format) {
    case ExportFormat::Text: return kExportText;
    case ExportFormat::Pdf: return kExportPdf;
    case ExportFormat::Excel: break;
  }
  return kExportExcel;
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

GenerationSettings SetUpRun(const RunRequest& request) {
  Require("terms", request.terms, 2, 3);
  Require("addition range", request.addRange, 1, kMostRange);
  Require("subtraction range", request.subRange, 1, kMostRange);
  Require("problem count", request.count, 1, kMostProblems);
  Require("problems per line", request.perLine, 1, kMostPerLine);
  const int blank = static_cast<int>(request.blank);
  Require("blank place", blank, kBlankCompute, kBlankRandom);

  GenerationSettings s;
  s.HeaderLine1 = "姓名：" + kFifteenSpaces + "日期：" + kFifteenSpaces + "时间开始：" + kFifteenSpaces + "完成：";
  s.HeaderLine2 = "○ 你真棒" + kFifteenSpaces + "○ 还不错" + kFifteenSpaces + "○ 要加油";
  s.TermCount = request.terms;
  s.ColsPerProblem = 9;
  s.MinTerm = 1;
  s.AddRange = request.addRange;
  s.SubRange = request.subRange;
  s.TermWidth = 2.7f;
  s.DigitWidth = std::max(DecimalDigits(s.AddRange), DecimalDigits(s.SubRange));
  s.ProblemCount = request.count;
  s.PerRow = request.perLine;

  s.AdditionChecked = Has(request.operations, OperationKinds::Addition);
  s.SubtractionChecked = Has(request.operations, OperationKinds::Subtraction);
  s.CarryAllowed = request.carrying;
  s.BorrowAllowed = request.borrowing;
  s.OperationKind = OperationKindOf(request.operations, s.TermCount);
  s.KindText = KindTextFor(s.OperationKind);
  s.BlankMode = blank;
  s.Description = DescriptionOf(s);
  s.ExportFormat = FormatCode(request.format);
  s.VerticalForm = request.columnForm;
  s.NumberEachPage = request.numberEachPage;
  s.TextFileEncoding = request.textEncoding;
  return s;
}

}  // namespace numbrook
