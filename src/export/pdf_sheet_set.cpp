#include "export/pdf_sheet_set.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "export/pdf_worksheet.h"
#include "export/sheet_walk.h"

namespace numbrook {

PdfSheetSet::PdfSheetSet(std::filesystem::path file) : target_(std::move(file)), document_(target_) {}

bool PdfSheetSet::Add(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                      const Progress& progress) {
  PdfWorksheetWriter writer(document_, settings, table, kind);
  return WriteSheet(writer, settings, table, kind, progress);
}

void PdfSheetSet::Commit() {
  document_.Close();
  target_.Commit();
}

void PdfSheetSet::Finish() {
  document_.Close();
  if (fsync(target_.Descriptor()) != 0) {
    throw ExportError("无法写完文件“" + target_.FinalPath().string() + "”：" + std::strerror(errno));
  }
}

void PdfSheetSet::Place() { target_.Place(); }

}  // namespace numbrook
