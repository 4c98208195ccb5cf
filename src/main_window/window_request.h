#pragma once

#include "generation/run_request.h"
#include "main_window/control_state.h"

namespace numbrook {

// The run that the window's controls ask for at Start. The number fields are
// read by their leading-number rule; a value the field does not accept
// counts as the field's replacement, which the field itself shows once the
// focus leaves it.
RunRequest RequestFromControls(const ControlState& controls);

// A class set as the window asks for it: the sheets' run, how many sheets,
// each with its answer key or not, and no problem twice on a sheet or not.
struct SetRequest {
  RunRequest run;
  int sheets = 1;
  bool answers = false;
  bool distinct = false;
};

SetRequest SetRequestFromControls(const ControlState& controls);

}  // namespace numbrook
