#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/pending_file.h"
#include "generation/run_request.h"

namespace numbrook {

// A pupil's sheet and its answer key (none when the run makes no keys),
// written complete and waiting to be named together.
struct PendingPair {
  std::unique_ptr<PendingFile> sheet;
  SheetKind sheetKind = SheetKind::Pupil;
  std::unique_ptr<PendingFile> key;
};

// A file in place: where it is and what it shows.
struct PlacedFile {
  std::filesystem::path file;
  SheetKind kind;
};

struct PlacementResult {
  std::vector<PlacedFile> placed;     // in order, a sheet before its key
  std::optional<std::string> error;  // the failure that stopped the placing
};

// Flushes every file of the pairs to the disk, then names the pairs in
// order, each whole, and flushes the folder once when there were several.
// A pupil's sheet placed without a key takes away the older key of its
// name, which belongs to the sheet it replaces. The pairs are used up.
PlacementResult PlacePairs(std::vector<PendingPair>& pairs, const std::filesystem::path& folder);

}  // namespace numbrook
