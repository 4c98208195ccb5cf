#include "sets/files_per_sheet.h"

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <memory>

#include "files/export_error.h"
#include "files/signal_cleanup.h"
#include "formats/text/text_worksheet.h"
#include "formats/xlsx/excel_worksheet.h"
#include "sheet/sheet_walk.h"

namespace numbrook {
namespace {

// Descriptors kept free for the writers, the library's own files and the
// standard streams.
constexpr rlim_t kSpareDescriptors = 64;

// How many written files may wait open: all the process may open but a
// spare; under a low limit a quarter of it, and at least a sheet with its key.
std::size_t OpenFileBudget() {
  rlimit limit{};
  const rlim_t open = getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
  if (open > 2 * kSpareDescriptors) return static_cast<std::size_t>(open - kSpareDescriptors);
  return std::max<std::size_t>(static_cast<std::size_t>(open / 4), 2);
}

std::unique_ptr<WorksheetWriter> WriterFor(const GenerationSettings& settings, SheetKind kind,
                                           const PendingFile& target, const std::filesystem::path& scratch) {
  if (settings.ExportFormat == FileFormat::Text) return std::make_unique<TextWorksheetWriter>(target, settings);
  return std::make_unique<ExcelWorksheetWriter>(target, settings, kind, scratch);
}

}  // namespace

int SheetWorkerCount(int sheets) {
  cpu_set_t cores;
  const int count = sched_getaffinity(0, sizeof cores, &cores) == 0 ? CPU_COUNT(&cores) : 1;
  return std::clamp(count, 1, std::max(sheets, 1));
}

SheetWritten WriteSheetFile(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                            const Progress& progress, const PendingFile& target, const std::filesystem::path& scratch) {
  const std::unique_ptr<WorksheetWriter> writer = WriterFor(settings, kind, target, scratch);
  return WriteSheet(*writer, settings, table, kind, progress);
}

FilesPerSheet::FilesPerSheet(std::vector<SheetNames> names, SheetKind kind, int workers)
    : names_(std::move(names)), kind_(kind), budget_(OpenFileBudget()) {
  const std::size_t perPair = names_.empty() ? 1 : FilesOf(1);
  // Enough sheets under way to keep every worker busy, never more files
  // than may wait open.
  mostUnderWay_ = std::clamp<std::size_t>(2 * static_cast<std::size_t>(workers), 1, std::max<std::size_t>(budget_ / perPair, 1));
  // Started with the termination signals blocked, which they keep: a signal
  // is handled on the run's thread, never in the middle of a worker's step.
  const TerminationSignalsBlocked blocked;
  for (int k = 0; k < workers; ++k) workers_.emplace_back(&FilesPerSheet::Work, this);
}

FilesPerSheet::~FilesPerSheet() {
  givenUp_ = true;
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::size_t FilesPerSheet::FilesOf(int number) const {
  return names_.at(static_cast<std::size_t>(number - 1)).key ? 2 : 1;
}

void FilesPerSheet::Add(int number, const GenerationSettings& sheet, ProblemTable table, const Progress& progress) {
  if (sheet.ExportFormat == FileFormat::Excel && !scratch_) {
    scratch_ = std::make_unique<ScratchFolder>(FolderOf(names_.front().sheet));
  }
  std::unique_lock lock(mutex_);
  openFiles_ += FilesOf(number);
  slots_[number];
  if (workers_.empty()) {
    ++underWay_;
    lock.unlock();
    Write(number, sheet, table, progress);
    return;
  }
  changed_.wait(lock, [&] { return underWay_ < mostUnderWay_; });
  ++underWay_;
  // A worker only yields: the run's thread counts what it draws and the
  // sheets finished, so the front end hears one count at a time.
  Progress yieldOnly;
  yieldOnly.yield = [this, progress] { return !givenUp_ && progress.Yield(); };
  jobs_.push_back([this, number, sheet, table = std::move(table), yieldOnly] { Write(number, sheet, table, yieldOnly); });
  lock.unlock();
  changed_.notify_all();
}

// One pupil's sheet, then its key, each started on its way to the disk as
// soon as it is complete.
void FilesPerSheet::Write(int number, const GenerationSettings& sheet, const ProblemTable& table,
                          const Progress& progress) {
  const SheetNames& names = names_.at(static_cast<std::size_t>(number - 1));
  const std::filesystem::path scratch = scratch_ ? scratch_->Path() : std::filesystem::path();
  Slot slot;
  slot.done.number = number;
  slot.pair.sheetKind = kind_;
  try {
    slot.pair.sheet = std::make_unique<PendingFile>(names.sheet);
    slot.done.written = WriteSheetFile(sheet, table, kind_, progress, *slot.pair.sheet, scratch);
    if (slot.done.written) slot.pair.sheet->StartWriteback();
    // A key is laid out as its sheet, and says nothing new.
    if (slot.done.written && names.key) {
      slot.pair.key = std::make_unique<PendingFile>(*names.key);
      if (WriteSheetFile(sheet, table, SheetKind::AnswerKey, progress, *slot.pair.key, scratch)) {
        slot.pair.key->StartWriteback();
      } else {
        slot.done.written = {};
      }
    }
  } catch (const ExportError& error) {
    slot.done.error = error.what();
  } catch (...) {
    slot.done.fault = std::current_exception();
  }
  slot.finished = true;
  {
    const std::lock_guard lock(mutex_);
    slots_.at(number) = std::move(slot);
    --underWay_;
  }
  changed_.notify_all();
}

void FilesPerSheet::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [&] { return closing_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
  }
}

std::vector<SheetDone> FilesPerSheet::Finished(bool all) {
  std::unique_lock lock(mutex_);
  if (all) changed_.wait(lock, [&] { return underWay_ == 0; });
  std::vector<SheetDone> told;
  for (auto slot = slots_.find(nextTold_); slot != slots_.end() && slot->second.finished; slot = slots_.find(nextTold_)) {
    told.push_back(slot->second.done);
    slot->second.told = true;
    if (slot->second.taken) slots_.erase(slot);
    ++nextTold_;
  }
  return told;
}

void FilesPerSheet::Stop() {
  givenUp_ = true;
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return underWay_ == 0; });
}

std::vector<PendingPair> FilesPerSheet::TakeReady(bool end) {
  std::unique_lock lock(mutex_);
  // Room for the next sheet and its key, or the pairs so far are placed,
  // once those under way are written.
  if (!end && openFiles_ + 2 <= budget_) return {};
  changed_.wait(lock, [&] { return underWay_ == 0; });
  std::vector<PendingPair> ready;
  for (auto slot = slots_.find(nextTaken_); slot != slots_.end() && Written(slot->second); slot = slots_.find(nextTaken_)) {
    ready.push_back(std::move(slot->second.pair));
    openFiles_ -= FilesOf(nextTaken_);
    slot->second.taken = true;
    if (slot->second.told) slots_.erase(slot);
    ++nextTaken_;
  }
  return ready;
}

}  // namespace numbrook
