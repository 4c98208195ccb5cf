// numbrook-sheet: makes the same worksheets as the window, without one.
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <iostream>

#include "cli/sheet_options.h"
#include "export/export_run.h"
#include "export/pending_file.h"
#include "generation/problem_generator.h"
#include "program_identity.h"

extern char** environ;

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

// A run is short and its peak is a few megabytes: the heap is neither
// handed back to the system after each free nor served by fresh mappings,
// which the compressor's large buffers would otherwise get (and fault in
// again) for every part of a workbook.
void KeepTheHeap() {
  mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

}  // namespace

int main(int argc, char** argv) {
  KeepTheHeap();
  std::setlocale(LC_ALL, "");
  numbrook::SheetOptions options;
  try {
    options = numbrook::ParseSheetOptions({argv + 1, argv + argc});
  } catch (const std::invalid_argument& error) {
    std::cerr << "numbrook-sheet: " << error.what() << "\n" << "Try 'numbrook-sheet --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << numbrook::SheetUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "numbrook-sheet " << numbrook::kVersionText << "\n";
    return 0;
  }

  const numbrook::GenerationSettings settings = numbrook::SetUpRun(options.controls).settings;
  numbrook::SeededRandom random(options.seed.value_or(numbrook::SeedFromTimeOfDay()));
  const numbrook::WarningSink warning = [](int row, const std::string& message) {
    std::cerr << "numbrook-sheet: problem " << row + 1 << ": " << message << "\n";
  };
  numbrook::ProblemTable table;
  numbrook::GenerateProblems(settings, random, numbrook::Progress{}, warning, table);

  numbrook::PendingFile::RemoveOnTerminationSignals();
  const numbrook::ExportResult result = numbrook::RunExport(settings, table, numbrook::Progress{}, options.output);
  switch (result.outcome) {
    case numbrook::ExportOutcome::Written:
      break;
    case numbrook::ExportOutcome::ExcelMissing:
      std::cerr << "numbrook-sheet: 对不起，无法检测到EXCEL安装，请重新检查EXCEL是否被正确安装！\n";
      return 1;
    case numbrook::ExportOutcome::Failed:
    case numbrook::ExportOutcome::Abandoned:
      std::cerr << "numbrook-sheet: " << result.error << "\n";
      return 1;
  }
  std::cout << result.file.string() << "\n" << std::flush;
  // A caller that does not learn the path has not been served.
  if (!std::cout) {
    std::cerr << "numbrook-sheet: the worksheet " << result.file.string()
              << " was written, but its path could not be printed: " << std::strerror(errno) << "\n";
    return 1;
  }
  if (options.open) OpenWithDesktop(result.file);
  return 0;
}
