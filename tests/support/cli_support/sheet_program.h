#pragma once

#include "cli_support/run_program.h"

namespace numbrook::testing {

// Runs the built numbrook-sheet with the arguments.
inline Outcome RunSheet(const std::string& arguments, const std::string& environment = "") {
  return RunProgram(NUMBROOK_SHEET_PROGRAM, arguments, environment);
}

}  // namespace numbrook::testing
