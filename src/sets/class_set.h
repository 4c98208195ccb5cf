#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/pair_placement.h"
#include "generation/progress.h"
#include "generation/run_request.h"

namespace numbrook {

// What the user is told when the spreadsheet writer cannot run.
inline constexpr const char* kExcelMissingMessage = "对不起，无法检测到EXCEL安装，请重新检查EXCEL是否被正确安装！";

// One sheet, or a class set of numbered sheets, as either front end asks
// for it.
struct SheetSetRequest {
  RunRequest request;        // its seed is the first sheet's; none: from the time of day
  std::optional<int> sheets;  // a class set of 1..kMostSheets numbered sheets; none: one sheet
  bool answers = false;       // an answer key beside each sheet
  bool distinct = false;      // no problem twice on a sheet
  std::optional<std::filesystem::path> output;  // the user's chosen path
  std::filesystem::path folder;  // where the default name goes; empty: the current folder
};

enum class SheetSetOutcome {
  Written,        // every file is in place
  TooFewDifferent,  // distinct: the settings give only `different` problems; 0: an operation gives none
  Failed,         // `error` names the file and the reason
  Abandoned,      // the progress stopped the run
  ExcelMissing,   // the spreadsheet writer cannot run here
};

struct SheetSetResult {
  SheetSetOutcome outcome = SheetSetOutcome::Written;
  // The files in place, in order (a sheet before its key), also when the
  // run stopped: the groups finished before a failure stay.
  std::vector<PlacedFile> placed;
  std::size_t different = 0;   // for TooFewDifferent
  std::string error;           // for Failed
  std::uint64_t firstSeed = 0;  // the seed of the first sheet
  // What the sheets print otherwise than asked, each said once.
  std::vector<std::string> notices;
};

// The seed of sheet `number` (1-based) of a set started from `first`: the
// first itself for a single sheet, a mix of the two for a class set, so
// that sets from different starts share no sheet. A sheet shows its seed,
// and a single run with it makes that sheet again.
std::uint64_t SheetSeed(std::uint64_t first, int number, bool numbered);

// What the user is told when distinct problems run short.
std::string TooFewDifferentMessage(std::size_t different, int asked);

// What a finished run hands to the desktop: one pupil's file (a single
// sheet, or all sheets in one PDF) itself; many files as their folder, where
// the numbered names stand side by side, ready to be printed together. None
// when no pupil's file was placed.
std::optional<std::filesystem::path> WhatToOpen(const std::vector<PlacedFile>& placed);

// Draws and writes the sheets (a PDF set as one file of all sheets and
// one of all keys): refuses distinct settings that cannot give
// enough different problems, names the files (the chosen path or the
// default name in the folder, numbered for a class set, "答案" for keys),
// writes them under the set's lock and puts them in place complete.
// The progress yields while drawing and writing (false abandons the run)
// and counts the sheets done.
SheetSetResult MakeSheetSet(const SheetSetRequest& request, const Progress& progress = {});

}  // namespace numbrook
