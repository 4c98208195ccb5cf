#pragma once

#include "sheet/sheet_layout.h"
#include "sheet/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"

namespace numbrook {

// Lays the sheet out as the writer pages it and drives the writer through
// it line by line: open, each line's start, problems and end, finish. The
// progress yields once per line and once per problem and counts the
// problems written. Not complete when the progress abandons the sheet.
SheetWritten WriteSheet(WorksheetWriter& writer, const GenerationSettings& settings, const ProblemTable& table,
                SheetKind kind, const Progress& progress);

}  // namespace numbrook
