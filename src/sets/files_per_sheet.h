#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "files/scratch_folder.h"

#include "sets/set_output.h"

namespace numbrook {

// A text file or a workbook for each sheet, and one for its key, written by
// workers, one pupil's pair each, while the run draws the next sheets.
// Written files stay open without a name until they are placed, in order:
// all of them at the end, or the pairs so far when the process could not
// open more files.
class FilesPerSheet final : public SetOutput {
 public:
  // The names of every sheet of the run, in order; no workers: each sheet
  // is written on the run's own thread as it is added.
  FilesPerSheet(std::vector<SheetNames> names, SheetKind kind, int workers);
  ~FilesPerSheet() override;

  void Add(int number, const GenerationSettings& sheet, ProblemTable table, const Progress& progress) override;
  std::vector<SheetDone> Finished(bool all) override;
  void Stop() override;
  std::vector<PendingPair> TakeReady(bool end) override;

 private:
  struct Slot {
    bool finished = false;
    bool told = false, taken = false;  // gone when both
    SheetDone done;
    PendingPair pair;
  };

  void Write(int number, const GenerationSettings& sheet, const ProblemTable& table, const Progress& progress);
  void Work();
  std::size_t FilesOf(int number) const;
  bool Written(const Slot& slot) const { return slot.finished && slot.done.written && !slot.done.error && !slot.done.fault; }

  std::vector<SheetNames> names_;
  SheetKind kind_;
  std::unique_ptr<ScratchFolder> scratch_;  // made for the first workbook, before any worker uses it
  std::size_t budget_;
  std::size_t mostUnderWay_;  // sheets added and not yet finished

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> jobs_;
  std::map<int, Slot> slots_;  // by number, from the first not yet told or taken
  int nextTold_ = 1;           // the first sheet Finished has not told
  int nextTaken_ = 1;          // the first sheet TakeReady has not taken
  std::size_t underWay_ = 0;
  std::size_t openFiles_ = 0;  // of the sheets added and not taken
  bool closing_ = false;
  std::atomic<bool> givenUp_{false};
  std::vector<std::thread> workers_;
};

// How many workers a class set of this many sheets gets: one per core the
// process may run on, no more than there are sheets.
int SheetWorkerCount(int sheets);

// Writes one sheet of a text file or a workbook into the pending file,
// line by line; a workbook's scratch files go into the scratch folder. Not
// complete when the progress abandoned it; throws ExportError.
SheetWritten WriteSheetFile(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                            const Progress& progress, const PendingFile& target, const std::filesystem::path& scratch);

}  // namespace numbrook
