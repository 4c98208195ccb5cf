#pragma once

#include "cli/sheet_options.h"

namespace numbrook {

// Makes the sheets the options ask for (each with its answer key when asked),
// prints each path on its own line as it is written, and returns the exit
// status: 0 when all were written, 1 when one could not be (the sheets
// already complete stay), 2 when the settings cannot give that many
// different problems, kOpenFailed when every sheet was written but --open
// could not hand one to the desktop.
inline constexpr int kOpenFailed = 3;
int MakeSheets(const SheetOptions& options);

}  // namespace numbrook
