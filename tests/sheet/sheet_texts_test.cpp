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

// A run with × or ÷ names its operations, the tables and which divisions;
// only the chosen operations' ranges are named.
TEST(SheetTexts, DescriptionOfTimesTablesRuns) {
  struct Case {
    OperationKinds operations;
    TablesRange tables;
    Remainders remainders;
    bool noTrivial;
    const char* description;
  };
  const OperationKinds mul = OperationKinds::Multiplication, div = OperationKinds::Division;
  const Case cases[] = {
      {mul | div, {2, 9}, Remainders::Always, false, "二个数,乘除运算,计算题,乘法口诀2~9,有余数除法"},
      {div, {1, 9}, Remainders::Never, false, "二个数,除法运算,计算题,乘法口诀1~9"},
      {div, {3, 5}, Remainders::Mixed, true, "二个数,除法运算,计算题,乘法口诀3~5,表内除法和有余数除法,不含简单题"},
      {mul, {7, 7}, Remainders::Never, false, "二个数,乘法运算,计算题,乘法口诀7"},
      {OperationKinds::Subtraction | mul, {1, 9}, Remainders::Never, false,
       "二个数,减乘运算,计算题, 10以内含退位减法,乘法口诀1~9"},
      {OperationKinds::Addition, {1, 9}, Remainders::Never, true, "二个数,加法运算,计算题, 20以内含进位加法,不含简单题"},
  };
  for (const Case& c : cases) {
    RunRequest controls;
    controls.operations = c.operations;
    controls.tables = c.tables;
    controls.remainders = c.remainders;
    controls.noTrivial = c.noTrivial;
    EXPECT_EQ(TextsOf(SetUpRun(controls)).Description, c.description);
  }
}

// Two steps name the mix of operations, the chosen ranges and tables, the
// brackets and the working lines; the kind also names the file.
TEST(SheetTexts, DescriptionOfTwoStepRuns) {
  struct Case {
    OperationKinds operations;
    Brackets brackets;
    bool steps;
    const char* kind;
    const char* description;
  };
  const OperationKinds add = OperationKinds::Addition, sub = OperationKinds::Subtraction;
  const OperationKinds mul = OperationKinds::Multiplication, div = OperationKinds::Division;
  const Case cases[] = {
      {add | mul, Brackets::Always, false, "混合运算", "三个数,混合运算,计算题, 20以内含进位加法,乘法口诀1~9,带括号"},
      {mul | div, Brackets::Mixed, true, "乘除混合运算", "三个数,乘除混合运算,计算题,乘法口诀1~9,部分带括号,脱式计算"},
      {add | sub, Brackets::Mixed, false, "加减混合运算",
       "三个数,加减混合运算,计算题, 20以内含进位加法, 10以内含退位减法,部分带括号"},
      {sub, Brackets::Always, false, "减法运算", "三个数,减法运算,计算题, 10以内含退位减法,带括号"},
      {div, Brackets::Never, false, "除法运算", "三个数,除法运算,计算题,乘法口诀1~9"},
      // Three terms of + and − alone are read from left to right, as always; their working may be written.
      {add | sub, Brackets::Never, true, "加减运算", "三个数,加减运算,计算题, 20以内含进位加法, 10以内含退位减法,脱式计算"},
  };
  for (const Case& c : cases) {
    RunRequest controls;
    controls.terms = 3;
    controls.operations = c.operations;
    controls.brackets = c.brackets;
    controls.steps = c.steps;
    const GenerationSettings settings = SetUpRun(controls);
    EXPECT_EQ(settings.KindText, c.kind);
    EXPECT_EQ(TextsOf(settings).Description, c.description);
  }
}

}  // namespace
}  // namespace numbrook
