#pragma once

#include <filesystem>
#include <memory>

#include "files/pending_file.h"
#include "formats/pdf/pdf_document.h"
#include "formats/pdf/pdf_sheets.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"
#include "sheet/worksheet_writer.h"

namespace numbrook {

// One PDF file of one or many sheets, in the order added, written into a
// pending file that gets its name only when the caller places it. Every
// failure throws ExportError naming the file and the reason.
class PdfFile final : public PdfSheets {
 public:
  // Two-sided: every sheet starts on an odd page, so that no leaf holds
  // the end of one sheet and the start of the next.
  PdfFile(std::filesystem::path file, bool twoSided);

  // Appends the sheet of this table. The progress yields once per line and
  // once per problem and counts the problems; not complete when it abandons
  // the sheet, and the file is then to be dropped.
  SheetWritten Add(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                   const Progress& progress = {}) override;

  // Writes the rest of the document and hands over the complete file.
  std::unique_ptr<PendingFile> Close() override;

 private:
  std::unique_ptr<PendingFile> target_;
  std::unique_ptr<PdfDocument> document_;
};

}  // namespace numbrook
