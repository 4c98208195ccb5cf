#include "export/export_run.h"

#include <memory>

#include "export/excel_worksheet.h"
#include "export/output_file.h"
#include "export/pending_file.h"
#include "export/text_worksheet.h"

namespace numbrook {
namespace {

template <typename F, typename... Args>
void Call(const std::function<F>& hook, Args&&... args) {
  if (hook) hook(std::forward<Args>(args)...);
}

bool Yield(const ExportHooks& hooks) { return !hooks.yield || hooks.yield(); }

std::unique_ptr<WorksheetWriter> MakeWriter(const PendingFile& target, const GenerationSettings& settings,
                                            ProblemTable& table) {
  if (settings.ExportFormat == kExportText) return std::make_unique<TextWorksheetWriter>(target, settings, table);
  return std::make_unique<ExcelWorksheetWriter>(target, settings, table);
}

// Walks the table in lines of PerRow problems; false when abandoned.
bool WriteLines(WorksheetWriter& writer, const GenerationSettings& settings, const ExportHooks& hooks) {
  int problem = 0;
  while (problem < settings.ProblemCount) {
    if (!Yield(hooks)) return false;
    writer.StartLine();
    for (int position = 1; position <= settings.PerRow && problem < settings.ProblemCount; ++position) {
      if (!Yield(hooks)) return false;
      writer.AddProblem(position, problem);
      ++problem;
      Call(hooks.problemWritten, problem);
    }
    writer.EndLine();
  }
  return true;
}

}  // namespace

ExportResult RunExport(const GenerationSettings& settings, ProblemTable& table, const ExportHooks& hooks,
                       const std::optional<std::filesystem::path>& outputFile) {
  Call(hooks.busyPointer, false);
  std::filesystem::path file;
  try {
    file = outputFile ? *outputFile : OutputFileNameNow(settings.KindText, settings.ExportFormat);
    if (settings.ExportFormat == kExportExcel && !CheckExcel()) {
      Call(hooks.excelMissing);
      Call(hooks.restoreWindow);
      return {ExportOutcome::ExcelMissing, file, {}};
    }

    // An older file of this name is replaced only by a complete new one.
    PendingFile target(file);
    std::unique_ptr<WorksheetWriter> writer = MakeWriter(target, settings, table);
    writer->Open();
    Call(hooks.busyPointer, true);
    if (!WriteLines(*writer, settings, hooks)) return {ExportOutcome::Abandoned, file, {}};
    writer->Finish();
    target.Commit();
  } catch (const ExportError& error) {
    Call(hooks.busyPointer, false);
    Call(hooks.failed, std::string(error.what()));
    Call(hooks.restoreWindow);
    return {ExportOutcome::Failed, file, error.what()};
  }

  Call(hooks.restoreWindow);
  Call(hooks.open, file);
  return {ExportOutcome::Written, file, {}};
}

}  // namespace numbrook
