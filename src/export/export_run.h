#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"

namespace numbrook {

// What the front end does while the worksheet is written.
struct ExportHooks {
  std::function<bool()> yield;                      // false abandons the run
  std::function<void(int written)> problemWritten;  // the count field
  std::function<void(bool busy)> busyPointer;
  std::function<void()> restoreWindow;
  std::function<void()> excelMissing;               // before the window is restored
  std::function<void(const std::string& message)> failed;  // likewise
  std::function<void(const std::filesystem::path&)> open;
};

enum class ExportOutcome { Written, ExcelMissing, Failed, Abandoned };

struct ExportResult {
  ExportOutcome outcome;
  std::filesystem::path file;
  std::string error;
};

// The second half of Start: names the file (or takes the given one), writes
// the worksheet of the chosen format line by line into a new file beside it,
// puts that in place of any older file of the name when it is complete,
// restores the window and opens the file. A file that could not be written
// completely is reported, removed and never opened; the older file stays.
ExportResult RunExport(const GenerationSettings& settings, ProblemTable& table, const ExportHooks& hooks,
                       const std::optional<std::filesystem::path>& outputFile = std::nullopt);

}  // namespace numbrook
