#include "cli/sheet_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <vector>

#include "cli/process_setup.h"
#include "files/export_error.h"
#include "sets/class_set.h"

extern char** environ;

namespace numbrook {
namespace {

void Tell(const std::string& message) {
  std::fprintf(UserMessages(), "numbrook-sheet: %s\n", message.c_str());
  std::fflush(UserMessages());
}

// Hands the file or folder to the desktop's program for it; false, with the
// reason told, when the opener is missing or reports a failure.
bool OpenWithDesktop(const std::filesystem::path& target) {
  const std::string path = target.string();
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
  pid_t child;
  const int spawned = posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ);
  if (spawned != 0) {
    Tell("已写好“" + path + "”，但无法启动 xdg-open：" + ReasonOf(spawned));
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  Tell("已写好“" + path + "”，但 xdg-open 没能打开它（" +
       (WIFEXITED(status) ? "退出状态 " + std::to_string(WEXITSTATUS(status))
                          : "被信号 " + std::to_string(WTERMSIG(status)) + " 终止") +
       "）；是否有程序与这种文件关联？");
  return false;
}

// Prints the paths of the files in place, in order: 0, or 1 when a path
// could not be printed.
int ShowPlaced(const std::vector<PlacedFile>& placed) {
  for (const PlacedFile& file : placed) {
    std::cout << file.file.string() << "\n" << std::flush;
    // A caller that does not learn the path has not been served.
    if (!std::cout) {
      Tell("已写好“" + file.file.string() + "”，但无法输出它的路径：" + ReasonOf(errno));
      return 1;
    }
  }
  return 0;
}

}  // namespace

int MakeSheets(const SheetOptions& options) {
  SheetSetRequest request;
  request.request = options.request;
  request.sheets = options.sheets;
  request.answers = options.answers;
  request.distinct = options.distinct;
  request.output = options.output;

  const bool showProgress = options.sheets.has_value() && isatty(fileno(UserMessages()));
  Progress progress;
  if (showProgress) {
    progress.sheetsDone = [&](int done) {
      std::fprintf(UserMessages(), "\rnumbrook-sheet: 第 %d 份，共 %d 份", done, *options.sheets);
      std::fflush(UserMessages());
    };
  }
  const SheetSetResult result = MakeSheetSet(request, progress);
  if (showProgress && !result.placed.empty()) std::fputs("\n", UserMessages());
  for (const std::string& notice : result.notices) Tell(notice);
  if (options.sheets && !options.request.seed && result.outcome != SheetSetOutcome::TooFewDifferent) {
    Tell("本套题的 --seed 为 " + std::to_string(result.firstSeed) +
         "；每份都印有自己的编号，用 --seed 加这个编号可以重新生成那一份");
  }

  int status = ShowPlaced(result.placed);
  switch (result.outcome) {
    case SheetSetOutcome::Written: break;
    case SheetSetOutcome::TooFewDifferent:
      Tell(TooFewDifferentMessage(result.different, options.request.count));
      return 2;
    case SheetSetOutcome::ExcelMissing:
      Tell(kExcelMissingMessage);
      status = 1;
      break;
    case SheetSetOutcome::Abandoned:
      Tell("已停止");
      status = 1;
      break;
    case SheetSetOutcome::Failed:
      Tell(result.error);
      status = 1;
      break;
  }
  // A failure to place the written files comes with the run's own outcome.
  if (result.outcome != SheetSetOutcome::Failed && !result.error.empty()) {
    Tell(result.error);
    status = 1;
  }
  if (status == 0 && options.open) {
    if (const std::optional<std::filesystem::path> target = WhatToOpen(result.placed)) {
      if (!OpenWithDesktop(*target)) status = kOpenFailed;
    }
  }
  return status;
}

}  // namespace numbrook
