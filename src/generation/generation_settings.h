#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "generation/run_request.h"

namespace numbrook {

// What a run's problems are, by the operations it draws: the codes
// 0 to 3, from which the sheet's kind text and description follow.
enum class ProblemKind { AdditionOnly = 0, SubtractionOnly = 1, AddAndSubtract = 2, Mixed = 3 };

// What a run works from, derived from its request: the generators and
// writers rely on every value being within its limits.
struct GenerationSettings {
  int TermCount = 2;        // 2 or 3
  int MinTerm = 1;          // lower bound of most draws
  int AddRange = 20;        // 1..99
  int SubRange = 10;        // 1..99
  int ProblemCount = 100;   // 1..1000
  int PerRow = 4;           // 1..10
  BlankPlace BlankMode = BlankPlace::Result;
  ProblemKind OperationKind = ProblemKind::AdditionOnly;
  std::string KindText;     // names the kind of problems in the file name
  std::optional<std::uint64_t> Seed;  // the sheet's own seed, shown after the description when set
  FileFormat ExportFormat = FileFormat::Excel;
  int DigitWidth = 2;       // digits of the wider range: 1 or 2
  // What generation and export consult problem by problem.
  bool AdditionChecked = true;
  bool SubtractionChecked = false;
  bool CarryAllowed = true;
  bool BorrowAllowed = true;
  // Multiplication and division, from the tables TablesFrom..TablesTo.
  bool MultiplicationChecked = false;
  bool DivisionChecked = false;
  int TablesFrom = 1;  // 1..9
  int TablesTo = 9;    // TablesFrom..9
  Remainders DivisionRemainders = Remainders::Never;
  bool NoTrivial = false;  // rows that are too easy are drawn again
  // Three terms with × or ÷, or with brackets: two steps in the school's order.
  bool TwoSteps = false;
  Brackets TwoStepBrackets = Brackets::Never;
  bool WorkingSteps = false;  // 脱式: two lines under each problem for its working
  bool VerticalForm = false;
  bool NumberEachPage = true;
  bool TwoSided = false;
  bool LargeType = false;
  TextEncoding TextFileEncoding = TextEncoding::Locale;
};

// The settings of a run. A two-term run is never a mixed run; a run without
// an operation draws additions (the front ends refuse one first). Throws
// std::invalid_argument when a number of the request is outside its limits,
// or when it asks for what the problems do not have: the third blank, brackets
// or working lines with two terms; a blank other than the result, a
// remainder or the column form in two-step problems; a blank or the column
// form beside working lines. Each front end keeps its input within them.
GenerationSettings SetUpRun(const RunRequest& request);

// Whether the run draws × or ÷.
inline bool DrawsTimesTables(const GenerationSettings& s) { return s.MultiplicationChecked || s.DivisionChecked; }

// Whether a division of the run can have a remainder: then every division
// shows the remainder's place, an exact one too.
inline bool ShowsRemainders(const GenerationSettings& s) {
  return s.DivisionChecked && s.DivisionRemainders != Remainders::Never;
}

// How many decimal digits a non-negative value has.
int DecimalDigits(int value);

// The kind of problems in words, as the description and the file name use it.
std::string KindTextFor(ProblemKind kind);

// The same for a run with × or ÷: the chosen operations, "乘除运算".
std::string KindTextFor(const GenerationSettings& settings);

// The same for two-step problems: "混合运算", "乘除混合运算".
std::string TwoStepKindText(const GenerationSettings& settings);

}  // namespace numbrook
