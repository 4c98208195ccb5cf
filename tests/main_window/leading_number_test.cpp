#include "main_window/leading_number.h"

#include <cmath>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "main_window/numeric_fields.h"

namespace numbrook {
namespace {

TEST(ReadLeadingNumber, ReadsDecimalsSignsAndExponents) {
  EXPECT_EQ(ReadLeadingNumber("100"), 100);
  EXPECT_EQ(ReadLeadingNumber("007"), 7);
  EXPECT_EQ(ReadLeadingNumber("-5"), -5);
  EXPECT_EQ(ReadLeadingNumber("+5"), 5);
  EXPECT_EQ(ReadLeadingNumber("12.5"), 12.5);
  EXPECT_EQ(ReadLeadingNumber(".5"), 0.5);
  EXPECT_EQ(ReadLeadingNumber("1e3"), 1000);
  EXPECT_EQ(ReadLeadingNumber("2D2"), 200);
  EXPECT_EQ(ReadLeadingNumber("25E-1"), 2.5);
}

TEST(ReadLeadingNumber, StopsAtTheFirstCharacterThatDoesNotFit) {
  EXPECT_EQ(ReadLeadingNumber("12-3"), 12);
  EXPECT_EQ(ReadLeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(ReadLeadingNumber("1e"), 1);
  EXPECT_EQ(ReadLeadingNumber("3e+"), 3);
  EXPECT_EQ(ReadLeadingNumber("4abc"), 4);
  EXPECT_EQ(ReadLeadingNumber("--4"), 0);
}

TEST(ReadLeadingNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(ReadLeadingNumber("   7"), 7);
  EXPECT_EQ(ReadLeadingNumber("1 2"), 12);
  EXPECT_EQ(ReadLeadingNumber("\t- 1\n5"), -15);
}

TEST(ReadLeadingNumber, ReadsHexadecimalAndOctalPrefixes) {
  EXPECT_EQ(ReadLeadingNumber("&H10"), 16);
  EXPECT_EQ(ReadLeadingNumber("&hff"), 255);
  EXPECT_EQ(ReadLeadingNumber("&O17"), 15);
  EXPECT_EQ(ReadLeadingNumber("&O9"), 0);
  EXPECT_EQ(ReadLeadingNumber("&X1"), 0);
}

TEST(ReadLeadingNumber, TextWithoutANumberIsZero) {
  EXPECT_EQ(ReadLeadingNumber(""), 0);
  EXPECT_EQ(ReadLeadingNumber("-"), 0);
  EXPECT_EQ(ReadLeadingNumber("abc"), 0);
  EXPECT_EQ(ReadLeadingNumber("."), 0);
}

TEST(ReadLeadingNumber, HugeTextsNeitherCrashNorWrap) {
  EXPECT_EQ(ReadLeadingNumber("99999999999"), 99999999999.0);
  EXPECT_TRUE(std::isinf(ReadLeadingNumber("1e999")));
  EXPECT_TRUE(std::isinf(ReadLeadingNumber(std::string(400, '9'))));
  EXPECT_EQ(ReadLeadingNumber("1e-999"), 0);
}

TEST(IntegerValueOf, RoundsToNearestWithTiesToEven) {
  EXPECT_EQ(IntegerValueOf("12.5"), 12);
  EXPECT_EQ(IntegerValueOf("13.5"), 14);
  EXPECT_EQ(IntegerValueOf("12.51"), 13);
  EXPECT_EQ(IntegerValueOf("-2.5"), -2);
  EXPECT_EQ(IntegerValueOf(""), 0);
}

TEST(IntegerValueOf, ValuesBeyondSixteenBitsAreOutOfRange) {
  EXPECT_EQ(IntegerValueOf("32767"), 32767);
  EXPECT_EQ(IntegerValueOf("-32768"), -32768);
  EXPECT_EQ(IntegerValueOf("32768"), std::nullopt);
  EXPECT_EQ(IntegerValueOf("99999999999"), std::nullopt);
  EXPECT_EQ(IntegerValueOf("1e999"), std::nullopt);
}


// An independent model of the leading-number rule, written from its
// description as a character-by-character scanner.
double ModelLeadingNumber(std::string_view raw) {
  std::string s;
  for (char ch : raw) {
    if (ch != ' ' && ch != '\t' && ch != '\n') s += ch;
  }
  auto at = [&](std::size_t i) { return i < s.size() ? s[i] : '\x01'; };  // \x01 fits nothing
  auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
  if (at(0) == '&') {
    const int radix = (at(1) == 'H' || at(1) == 'h') ? 16 : (at(1) == 'O' || at(1) == 'o') ? 8 : 0;
    double value = 0;
    for (std::size_t i = 2; radix != 0; ++i) {
      const char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(at(i))));
      const int d = digit(ch) ? ch - '0' : (ch >= 'a' && ch <= 'f') ? ch - 'a' + 10 : 99;
      if (d >= radix) break;
      value = value * radix + d;
    }
    return value;
  }
  std::size_t i = 0;
  bool negative = false;
  if (at(i) == '+' || at(i) == '-') negative = at(i++) == '-';
  std::string mantissa;
  bool any = false;
  while (digit(at(i))) { mantissa += at(i++); any = true; }
  if (at(i) == '.') {
    mantissa += at(i++);
    while (digit(at(i))) { mantissa += at(i++); any = true; }
  }
  if (!any) return 0;
  long exponent = 0;
  const char mark = at(i);
  if (mark == 'E' || mark == 'e' || mark == 'D' || mark == 'd') {
    std::size_t j = i + 1;
    bool minus = false;
    if (at(j) == '+' || at(j) == '-') minus = at(j++) == '-';
    if (digit(at(j))) {
      while (digit(at(j))) exponent = std::min(exponent * 10 + (at(j++) - '0'), 100000L);
      if (minus) exponent = -exponent;
    }
  }
  const double value = std::strtod((mantissa + "e" + std::to_string(exponent)).c_str(), nullptr);
  return negative ? -value : value;
}

// Random byte strings, NUL and the rule's own characters among them, read
// the same by the reader and by the model.
TEST(LeadingNumber, AgreesWithAnIndependentModelOnRandomBytes) {
  static const std::string kAlphabet = std::string("0123456789+-.eEdD&hHoOfF \t\nx\x80\xff") + '\0' + '\0';
  std::mt19937 random(2026);
  std::uniform_int_distribution<std::size_t> length(0, 12), pick(0, kAlphabet.size() - 1);
  for (int round = 0; round < 50000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += kAlphabet[pick(random)];
    const double expected = ModelLeadingNumber(text);
    const double actual = ReadLeadingNumber(text);
    if (std::isnan(expected)) continue;
    ASSERT_EQ(actual, expected) << "text bytes: " << ::testing::PrintToString(text);
  }
}

TEST(LeadingNumber, ANulEndsTheNumberLikeAnyOtherCharacter) {
  EXPECT_EQ(ReadLeadingNumber(std::string("1\0" "3", 3)), 1);
  EXPECT_EQ(ReadLeadingNumber(std::string("12E\0" "3", 5)), 12);
  EXPECT_EQ(IntegerValueOf(std::string("1\0" "3", 3)), 1) << "a paste of 1, NUL, 3 is 1 problem, not 1000";
}

TEST(NumericFieldRules, AcceptValuesAboveZeroWithinEachLimit) {
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::ProblemCount, "1000"));
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::ProblemCount, "1"));
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::ProblemCount, "12-3"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::ProblemCount, "1001"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::ProblemCount, "0"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::ProblemCount, "-5"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::ProblemCount, ""));
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::PerRow, "10"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::PerRow, "11"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::PerRow, "12-3"));
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::AddRange, "99"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::AddRange, "100"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::SubRange, "100"));
  EXPECT_TRUE(IsAcceptedFieldText(NumericField::SubRange, "99.5"));
  EXPECT_FALSE(IsAcceptedFieldText(NumericField::SubRange, "1e999"));
}

TEST(NumericFieldRules, ReplacementsAndToolTips) {
  EXPECT_EQ(RuleOf(NumericField::ProblemCount).replacement, 1000);
  EXPECT_EQ(RuleOf(NumericField::PerRow).replacement, 4);
  EXPECT_EQ(RuleOf(NumericField::PerRow, 3).replacement, 3) << "three terms' own count";
  EXPECT_EQ(RuleOf(NumericField::PerRow, 3, true).replacement, 2) << "with working lines under each problem";
  EXPECT_EQ(RuleOf(NumericField::AddRange).replacement, 20);
  EXPECT_EQ(RuleOf(NumericField::SubRange).replacement, 10);
  EXPECT_EQ(RuleOf(NumericField::ProblemCount).toolTip, "不可超过1000");
  EXPECT_EQ(RuleOf(NumericField::PerRow).toolTip, "不可超过10");
  EXPECT_EQ(RuleOf(NumericField::SubRange).toolTip, "不可超过100");
}

}  // namespace
}  // namespace numbrook
