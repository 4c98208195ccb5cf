#pragma once

// One drawn table written as one sheet at a chosen path, in any format:
// the writers and the safe placing of a real run, without its drawing, so
// that a test can give the exact problems.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/export_error.h"
#include "files/pair_placement.h"
#include "files/scratch_folder.h"
#include "formats/pdf/pdf_file.h"
#include "formats/xlsx/excel_worksheet.h"
#include "sets/class_set.h"
#include "sets/files_per_sheet.h"

namespace numbrook {

enum class ExportOutcome { Written, ExcelMissing, Failed, Abandoned };

struct ExportResult {
  ExportOutcome outcome;
  std::filesystem::path file;
  std::string error;
  std::vector<std::string> notices;  // what the format printed otherwise than asked
};

inline ExportResult RunExport(const GenerationSettings& settings, const ProblemTable& table,
                              const Progress& progress, const std::filesystem::path& file,
                              SheetKind kind = SheetKind::Pupil) {
  SheetWritten written;
  try {
    if (settings.ExportFormat == FileFormat::Excel && !CheckExcel()) return {ExportOutcome::ExcelMissing, file, {}, {}};
    std::vector<PendingPair> pairs(1);
    pairs.front().sheetKind = kind;
    if (settings.ExportFormat == FileFormat::Pdf) {
      PdfFile pdf(file, settings.TwoSided);
      written = pdf.Add(settings, table, kind, progress);
      if (!written) return {ExportOutcome::Abandoned, file, {}, {}};
      pairs.front().sheet = pdf.Close();
    } else {
      const ScratchFolder scratch(FolderOf(file));
      pairs.front().sheet = std::make_unique<PendingFile>(file);
      written = WriteSheetFile(settings, table, kind, progress, *pairs.front().sheet, scratch.Path());
      if (!written) {
        return {ExportOutcome::Abandoned, file, {}, {}};
      }
    }
    const PlacementResult placed = PlacePairs(pairs, FolderOf(file));
    if (placed.error) return {ExportOutcome::Failed, file, *placed.error, {}};
  } catch (const ExportError& error) {
    return {ExportOutcome::Failed, file, error.what(), {}};
  }
  return {ExportOutcome::Written, file, {}, written.notices};
}

}  // namespace numbrook
