#pragma once

#include "generation/run_request.h"
#include "main_window/control_state.h"

namespace numbrook {

// The run that the window's controls ask for at Start. The number fields are
// read by their leading-number rule; an empty, zero, negative or too large
// value falls back to the field's start-up value without a message.
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
