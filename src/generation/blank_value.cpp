#include "generation/blank_value.h"

#include <string>

#include "generation/order_of_work.h"

namespace numbrook {
namespace {

int Sign(const std::string& op) { return op == "-" ? -1 : 1; }

int ValueOf(const std::string& cell) { return cell.empty() || cell == kBlankMarker ? 0 : std::stoi(cell); }

bool IsTimesTableRow(const ProblemRow& row) {
  return row[kFirstOperator] == kTimesSign || row[kFirstOperator] == kDivisionSign;
}

// a / b when b divides a exactly: the one factor that fits.
std::optional<int> ExactQuotient(int a, int b) {
  if (b == 0 || a % b != 0) return std::nullopt;
  return a / b;
}

// t0 × t1 = r, or t0 ÷ t1 = r……rem (rem 0 when the row shows none).
std::optional<int> TimesTableBlank(const ProblemRow& row) {
  const bool division = row[kFirstOperator] == kDivisionSign;
  const int t0 = ValueOf(row[kFirstTerm]);
  const int t1 = ValueOf(row[kSecondTerm]);
  const int r = ValueOf(row[kResult]);
  const int rem = ValueOf(row[kRemainder]);
  if (row[kResult] == kBlankMarker) {
    if (!division) return t0 * t1;
    if (t1 == 0) return std::nullopt;
    return t0 / t1;
  }
  if (row[kFirstTerm] == kBlankMarker) return division ? std::optional<int>(r * t1 + rem) : ExactQuotient(r, t1);
  if (row[kSecondTerm] == kBlankMarker) return division ? ExactQuotient(t0 - rem, r) : ExactQuotient(r, t0);
  return std::nullopt;
}

}  // namespace

// The row reads t0 s1 t1 s2 t2 = r, with signs s1 and s2; the blank is
// whichever of the four numbers the equation is solved for.
std::optional<int> BlankValue(const ProblemRow& row) {
  // A two-step problem asks for its result only: the value of its working.
  if (IsTwoStepRow(row)) {
    if (row[kResult] != kBlankMarker) return std::nullopt;
    const std::vector<WorkStep> steps = StepsOf(row);
    if (steps.empty()) return std::nullopt;
    return steps.back().value;
  }
  if (IsTimesTableRow(row)) return TimesTableBlank(row);
  const int t0 = ValueOf(row[kFirstTerm]);
  const int t1 = ValueOf(row[kSecondTerm]);
  const int t2 = ValueOf(row[kThirdTerm]);
  const int r = ValueOf(row[kResult]);
  const int s1 = Sign(row[kFirstOperator]);
  const int s2 = Sign(row[kSecondOperator]);
  if (row[kResult] == kBlankMarker) return t0 + s1 * t1 + s2 * t2;
  if (row[kFirstTerm] == kBlankMarker) return r - s1 * t1 - s2 * t2;
  if (row[kSecondTerm] == kBlankMarker) return s1 * (r - t0 - s2 * t2);
  if (row[kThirdTerm] == kBlankMarker) return s2 * (r - t0 - s1 * t1);
  return std::nullopt;
}

std::optional<int> RemainderBlankValue(const ProblemRow& row) {
  if (row[kRemainder] != kBlankMarker || row[kFirstOperator] != kDivisionSign) return std::nullopt;
  const int divisor = ValueOf(row[kSecondTerm]);
  if (divisor == 0 || row[kFirstTerm] == kBlankMarker || row[kSecondTerm] == kBlankMarker) return std::nullopt;
  return ValueOf(row[kFirstTerm]) % divisor;
}

std::optional<int> CellValue(const ProblemRow& row, int column) {
  const std::string& cell = row[static_cast<std::size_t>(column)];
  if (cell == kBlankMarker) return column == kRemainder ? RemainderBlankValue(row) : BlankValue(row);
  if (cell.empty() || column == kFirstOperator || column == kSecondOperator || column == kEqualsSign) {
    return std::nullopt;
  }
  return std::stoi(cell);
}

}  // namespace numbrook
