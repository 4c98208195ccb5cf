#include "generation/leading_number.h"

#include <cmath>

#include <gtest/gtest.h>

#include "generation/numeric_fields.h"

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
  EXPECT_EQ(RuleOf(NumericField::ProblemCount).replacement, "1000");
  EXPECT_EQ(RuleOf(NumericField::PerRow).replacement, "4");
  EXPECT_EQ(RuleOf(NumericField::AddRange).replacement, "20");
  EXPECT_EQ(RuleOf(NumericField::SubRange).replacement, "10");
  EXPECT_EQ(RuleOf(NumericField::ProblemCount).toolTip, "不可超过1000");
  EXPECT_EQ(RuleOf(NumericField::PerRow).toolTip, "不可超过10");
  EXPECT_EQ(RuleOf(NumericField::SubRange).toolTip, "不可超过100");
}

}  // namespace
}  // namespace numbrook
