#include "main_window/leading_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace numbrook {
namespace {

bool IsIgnoredBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\n'; }

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

int DigitValue(char ch) {
  if (IsDigit(ch)) return ch - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return 99;
}

double ReadRadixInteger(const std::string& text, std::size_t from, int radix) {
  double value = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= radix) break;
    value = value * radix + digit;
  }
  return value;
}

std::size_t SkipDigits(const std::string& text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// strtod in the "C" locale: the decimal point is always ".", whatever
// LC_NUMERIC the desktop session has set.
double ParseDecimal(const std::string& number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(number.c_str(), nullptr, cLocale);
}

}  // namespace

double ReadLeadingNumber(std::string_view text) {
  std::string s;
  for (char ch : text) {
    if (!IsIgnoredBlank(ch)) s += ch;
  }

  if (s.size() >= 2 && s[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (kind == 'H') return ReadRadixInteger(s, 2, 16);
    if (kind == 'O') return ReadRadixInteger(s, 2, 8);
    return 0;
  }

  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  i = SkipDigits(s, i);
  bool hasDigits = i > mantissaStart;
  if (i < s.size() && s[i] == '.') {
    const std::size_t fractionStart = i + 1;
    i = SkipDigits(s, fractionStart);
    hasDigits = hasDigits || i > fractionStart;
  }
  if (!hasDigits) return 0;

  std::string number = s.substr(0, i);
  // An exponent mark; a NUL ends the number like any other character.
  if (i < s.size() && std::string_view("EeDd").find(s[i]) != std::string_view::npos) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t exponentEnd = SkipDigits(s, j);
    if (exponentEnd > j) number += "e" + s.substr(i + 1, exponentEnd - i - 1);
  }
  return ParseDecimal(number);
}

std::optional<int> IntegerValueOf(std::string_view text) {
  const double value = ReadLeadingNumber(text);
  if (!std::isfinite(value) || std::fabs(value) > 40000.0) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default rounding mode: ties to even
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<int>(rounded);
}

}  // namespace numbrook
