// What a sheet prints besides its problems: the header lines and the
// description of what was drawn.
#include <gtest/gtest.h>

#include "sheet/sheet_texts.h"

namespace numbrook {
namespace {

TEST(SheetTexts, TheStartUpRunIsDescribed) {
  EXPECT_EQ(TextsOf(SetUpRun(RunRequest{})).Description, "二个数,加法运算,计算题, 20以内含进位加法");
}

TEST(SheetTexts, HeaderLinesHoldTheNameDateTimeAndRatingFields) {
  RunRequest controls;
  const SheetTexts s = TextsOf(SetUpRun(controls));
  const std::string gap(15, ' ');
  EXPECT_EQ(s.HeaderLine1, "姓名：" + gap + "日期：" + gap + "时间开始：" + gap + "完成：");
  EXPECT_EQ(s.HeaderLine2, "\u25CB 你真棒" + gap + "\u25CB 还不错" + gap + "\u25CB 要加油");
}

TEST(SheetTexts, DescriptionOfATwoTermAdditionWithoutCarrying) {
  RunRequest controls;
  controls.carrying = false;
  EXPECT_EQ(TextsOf(SetUpRun(controls)).Description, "二个数,加法运算,计算题, 20以内不含进位加法");
}

TEST(SheetTexts, DescriptionOfAMixedRandomRun) {
  RunRequest controls;
  controls.terms = 3;
  controls.operations = controls.operations | OperationKinds::Mixed;
  controls.blank = BlankPlace::Random;
  EXPECT_EQ(TextsOf(SetUpRun(controls)).Description, "三个数,加减混合运算,随机填空, 20以内含进位加法, 10以内含退位减法");
}

TEST(SheetTexts, DescriptionOfASubtractionRunNamesOnlyTheSubtractionRange) {
  RunRequest controls;
  controls.operations = OperationKinds::Subtraction;
  controls.borrowing = false;
  controls.blank = BlankPlace::Second;
  controls.subRange = 7;
  EXPECT_EQ(TextsOf(SetUpRun(controls)).Description, "二个数,减法运算,第二填空, 7以内不含退位减法");
}

}  // namespace
}  // namespace numbrook
