// What stands at a sheet's name before it is written, and what the run
// leaves beside it: an older file's mode and group, a link, the set's lock,
// hidden files of killed runs.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include <gtest/gtest.h>

#include "files/export_error.h"
#include "sets_support/run_export.h"
#include "files/pending_file.h"
#include "files/set_lock.h"
#include "files_support/fault_folders.h"

namespace numbrook::testing {
namespace {

constexpr gid_t kOtherGroup = 4321;

ExportResult WriteText(const std::filesystem::path& file) {
  RunRequest c;
  c.format = FileFormat::Text;
  const GenerationSettings s = SetUpRun(c);
  ProblemTable table(s.ProblemCount + 1);
  for (int i = 0; i < s.ProblemCount; ++i) table.Row(i) = {"1", "+", "2", "", "", "=", "_"};
  return RunExport(s, table, {}, file);
}

struct stat StatOf(const std::filesystem::path& file) {
  struct stat found {};
  EXPECT_EQ(lstat(file.c_str(), &found), 0) << file;
  return found;
}

struct OwnershipCase {
  const char* name;
  mode_t mode;
  bool throughLink;  // the name is a link to the older file
};

void PrintTo(const OwnershipCase& c, std::ostream* out) { *out << c.name; }

class KeptOwnership : public ::testing::TestWithParam<OwnershipCase> {};

TEST_P(KeptOwnership, TheNewSheetHasTheOlderFilesModeAndGroup) {
  const OwnershipCase c = GetParam();
  TempFolder folder;
  const std::filesystem::path older = folder.path() / "older";
  std::ofstream(older) << "an answer key only the teacher reads\n";
  ASSERT_EQ(chmod(older.c_str(), c.mode), 0);
  const bool root = geteuid() == 0;
  if (root) ASSERT_EQ(chown(older.c_str(), static_cast<uid_t>(-1), kOtherGroup), 0);
  const std::filesystem::path file = c.throughLink ? folder.path() / "sheet" : older;
  if (c.throughLink) std::filesystem::create_symlink("older", file);

  const mode_t previous = umask(022);
  ASSERT_EQ(WriteText(file).outcome, ExportOutcome::Written);
  umask(previous);
  const struct stat written = StatOf(file);
  EXPECT_TRUE(S_ISREG(written.st_mode)) << "a link is replaced, not written through";
  EXPECT_EQ(written.st_mode & 07777, c.mode);
  if (root) EXPECT_EQ(written.st_gid, kOtherGroup);
  EXPECT_GT(written.st_size, 1000);
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptOwnership,
                         ::testing::Values(OwnershipCase{"Private", 0600, false},
                                           OwnershipCase{"GroupReadable", 0640, false},
                                           OwnershipCase{"PrivateBehindALink", 0600, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetLockTest, ASecondHolderIsRefusedAndTheLockFileGoesWithTheFirst) {
  TempFolder folder;
  const std::filesystem::path set = folder.path() / "口算.XLS";
  {
    const SetLock first(set);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{".numbrook-口算.XLS.lock"});
    try {
      const SetLock second(set);
      ADD_FAILURE() << "a second lock on the same set";
    } catch (const ExportError& error) {
      EXPECT_EQ(std::string(error.what()),
                "另一次运行正在写入“" + set.string() + "”，本次没有写入任何文件；请等它结束后再试");
    }
  }
  EXPECT_TRUE(NamesIn(folder.path()).empty());
  const SetLock again(set);  // free once the first is gone
}

// A run ended by Ctrl+C, a kill, a hang-up or a quit leaves neither the
// unfinished sheet nor its lock behind.
TEST(SetLockTest, ATerminationSignalRemovesTheLockAndTheUnfinishedFile) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    TempFolder folder;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      PendingFile::RemoveOnTerminationSignals();
      const SetLock lock(folder.path() / "sheet.TXT");
      PendingFile pending(folder.path() / "sheet.TXT");
      if (write(pending.Descriptor(), "half a sheet", 12) != 12) _exit(3);
      raise(signal);
      _exit(4);  // not reached
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(NamesIn(folder.path()).empty()) << "signal " << signal;
  }
}

TEST(StaleFiles, OnlyOurOwnOlderThanADayAreRemoved) {
  TempFolder folder;
  const std::vector<std::string> names = {".numbrook-old.part", ".numbrook-new.part", ".numbrook-old.lock",
                                          ".numbrook-held.lock", ".other-old.part", "sheet.XLS"};
  for (const std::string& name : names) std::ofstream(folder.path() / name) << "x";
  const timespec twoDaysAgo[2] = {{time(nullptr) - 2 * 86400, 0}, {time(nullptr) - 2 * 86400, 0}};
  for (const char* old : {".numbrook-old.part", ".numbrook-old.lock", ".numbrook-held.lock", ".other-old.part", "sheet.XLS"}) {
    ASSERT_EQ(utimensat(AT_FDCWD, (folder.path() / old).c_str(), twoDaysAgo, 0), 0);
  }
  const int held = open((folder.path() / ".numbrook-held.lock").c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);  // a run still writing, in another descriptor
  RemoveStaleHiddenFiles(folder.path());
  close(held);
  EXPECT_EQ(NamesIn(folder.path()),
            (std::vector<std::string>{".numbrook-held.lock", ".numbrook-new.part", ".other-old.part", "sheet.XLS"}));
}

}  // namespace
}  // namespace numbrook::testing
