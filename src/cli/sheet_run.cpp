#include "cli/sheet_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <vector>

#include "sets/class_set.h"
#include "files/file_names.h"
#include "sets/class_set.h"

extern char** environ;

namespace numbrook {
namespace {

// Hands the file to the desktop's program for its type; false, with the
// reason told, when the opener is missing or reports a failure.
bool OpenWithDesktop(const std::filesystem::path& file) {
  const std::string path = file.string();
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
  pid_t child;
  const int spawned = posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ);
  if (spawned != 0) {
    std::cerr << "numbrook-sheet: the worksheet " << path << " was written, but xdg-open could not be started: "
              << std::strerror(spawned) << "\n";
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  std::cerr << "numbrook-sheet: the worksheet " << path << " was written, but xdg-open could not open it ("
            << (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                  : "killed by signal " + std::to_string(WTERMSIG(status)))
            << "); is a program associated with this kind of file?\n";
  return false;
}

// Prints the paths of the files in place, in order, and opens the sheets
// when asked: 0, 1 when a path could not be printed, kOpenFailed when a
// sheet could not be opened.
int ShowPlaced(const std::vector<PlacedFile>& placed, bool open) {
  int status = 0;
  for (const PlacedFile& job : placed) {
    std::cout << job.file.string() << "\n" << std::flush;
    // A caller that does not learn the path has not been served.
    if (!std::cout) {
      std::cerr << "numbrook-sheet: the worksheet " << job.file.string()
                << " was written, but its path could not be printed: " << std::strerror(errno) << "\n";
      return 1;
    }
    if (open && job.kind == SheetKind::Pupil && !OpenWithDesktop(job.file)) status = kOpenFailed;
  }
  return status;
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
    progress.sheetsDone = [&](int done) {
      std::cerr << "\rnumbrook-sheet: sheet " << done << " of " << *options.sheets << std::flush;
    };
  }
  const SheetSetResult result = MakeSheetSet(request, progress);
  if (showProgress && !result.placed.empty()) std::cerr << "\n";
  if (options.sheets && !options.request.seed && result.outcome != SheetSetOutcome::TooFewDifferent) {
    std::cerr << "numbrook-sheet: made with --seed " << result.firstSeed
              << "; each sheet shows its own number (编号), and --seed with it makes that sheet again\n";
  }

  const int shown = ShowPlaced(result.placed, options.open);
  int status = shown;
  switch (result.outcome) {
    case SheetSetOutcome::Written: break;
    case SheetSetOutcome::TooFewDifferent:
      std::cerr << "numbrook-sheet: these settings give only " << result.different
                << " different problems, fewer than the " << options.request.count
                << " asked for with --distinct; choose a wider range or fewer problems\n";
      return 2;
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
