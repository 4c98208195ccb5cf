#include "main_window/control_state.h"

namespace numbrook {

void ChooseTermCount(ControlState& controls, int combo1Index) {
  controls.combo1Index = combo1Index;
  const bool threeTerms = OffersThreeTermControls(controls);
  if (!threeTerms && controls.option3 == BlankPlace::Third) controls.option3 = BlankPlace::Result;
  if (!threeTerms) controls.checkAS = false;
  controls.text2 = std::to_string(DefaultPerLine(threeTerms ? 3 : 2));
  controls.text1 = ControlState{}.text1;
}

}  // namespace numbrook
