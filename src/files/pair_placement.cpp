#include "files/pair_placement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "files/export_error.h"
#include "files/file_names.h"
#include "files/signal_cleanup.h"

namespace numbrook {
namespace {

// Our own files and nothing else: their writing is started for all of
// them first, then each is waited for. A flush of the whole file system
// (syncfs) would wait for every other program's unsaved data as well.
std::optional<std::string> Flush(const std::vector<PendingPair>& pairs) {
  std::vector<const PendingFile*> files;
  for (const PendingPair& pair : pairs) {
    files.push_back(pair.sheet.get());
    if (pair.key) files.push_back(pair.key.get());
  }
  if (files.size() > 1) {
    for (const PendingFile* file : files) file->StartWriteback();
  }
  for (const PendingFile* file : files) {
    if (fsync(file->Descriptor()) != 0) {
      return "无法写完文件“" + file->FinalPath().string() + "”：" + ReasonOf(errno);
    }
  }
  return std::nullopt;
}

}  // namespace

PlacementResult PlacePairs(std::vector<PendingPair>& pairs, const std::filesystem::path& folder) {
  PlacementResult result;
  if (pairs.empty()) return result;
  result.error = Flush(pairs);
  if (!result.error) {
    const TerminationSignalsHeld held;  // a pair is named whole
    for (PendingPair& pair : pairs) {
      try {
        // The older key goes first, the sheet replaces the older sheet in one
        // step, and its own key comes last: a kill between any two leaves
        // the pupil a whole sheet, with its own key or none, never another's.
        // A run without keys removes the older key too.
        if (pair.key || pair.sheetKind == SheetKind::Pupil) unlink(AnswerKeyName(pair.sheet->FinalPath()).c_str());
        pair.sheet->Place();
        if (pair.key) pair.key->Place();
      } catch (const ExportError& error) {
        result.error = error.what();
        break;
      }
      result.placed.push_back({pair.sheet->FinalPath(), pair.sheetKind});
      if (pair.key) result.placed.push_back({pair.key->FinalPath(), SheetKind::AnswerKey});
    }
  }
  // The new names of several pairs last a crash once the folder is on the disk.
  if (pairs.size() > 1) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
      fsync(descriptor);
      close(descriptor);
    }
  }
  pairs.clear();
  return result;
}

}  // namespace numbrook
