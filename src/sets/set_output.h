#pragma once

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/pair_placement.h"
#include "sheet/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"

namespace numbrook {

// The names one pupil's sheet is written to: the sheet, and its answer key
// when the run makes keys.
struct SheetNames {
  std::filesystem::path sheet;
  std::optional<std::filesystem::path> key;
};

// What became of one pupil's sheet and key: written to the end (with what
// the format printed otherwise than asked), abandoned by the progress, or
// stopped by a failure.
struct SheetDone {
  int number = 0;
  SheetWritten written;
  std::optional<std::string> error;  // an ExportError's message: the file and the reason
  std::exception_ptr fault;          // anything else thrown, thrown again by the run
};

// Where the drawn sheets of a run are written: a file (and a key) for each
// sheet, or one PDF of all sheets (and one of all keys). Written files wait
// without a name until the run places them, pair by pair.
class SetOutput {
 public:
  virtual ~SetOutput() = default;

  // Writes pupil `number`'s sheet (1 first, added in order), and its key
  // when the run makes keys, from the drawn table: at once, or on a worker
  // while the run draws the next. The progress only yields there. Throws
  // ExportError for what fails before the writing starts.
  virtual void Add(int number, const GenerationSettings& sheet, ProblemTable table, const Progress& progress) = 0;

  // What became of the sheets added, in order, from the first not told
  // before up to the first still being written; with `all`, after waiting
  // for every one.
  virtual std::vector<SheetDone> Finished(bool all) = 0;

  // Gives up the sheets still being written, and waits until they are.
  virtual void Stop() {}

  // The written pairs to be placed now, in order and up to the first sheet
  // that was not written: those that would keep too many files open, or,
  // at the end of the run, all that are left.
  virtual std::vector<PendingPair> TakeReady(bool end) = 0;
};

}  // namespace numbrook
