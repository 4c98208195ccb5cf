#pragma once

#include <filesystem>

namespace numbrook {

// A worksheet file on its way to its final name. It is made as a new hidden
// file in the destination folder (created exclusively, never through a
// link), written there, and renamed over the final name only when complete.
// Until then an older file of the final name stays as it was; a file that is
// never committed is removed, so nothing partial is left or reported.
class PendingFile {
 public:
  // Refuses a final name that is a folder, FIFO, device or socket, and a
  // folder where no file can be made. Throws ExportError naming the file or
  // the folder and the reason.
  explicit PendingFile(std::filesystem::path finalPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::filesystem::path& FinalPath() const { return finalPath_; }
  const std::filesystem::path& WorkingPath() const { return workingPath_; }
  // The hidden file, open for writing.
  int Descriptor() const { return descriptor_; }

  // Flushes the file to the disk and puts it in place over the final name.
  // A link at the final name is replaced, not written through.
  void Commit();

  // From here on, a SIGINT, SIGTERM or SIGHUP removes the hidden file of
  // the pending file of the moment before the process ends, as at a failure.
  static void RemoveOnTerminationSignals();

 private:
  std::filesystem::path finalPath_;
  std::filesystem::path workingPath_;
  int descriptor_ = -1;
  bool committed_ = false;
};

}  // namespace numbrook
