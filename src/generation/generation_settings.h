#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "generation/run_request.h"

namespace numbrook {

// The texts of the term-count list and of the blank choices. The worksheet
// description quotes them, and the window shows them.
inline constexpr std::array<std::string_view, 2> kTermCountItems = {"二个数", "三个数"};
inline constexpr std::array<std::string_view, 5> kBlankModeCaptions = {
    "计算题", "第一填空", "第二填空", "第三填空", "随机"};

// The settings' integer codes, as the generators and writers compare them.
enum BlankModeIndex { kBlankCompute = 0, kBlankFirst = 1, kBlankSecond = 2, kBlankThird = 3, kBlankRandom = 4 };
enum ExportFormatIndex { kExportText = 0, kExportExcel = 1, kExportPdf = 2 };
enum OperationKindValue { kAdditionOnly = 0, kSubtractionOnly = 1, kAddAndSubtract = 2, kMixed = 3 };

// What a run works from, derived from its request: the generators and
// writers rely on every value being within its limits.
struct GenerationSettings {
  int TermCount = 2;        // 2 or 3
  int MinTerm = 1;          // lower bound of most draws
  int AddRange = 20;        // 1..99
  int SubRange = 10;        // 1..99
  int ProblemCount = 100;   // 1..1000
  int PerRow = 4;           // 1..10
  int BlankMode = kBlankCompute;
  int OperationKind = kAdditionOnly;
  std::string KindText;
  std::string Description;
  std::optional<std::uint64_t> Seed;  // the sheet's own seed, shown after the description when set
  int ExportFormat = kExportExcel;
  int DigitWidth = 2;       // digits of the wider range: 1 or 2
  float TermWidth = 2.7f;   // spreadsheet column width of a term
  int ColsPerProblem = 9;   // spreadsheet columns per problem slot
  std::string HeaderLine1;  // name, date and time fields
  std::string HeaderLine2;  // self-rating line
  // What generation and export consult problem by problem.
  bool AdditionChecked = true;
  bool SubtractionChecked = false;
  bool CarryAllowed = true;
  bool BorrowAllowed = true;
  bool VerticalForm = false;
  bool NumberEachPage = true;
  TextEncoding TextFileEncoding = TextEncoding::Locale;
};

// The settings of a run. A two-term run is never a mixed run. Throws
// std::invalid_argument when a number of the request is outside its limits:
// each front end keeps its input within them.
GenerationSettings SetUpRun(const RunRequest& request);

// How many decimal digits a non-negative value has.
int DecimalDigits(int value);

// The operator and range phrase of a run, as the worksheet and file name use it.
std::string KindTextFor(int operationKind);

}  // namespace numbrook
