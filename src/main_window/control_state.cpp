#include "main_window/control_state.h"

namespace numbrook {

void ChooseTermCount(ControlState& controls, int combo1Index) {
  controls.combo1Index = combo1Index;
  const bool threeTerms = OffersThreeTermControls(controls);
  if (!threeTerms && controls.option3 == BlankPlace::Third) controls.option3 = BlankPlace::Result;
  if (!threeTerms) controls.checkAS = false;
  ChooseTwoStepControls(controls);
  controls.text2 = std::to_string(DefaultPerLine(threeTerms ? 3 : 2, AsksForSteps(controls)));
  controls.text1 = ControlState{}.text1;
}

OperationKinds TickedOperations(const ControlState& c) {
  OperationKinds kinds = OperationKinds::None;
  if (c.checkA) kinds = kinds | OperationKinds::Addition;
  if (c.checkS) kinds = kinds | OperationKinds::Subtraction;
  if (c.checkM) kinds = kinds | OperationKinds::Multiplication;
  if (c.checkD) kinds = kinds | OperationKinds::Division;
  return kinds;
}

void ChooseTwoStepControls(ControlState& controls) {
  if (MakesTwoSteps(controls)) controls.option3 = BlankPlace::Result;
}

void ChooseSteps(ControlState& controls, bool steps) {
  controls.checkSteps = steps;
  controls.text2 = std::to_string(DefaultPerLine(OffersThreeTermControls(controls) ? 3 : 2, AsksForSteps(controls)));
}

void ChooseTablesFrom(ControlState& controls, int from) {
  controls.tablesFrom = from;
  if (controls.tablesTo < from) controls.tablesTo = from;
}

void ChooseTablesTo(ControlState& controls, int to) {
  controls.tablesTo = to;
  if (controls.tablesFrom > to) controls.tablesFrom = to;
}

}  // namespace numbrook
