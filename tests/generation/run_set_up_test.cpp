#include <gtest/gtest.h>

#include "generation/generation_settings.h"

namespace numbrook {
namespace {

GenerationSettings SetUpWith(void (*adjust)(ControlState&)) {
  ControlState controls;
  adjust(controls);
  return SetUpRun(controls).settings;
}

TEST(RunSetUp, StartUpControlsGiveTheDefaults) {
  ControlState controls;
  const GenerationSettings s = SetUpRun(controls).settings;
  EXPECT_EQ(s.TermCount, 2);
  EXPECT_EQ(s.MinTerm, 1);
  EXPECT_EQ(s.AddRange, 20);
  EXPECT_EQ(s.SubRange, 10);
  EXPECT_EQ(s.ProblemCount, 100);
  EXPECT_EQ(s.PerRow, 4);
  EXPECT_EQ(s.BlankMode, 0);
  EXPECT_EQ(s.OperationKind, kAdditionOnly);
  EXPECT_EQ(s.KindText, "加法运算");
  EXPECT_EQ(s.ExportFormat, kExportExcel);
  EXPECT_EQ(s.DigitWidth, 2);
  EXPECT_FLOAT_EQ(s.TermWidth, 2.7f);
  EXPECT_EQ(s.ColsPerProblem, 9);
  EXPECT_EQ(s.Description, "二个数,加法运算,计算题, 20以内含进位加法");
}

TEST(RunSetUp, HeaderLinesHoldTheNameDateTimeAndRatingFields) {
  ControlState controls;
  const GenerationSettings s = SetUpRun(controls).settings;
  const std::string gap(15, ' ');
  EXPECT_EQ(s.HeaderLine1, "姓名：" + gap + "日期：" + gap + "时间开始：" + gap + "完成：");
  EXPECT_EQ(s.HeaderLine2, "\u25CB 你真棒" + gap + "\u25CB 还不错" + gap + "\u25CB 要加油");
}

struct ClampCase {
  const char* text;
  int problemCount;  // as Text1
  int perRow;        // as Text2
  int addRange;      // as Text3
  int subRange;      // as Text4
};

class FieldClamps : public ::testing::TestWithParam<ClampCase> {};

TEST_P(FieldClamps, ReplaceEmptyZeroNegativeAndTooLargeValues) {
  const ClampCase c = GetParam();
  ControlState controls;
  controls.text1 = controls.text2 = controls.text3 = controls.text4 = c.text;
  const GenerationSettings s = SetUpRun(controls).settings;
  EXPECT_EQ(s.ProblemCount, c.problemCount) << '"' << c.text << '"';
  EXPECT_EQ(s.PerRow, c.perRow) << '"' << c.text << '"';
  EXPECT_EQ(s.AddRange, c.addRange) << '"' << c.text << '"';
  EXPECT_EQ(s.SubRange, c.subRange) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldClamps,
                         ::testing::Values(ClampCase{"0", 100, 4, 20, 10}, ClampCase{"", 100, 4, 20, 10},
                                           ClampCase{"-5", 100, 4, 20, 10}, ClampCase{"1001", 100, 4, 20, 10},
                                           ClampCase{"1000", 1000, 4, 20, 10}, ClampCase{"100", 100, 4, 20, 10},
                                           ClampCase{"99", 99, 4, 99, 99}, ClampCase{"10", 10, 10, 10, 10},
                                           ClampCase{"12.5", 12, 4, 12, 12}, ClampCase{"&H10", 16, 4, 16, 16},
                                           ClampCase{"1e3", 1000, 4, 20, 10}, ClampCase{"   7", 7, 7, 7, 7},
                                           ClampCase{"0.4", 100, 4, 20, 10},
                                           ClampCase{"99999999999", 100, 4, 20, 10}));

TEST(RunSetUp, DigitWidthIsThatOfTheWiderRange) {
  EXPECT_EQ(SetUpWith([](ControlState& c) { c.text3 = "20"; c.text4 = "5"; }).DigitWidth, 2);
  EXPECT_EQ(SetUpWith([](ControlState& c) { c.text3 = "9"; c.text4 = "5"; }).DigitWidth, 1);
  EXPECT_EQ(SetUpWith([](ControlState& c) { c.text3 = "9"; c.text4 = "15"; }).DigitWidth, 2);
}

TEST(RunSetUp, TwoTermRunIsNeverMixed) {
  ControlState controls;
  controls.checkAS = true;
  controls.checkS = true;
  const RunSetUp setUp = SetUpRun(controls);
  const GenerationSettings& s = setUp.settings;
  EXPECT_FALSE(setUp.corrected.checkAS) << "the window shows the tick cleared";
  EXPECT_TRUE(controls.checkAS) << "the controls given are left as they are";
  EXPECT_EQ(s.TermCount, 2);
  EXPECT_EQ(s.OperationKind, kAddAndSubtract);
  EXPECT_EQ(s.KindText, "加减运算");
}

TEST(RunSetUp, ThreeTermRunKeepsTheMixedTick) {
  ControlState controls;
  controls.combo1Index = 1;
  controls.checkAS = true;
  const RunSetUp setUp = SetUpRun(controls);
  const GenerationSettings& s = setUp.settings;
  EXPECT_TRUE(setUp.corrected.checkAS);
  EXPECT_EQ(s.TermCount, 3);
  EXPECT_EQ(s.OperationKind, kMixed);
}

// Choosing the term count, as the window's list and the command line do.
TEST(TermCountChoice, ResetsTheCountsAndTheThreeTermControls) {
  struct Case {
    int from, to;
    int blank;
    bool mixed;
    const char* perRow;
    int blankAfter;
    bool mixedAfter;
  };
  const Case cases[] = {
      {0, 1, kBlankSecond, false, "3", kBlankSecond, false},
      {1, 0, kBlankThird, true, "4", kBlankCompute, false},
      {1, 0, kBlankRandom, true, "4", kBlankRandom, false},
      {1, 1, kBlankThird, true, "3", kBlankThird, true},
  };
  for (const Case& c : cases) {
    ControlState controls;
    controls.combo1Index = c.from;
    controls.option3Index = c.blank;
    controls.checkAS = c.mixed;
    controls.text1 = "250";
    controls.text2 = "7";
    controls.text3 = "55";
    ChooseTermCount(controls, c.to);
    EXPECT_EQ(controls.combo1Index, c.to);
    EXPECT_EQ(controls.text1, "100") << "the start-up count";
    EXPECT_EQ(controls.text2, c.perRow);
    EXPECT_EQ(controls.text3, "55") << "the ranges stay";
    EXPECT_EQ(controls.option3Index, c.blankAfter);
    EXPECT_EQ(controls.checkAS, c.mixedAfter);
    EXPECT_EQ(OffersThreeTermControls(controls), c.to == 1);
  }
}

TEST(RunSetUp, KindTextForEveryCheckBoxCombination) {
  struct Case { bool a, s, as; const char* kind; };
  const Case cases[] = {
      {false, false, false, "加法运算"}, {true, false, false, "加法运算"},   {false, true, false, "减法运算"},
      {true, true, false, "加减运算"},   {false, false, true, "加减混合运算"}, {true, false, true, "加减混合运算"},
      {false, true, true, "加减混合运算"}, {true, true, true, "加减混合运算"},
  };
  for (const Case& c : cases) {
    ControlState controls;
    controls.combo1Index = 1;
    controls.checkA = c.a;
    controls.checkS = c.s;
    controls.checkAS = c.as;
    EXPECT_EQ(SetUpRun(controls).settings.KindText, c.kind) << c.a << c.s << c.as;
  }
}

TEST(RunSetUp, DescriptionOfATwoTermAdditionWithoutCarrying) {
  ControlState controls;
  controls.checkAdd = false;
  EXPECT_EQ(SetUpRun(controls).settings.Description, "二个数,加法运算,计算题, 20以内不含进位加法");
}

TEST(RunSetUp, DescriptionOfAMixedRandomRun) {
  ControlState controls;
  controls.combo1Index = 1;
  controls.checkAS = true;
  controls.option3Index = kBlankRandom;
  EXPECT_EQ(SetUpRun(controls).settings.Description, "三个数,加减混合运算,随机填空, 20以内含进位加法, 10以内含退位减法");
}

TEST(RunSetUp, DescriptionOfASubtractionRunNamesOnlyTheSubtractionRange) {
  ControlState controls;
  controls.checkA = false;
  controls.checkS = true;
  controls.checkSub = false;
  controls.option3Index = kBlankSecond;
  controls.text4 = "7";
  EXPECT_EQ(SetUpRun(controls).settings.Description, "二个数,减法运算,第二填空, 7以内不含退位减法");
}

TEST(RunSetUp, ExportChoicesAreCarried) {
  ControlState controls;
  controls.option2Index = kExportText;
  controls.checkExp = true;
  controls.checkNewPage = false;
  const GenerationSettings s = SetUpRun(controls).settings;
  EXPECT_EQ(s.ExportFormat, kExportText);
  EXPECT_TRUE(s.VerticalForm);
  EXPECT_FALSE(s.NumberEachPage);
}

}  // namespace
}  // namespace numbrook
