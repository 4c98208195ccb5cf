#include "cli/sheet_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "export/export_run.h"
#include "export/output_file.h"
#include "export/pending_file.h"
#include "generation/problem_generator.h"

extern char** environ;

namespace numbrook {
namespace {

// Hands the file to the desktop's program for its type.
void OpenWithDesktop(const std::filesystem::path& file) {
  const std::string path = file.string();
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
  pid_t child;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
    std::cerr << "numbrook-sheet: xdg-open is not available to open " << path << "\n";
    return;
  }
  int status;
  waitpid(child, &status, 0);
}

// Writes one sheet and prints its path.
bool Write(const GenerationSettings& settings, const ProblemTable& table, const std::filesystem::path& file,
           SheetKind kind, bool open) {
  const ExportResult result = RunExport(settings, table, Progress{}, file, kind);
  switch (result.outcome) {
    case ExportOutcome::Written:
      break;
    case ExportOutcome::ExcelMissing:
      std::cerr << "numbrook-sheet: " << kExcelMissingMessage << "\n";
      return false;
    case ExportOutcome::Failed:
    case ExportOutcome::Abandoned:
      std::cerr << "numbrook-sheet: " << result.error << "\n";
      return false;
  }
  std::cout << result.file.string() << "\n" << std::flush;
  // A caller that does not learn the path has not been served.
  if (!std::cout) {
    std::cerr << "numbrook-sheet: the worksheet " << result.file.string()
              << " was written, but its path could not be printed: " << std::strerror(errno) << "\n";
    return false;
  }
  if (open) OpenWithDesktop(result.file);
  return true;
}

}  // namespace

int MakeSheets(const SheetOptions& options) {
  const GenerationSettings settings = SetUpRun(options.request);
  if (options.distinct) {
    const std::size_t available = CountDistinctProblems(settings, static_cast<std::size_t>(settings.ProblemCount));
    if (available < static_cast<std::size_t>(settings.ProblemCount)) {
      std::cerr << "numbrook-sheet: these settings give only " << available << " different problems, fewer than the "
                << settings.ProblemCount << " asked for with --distinct; choose a wider range or fewer problems\n";
      return 2;
    }
  }

  const bool numbered = options.sheets.has_value();
  const int sheets = options.sheets.value_or(1);
  const std::uint64_t firstSeed = options.request.seed.value_or(SeedFromTimeOfDay());
  if (numbered && !options.request.seed) {
    std::cerr << "numbrook-sheet: made with --seed " << firstSeed << "; sheet k again with --seed " << firstSeed
              << "+k-1\n";
  }
  std::filesystem::path name;
  try {
    name = options.output ? *options.output : OutputFileNameNow(settings.KindText, settings.ExportFormat);
  } catch (const ExportError& error) {
    std::cerr << "numbrook-sheet: " << error.what() << "\n";
    return 1;
  }

  PendingFile::RemoveOnTerminationSignals();
  const bool showProgress = numbered && isatty(STDERR_FILENO);
  for (int k = 1; k <= sheets; ++k) {
    if (showProgress) std::cerr << "\rnumbrook-sheet: sheet " << k << " of " << sheets << std::flush;
    SeededRandom random(firstSeed + static_cast<std::uint64_t>(k - 1));
    ProblemTable table;
    if (!options.distinct) {
      GenerateProblems(settings, random, Progress{}, table);
    } else if (GenerateDistinctProblems(settings, random, Progress{}, table) != DistinctOutcome::Drawn) {
      std::cerr << "numbrook-sheet: no new problem came after many draws; choose a wider range or fewer problems\n";
      return 2;
    }

    const std::filesystem::path sheet = numbered ? NumberedName(name, k, sheets) : name;
    if (!Write(settings, table, sheet, options.request.sheet, options.open)) return 1;
    if (options.answers && !Write(settings, table, AnswerKeyName(sheet), SheetKind::AnswerKey, false)) return 1;
  }
  if (showProgress) std::cerr << "\n";
  return 0;
}

}  // namespace numbrook
