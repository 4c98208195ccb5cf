#include "export/export_run.h"

#include <memory>

#include "export/excel_worksheet.h"
#include "export/output_file.h"
#include "export/pdf_sheet_set.h"
#include "export/pending_file.h"
#include "export/sheet_walk.h"
#include "export/text_worksheet.h"

namespace numbrook {
namespace {

std::unique_ptr<WorksheetWriter> MakeWriter(const PendingFile& target, const GenerationSettings& settings,
                                            SheetKind kind) {
  if (settings.ExportFormat == kExportText) return std::make_unique<TextWorksheetWriter>(target, settings);
  return std::make_unique<ExcelWorksheetWriter>(target, settings, kind);
}

// One sheet as a PDF of its own.
bool WritePdf(const std::filesystem::path& file, const GenerationSettings& settings, const ProblemTable& table,
              SheetKind kind, const Progress& progress) {
  PdfSheetSet set(file);
  if (!set.Add(settings, table, kind, progress)) return false;
  set.Commit();
  return true;
}

}  // namespace

bool WriteWorksheet(const GenerationSettings& settings, const ProblemTable& table, const Progress& progress,
                    const PendingFile& target, SheetKind kind) {
  std::unique_ptr<WorksheetWriter> writer = MakeWriter(target, settings, kind);
  return WriteSheet(*writer, settings, table, kind, progress);
}

ExportResult RunExport(const GenerationSettings& settings, const ProblemTable& table, const Progress& progress,
                       const std::optional<std::filesystem::path>& outputFile, SheetKind kind) {
  std::filesystem::path file;
  try {
    file = outputFile ? *outputFile : OutputFileNameNow(settings.KindText, settings.ExportFormat);
    if (settings.ExportFormat == kExportExcel && !CheckExcel()) return {ExportOutcome::ExcelMissing, file, {}};
    if (settings.ExportFormat == kExportPdf) {
      if (!WritePdf(file, settings, table, kind, progress)) return {ExportOutcome::Abandoned, file, {}};
      return {ExportOutcome::Written, file, {}};
    }

    // An older file of this name is replaced only by a complete new one.
    PendingFile target(file);
    if (!WriteWorksheet(settings, table, progress, target, kind)) return {ExportOutcome::Abandoned, file, {}};
    target.Commit();
  } catch (const ExportError& error) {
    return {ExportOutcome::Failed, file, error.what()};
  }
  return {ExportOutcome::Written, file, {}};
}

}  // namespace numbrook
