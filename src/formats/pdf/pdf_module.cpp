// The entry point of numbrook-pdf.so. The module holds the PDF writer
// only: the layers below it (names, files, errors, sheets) are the
// program's own, resolved against the program that loads it.
#include "formats/pdf/pdf_file.h"
#include "formats/pdf/pdf_sheets.h"

extern "C" __attribute__((visibility("default"))) numbrook::PdfSheets* numbrook_new_pdf_sheets(
    const std::filesystem::path& file, bool twoSided) {
  return new numbrook::PdfFile(file, twoSided);
}
