#include "main_window/control_state.h"

namespace numbrook {

void ChooseTermCount(ControlState& controls, int combo1Index) {
  controls.combo1Index = combo1Index;
  const bool threeTerms = OffersThreeTermControls(controls);
  if (!threeTerms && controls.option3 == BlankPlace::Third) controls.option3 = BlankPlace::Result;
  if (!threeTerms) controls.checkAS = false;
  if (threeTerms) controls.checkM = controls.checkD = false;
  controls.text2 = std::to_string(DefaultPerLine(threeTerms ? 3 : 2));
  controls.text1 = ControlState{}.text1;
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
