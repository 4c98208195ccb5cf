#pragma once

#include <cstdint>
#include <optional>

namespace numbrook {

// Which operations a run draws. Addition and Subtraction choose the first
// operator; Mixed makes the second operator of a three-term problem random.
enum class OperationKinds : unsigned { None = 0, Addition = 1, Subtraction = 2, Mixed = 4 };

constexpr OperationKinds operator|(OperationKinds a, OperationKinds b) {
  return static_cast<OperationKinds>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool Has(OperationKinds kinds, OperationKinds kind) {
  return (static_cast<unsigned>(kinds) & static_cast<unsigned>(kind)) != 0;
}

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

// The highest values a run takes; the lowest is 1 for each.
inline constexpr int kMostProblems = 1000;
inline constexpr int kMostPerLine = 10;
inline constexpr int kMostRange = 99;
inline constexpr int kMostSheets = 1000;  // sheets of one class set

// One run, as a front end asks for it: numbers already numbers, each within
// its limits. The defaults are the window's start-up values.
struct RunRequest {
  int terms = 2;  // 2 or 3
  OperationKinds operations = OperationKinds::Addition;
  int addRange = 20;   // additions within 1..99
  int subRange = 10;   // subtractions within 1..99
  bool carrying = true;
  bool borrowing = true;
  BlankPlace blank = BlankPlace::Result;
  int count = 100;     // problems, 1..1000
  int perLine = 4;     // problems on a line, 1..10
  FileFormat format = FileFormat::Excel;
  bool columnForm = false;      // every problem again in column form
  bool numberEachPage = true;   // numbering starts again on every page
  SheetKind sheet = SheetKind::Pupil;
  TextEncoding textEncoding = TextEncoding::Locale;
  std::optional<std::uint64_t> seed;  // none: from the time of day
};

// The problems on a line when none are given: fewer for the wider
// three-term problems.
constexpr int DefaultPerLine(int terms) { return terms == 3 ? 3 : 4; }

}  // namespace numbrook
