#pragma once

#include <filesystem>

#include "export/pdf_document.h"
#include "export/pending_file.h"
#include "export/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"

namespace numbrook {

// One PDF file of one or many sheets, as a class set is printed: each sheet
// starts on an odd page, in the order added. The file appears at its name,
// replacing an older one, only when committed complete. Every failure
// throws ExportError naming the file and the reason.
class PdfSheetSet {
 public:
  explicit PdfSheetSet(std::filesystem::path file);

  // Appends the sheet of this table. The progress yields once per line and
  // once per problem and counts the problems; false when it abandons the
  // sheet, and the set is then to be dropped.
  bool Add(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
           const Progress& progress = {});

  void Commit();

  // Commit in two steps, for files that are named together: the document
  // completed and flushed to the disk, then put in place.
  void Finish();
  void Place();

  const std::filesystem::path& File() const { return target_.FinalPath(); }

 private:
  PendingFile target_;
  PdfDocument document_;
};

}  // namespace numbrook
