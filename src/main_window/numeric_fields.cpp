#include "main_window/numeric_fields.h"

#include <optional>

#include "main_window/leading_number.h"

namespace numbrook {
namespace {

NumberSettingId SettingIdOf(NumericField field) {
  switch (field) {
    case NumericField::ProblemCount: return NumberSettingId::ProblemCount;
    case NumericField::PerRow: return NumberSettingId::PerLine;
    case NumericField::AddRange: return NumberSettingId::AddRange;
    case NumericField::SubRange: return NumberSettingId::SubRange;
    case NumericField::SheetCount: break;
  }
  return NumberSettingId::SheetCount;
}

std::string_view ToolTipOf(NumericField field) {
  switch (field) {
    case NumericField::ProblemCount: return "不可超过1000";
    case NumericField::PerRow: return "不可超过10";
    case NumericField::AddRange:
    case NumericField::SubRange: return "不可超过100";
    case NumericField::SheetCount: break;
  }
  return "1到1000份";
}

}  // namespace

NumericFieldRule RuleOf(NumericField field, int terms, bool steps) {
  const NumberSetting& setting = SettingOf(SettingIdOf(field));
  // The ranges are "below 100": a pasted 99.5 passes, as the field always let it.
  const bool ranges = field == NumericField::AddRange || field == NumericField::SubRange;
  const int replacement = field == NumericField::PerRow ? DefaultPerLine(terms, steps) : setting.replacement;
  return {ranges ? setting.highest + 1.0 : static_cast<double>(setting.highest), !ranges, replacement, ToolTipOf(field)};
}

bool IsAcceptedFieldText(NumericField field, std::string_view text) {
  const NumericFieldRule rule = RuleOf(field);
  const double value = ReadLeadingNumber(text);
  if (!(value > 0)) return false;
  return rule.limitIncluded ? value <= rule.limit : value < rule.limit;
}

int FieldValue(NumericField field, std::string_view text, int terms, bool steps) {
  const NumberSetting& setting = SettingOf(SettingIdOf(field));
  const std::optional<int> value = IntegerValueOf(text);
  if (IsAcceptedFieldText(field, text) && value && *value >= setting.lowest && *value <= setting.highest) return *value;
  return RuleOf(field, terms, steps).replacement;
}

}  // namespace numbrook
