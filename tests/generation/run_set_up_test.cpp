#include <gtest/gtest.h>

#include <stdexcept>

#include "generation/generation_settings.h"

namespace numbrook {
namespace {

GenerationSettings SetUpWith(void (*adjust)(RunRequest&)) {
  RunRequest request;
  adjust(request);
  return SetUpRun(request);
}

TEST(RunSetUp, StartUpControlsGiveTheDefaults) {
  RunRequest controls;
  const GenerationSettings s = SetUpRun(controls);
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
  RunRequest controls;
  const GenerationSettings s = SetUpRun(controls);
  const std::string gap(15, ' ');
  EXPECT_EQ(s.HeaderLine1, "姓名：" + gap + "日期：" + gap + "时间开始：" + gap + "完成：");
  EXPECT_EQ(s.HeaderLine2, "\u25CB 你真棒" + gap + "\u25CB 还不错" + gap + "\u25CB 要加油");
}

TEST(RunSetUp, DigitWidthIsThatOfTheWiderRange) {
  EXPECT_EQ(SetUpWith([](RunRequest& r) { r.addRange = 20; r.subRange = 5; }).DigitWidth, 2);
  EXPECT_EQ(SetUpWith([](RunRequest& r) { r.addRange = 9; r.subRange = 5; }).DigitWidth, 1);
  EXPECT_EQ(SetUpWith([](RunRequest& r) { r.addRange = 9; r.subRange = 15; }).DigitWidth, 2);
}

TEST(RunSetUp, TwoTermRunIsNeverMixed) {
  RunRequest request;
  request.operations = OperationKinds::Addition | OperationKinds::Subtraction | OperationKinds::Mixed;
  const GenerationSettings s = SetUpRun(request);
  EXPECT_EQ(s.TermCount, 2);
  EXPECT_EQ(s.OperationKind, kAddAndSubtract);
  EXPECT_EQ(s.KindText, "加减运算");
}

TEST(RunSetUp, ThreeTermRunKeepsTheMixedTick) {
  RunRequest request;
  request.terms = 3;
  request.operations = request.operations | OperationKinds::Mixed;
  const GenerationSettings s = SetUpRun(request);
  EXPECT_EQ(s.TermCount, 3);
  EXPECT_EQ(s.OperationKind, kMixed);
}

// Each front end keeps its numbers within the limits; one outside them is
// refused rather than drawn from.
TEST(RunSetUp, RefusesNumbersOutsideTheirLimits) {
  void (*const outside[])(RunRequest&) = {
      [](RunRequest& r) { r.terms = 4; },        [](RunRequest& r) { r.addRange = 100; },
      [](RunRequest& r) { r.subRange = 0; },     [](RunRequest& r) { r.count = 1001; },
      [](RunRequest& r) { r.count = -5; },       [](RunRequest& r) { r.perLine = 11; },
      [](RunRequest& r) { r.blank = static_cast<BlankPlace>(5); }};
  for (auto adjust : outside) EXPECT_THROW(SetUpWith(adjust), std::invalid_argument);
  EXPECT_EQ(SetUpWith([](RunRequest& r) { r.count = 1000; r.perLine = 10; r.addRange = 99; }).ProblemCount, 1000);
}

TEST(RunSetUp, KindTextForEveryCheckBoxCombination) {
  struct Case { bool a, s, as; const char* kind; };
  const Case cases[] = {
      {false, false, false, "加法运算"}, {true, false, false, "加法运算"},   {false, true, false, "减法运算"},
      {true, true, false, "加减运算"},   {false, false, true, "加减混合运算"}, {true, false, true, "加减混合运算"},
      {false, true, true, "加减混合运算"}, {true, true, true, "加减混合运算"},
  };
  for (const Case& c : cases) {
    RunRequest request;
    request.terms = 3;
    request.operations = static_cast<OperationKinds>((c.a ? 1 : 0) | (c.s ? 2 : 0) | (c.as ? 4 : 0));
    EXPECT_EQ(SetUpRun(request).KindText, c.kind) << c.a << c.s << c.as;
  }
}

TEST(RunSetUp, DescriptionOfATwoTermAdditionWithoutCarrying) {
  RunRequest controls;
  controls.carrying = false;
  EXPECT_EQ(SetUpRun(controls).Description, "二个数,加法运算,计算题, 20以内不含进位加法");
}

TEST(RunSetUp, DescriptionOfAMixedRandomRun) {
  RunRequest controls;
  controls.terms = 3;
  controls.operations = controls.operations | OperationKinds::Mixed;
  controls.blank = BlankPlace::Random;
  EXPECT_EQ(SetUpRun(controls).Description, "三个数,加减混合运算,随机填空, 20以内含进位加法, 10以内含退位减法");
}

TEST(RunSetUp, DescriptionOfASubtractionRunNamesOnlyTheSubtractionRange) {
  RunRequest controls;
  controls.operations = OperationKinds::Subtraction;
  controls.borrowing = false;
  controls.blank = BlankPlace::Second;
  controls.subRange = 7;
  EXPECT_EQ(SetUpRun(controls).Description, "二个数,减法运算,第二填空, 7以内不含退位减法");
}

TEST(RunSetUp, ExportChoicesAreCarried) {
  RunRequest controls;
  controls.format = ExportFormat::Text;
  controls.columnForm = true;
  controls.numberEachPage = false;
  const GenerationSettings s = SetUpRun(controls);
  EXPECT_EQ(s.ExportFormat, kExportText);
  EXPECT_TRUE(s.VerticalForm);
  EXPECT_FALSE(s.NumberEachPage);
}

}  // namespace
}  // namespace numbrook
