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
#include "files/name_lock.h"
#include "files/stale_files.h"
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
  if (root) {
    ASSERT_EQ(chown(older.c_str(), static_cast<uid_t>(-1), kOtherGroup), 0);
  }
  const std::filesystem::path file = c.throughLink ? folder.path() / "sheet" : older;
  if (c.throughLink) std::filesystem::create_symlink("older", file);

  const mode_t previous = umask(022);
  ASSERT_EQ(WriteText(file).outcome, ExportOutcome::Written);
  umask(previous);
  const struct stat written = StatOf(file);
  EXPECT_TRUE(S_ISREG(written.st_mode)) << "a link is replaced, not written through";
  EXPECT_EQ(written.st_mode & 07777, c.mode);
  if (root) {
    EXPECT_EQ(written.st_gid, kOtherGroup);
  }
  EXPECT_GT(written.st_size, 1000);
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptOwnership,
                         ::testing::Values(OwnershipCase{"Private", 0600, false},
                                           OwnershipCase{"GroupReadable", 0640, false},
                                           OwnershipCase{"PrivateBehindALink", 0600, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NameLockTest, AnyNameHeldRefusesTheRunAndTheLockFileGoesWithTheLast) {
  TempFolder folder;
  const std::filesystem::path set = folder.path() / "口算.XLS", other = folder.path() / "other.XLS";
  {
    const NameLock first(folder.path(), {folder.path() / "口算-1.XLS", folder.path() / "口算-1答案.XLS", set});
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{".numbrook.lock"});
    try {
      const NameLock second(folder.path(), {other, set});
      ADD_FAILURE() << "a second lock on a name held";
    } catch (const ExportError& error) {
      EXPECT_EQ(std::string(error.what()),
                "另一次运行正在写入“" + set.string() + "”，本次没有写入任何文件；请等它结束后再试");
    }
    {
      const NameLock beside(folder.path(), {other});  // other names go on side by side
    }
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{".numbrook.lock"}) << "kept while the first holds it";
  }
  EXPECT_TRUE(NamesIn(folder.path()).empty());
  const NameLock again(folder.path(), {set});  // free once the first is gone
}

// What stands at the lock file's name, or a folder we may not write in,
// is refused at once with the true reason; nothing waits.
TEST(NameLockTest, AnythingButOurLockFileIsRefusedWithItsReason) {
  struct Case {
    const char* what;
    void (*make)(const std::filesystem::path& lock);
    const char* reason;
  };
  const Case cases[] = {
      {"FIFO", [](const std::filesystem::path& lock) { mkfifo(lock.c_str(), 0666); }, "是一个管道（FIFO），不是本程序的锁文件"},
      {"folder", [](const std::filesystem::path& lock) { std::filesystem::create_directory(lock); }, "是一个文件夹，不是本程序的锁文件"},
      {"link", [](const std::filesystem::path& lock) { std::filesystem::create_symlink("/etc/passwd", lock); },
       "是一个符号链接，不是本程序的锁文件"},
      {"a file with content", [](const std::filesystem::path& lock) { std::ofstream(lock) << "notes"; },
       "是一个有内容的文件，不是本程序的锁文件"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const std::filesystem::path lock = folder.path() / NameLock::kFileName;
    c.make(lock);
    try {
      const NameLock refused(folder.path(), {folder.path() / "f.XLS"});
      ADD_FAILURE() << c.what << " taken for a lock file";
    } catch (const ExportError& error) {
      EXPECT_EQ(std::string(error.what()),
                "无法写入“" + (folder.path() / "f.XLS").string() + "”：锁文件“" + lock.string() + "”" + c.reason)
          << c.what;
    }
  }
  ReadOnlyFolder readOnly;
  if (!readOnly.Seal()) GTEST_SKIP() << "no read-only bind mount here";
  try {
    const NameLock refused(readOnly.path(), {readOnly.path() / "f.XLS"});
    ADD_FAILURE() << "a lock in a read-only folder";
  } catch (const ExportError& error) {
    EXPECT_EQ(std::string(error.what()), "无法写入“" + (readOnly.path() / "f.XLS").string() + "”：无法在文件夹“" +
                                             readOnly.path().string() + "”中建立锁文件：文件系统是只读的");
  }
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
      RemovedOnSignal::InstallHandlers();
      const NameLock lock(folder.path(), {folder.path() / "sheet.TXT"});
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

// A killed run's hidden files and scratch folders are removed by the next
// run at once, whatever their age; those a living run holds stay.
TEST(StaleFiles, OnlyOurOwnThatNoRunHoldsAreRemoved) {
  TempFolder folder;
  const std::vector<std::string> names = {".numbrook-dead.part", ".numbrook-held.part", ".numbrook-old.lock",
                                          ".numbrook-held.lock", ".other-dead.part", "sheet.XLS"};
  for (const std::string& name : names) std::ofstream(folder.path() / name) << "x";
  for (const char* name : {".numbrook-dead.scratch", ".numbrook-held.scratch"}) {
    std::filesystem::create_directory(folder.path() / name);
    std::ofstream(folder.path() / name / "tmpfile") << "x";
  }
  std::vector<int> held;
  for (const char* name : {".numbrook-held.part", ".numbrook-held.lock", ".numbrook-held.scratch"}) {
    held.push_back(open((folder.path() / name).c_str(), O_RDONLY));
    ASSERT_EQ(flock(held.back(), LOCK_EX), 0);  // a run still writing, in another descriptor
  }
  RemoveStaleHiddenFiles(folder.path());
  for (int descriptor : held) close(descriptor);
  EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{".numbrook-held.lock", ".numbrook-held.part",
                                                              ".numbrook-held.scratch", ".other-dead.part", "sheet.XLS"}));
}
}  // namespace
}  // namespace numbrook::testing
