#pragma once

#include <filesystem>

#include "files/signal_cleanup.h"

namespace numbrook {

// A folder of the run's own for a library's temporary files: in the user's
// memory file system ($XDG_RUNTIME_DIR, else /dev/shm) when it has room for
// the largest sheet's, else hidden beside the sheets, where a full disk is
// the sheets' own. Removed with its files when the object goes; one left by
// a kill is removed by the next run (see stale_files.h).
class ScratchFolder {
 public:
  // Throws ExportError naming the folder and the reason.
  explicit ScratchFolder(const std::filesystem::path& besideSheets);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;  // held locked while the folder is ours
  RemovedOnSignal removed_;
};

// Removes the scratch folders killed runs left in the memory file systems,
// whatever the next run writes.
void RemoveStaleScratchFolders();

}  // namespace numbrook
