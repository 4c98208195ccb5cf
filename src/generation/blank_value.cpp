#include "generation/blank_value.h"

#include <string>

namespace numbrook {
namespace {

int Sign(const std::string& op) { return op == "-" ? -1 : 1; }

int ValueOf(const std::string& cell) { return cell.empty() || cell == kBlankMarker ? 0 : std::stoi(cell); }

}  // namespace

// The row reads t0 s1 t1 s2 t2 = r, with signs s1 and s2; the blank is
// whichever of the four numbers the equation is solved for.
std::optional<int> BlankValue(const ProblemRow& row) {
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

}  // namespace numbrook
