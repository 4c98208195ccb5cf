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
  EXPECT_EQ(s.BlankMode, BlankPlace::Result);
  EXPECT_EQ(s.OperationKind, ProblemKind::AdditionOnly);
  EXPECT_EQ(s.KindText, "加法运算");
  EXPECT_EQ(s.ExportFormat, FileFormat::Excel);
  EXPECT_EQ(s.DigitWidth, 2);
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
  EXPECT_EQ(s.OperationKind, ProblemKind::AddAndSubtract);
  EXPECT_EQ(s.KindText, "加减运算");
}

TEST(RunSetUp, ThreeTermRunKeepsTheMixedTick) {
  RunRequest request;
  request.terms = 3;
  request.operations = request.operations | OperationKinds::Mixed;
  const GenerationSettings s = SetUpRun(request);
  EXPECT_EQ(s.TermCount, 3);
  EXPECT_EQ(s.OperationKind, ProblemKind::Mixed);
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

TEST(RunSetUp, ExportChoicesAreCarried) {
  RunRequest controls;
  controls.format = FileFormat::Text;
  controls.columnForm = true;
  controls.numberEachPage = false;
  const GenerationSettings s = SetUpRun(controls);
  EXPECT_EQ(s.ExportFormat, FileFormat::Text);
  EXPECT_TRUE(s.VerticalForm);
  EXPECT_FALSE(s.NumberEachPage);
}

}  // namespace
}  // namespace numbrook
