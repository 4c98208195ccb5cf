#include "cli/sheet_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <vector>

#include "export/export_run.h"
#include "export/output_file.h"
#include "export/sheet_set.h"

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

// Prints the paths of the files in place, in order, and opens the sheets
// when asked; false when a path could not be printed.
bool ShowPlaced(const std::vector<SheetJob>& placed, bool open) {
  for (const SheetJob& job : placed) {
    std::cout << job.file.string() << "\n" << std::flush;
    // A caller that does not learn the path has not been served.
    if (!std::cout) {
      std::cerr << "numbrook-sheet: the worksheet " << job.file.string()
                << " was written, but its path could not be printed: " << std::strerror(errno) << "\n";
      return false;
    }
    if (open && job.kind == SheetKind::Pupil) OpenWithDesktop(job.file);
  }
  return true;
}

}  // namespace

int MakeSheets(const SheetOptions& options) {
  SheetSetRequest request;
  request.request = options.request;
  request.sheets = options.sheets;
  request.answers = options.answers;
  request.distinct = options.distinct;
  request.output = options.output;

  const bool showProgress = options.sheets.has_value() && isatty(STDERR_FILENO);
  Progress progress;
  if (showProgress) {
    progress.counted = [&](int done) {
      std::cerr << "\rnumbrook-sheet: sheet " << done << " of " << *options.sheets << std::flush;
    };
  }
  const SheetSetResult result = MakeSheetSet(request, progress);
  if (showProgress && !result.placed.empty()) std::cerr << "\n";
  if (options.sheets && !options.request.seed && result.outcome != SheetSetOutcome::TooFewDifferent) {
    std::cerr << "numbrook-sheet: made with --seed " << result.firstSeed
              << "; each sheet shows its own number (编号), and --seed with it makes that sheet again\n";
  }

  int status = ShowPlaced(result.placed, options.open) ? 0 : 1;
  switch (result.outcome) {
    case SheetSetOutcome::Written: break;
    case SheetSetOutcome::TooFewDifferent:
      std::cerr << "numbrook-sheet: these settings give only " << result.different
                << " different problems, fewer than the " << options.request.count
                << " asked for with --distinct; choose a wider range or fewer problems\n";
      return 2;
    case SheetSetOutcome::DrawsRanOut:
      std::cerr << "numbrook-sheet: no new problem came after many draws; choose a wider range or fewer problems\n";
      status = 2;
      break;
    case SheetSetOutcome::ExcelMissing:
      std::cerr << "numbrook-sheet: " << kExcelMissingMessage << "\n";
      status = 1;
      break;
    case SheetSetOutcome::Abandoned:
      std::cerr << "numbrook-sheet: the run was stopped\n";
      status = 1;
      break;
    case SheetSetOutcome::Failed:
      std::cerr << "numbrook-sheet: " << result.error << "\n";
      status = 1;
      break;
  }
  // A failure to place the written files comes with the run's own outcome.
  if (result.outcome != SheetSetOutcome::Failed && !result.error.empty()) {
    std::cerr << "numbrook-sheet: " << result.error << "\n";
    status = 1;
  }
  return status;
}

}  // namespace numbrook
