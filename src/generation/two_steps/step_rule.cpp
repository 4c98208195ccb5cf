#include "generation/two_steps/step_rule.h"

#include "generation/random_draws.h"
#include "generation/times_tables/times_tables.h"
#include "generation/trivial_rule.h"

namespace numbrook {
namespace {

bool IsTableNumber(int value) { return 1 <= value && value <= 9; }

bool IsSoundArithmetic(const GenerationSettings& s, const WorkStep& step) {
  if (step.sign == kTimesSign) {
    return IsTableNumber(step.left) && IsTableNumber(step.right) &&
           InTables(step.left, step.right, s.TablesFrom, s.TablesTo);
  }
  if (step.sign == kDivisionSign) {
    return step.remainder == 0 && IsTableNumber(step.right) && IsTableNumber(step.value) &&
           InTables(step.right, step.value, s.TablesFrom, s.TablesTo);
  }
  if (step.left < 0 || step.right < 0 || step.value < 0) return false;
  if (step.sign == "+") {
    return step.value <= s.AddRange && (s.CarryAllowed || UnitsOf(step.left) + UnitsOf(step.right) < 10);
  }
  return step.left <= s.SubRange && (s.BorrowAllowed || UnitsOf(step.right) <= UnitsOf(step.left));
}

}  // namespace

bool IsSoundStep(const GenerationSettings& settings, const WorkStep& step) {
  return IsSoundArithmetic(settings, step) && !(settings.NoTrivial && IsTrivialStep(step));
}

}  // namespace numbrook
