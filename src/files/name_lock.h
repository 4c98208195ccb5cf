#pragma once

#include <filesystem>
#include <vector>

#include "files/signal_cleanup.h"

namespace numbrook {

// One run at a time writes a name. Every folder a run writes into has one
// hidden lock file (".numbrook.lock"); for each name it will write (every
// sheet and key of a set) the run holds a write lock (an open file
// description lock) on one byte of that file, at a place the name stands
// for. A run that wants any name another run holds is refused at once, so
// no two runs report the same file as theirs; runs writing other names in
// the folder go on side by side. The last run to let go removes the file.
class NameLock {
 public:
  // Throws ExportError naming the first name another run holds, or naming
  // the lock file and the true reason when it cannot be used: a folder we
  // may not write, a FIFO, device or other file at its name.
  NameLock(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& names);
  ~NameLock();
  NameLock(const NameLock&) = delete;
  NameLock& operator=(const NameLock&) = delete;

  static constexpr const char* kFileName = ".numbrook.lock";

 private:
  std::filesystem::path lockFile_;
  int descriptor_ = -1;
  RemovedOnSignal removed_;
};

}  // namespace numbrook
