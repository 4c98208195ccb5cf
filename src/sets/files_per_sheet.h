#pragma once

#include <memory>
#include <vector>

#include "files/scratch_folder.h"

#include "sets/set_output.h"

namespace numbrook {

// A text file or a workbook for each sheet, and one for its key. Written
// files stay open without a name until they are placed: all of them at the
// end, or the pairs so far when the process could not open more files.
class FilesPerSheet final : public SetOutput {
 public:
  // The names of every sheet of the run, in order.
  FilesPerSheet(std::vector<SheetNames> names, SheetKind kind);

  SheetWritten Add(int number, const GenerationSettings& sheet, const ProblemTable& table,
           const Progress& progress) override;
  std::vector<PendingPair> TakeReady(bool end) override;

 private:
  std::vector<SheetNames> names_;
  SheetKind kind_;
  std::unique_ptr<ScratchFolder> scratch_;  // made for the first workbook
  std::vector<PendingPair> written_;
  std::size_t openFiles_ = 0;
  std::size_t budget_;
};

// Writes one sheet of a text file or a workbook into the pending file,
// line by line; a workbook's scratch files go into the scratch folder. Not
// complete when the progress abandoned it; throws ExportError.
SheetWritten WriteSheetFile(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                            const Progress& progress, const PendingFile& target, const std::filesystem::path& scratch);

}  // namespace numbrook
