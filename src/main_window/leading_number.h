#pragma once

#include <optional>
#include <string_view>

namespace numbrook {

// The number that the beginning of a text spells, read by the conventional
// leading-number rule of the number fields: blanks, tabs and line feeds are
// ignored wherever they stand; then an optional sign, digits, one decimal
// point with more digits and an exponent (E or D); or an "&H" hexadecimal or
// "&O" octal integer. Reading stops at the first character that does not
// fit; a text that spells no number is 0. Huge texts give ±infinity.
double ReadLeadingNumber(std::string_view text);

// The whole number a field's text stands for: its leading number rounded to
// the nearest integer, ties to even. Empty when it does not fit 16 bits, so
// that the caller treats it as out of range instead of overflowing.
std::optional<int> IntegerValueOf(std::string_view text);

}  // namespace numbrook
