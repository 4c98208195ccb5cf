#pragma once

#include "generation/run_request.h"
#include "main_window/control_state.h"

namespace numbrook {

// The run that the window's controls ask for at Start. The number fields are
// read by their leading-number rule; an empty, zero, negative or too large
// value falls back to the field's start-up value without a message.
RunRequest RequestFromControls(const ControlState& controls);

}  // namespace numbrook
