#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/export_run.h"
#include "export/pending_file.h"
#include "export/set_lock.h"

namespace numbrook {

// One file of a group: where it goes and what it shows.
struct SheetJob {
  std::filesystem::path file;
  SheetKind kind;
};

// What a batch put in place, in the order the groups were written (a
// sheet before its key), and the failure that stopped it, if one did.
struct BatchResult {
  std::vector<SheetJob> placed;
  std::optional<std::string> error;
};

// A class set (or one sheet) written as one batch. Every file is written
// first without a name; then all are flushed to the disk in one step, put
// in place in order, and the folder is flushed once. A sheet and its answer
// key are a group that lands whole or not at all, so a sheet never stands
// beside another run's key. One run at a time writes a set (SetLock).
class SheetBatch {
 public:
  // Refuses a chosen name that contradicts the format or holds control
  // characters, then takes the set's lock. Throws ExportError.
  SheetBatch(const std::filesystem::path& setName, int exportFormat, bool chosenName);

  // Writes a group from the drawn table, each file from its own copy of it.
  // Written, or the outcome of the first file that failed; the files of a
  // group that failed are dropped, the groups before it are kept.
  ExportResult WriteGroup(const GenerationSettings& settings, const ProblemTable& drawn,
                          const std::vector<SheetJob>& jobs, const Progress& progress = {});

  // Puts every complete group in place and reports what is there.
  BatchResult Finish();

 private:
  struct Written {
    SheetJob job;
    std::unique_ptr<PendingFile> target;
  };
  using Group = std::vector<Written>;

  std::optional<std::string> PlaceWritten();

  std::filesystem::path folder_;
  SetLock lock_;
  std::vector<Group> groups_;
  std::size_t pendingFiles_ = 0;
  std::size_t budget_;
  bool excelChecked_ = false;
  bool manyGroups_ = false;
  std::vector<SheetJob> placed_;
};

}  // namespace numbrook
