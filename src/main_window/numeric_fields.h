#pragma once

#include <string_view>

namespace numbrook {

// The number fields of the main window and the values each accepts.
enum class NumericField { ProblemCount, PerRow, AddRange, SubRange, SheetCount };

struct NumericFieldRule {
  double limit;               // the highest value, or the first refused one
  bool limitIncluded;         // 1000 and 10 are accepted, 100 is not
  std::string_view replacement;  // put in place of a refused value
  std::string_view toolTip;
};

const NumericFieldRule& RuleOf(NumericField field);

// Whether the field keeps this text when the focus leaves it: its leading
// number is above 0 and within the field's limit.
bool IsAcceptedFieldText(NumericField field, std::string_view text);

}  // namespace numbrook
