#pragma once

#include <optional>

namespace numbrook {

// What numbrook does before any window: --help and --version print and end
// the program, and without a display it says so instead of letting Qt abort.
// Returns the exit status when the program should end here.
std::optional<int> HandleCommandLine(int argc, char** argv);

// From here on, Qt's fatal "no platform plugin could be initialized" (a
// display that is set but cannot be reached) ends the program with the same
// message.
void ExplainMissingDisplayOnFatal();

}  // namespace numbrook
