#include "export/sheet_batch.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "export/output_file.h"
#include "export/signal_cleanup.h"

namespace numbrook {
namespace {

// Descriptors kept free for the writers, the library's own files and the
// standard streams.
constexpr rlim_t kSpareDescriptors = 64;

// Every written file stays open, without a name, until the batch puts it in
// place: as many as the system lets a process have.
rlim_t RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 1 << 16 : limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) return raised.rlim_cur;
  }
  return limit.rlim_cur;
}

// A chosen name is checked before anything is made beside it.
std::filesystem::path CheckedFolder(const std::filesystem::path& setName, int exportFormat, bool chosenName) {
  if (chosenName) CheckChosenName(setName, exportFormat);
  return FolderOf(setName);
}

}  // namespace

SheetBatch::SheetBatch(const std::filesystem::path& setName, int exportFormat, bool chosenName)
    : folder_(CheckedFolder(setName, exportFormat, chosenName)), lock_(setName) {
  const rlim_t limit = RaiseOpenFileLimit();
  // Under a low limit a quarter of it stays for the writers and the
  // library, and at least one sheet with its key may wait.
  budget_ = limit > 2 * kSpareDescriptors ? static_cast<std::size_t>(limit - kSpareDescriptors)
                                          : std::max<std::size_t>(static_cast<std::size_t>(limit / 4), 2);
}

ExportResult SheetBatch::WriteGroup(const GenerationSettings& settings, const ProblemTable& drawn,
                                    const std::vector<SheetJob>& jobs, const Progress& progress) {
  if (jobs.empty()) return {ExportOutcome::Written, {}, {}};
  if (settings.ExportFormat == kExportExcel && !excelChecked_) {
    if (!CheckExcel()) return {ExportOutcome::ExcelMissing, jobs.front().file, {}};
    excelChecked_ = true;
  }
  // Past what may stay open, the groups so far are put in place first.
  if (pendingFiles_ + jobs.size() > budget_) {
    if (std::optional<std::string> error = PlaceWritten()) return {ExportOutcome::Failed, jobs.front().file, *error};
  }
  Group group;
  for (const SheetJob& job : jobs) {
    try {
      auto target = std::make_unique<PendingFile>(job.file);
      if (!WriteWorksheet(settings, drawn, progress, *target, job.kind)) {
        return {ExportOutcome::Abandoned, job.file, {}};
      }
      group.push_back({job, std::move(target)});
    } catch (const ExportError& error) {
      return {ExportOutcome::Failed, job.file, error.what()};
    }
  }
  pendingFiles_ += group.size();
  if (!groups_.empty() || !placed_.empty()) manyGroups_ = true;
  groups_.push_back(std::move(group));
  return {ExportOutcome::Written, jobs.front().file, {}};
}

std::optional<std::string> SheetBatch::PlaceWritten() {
  if (groups_.empty()) return std::nullopt;
  std::optional<std::string> failure;
  // One flush for all: a few files each on their own, a set by its file
  // system in one call, instead of a wait on the disk for every file.
  const auto flushFailed = [&](const Written& written) {
    failure = "无法写完文件“" + written.job.file.string() + "”：" + std::strerror(errno);
  };
  if (pendingFiles_ <= 4) {
    for (const Group& group : groups_) {
      for (const Written& written : group) {
        if (!failure && fsync(written.target->Descriptor()) != 0) flushFailed(written);
      }
    }
  } else if (syncfs(groups_.front().front().target->Descriptor()) != 0) {
    flushFailed(groups_.front().front());
  }

  if (!failure) {
    const TerminationSignalsHeld held;  // a group is named whole
    for (Group& group : groups_) {
      try {
        // The sheet goes first and comes back last, so an older sheet never
        // stands beside this run's key, nor this sheet beside an older key.
        if (group.size() > 1) unlink(group.front().job.file.c_str());
        for (auto written = group.rbegin(); written != group.rend(); ++written) written->target->Place();
      } catch (const ExportError& error) {
        failure = error.what();
        break;
      }
      for (const Written& written : group) placed_.push_back(written.job);
    }
  }
  groups_.clear();
  pendingFiles_ = 0;

  // The new names of a set last a crash once the folder is on the disk.
  if (manyGroups_) {
    const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      fsync(folder);
      close(folder);
    }
  }
  return failure;
}

BatchResult SheetBatch::Finish() {
  std::optional<std::string> error = PlaceWritten();
  return {std::move(placed_), std::move(error)};
}

}  // namespace numbrook
