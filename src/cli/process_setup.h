#pragma once

#include <cstdio>

namespace numbrook {

// What numbrook-sheet sets for its whole process before it runs: its own
// messages go to the standard error it was started with, and everything the
// libraries print (in English, raw) to /dev/null; the termination signals
// remove what the run was writing; the process may open as many files as the
// system allows; a write past the file size limit fails instead of killing.
void SetUpSheetProcess();

// Where numbrook-sheet tells the user what happened.
std::FILE* UserMessages();

// Parts of the above that the window's process wants too.
void KeepTheHeap();
void RaiseOpenFileLimit();
void IgnoreFileSizeSignal();

}  // namespace numbrook
