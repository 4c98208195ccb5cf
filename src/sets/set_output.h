#pragma once

#include <filesystem>
#include <optional>
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

// Where the drawn sheets of a run are written: a file (and a key) for each
// sheet, or one PDF of all sheets (and one of all keys). Written files wait
// without a name until the run places them, pair by pair.
class SetOutput {
 public:
  virtual ~SetOutput() = default;

  // Writes pupil `number`'s sheet (1 first), and its key when the run makes
  // keys, from the drawn table. Not complete when the progress abandoned
  // it; throws ExportError naming the file and the reason.
  virtual SheetWritten Add(int number, const GenerationSettings& sheet, const ProblemTable& table,
                   const Progress& progress) = 0;

  // The written pairs to be placed now, in order: those that would keep
  // too many files open, or, at the end of the run, all that are left.
  virtual std::vector<PendingPair> TakeReady(bool end) = 0;
};

}  // namespace numbrook
