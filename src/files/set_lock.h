#pragma once

#include <filesystem>

#include "files/signal_cleanup.h"

namespace numbrook {

// One run at a time writes a set of files: an exclusive lock (flock) on a
// hidden file beside them named after the set (".numbrook-口算.XLS.lock").
// A second run for the same set does not wait on the first: it is refused,
// so that no two runs report the same files as theirs. The lock file is
// removed when the run ends (by a termination signal too); one left by a
// kill is taken over by the next run of the set, or removed by any run in
// the folder a day later.
class SetLock {
 public:
  // Throws ExportError naming the set when another run holds it, or naming
  // the folder when no lock file can be made there.
  explicit SetLock(const std::filesystem::path& setName);
  ~SetLock();
  SetLock(const SetLock&) = delete;
  SetLock& operator=(const SetLock&) = delete;

  // The lock file's name for a set.
  static std::filesystem::path LockFileOf(const std::filesystem::path& setName);

 private:
  std::filesystem::path lockFile_;
  int descriptor_ = -1;
  RemovedOnSignal removed_;
};

}  // namespace numbrook
