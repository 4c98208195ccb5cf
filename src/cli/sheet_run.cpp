#include "cli/sheet_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <vector>

#include "export/export_run.h"
#include "export/output_file.h"
#include "export/pending_file.h"
#include "export/sheet_batch.h"
#include "generation/problem_generator.h"

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

// Tells how a group could not be written, once.
void ReportFailure(const ExportResult& result) {
  if (result.outcome == ExportOutcome::ExcelMissing) {
    std::cerr << "numbrook-sheet: " << kExcelMissingMessage << "\n";
  } else {
    std::cerr << "numbrook-sheet: " << result.error << "\n";
  }
}

// Prints the paths of the files in place, in order, and opens the sheets
// when asked: 0, 1 when a path could not be printed, kOpenFailed when a
// sheet could not be opened.
int ShowPlaced(const BatchResult& done, bool open) {
  int status = 0;
  for (const SheetJob& job : done.placed) {
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
  std::optional<SheetBatch> batch;
  try {
    batch.emplace(name, settings.ExportFormat, options.output.has_value());
  } catch (const ExportError& error) {
    std::cerr << "numbrook-sheet: " << error.what() << "\n";
    return 1;
  }
  const bool showProgress = numbered && isatty(STDERR_FILENO);
  int status = 0;
  for (int k = 1; k <= sheets && status == 0; ++k) {
    if (showProgress) std::cerr << "\rnumbrook-sheet: sheet " << k << " of " << sheets << std::flush;
    SeededRandom random(firstSeed + static_cast<std::uint64_t>(k - 1));
    ProblemTable table;
    if (!options.distinct) {
      GenerateProblems(settings, random, Progress{}, table);
    } else if (GenerateDistinctProblems(settings, random, Progress{}, table) != DistinctOutcome::Drawn) {
      std::cerr << "numbrook-sheet: no new problem came after many draws; choose a wider range or fewer problems\n";
      status = 2;
      break;
    }

    const std::filesystem::path sheet = numbered ? NumberedName(name, k, sheets) : name;
    std::vector<SheetJob> group{{sheet, options.request.sheet}};
    if (options.answers) group.push_back({AnswerKeyName(sheet), SheetKind::AnswerKey});
    const ExportResult result = batch->WriteGroup(settings, table, group);
    if (result.outcome != ExportOutcome::Written) {
      ReportFailure(result);
      status = 1;
    }
  }
  if (showProgress) std::cerr << "\n";
  // The sheets finished before a failure stay, each with its key.
  const BatchResult done = batch->Finish();
  const int shown = ShowPlaced(done, options.open);
  if (shown == 1 || (shown != 0 && status == 0)) status = shown;
  if (done.error) {
    std::cerr << "numbrook-sheet: " << *done.error << "\n";
    status = 1;
  }
  return status;
}

}  // namespace numbrook
