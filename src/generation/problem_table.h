#pragma once

#include <array>
#include <string>
#include <vector>

namespace numbrook {

// Columns of a problem row: first term, first operator, second term, second
// operator, third term, "=", result, the remainder of a division that can
// have one, and the brackets of a two-step problem that has them (both
// empty otherwise). Operators are "+", "-", "×" and "÷". Numbers are plain
// decimal text; "_" is the place the pupil fills in: one term, or the
// result, which in a division with a remainder is the quotient and the
// remainder both. A new column goes after the others, so that the rows of
// the runs without it stay as they were.
enum ProblemColumn {
  kFirstTerm = 0,
  kFirstOperator = 1,
  kSecondTerm = 2,
  kSecondOperator = 3,
  kThirdTerm = 4,
  kEqualsSign = 5,
  kResult = 6,
  kRemainder = 7,
  kBrackets = 8,
};

inline constexpr int kProblemColumns = 9;

inline constexpr const char* kTimesSign = "×";
inline constexpr const char* kDivisionSign = "÷";
inline constexpr const char* kBlankMarker = "_";
// The brackets column names the terms the brackets enclose: (a + b) × c is
// "12", c × (a + b) is "23".
inline constexpr const char* kBracketsFirstTwo = "12";
inline constexpr const char* kBracketsLastTwo = "23";

using ProblemRow = std::array<std::string, kProblemColumns>;

// One row per problem, all cells empty when created. A run makes a table of
// ProblemCount + 1 rows and fills all but the last.
class ProblemTable {
 public:
  ProblemTable() = default;
  explicit ProblemTable(int rowCount) : rows_(static_cast<std::size_t>(rowCount)) {}

  int RowCount() const { return static_cast<int>(rows_.size()); }
  ProblemRow& Row(int index) { return rows_.at(static_cast<std::size_t>(index)); }
  const ProblemRow& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
  std::string& Cell(int row, int column) { return Row(row).at(static_cast<std::size_t>(column)); }
  const std::string& Cell(int row, int column) const {
    return Row(row).at(static_cast<std::size_t>(column));
  }

 private:
  std::vector<ProblemRow> rows_;
};

}  // namespace numbrook
