#pragma once

#include <string>
#include <string_view>

#include "generation/settings_table.h"

namespace numbrook {

// The number fields of the main window and the values each accepts.
enum class NumericField { ProblemCount, PerRow, AddRange, SubRange, SheetCount };

struct NumericFieldRule {
  double limit;          // the highest value, or the first refused one
  bool limitIncluded;    // 1000 and 10 are accepted, 100 is not
  int replacement;       // put in place of a refused value, when the focus leaves and at Start
  std::string_view toolTip;
};

// The field's rule: its limits and replacement from the run's settings
// table; the per-line count's replacement follows the term count and
// whether each problem has working lines under it.
NumericFieldRule RuleOf(NumericField field, int terms = 2, bool steps = false);

// Whether the field keeps this text when the focus leaves it: its leading
// number is above 0 and within the field's limit.
bool IsAcceptedFieldText(NumericField field, std::string_view text);

// The whole number the run takes from an accepted field, or else the
// field's replacement: the value the field shows once checked.
int FieldValue(NumericField field, std::string_view text, int terms = 2, bool steps = false);

}  // namespace numbrook
