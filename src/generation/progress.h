#pragma once

#include <functional>

namespace numbrook {

// How a long run reports to its front end while it works: generation and
// export alike. What the run came to is its returned result, not a call.
// A class set's workers call `yield` from their own threads, at once with
// the run's: it must be safe to call from any thread. The counts come from
// the run's own thread.
struct Progress {
  std::function<bool()> yield;           // lets the front end's events run; false abandons the run
  std::function<void(int done)> counted;  // how many problems of the sheet are done so far
  std::function<void(int done)> sheetsDone;  // how many sheets of a set are done so far

  bool Yield() const { return !yield || yield(); }
  void Count(int done) const {
    if (counted) counted(done);
  }
  void CountSheet(int done) const {
    if (sheetsDone) sheetsDone(done);
  }
};

}  // namespace numbrook
