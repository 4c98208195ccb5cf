// A division's written frame as the sheet lays it out: what stands in each
// place on the pupil's sheet and on the key, the working included.
#include <gtest/gtest.h>

#include "sheet/sheet_layout.h"

namespace numbrook {
namespace {

struct FrameCase {
  const char* name;
  Remainders remainders;
  ProblemRow row;
  // quotient, divisor, dividend, product, remainder as the key shows them
  std::array<const char*, 5> key;
  std::array<bool, 5> blank;  // which of them the pupil fills in
};

TEST(SheetLayout, DivisionFrameHoldsTheProblemAndThePupilsWorking) {
  const FrameCase cases[] = {
      {"17 ÷ 5, open result", Remainders::Always, {"17", "÷", "5", "", "", "=", "_", "_"},
       {"3", "5", "17", "15", "2"}, {true, false, false, true, true}},
      // Without remainders the frame's remainder is working too: 0.
      {"56 ÷ 7, exact", Remainders::Never, {"56", "÷", "7", "", "", "=", "_", ""},
       {"8", "7", "56", "56", "0"}, {true, false, false, true, true}},
      {"□ ÷ 7 = 8……6", Remainders::Mixed, {"_", "÷", "7", "", "", "=", "8", "6"},
       {"8", "7", "62", "56", "6"}, {false, false, true, true, false}},
      {"62 ÷ □ = 8……6", Remainders::Always, {"62", "÷", "_", "", "", "=", "8", "6"},
       {"8", "7", "62", "56", "6"}, {false, true, false, true, false}},
  };
  for (const FrameCase& c : cases) {
    RunRequest request;
    request.operations = OperationKinds::Division;
    request.remainders = c.remainders;
    request.columnForm = true;
    request.count = 1;
    const GenerationSettings settings = SetUpRun(request);
    ProblemTable table(2);
    table.Row(0) = c.row;
    for (SheetKind kind : {SheetKind::Pupil, SheetKind::AnswerKey}) {
      const SheetLayout layout = LayOutSheet(settings, table, kind, {1, 0});
      const ColumnForm& form = layout.pages.at(0).lines.at(0).problems.at(0).columnForm;
      ASSERT_EQ(form.shape, ColumnShape::LongDivision) << c.name;
      const DivisionFrame& f = form.division;
      const std::array<const SheetCell*, 5> cells = {&f.quotient, &f.divisor, &f.dividend, &f.product, &f.remainder};
      for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i]->blank, c.blank[i]) << c.name << " place " << i;
        const bool shown = kind == SheetKind::AnswerKey || !c.blank[i];
        EXPECT_EQ(cells[i]->text, shown ? c.key[i] : "") << c.name << " place " << i;
      }
      EXPECT_EQ(form.places, 2) << c.name;
      EXPECT_EQ(f.quotientPlaces, 1) << c.name;
      EXPECT_TRUE(layout.divisionFrames);
      EXPECT_EQ(layout.remainders, c.remainders != Remainders::Never);
    }
  }
}

// A multiplication stands factor over factor, its product under the rule.
TEST(SheetLayout, MultiplicationIsStacked) {
  RunRequest request;
  request.operations = OperationKinds::Multiplication;
  request.columnForm = true;
  request.count = 1;
  ProblemTable table(2);
  table.Row(0) = {"7", "×", "8", "", "", "=", "_"};
  const SheetLayout layout = LayOutSheet(SetUpRun(request), table, SheetKind::AnswerKey, {1, 0});
  const ColumnForm& form = layout.pages.at(0).lines.at(0).problems.at(0).columnForm;
  EXPECT_EQ(form.shape, ColumnShape::Stacked);
  ASSERT_EQ(form.terms.size(), 2u);
  EXPECT_EQ(form.terms[1].sign, "×");
  EXPECT_EQ(form.result.value.text, "56");
  EXPECT_FALSE(layout.divisionFrames || layout.remainders);
}

}  // namespace
}  // namespace numbrook
