#include "generation/control_state.h"

namespace numbrook {

void ChooseTermCount(ControlState& controls, int combo1Index) {
  controls.combo1Index = combo1Index;
  const bool threeTerms = OffersThreeTermControls(controls);
  if (!threeTerms && controls.option3Index == kBlankThird) controls.option3Index = kBlankCompute;
  if (!threeTerms) controls.checkAS = false;
  controls.text2 = std::to_string(threeTerms ? 3 : 4);
  controls.text1 = ControlState{}.text1;
}

}  // namespace numbrook
