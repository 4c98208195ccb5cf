#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/progress.h"
#include "export/pending_file.h"
#include "export/worksheet_writer.h"

namespace numbrook {

// What the user is told when the spreadsheet writer cannot run.
inline constexpr const char* kExcelMissingMessage = "对不起，无法检测到EXCEL安装，请重新检查EXCEL是否被正确安装！";

enum class ExportOutcome { Written, ExcelMissing, Failed, Abandoned };

struct ExportResult {
  ExportOutcome outcome;
  std::filesystem::path file;
  std::string error;
};

// The second half of Start: names the file (or takes the given one), writes
// the worksheet of the chosen format line by line into a new file beside it,
// and puts that in place of any older file of the name when it is complete.
// A file that could not be written completely is removed, and the older
// file stays.
// The progress yields once per line and once per problem and counts the
// problems written. The front end shows the outcome: a message for
// ExcelMissing and Failed (whose error names the file and the reason), and
// the desktop's open for Written.
// An answer key's description ends in "（答案）". The table is only read.
ExportResult RunExport(const GenerationSettings& settings, const ProblemTable& table, const Progress& progress,
                       const std::optional<std::filesystem::path>& outputFile = std::nullopt,
                       SheetKind kind = SheetKind::Pupil);

// The writing alone: the worksheet of the chosen format, line by line, into
// the pending file, which is left for the caller to put in place. False
// when the progress abandoned the run; throws ExportError on a failure.
bool WriteWorksheet(const GenerationSettings& settings, const ProblemTable& table, const Progress& progress,
                    const PendingFile& target, SheetKind kind);

}  // namespace numbrook
