#pragma once

#include <filesystem>
#include <memory>

#include "formats/pdf/pdf_sheets.h"

namespace numbrook {

// The module's file name, beside the program in the build and in the
// installed program's library folder.
inline constexpr const char* kPdfModuleName = "numbrook-pdf.so";

// A new PDF file of sheets from the PDF writer, which is loaded the first
// time a run asks for one (and then kept for the process). Throws
// ExportError when the module cannot be loaded, naming it and the reason.
std::unique_ptr<PdfSheets> NewPdfSheets(const std::filesystem::path& file, bool twoSided);

}  // namespace numbrook
