// Class sets under the faults of real machines: two runs racing to one
// set, a kill in the middle, nohup and a hang-up, odd targets at the name.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"

namespace numbrook::testing {
namespace {

using namespace std::chrono_literals;

const std::string kRefused = "，本次没有写入任何文件；请等它结束后再试\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The sheet's lines with every box emptied: a key and its own sheet give
// the same, a key beside another run's sheet does not. (GBK never uses the
// bytes of "(" and ")" inside a character.)
std::vector<std::string> Problems(const std::filesystem::path& file) {
  std::vector<std::string> lines = Lines(ReadBytes(file));
  lines.erase(lines.begin() + 2);  // the description, which the key marks
  for (std::string& line : lines) {
    for (std::size_t open = line.find('('); open != std::string::npos; open = line.find('(', open + 1)) {
      line.erase(open + 1, line.find(')', open) - open - 1);
    }
  }
  return lines;
}

// numbrook-sheet started on its own, its output to a file; SIGHUP ignored
// first when asked, as nohup does.
pid_t Start(const std::string& arguments, const std::filesystem::path& output, bool ignoreHangUp = false,
            const std::string& environment = "") {
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    const std::string command =
        environment + std::string(ignoreHangUp ? " exec nohup '" : " exec '") + NUMBROOK_SHEET_PROGRAM + "' " + arguments;
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

// Waits (up to 60 s) until the run holds its set's lock, so it is writing.
bool WaitUntilWriting(const std::filesystem::path& lockFile) {
  for (auto end = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < end;) {
    if (std::filesystem::exists(lockFile)) return true;
    std::this_thread::sleep_for(5ms);
  }
  return false;
}

int ExitStatus(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A run that wants any name another run is writing is refused before it
// writes or prints anything of its own: the same set, or one sheet whose
// name the set will use. The set lands whole, each sheet beside its own key.
TEST(SetRace, ARunForANameBeingWrittenIsRefused) {
  struct Case {
    const char* second;     // arguments of the run started while the set is written
    const char* refusedAt;  // the name it is refused for
  };
  const Case cases[] = {{"--sheets=150 --answers --format=text --seed=900 -o 口算.TXT", "口算-001.TXT"},
                        {"--answers --format=text --seed=900 -o 口算-007答案.TXT", "口算-007答案.TXT"}};
  for (const Case& c : cases) {
    TempFolder folder;
    const std::filesystem::path output = folder.path().string() + ".out";
    const pid_t first = Start("--sheets=150 --answers --format=text --count=1000 --vertical --seed=100 -o " +
                                  Quoted(folder.path() / "口算.TXT"),
                              output);
    ASSERT_TRUE(WaitUntilWriting(folder.path() / ".numbrook.lock"));
    const Outcome second = RunSheet(c.second, "cd " + Quoted(folder.path()) + " &&");
    EXPECT_EQ(second.status, 1) << second.out;
    EXPECT_EQ(second.out, "numbrook-sheet: 另一次运行正在写入“" + std::string(c.refusedAt) + "”" + kRefused);
    EXPECT_EQ(ExitStatus(first), 0) << ReadBytes(output);
    EXPECT_EQ(Lines(ReadBytes(output)).size(), 300u);
    EXPECT_EQ(NamesIn(folder.path()).size(), 300u) << "the sheets and keys, and nothing else";
    for (int k = 1; k <= 150; ++k) {
      const std::string number = (k < 10 ? "00" : k < 100 ? "0" : "") + std::to_string(k);
      EXPECT_EQ(Problems(folder.path() / ("口算-" + number + ".TXT")),
                Problems(folder.path() / ("口算-" + number + "答案.TXT")))
          << c.second << ", sheet " << k;
    }
    std::filesystem::remove(output);
  }
}

// A kill at any step of replacing an older set leaves every pupil a whole
// sheet, the old or the new, beside its own key or none: never without a
// sheet, never beside another run's key.
TEST(SetRace, AKillWhileReplacingASetNeverLosesASheetNorMixesAPair) {
  TempFolder folder, oldSet, newSet;
  const auto arguments = [](int seed, const std::filesystem::path& in) {
    return "--sheets=3 --answers --format=text --seed=" + std::to_string(seed) + " -o " + Quoted(in / "c.TXT");
  };
  ASSERT_EQ(RunSheet(arguments(1, oldSet.path())).status, 0);
  ASSERT_EQ(RunSheet(arguments(2, newSet.path())).status, 0);
  bool finished = false;
  for (int at = 1; at <= 60 && !finished; ++at) {
    ASSERT_EQ(RunSheet(arguments(1, folder.path())).status, 0);
    const Outcome run = RunSheet(arguments(2, folder.path()), "LD_PRELOAD=" NUMBROOK_KILL_AT_RENAME
                                                             " NUMBROOK_KILL_FOLDER=" + Quoted(folder.path()) +
                                                             " NUMBROOK_KILL_AT=" + std::to_string(at));
    finished = run.status == 0;
    for (const char* number : {"1", "2", "3"}) {
      const std::string sheet = "c-" + std::string(number) + ".TXT", key = "c-" + std::string(number) + "答案.TXT";
      const std::string found = ReadBytes(folder.path() / sheet);
      const bool old = found == ReadBytes(oldSet.path() / sheet), now = found == ReadBytes(newSet.path() / sheet);
      EXPECT_TRUE(old || now) << "killed at call " << at << ": " << sheet << " is lost or not whole";
      if (!std::filesystem::exists(folder.path() / key)) continue;
      EXPECT_EQ(ReadBytes(folder.path() / key), ReadBytes((old ? oldSet : newSet).path() / key))
          << "killed at call " << at << ": " << key << " is not its sheet's";
    }
  }
  EXPECT_TRUE(finished) << "every call was a place to kill";
}

TEST(SetRace, AKillInTheMiddleLeavesNoPartOfTheSet) {
  TempFolder folder;
  const std::filesystem::path set = folder.path() / "c.XLS";
  const std::filesystem::path output = folder.path().string() + ".out";
  const pid_t run = Start("--sheets=1000 --answers --count=1000 --vertical -o " + Quoted(set), output);
  ASSERT_TRUE(WaitUntilWriting(folder.path() / ".numbrook.lock"));
  std::this_thread::sleep_for(300ms);
  kill(run, SIGKILL);
  EXPECT_EQ(ExitStatus(run), 128 + SIGKILL);
  // No sheet and no hidden part: at most the lock, which no kill can take.
  for (const std::string& name : NamesIn(folder.path())) EXPECT_EQ(name, ".numbrook.lock");

  // The next run of the set takes the lock over and leaves only its sheets.
  ASSERT_EQ(RunSheet("--sheets=3 --answers -o " + Quoted(set)).status, 0);
  EXPECT_EQ(NamesIn(folder.path()),
            (std::vector<std::string>{"c-1.XLS", "c-1答案.XLS", "c-2.XLS", "c-2答案.XLS", "c-3.XLS", "c-3答案.XLS"}));
  std::filesystem::remove(output);
}

// Where the file system makes no file without a name, a sheet is a hidden
// file until complete: a kill leaves those, and the next run in the folder
// removes them, since no run holds them any more.
TEST(SetRace, WithoutUnnamedFilesAKillsLeftoversGoWithTheNextRun) {
  TempFolder folder;
  const std::filesystem::path set = folder.path() / "c.TXT";
  const std::filesystem::path output = folder.path().string() + ".out";
  const std::string preload = "LD_PRELOAD=" NUMBROOK_NO_UNNAMED_FILES;
  const pid_t run = Start("--sheets=1000 --count=1000 --vertical --format=text -o " + Quoted(set), output, false, preload);
  ASSERT_TRUE(WaitUntilWriting(folder.path() / ".numbrook.lock"));
  std::this_thread::sleep_for(300ms);
  kill(run, SIGKILL);
  EXPECT_EQ(ExitStatus(run), 128 + SIGKILL);
  int parts = 0;
  for (const std::string& name : NamesIn(folder.path())) {
    EXPECT_TRUE(name.starts_with(".numbrook")) << name << ": no sheet is named before the set is written";
    if (name.ends_with(".part")) ++parts;
  }
  EXPECT_GT(parts, 0) << "the unfinished sheets were hidden files";

  ASSERT_EQ(RunSheet("--sheets=2 --format=text -o " + Quoted(set), preload).status, 0);
  EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"c-1.TXT", "c-2.TXT"}));
  std::filesystem::remove(output);
}

// nohup's ignore stays: the hang-up of the terminal does not end the run.
// Without nohup a hang-up ends it, and leaves nothing.
TEST(SetRace, AHangUpEndsTheRunOnlyWithoutNohup) {
  for (bool nohup : {true, false}) {
    TempFolder folder;
    const std::filesystem::path set = folder.path() / "h.TXT";
    const std::filesystem::path output = folder.path().string() + ".out";
    const pid_t run = Start("--sheets=400 --answers --count=1000 --vertical --format=text -o " + Quoted(set), output, nohup);
    ASSERT_TRUE(WaitUntilWriting(folder.path() / ".numbrook.lock"));
    kill(run, SIGHUP);
    if (nohup) {
      EXPECT_EQ(ExitStatus(run), 0) << ReadBytes(output);
      EXPECT_EQ(NamesIn(folder.path()).size(), 800u);
    } else {
      EXPECT_EQ(ExitStatus(run), 128 + SIGHUP);
      EXPECT_TRUE(NamesIn(folder.path()).empty());
    }
    std::filesystem::remove(output);
  }
}

struct TargetCase {
  const char* name;
  const char* arguments;  // before -o
  const char* file;       // the name given, in the test's folder
  const char* link;       // a link put there first, or ""
  const char* message;    // what follows "numbrook-sheet: 无法写入“PATH”："
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class RefusedTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(RefusedTarget, IsNamedWithItsReasonAndNothingIsWritten) {
  const TargetCase c = GetParam();
  TempFolder folder;
  const std::filesystem::path file = folder.path() / c.file;
  if (*c.link != '\0') std::filesystem::create_symlink(c.link, file);
  const Outcome run = RunSheet(std::string(c.arguments) + " -o " + Quoted(file));
  EXPECT_EQ(run.status, 1);
  std::string shown = file.string();
  if (const std::size_t at = shown.find('\n'); at != std::string::npos) shown.replace(at, 1, "\\x0A");
  EXPECT_EQ(run.out, "numbrook-sheet: 无法写入“" + shown + "”：" + c.message + "\n");
  if (*c.link != '\0') {
    EXPECT_EQ(std::filesystem::read_symlink(file), c.link) << "the link stays as it was";
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{c.file});
  } else {
    EXPECT_TRUE(NamesIn(folder.path()).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedTarget,
    ::testing::Values(
        TargetCase{"LinkToDevNull", "", "s.XLS", "/dev/null", "它是一个设备，不是普通文件"},
        TargetCase{"LinkToStdout", "--format=text", "s.TXT", "/dev/stdout", "它是指向进程已打开文件的链接，不是普通文件"},
        TargetCase{"LinkToAFolder", "", "s.XLS", "/", "它是一个文件夹，不是普通文件"},
        TargetCase{"TextNameForAWorkbook", "", "s.txt", "", "扩展名“.txt”表示文本文件，而所选的格式是Excel工作簿"},
        TargetCase{"WorkbookNameForText", "--format=text", "s.XLS", "", "扩展名“.XLS”表示Excel工作簿，而所选的格式是文本文件"},
        TargetCase{"ControlCharacter", "--format=text", "a\nb.TXT", "", "文件名含有控制字符"}),
    [](const auto& info) { return std::string(info.param.name); });

// A sheet that grows past the file size limit fails like a full disk
// instead of killing the run.
TEST(SetRace, TheFileSizeLimitIsAnErrorNotASignal) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "big.TXT";
  const Outcome run = RunProgram("/bin/sh", "-c " + Quoted("ulimit -f 8; exec '" + std::string(NUMBROOK_SHEET_PROGRAM) +
                                                           "' --format=text --count=1000 --vertical -o " + Quoted(file)));
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("“" + file.string() + "”"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("文件过大"), std::string::npos) << run.out;
  EXPECT_TRUE(NamesIn(folder.path()).empty());
}

}  // namespace
}  // namespace numbrook::testing
