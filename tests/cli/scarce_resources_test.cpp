// numbrook-sheet where the machine runs short: the file size limit, a small
// memory file system, few file descriptors, a FIFO at the lock's name, a
// folder it may not write. Each run either leaves whole files or fails with
// the true reason in our own words and leaves nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"
#include "formats_support/dumped_workbook.h"

namespace numbrook::testing {
namespace {

// A shell command line that runs numbrook-sheet in the folder after `before`.
Outcome RunIn(const std::filesystem::path& folder, const std::string& before, const std::string& arguments) {
  const std::string command = "cd " + Quoted(folder) + " && " + before + " exec " + Quoted(NUMBROOK_SHEET_PROGRAM) +
                              " " + arguments;
  return RunProgram("timeout", "20 /bin/sh -c " + Quoted(command));
}

struct ShortCase {
  const char* name;
  const char* before;     // shell commands before the run
  const char* arguments;
  const char* reason;     // in the message
};

void PrintTo(const ShortCase& c, std::ostream* out) { *out << c.name; }

class RunningShort : public ::testing::TestWithParam<ShortCase> {};

TEST_P(RunningShort, FailsWithTheTrueReasonAndLeavesNothing) {
  const ShortCase c = GetParam();
  TempFolder folder;
  const Outcome run = RunIn(folder.path(), c.before, c.arguments);
  EXPECT_EQ(run.status, 1) << "124 would be a hang: " << run.out;
  EXPECT_TRUE(run.out.starts_with("numbrook-sheet: 无法")) << run.out;
  EXPECT_NE(run.out.find(c.reason), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("[ERROR]"), std::string::npos) << "the library's own lines stay out: " << run.out;
  EXPECT_EQ(run.out.find("Fontconfig"), std::string::npos) << run.out;
  for (const std::string& name : NamesIn(folder.path())) EXPECT_EQ(name, ".numbrook.lock") << "no sheet, no part";
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RunningShort,
    ::testing::Values(
        // The workbook's parts grow past the limit in the library's scratch
        // files while the compressed workbook stays below it.
        ShortCase{"FileSizeWorkbook", "ulimit -f 16;", "-o a.XLS", "文件过大"},
        ShortCase{"FileSizeSet", "ulimit -f 16;", "--sheets=5 --answers --seed=1 -o a.XLS", "文件过大"},
        ShortCase{"FileSizePdf", "ulimit -f 16;", "--format=pdf --count=1000 -o a.PDF", "文件过大"},
        ShortCase{"FewDescriptorsWorkbook", "ulimit -n 5;", "-o a.XLS", "打开的文件过多"},
        ShortCase{"FewDescriptorsPdf", "ulimit -n 6;", "--format=pdf -o a.PDF", "打开的文件过多"},
        ShortCase{"FifoAtTheLock", "mkfifo .numbrook.lock;", "-o f.XLS", "是一个管道（FIFO），不是本程序的锁文件"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder the user may not write in is named with that reason, not with
// a lock that "keeps being replaced". Root may write anywhere, so as root
// the run is another user's.
TEST(RunningShort, AFolderThatMayNotBeWrittenSaysSo) {
  TempFolder folder;
  const std::filesystem::path sheets = folder.path() / "sheets";
  std::filesystem::create_directory(sheets);
  chmod(folder.path().c_str(), 0755);
  chmod(sheets.c_str(), 0555);
  const std::string asUser = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
  // A copy the other user may run, wherever the build lies.
  const std::filesystem::path program = folder.path() / "numbrook-sheet";
  std::filesystem::copy_file(NUMBROOK_SHEET_PROGRAM, program);
  const Outcome other = RunProgram("/bin/sh", "-c " + Quoted("cd " + Quoted(sheets) + " && exec " + asUser + " " +
                                                             Quoted(program) + " -o f.XLS"));
  EXPECT_EQ(other.status, 1) << other.out;
  EXPECT_NE(other.out.find("无法在文件夹“.”中建立锁文件：权限不够"), std::string::npos) << other.out;
  EXPECT_TRUE(NamesIn(sheets).empty());
}

// A memory file system too small for the library's scratch files is left
// alone; the workbook is whole.
TEST(RunningShort, ASmallMemoryFileSystemGivesAWholeWorkbook) {
  SmallDisk memory("100k");
  if (!memory.ok()) GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
  TempFolder folder;
  const Outcome run = RunIn(folder.path(), "XDG_RUNTIME_DIR=" + Quoted(memory.path()),
                            "--count=1000 --vertical --per-row=1 --terms=3 -o big.XLS");
  ASSERT_EQ(run.status, 0) << run.out;
  const DumpedWorkbook book = DumpWorkbook(folder.path() / "big.XLS");
  ASSERT_TRUE(book.ok);
  int numbers = 0;
  for (const auto& [place, cell] : book.cells) numbers += place.second == 1 && cell.at("value").ends_with(". ");
  EXPECT_EQ(numbers, 1000);
  EXPECT_TRUE(NamesIn(memory.path()).empty()) << "its scratch folder went with the run";
}

}  // namespace
}  // namespace numbrook::testing
