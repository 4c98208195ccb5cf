#include "main_window/numeric_fields.h"

#include "main_window/leading_number.h"

namespace numbrook {

const NumericFieldRule& RuleOf(NumericField field) {
  static const NumericFieldRule problemCount{1000, true, "1000", "不可超过1000"};
  static const NumericFieldRule perRow{10, true, "4", "不可超过10"};
  static const NumericFieldRule addRange{100, false, "20", "不可超过100"};
  static const NumericFieldRule subRange{100, false, "10", "不可超过100"};
  // A slip of the hand must not make a thousand files: a refused count of
  // sheets becomes one.
  static const NumericFieldRule sheetCount{1000, true, "1", "1到1000份"};
  switch (field) {
    case NumericField::ProblemCount: return problemCount;
    case NumericField::PerRow: return perRow;
    case NumericField::AddRange: return addRange;
    case NumericField::SubRange: return subRange;
    case NumericField::SheetCount: return sheetCount;
  }
  return problemCount;
}

bool IsAcceptedFieldText(NumericField field, std::string_view text) {
  const NumericFieldRule& rule = RuleOf(field);
  const double value = ReadLeadingNumber(text);
  if (!(value > 0)) return false;
  return rule.limitIncluded ? value <= rule.limit : value < rule.limit;
}

}  // namespace numbrook
