#pragma once

#include <filesystem>
#include <memory>

#include "files/pending_file.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"
#include "sheet/worksheet_writer.h"

namespace numbrook {

// One PDF file of sheets, as a run sees it: the PDF writer lives in a
// module of its own (numbrook-pdf.so), so that a text or workbook run never
// loads pango, cairo and fontconfig. Every failure throws ExportError
// naming the file and the reason.
class PdfSheets {
 public:
  virtual ~PdfSheets() = default;

  // Appends the sheet of this table. Not complete when the progress
  // abandons it, and the file is then to be dropped.
  virtual SheetWritten Add(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                           const Progress& progress) = 0;

  // Writes the rest of the document and hands over the complete file.
  virtual std::unique_ptr<PendingFile> Close() = 0;
};

}  // namespace numbrook

// The module's one entry point, found by this name: a new PDF file at
// `file` (two-sided: every sheet starts on an odd page). The caller owns
// the result. Throws ExportError.
extern "C" numbrook::PdfSheets* numbrook_new_pdf_sheets(const std::filesystem::path& file, bool twoSided);
using NewPdfSheetsFunction = decltype(&numbrook_new_pdf_sheets);
inline constexpr const char* kNewPdfSheetsSymbol = "numbrook_new_pdf_sheets";
