#pragma once

#include <array>
#include <string>
#include <vector>

#include "sheet/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/order_of_work.h"
#include "generation/problem_table.h"

namespace numbrook {

// One cell of a problem as every format shows it. A blank is the place the
// pupil fills in: empty on the pupil's sheet, its value on an answer key.
struct SheetCell {
  std::string text;
  bool blank = false;
  bool IsAnswer() const { return blank && !text.empty(); }
};

// One row of a problem's column form: the operator before it (empty on the
// first row and on the result row) and the number.
struct ColumnRow {
  std::string sign;
  SheetCell value;
};

// How a problem stands in column form: its terms one under another
// (+, −, ×), or a division in its written frame (除法竖式).
enum class ColumnShape { Stacked, LongDivision };

// A division in its written frame: the quotient above the bracket, the
// divisor left of it, the dividend under it, then the product of divisor
// and quotient, a rule and the remainder. The product is the pupil's
// working, and so is a remainder the row does not show: empty on the
// pupil's sheet, filled in on a key. Quotient and remainder stand over the
// dividend's last places, as many as they have (one, for the tables).
struct DivisionFrame {
  SheetCell quotient, divisor, dividend, product, remainder;
  int quotientPlaces = 1;
};

// A problem in column form: stacked, its terms one under another, then the
// result under a rule; or a division frame. Places is the count of digit
// places each row has: the digits of the widest range, or more for a wider
// value.
struct ColumnForm {
  ColumnShape shape = ColumnShape::Stacked;
  std::vector<ColumnRow> terms;
  ColumnRow result;
  DivisionFrame division;
  int places = 0;
};

// A line of the working (脱式) under a problem, after its "=": the problem
// with its first step worked ("36", "+", "7"), then the result ("43"). On
// the pupil's sheet it is empty, a line to write on; on a key, its parts.
struct WorkingLine {
  std::vector<std::string> parts;
};

inline constexpr int kWorkingLines = 2;

struct SheetProblem {
  int index = 0;           // its row in the table, 0 first
  std::string numberText;  // " 7. ": right-aligned to the widest number of the run
  // The table's columns, empty ones included; with working lines the "="
  // and the result are left out of the problem's line, as the working
  // under it ends in the result. The brackets column stays empty.
  std::array<SheetCell, kProblemColumns> cells;
  BracketPlace brackets = BracketPlace::None;
  ColumnForm columnForm;   // without terms when the sheet has no column form
  std::vector<WorkingLine> working;  // kWorkingLines when the sheet has them
};

// Whether a column of a problem holds a sign (an operator or "="), not a number.
inline bool IsSignColumn(std::size_t column) {
  return column == kFirstOperator || column == kSecondOperator || column == kEqualsSign;
}

// Whether a bracket opens before, or closes after, a term column of a problem.
inline bool OpensBracket(const SheetProblem& problem, std::size_t column) {
  return (problem.brackets == BracketPlace::FirstTwo && column == kFirstTerm) ||
         (problem.brackets == BracketPlace::LastTwo && column == kSecondTerm);
}
inline bool ClosesBracket(const SheetProblem& problem, std::size_t column) {
  return (problem.brackets == BracketPlace::FirstTwo && column == kSecondTerm) ||
         (problem.brackets == BracketPlace::LastTwo && column == kThirdTerm);
}

struct SheetLine {
  std::vector<SheetProblem> problems;
};

struct SheetPage {
  std::vector<SheetLine> lines;
};

// How a format pages its problems: problems per line and lines per page
// (0: a single page, as the text file has).
struct PageShape {
  int perLine = 1;
  int linesPerPage = 0;
};

// The whole sheet, ready to be drawn in any format: what stands on each
// page and line, numbered as the workbook numbers (anew on every page when
// asked), with the answer substituted on a key.
struct SheetLayout {
  SheetKind kind = SheetKind::Pupil;
  std::string description;  // ends in "（答案）" on a key
  std::string headerLine;   // name, date and time fields
  std::string ratingLine;   // the self-rating line
  int termCount = 2;
  int digitWidth = 2;
  bool columnForm = false;
  bool numberEachPage = true;
  // Every problem keeps room for a remainder ("……" and its place), so
  // that a sheet mixing kinds aligns them all; one without leaves it empty.
  bool remainders = false;
  // Some problem of the column form may be a division frame.
  bool divisionFrames = false;
  // Some problem may have brackets.
  bool brackets = false;
  // Every problem has lines for its working under it.
  bool workingSteps = false;
  int problemCount = 0;
  std::vector<SheetPage> pages;
};

// What leads a sheet's own seed in its description: "　编号 8423…".
inline constexpr const char* kSeedLead = "　编号 ";

// The description of a sheet of this kind, with its seed when it has one.
std::string SheetDescription(const GenerationSettings& settings, SheetKind kind);

SheetLayout LayOutSheet(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                        PageShape shape);

// The same problems in the pages and lines of another shape, numbered as
// that paging asks; their cells are kept as they are.
void Repage(SheetLayout& layout, PageShape shape);

}  // namespace numbrook
