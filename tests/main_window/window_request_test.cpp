// The window's own rules: how its fields become the run's numbers, and
// what choosing the term count does to the other controls.
#include <gtest/gtest.h>

#include "cli/sheet_options.h"
#include "generation/generation_settings.h"
#include "generation/problem_generator.h"
#include "sheet/sheet_texts.h"
#include "main_window/numeric_fields.h"
#include "main_window/window_request.h"

namespace numbrook {
namespace {

struct ClampCase {
  const char* text;
  int problemCount;  // as Text1
  int perRow;        // as Text2
  int addRange;      // as Text3
  int subRange;      // as Text4
};

TEST(FieldClamps, ReplaceEmptyZeroNegativeAndTooLargeValues) {
  const ClampCase cases[] = {
      {"0", 1000, 4, 20, 10},    {"", 1000, 4, 20, 10},     {"-5", 1000, 4, 20, 10},
      {"1001", 1000, 4, 20, 10}, {"1000", 1000, 4, 20, 10}, {"100", 100, 4, 20, 10},
      {"99", 99, 4, 99, 99},     {"10", 10, 10, 10, 10},    {"12.5", 12, 4, 12, 12},
      {"&H10", 16, 4, 16, 16},   {"1e3", 1000, 4, 20, 10},  {"   7", 7, 7, 7, 7},
      {"0.4", 1000, 4, 20, 10},  {"99.5", 100, 4, 20, 10},  {"99999999999", 1000, 4, 20, 10},
  };
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.text + '"');
    ControlState controls;
    controls.text1 = controls.text2 = controls.text3 = controls.text4 = c.text;
    const RunRequest r = RequestFromControls(controls);
    EXPECT_EQ(r.count, c.problemCount);
    EXPECT_EQ(r.perLine, c.perRow);
    EXPECT_EQ(r.addRange, c.addRange);
    EXPECT_EQ(r.subRange, c.subRange);
  }
}

// A field takes the same value when its focus leaves it as when Start reads
// it: the field's replacement, never a second fallback.
TEST(FieldClamps, StartTakesWhatTheCheckedFieldShows) {
  for (const char* text : {"0", "", "1001", "abc", "0.4", "99.5"}) {
    for (NumericField field : {NumericField::ProblemCount, NumericField::PerRow, NumericField::AddRange,
                               NumericField::SubRange, NumericField::SheetCount}) {
      const int shown = IsAcceptedFieldText(field, text) ? FieldValue(field, text) : RuleOf(field).replacement;
      EXPECT_EQ(FieldValue(field, text), shown) << text;
    }
  }
  ControlState threeTerms;
  ChooseTermCount(threeTerms, 1);
  threeTerms.text2 = "";
  EXPECT_EQ(RequestFromControls(threeTerms).perLine, 3) << "as numbrook-sheet --terms=3 without --per-row";
}


// Choosing the term count, as the window's list and the command line do.
TEST(TermCountChoice, ResetsTheCountsAndTheThreeTermControls) {
  struct Case {
    int from, to;
    BlankPlace blank;
    bool mixed;
    const char* perRow;
    BlankPlace blankAfter;
    bool mixedAfter;
  };
  const Case cases[] = {
      {0, 1, BlankPlace::Second, false, "3", BlankPlace::Second, false},
      {1, 0, BlankPlace::Third, true, "4", BlankPlace::Result, false},
      {1, 0, BlankPlace::Random, true, "4", BlankPlace::Random, false},
      {1, 1, BlankPlace::Third, true, "3", BlankPlace::Third, true},
  };
  for (const Case& c : cases) {
    ControlState controls;
    controls.combo1Index = c.from;
    controls.option3 = c.blank;
    controls.checkAS = c.mixed;
    controls.text1 = "250";
    controls.text2 = "7";
    controls.text3 = "55";
    ChooseTermCount(controls, c.to);
    EXPECT_EQ(controls.combo1Index, c.to);
    EXPECT_EQ(controls.text1, "100") << "the start-up count";
    EXPECT_EQ(controls.text2, c.perRow);
    EXPECT_EQ(controls.text3, "55") << "the ranges stay";
    EXPECT_EQ(controls.option3, c.blankAfter);
    EXPECT_EQ(controls.checkAS, c.mixedAfter);
    EXPECT_EQ(OffersThreeTermControls(controls), c.to == 1);
  }
}

// The window's check boxes and options become the request's kinds, and a
// run set up from the start-up controls is the default run.
TEST(WindowRequest, ControlsBecomeTheRequest) {
  ControlState controls;
  EXPECT_EQ(TextsOf(SetUpRun(RequestFromControls(controls))).Description, "二个数,加法运算,计算题, 20以内含进位加法");
  controls.combo1Index = 1;
  controls.checkA = false;
  controls.checkS = true;
  controls.checkAS = true;
  controls.option3 = BlankPlace::Third;
  controls.checkAdd = false;
  controls.checkSub = false;
  controls.option2 = FileFormat::Text;
  controls.checkExp = true;
  controls.checkNewPage = false;
  const RunRequest r = RequestFromControls(controls);
  EXPECT_EQ(r.terms, 3);
  EXPECT_EQ(r.operations, OperationKinds::Subtraction | OperationKinds::Mixed);
  EXPECT_EQ(r.blank, BlankPlace::Third);
  EXPECT_FALSE(r.carrying);
  EXPECT_FALSE(r.borrowing);
  EXPECT_EQ(r.format, FileFormat::Text);
  EXPECT_TRUE(r.columnForm);
  EXPECT_FALSE(r.numberEachPage);
  EXPECT_FALSE(r.seed.has_value());
}

}  // namespace
}  // namespace numbrook

namespace numbrook {
namespace {

// The set row: the count of sheets by the same reading as the other fields,
// and the two ticks as they are.
TEST(SetRow, SheetsKeysAndDistinctFromTheControls) {
  const struct {
    const char* text5;
    bool key, distinct;
    int sheets;
  } cases[] = {{"1", false, false, 1}, {"40", true, false, 40}, {"1000", false, true, 1000},
               {"1001", true, true, 1},  {"0", false, false, 1},  {"", false, false, 1}, {"12-3", false, false, 12}};
  for (const auto& c : cases) {
    ControlState controls;
    controls.text5 = c.text5;
    controls.checkKey = c.key;
    controls.checkDistinct = c.distinct;
    controls.option2 = FileFormat::Pdf;
    const SetRequest set = SetRequestFromControls(controls);
    EXPECT_EQ(set.sheets, c.sheets) << c.text5;
    EXPECT_EQ(set.answers, c.key) << c.text5;
    EXPECT_EQ(set.distinct, c.distinct) << c.text5;
    EXPECT_EQ(set.run.format, FileFormat::Pdf);
  }
}

}  // namespace
}  // namespace numbrook

namespace numbrook {
namespace {

// The window's controls and numbrook-sheet's options for the same run give
// the same sheet from the same seed: its description and every problem.
TEST(WindowRequest, TimesTablesAsNumbrookSheetGivesThem) {
  struct Case {
    void (*controls)(ControlState&);
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {[](ControlState& c) { c.checkA = false; c.checkM = true; }, {"--no-add", "--mul"}},
      {[](ControlState& c) {
         c.checkA = false;
         c.checkM = c.checkD = c.checkTrivial = true;
         c.tablesFrom = 2;
         c.option4 = Remainders::Always;
       },
       {"--no-add", "--mul", "--div", "--tables=2-9", "--remainder=always", "--no-trivial"}},
      {[](ControlState& c) {
         c.checkS = c.checkD = true;
         c.tablesTo = 5;
         c.option4 = Remainders::Mixed;
         c.option3 = BlankPlace::Random;
       },
       {"--sub", "--div", "--tables=1-5", "--remainder=mixed", "--blank=random"}},
      // Choices that do not apply change nothing, as numbrook-sheet refuses them.
      {[](ControlState& c) {
         c.tablesFrom = 3;
         c.option4 = Remainders::Always;
         c.checkTrivial = true;
       },
       {"--no-trivial"}},
      // Three terms with × or ÷ are two steps: brackets and working lines
      // apply, the other blanks, a remainder and the column form do not.
      {[](ControlState& c) {
         ChooseTermCount(c, 1);
         c.checkS = c.checkM = true;
         c.option5 = Brackets::Mixed;
         ChooseSteps(c, true);
       },
       {"--terms=3", "--sub", "--mul", "--brackets=mixed", "--steps"}},
      {[](ControlState& c) {
         ChooseTermCount(c, 1);
         c.checkA = false;
         c.checkD = true;
         c.option3 = BlankPlace::First;
         c.option4 = Remainders::Always;
         c.checkExp = true;
         c.option5 = Brackets::Always;  // ÷ alone makes no brackets
       },
       {"--terms=3", "--no-add", "--div"}},
      {[](ControlState& c) {
         ChooseTermCount(c, 1);
         c.checkS = c.checkAS = true;
         c.option5 = Brackets::Always;
       },
       {"--terms=3", "--sub", "--mixed", "--brackets=always"}},
  };
  for (const Case& c : cases) {
    ControlState controls;
    c.controls(controls);
    std::vector<std::string> options = c.options;
    options.push_back("--seed=77");
    RunRequest fromWindow = RequestFromControls(controls);
    fromWindow.seed = 77;
    const RunRequest fromCommand = ParseSheetOptions(options).request;
    const GenerationSettings window = SetUpRun(fromWindow);
    const GenerationSettings command = SetUpRun(fromCommand);
    EXPECT_EQ(TextsOf(window).Description, TextsOf(command).Description) << options[0];
    EXPECT_EQ(window.PerRow, command.PerRow) << options[0];
    ProblemTable windowTable, commandTable;
    SeededRandom windowRandom(77), commandRandom(77);
    ASSERT_TRUE(GenerateProblems(window, windowRandom, Progress{}, windowTable));
    ASSERT_TRUE(GenerateProblems(command, commandRandom, Progress{}, commandTable));
    for (int row = 0; row < window.ProblemCount; ++row) EXPECT_EQ(windowTable.Row(row), commandTable.Row(row)) << row;
  }
}

}  // namespace
}  // namespace numbrook
