// A class set written by a worker on each core: the same files as on one
// core, and a termination signal that comes while the workers make hidden
// files leaves none of them.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

using namespace std::chrono_literals;

// Every file of the folder, by name, with its bytes.
std::map<std::string, std::string> FilesIn(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const std::string& name : NamesIn(folder)) files[name] = ReadBytes(folder / name);
  return files;
}

std::string WithoutFolder(std::string text, const std::filesystem::path& folder) {
  for (std::size_t at; (at = text.find(folder.string())) != std::string::npos;) text.erase(at, folder.string().size());
  return text;
}

TEST(SetWorkers, OneCoreAndEveryCoreWriteTheSameFiles) {
  TempFolder one, every;
  const std::string set = "--sheets=24 --answers --count=60 --vertical --format=text --seed=77 -o ";
  const Outcome alone = RunProgram("taskset", "-c 0 '" NUMBROOK_SHEET_PROGRAM "' " + set + Quoted(one.path() / "s"));
  ASSERT_EQ(alone.status, 0) << alone.out;
  const Outcome together = RunSheet(set + Quoted(every.path() / "s"));
  ASSERT_EQ(together.status, 0) << together.out;
  // The paths, in order, then the same messages.
  EXPECT_EQ(WithoutFolder(together.out, every.path()), WithoutFolder(alone.out, one.path()));
  const auto files = FilesIn(one.path());
  EXPECT_EQ(files.size(), 48u);
  EXPECT_TRUE(files == FilesIn(every.path()));
}

// Where every sheet is a hidden file until it is named (no unnamed files),
// the workers make and register them while the signal may come: whenever
// it comes, nothing is left, neither a sheet nor a hidden part nor the lock.
TEST(SetWorkers, ATerminationSignalDuringTheWorkersStepsLeavesNothing) {
  for (auto delay : {0ms, 20ms, 60ms, 150ms}) {
    TempFolder folder;
    const std::filesystem::path output = folder.path().string() + ".out";
    const pid_t child = fork();
    if (child == 0) {
      const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      setenv("LD_PRELOAD", NUMBROOK_NO_UNNAMED_FILES, 1);
      const std::string target = (folder.path() / "t.TXT").string();
      execl(NUMBROOK_SHEET_PROGRAM, "numbrook-sheet", "--sheets=600", "--answers", "--count=200", "--format=text",
            "-o", target.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    while (!std::filesystem::exists(folder.path() / ".numbrook.lock")) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(delay);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << ReadBytes(output);
    EXPECT_TRUE(NamesIn(folder.path()).empty()) << "after " << delay.count() << " ms: " << NamesIn(folder.path()).front();
    std::filesystem::remove(output);
  }
}

}  // namespace
}  // namespace numbrook::testing
