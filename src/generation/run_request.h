#pragma once

#include <cstdint>
#include <optional>

#include "generation/settings_table.h"

namespace numbrook {

// Which operations a run draws. Addition and Subtraction choose the first
// operator; Mixed makes the second operator of a three-term problem random.
// Multiplication and Division draw from the multiplication tables.
enum class OperationKinds : unsigned {
  None = 0,
  Addition = 1,
  Subtraction = 2,
  Mixed = 4,
  Multiplication = 8,
  Division = 16,
};

constexpr OperationKinds operator|(OperationKinds a, OperationKinds b) {
  return static_cast<OperationKinds>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool Has(OperationKinds kinds, OperationKinds kind) {
  return (static_cast<unsigned>(kinds) & static_cast<unsigned>(kind)) != 0;
}

// A run draws at least one operation; mixing alone chooses none.
constexpr bool ChoosesAnOperation(OperationKinds kinds) {
  return Has(kinds, OperationKinds::Addition) || Has(kinds, OperationKinds::Subtraction) ||
         Has(kinds, OperationKinds::Multiplication) || Has(kinds, OperationKinds::Division);
}

// Which two-step problems have brackets: none, every one, or each with an
// even chance. Brackets stand only where they change the order of work.
enum class Brackets { Never = 0, Always = 1, Mixed = 2 };

// Whether a run draws from the multiplication tables (× or ÷).
constexpr bool ChoosesTimesTables(OperationKinds kinds) {
  return Has(kinds, OperationKinds::Multiplication) || Has(kinds, OperationKinds::Division);
}

// Whether some pair of the chosen operations makes a problem with brackets
// (order_of_work.h): −, or + or − with × or ÷, or × with ÷.
constexpr bool AdmitsBrackets(OperationKinds kinds) {
  const bool firstLevel = Has(kinds, OperationKinds::Addition) || Has(kinds, OperationKinds::Subtraction);
  return Has(kinds, OperationKinds::Subtraction) || (firstLevel && ChoosesTimesTables(kinds)) ||
         (Has(kinds, OperationKinds::Multiplication) && Has(kinds, OperationKinds::Division));
}

// Whether three terms are two steps worked in the school's order (× and ÷
// first, brackets first) rather than read from left to right: with × or ÷,
// or with brackets. Three terms of + and − alone are drawn as they always were.
constexpr bool ChoosesTwoSteps(int terms, OperationKinds kinds, Brackets brackets) {
  return terms == 3 && (ChoosesTimesTables(kinds) || brackets != Brackets::Never);
}

// Which divisions a run draws: those of the tables only (表内除法), only
// those with a remainder (有余数的除法), or both alike.
enum class Remainders { Never = 0, Always = 1, Mixed = 2 };

// The multiplication tables (乘法口诀) a run's × and ÷ come from: a problem
// belongs to the table of its larger factor.
struct TablesRange {
  int from = kTablesSetting.startUpFrom;
  int to = kTablesSetting.startUpTo;
  bool operator==(const TablesRange&) const = default;
};

// Where the pupil's blank stands: the result (a compute problem), one of the
// terms, or a place drawn for every problem. A drawn row has one of the
// first four.
enum class BlankPlace { Result = 0, First = 1, Second = 2, Third = 3, Random = 4 };

// The file a sheet is written as: plain text, a spreadsheet workbook or a PDF.
enum class FileFormat { Text = 0, Excel = 1, Pdf = 2 };

// The text sheet's encoding: the desktop's (the locale's codeset decides),
// or one chosen.
enum class TextEncoding { Locale, Utf8, Gbk };

// A pupil's sheet has a box at each blank; its answer key, the same sheet
// with every blank's value in its box.
enum class SheetKind { Pupil, AnswerKey };

// One run, as a front end asks for it: numbers already numbers, each within
// its limits (settings_table.h). The defaults are the window's start-up values.
struct RunRequest {
  int terms = 2;  // 2 or 3
  OperationKinds operations = OperationKinds::Addition;
  int addRange = SettingOf(NumberSettingId::AddRange).startUp;  // additions within
  int subRange = SettingOf(NumberSettingId::SubRange).startUp;  // subtractions within
  bool carrying = true;
  bool borrowing = true;
  TablesRange tables;                        // × and ÷
  Remainders remainders = Remainders::Never;  // ÷
  bool noTrivial = false;  // no ×1, ÷1, quotient 1, term 0 or result 0
  Brackets brackets = Brackets::Never;  // three terms
  BlankPlace blank = BlankPlace::Result;
  int count = SettingOf(NumberSettingId::ProblemCount).startUp;  // problems
  int perLine = DefaultPerLine(2);                               // problems on a line
  FileFormat format = FileFormat::Excel;
  bool columnForm = false;      // every problem again in column form
  bool steps = false;           // 脱式: lines under each problem to write its working on
  bool numberEachPage = true;   // numbering starts again on every page
  bool twoSided = false;        // a PDF set: every pupil's sheet starts on an odd page
  bool largeType = false;       // a PDF: problems in type for first graders
  SheetKind sheet = SheetKind::Pupil;
  TextEncoding textEncoding = TextEncoding::Locale;
  std::optional<std::uint64_t> seed;  // none: from the time of day
};

}  // namespace numbrook
