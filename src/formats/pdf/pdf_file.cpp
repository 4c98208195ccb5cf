#include "formats/pdf/pdf_file.h"

#include "formats/pdf/pdf_worksheet.h"
#include "sheet/sheet_walk.h"

namespace numbrook {

PdfFile::PdfFile(std::filesystem::path file, bool twoSided)
    : target_(std::make_unique<PendingFile>(std::move(file))),
      document_(std::make_unique<PdfDocument>(*target_, twoSided)) {}

SheetWritten PdfFile::Add(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                  const Progress& progress) {
  PdfWorksheetWriter writer(*document_, settings);
  return WriteSheet(writer, settings, table, kind, progress);
}

std::unique_ptr<PendingFile> PdfFile::Close() {
  document_->Close();
  document_.reset();
  return std::move(target_);
}

}  // namespace numbrook
