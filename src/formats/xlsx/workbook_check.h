#pragma once

#include <filesystem>

#include "files/pending_file.h"

namespace numbrook {

// Reads a workbook just written back as a reader would, before it is named:
// the zip's directory, every part inflated whole against its checksum, every
// XML part ending with the end tag of its root element, and the parts a
// workbook cannot do without. The spreadsheet library does not notice when
// a write to its scratch files falls short (a full memory file system, the
// file size limit); this does. Throws ExportError naming the file and, as
// near as it can be told, the reason.
void CheckWrittenWorkbook(const PendingFile& target, const std::filesystem::path& scratch);

}  // namespace numbrook
