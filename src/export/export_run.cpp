#include "export/export_run.h"

#include <memory>

#include "export/excel_worksheet.h"
#include "export/output_file.h"
#include "export/pending_file.h"
#include "export/text_worksheet.h"

namespace numbrook {
namespace {

std::unique_ptr<WorksheetWriter> MakeWriter(const PendingFile& target, const GenerationSettings& settings,
                                            ProblemTable& table, SheetKind kind) {
  if (settings.ExportFormat == kExportText) return std::make_unique<TextWorksheetWriter>(target, settings, table, kind);
  return std::make_unique<ExcelWorksheetWriter>(target, settings, table, kind);
}

// Walks the table in lines of PerRow problems; false when abandoned.
bool WriteLines(WorksheetWriter& writer, const GenerationSettings& settings, const Progress& progress) {
  int problem = 0;
  while (problem < settings.ProblemCount) {
    if (!progress.Yield()) return false;
    writer.StartLine();
    for (int position = 1; position <= settings.PerRow && problem < settings.ProblemCount; ++position) {
      if (!progress.Yield()) return false;
      writer.WriteProblem(position, problem);
      ++problem;
      progress.Count(problem);
    }
    writer.EndLine();
  }
  return true;
}

}  // namespace

bool WriteWorksheet(const GenerationSettings& pupilSettings, ProblemTable& table, const Progress& progress,
                    const PendingFile& target, SheetKind kind) {
  GenerationSettings settings = pupilSettings;
  if (kind == SheetKind::AnswerKey) settings.Description += "（答案）";
  std::unique_ptr<WorksheetWriter> writer = MakeWriter(target, settings, table, kind);
  writer->Open();
  if (!WriteLines(*writer, settings, progress)) return false;
  writer->Finish();
  return true;
}

ExportResult RunExport(const GenerationSettings& settings, ProblemTable& table, const Progress& progress,
                       const std::optional<std::filesystem::path>& outputFile, SheetKind kind) {
  std::filesystem::path file;
  try {
    file = outputFile ? *outputFile : OutputFileNameNow(settings.KindText, settings.ExportFormat);
    if (settings.ExportFormat == kExportExcel && !CheckExcel()) return {ExportOutcome::ExcelMissing, file, {}};

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
