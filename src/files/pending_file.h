#pragma once

#include <sys/stat.h>

#include <filesystem>

#include "files/signal_cleanup.h"

namespace numbrook {

// A worksheet file on its way to its final name. It is made without a name
// (O_TMPFILE) in the destination folder where the file system allows, else
// as a new hidden file there (created exclusively, never through a link),
// and is given the final name only when complete. Until then an older file
// of the final name stays as it was; a file that is never placed is
// removed, so nothing partial is left or reported.
class PendingFile {
 public:
  // Follows a link at the final name to decide: refuses a folder, FIFO,
  // device or socket, and a link into a process's open files (/dev/stdout);
  // an existing regular file lends its mode and group to the new file. A
  // folder where no file can be made is refused too. Throws ExportError
  // naming the file or the folder and the reason.
  explicit PendingFile(std::filesystem::path finalPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::filesystem::path& FinalPath() const { return finalPath_; }
  // A path that opens the file being written (/proc/self/fd/N for a file
  // without a name), for a library that writes by path.
  const std::filesystem::path& WorkingPath() const { return workingPath_; }
  // The file, open for writing.
  int Descriptor() const { return descriptor_; }

  // Flushes the file to the disk and puts it in place over the final name.
  // A link at the final name is replaced, not written through.
  void Commit();
  // Puts the file in place without flushing it: for a batch whose files
  // were flushed together.
  void Place();
  // Starts writing the file out to the disk and returns at once: the flush
  // of a batch then waits for less.
  void StartWriteback() const;

 private:
  void OpenUnnamed(const std::filesystem::path& folder);
  void OpenHidden(const std::filesystem::path& folder);
  void KeepOwnership(const struct ::stat& older);

  std::filesystem::path finalPath_;
  std::filesystem::path workingPath_;
  int descriptor_ = -1;
  bool unnamed_ = false;
  bool placed_ = false;
  RemovedOnSignal hiddenName_;  // the hidden name of the moment, if any
};

// The folder of a file, "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file);

}  // namespace numbrook
