// Many workbooks in one process under a low limit of open descriptors: a
// descriptor left open by each workbook runs the process out of them long
// before a class set is done, and any one left open shows in the count.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "cli/sheet_options.h"
#include "cli/sheet_run.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

constexpr rlim_t kDescriptorLimit = 48;
constexpr int kLeakStatus = 100;  // the child's status when descriptors stayed open

int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) count += entry.exists() ? 1 : 0;
  return count;
}

// Makes the class set in a child process under the limit; its exit status.
int MakeSetUnderTheLimit(const std::vector<std::string>& arguments) {
  const SheetOptions options = ParseSheetOptions(arguments);
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{kDescriptorLimit, kDescriptorLimit};
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0) _exit(99);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    close(quiet);
    const int before = OpenDescriptors();
    const int status = MakeSheets(options);
    _exit(status != 0 ? status : OpenDescriptors() != before ? kLeakStatus : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct SetCase {
  const char* format;
  const char* sheets;
  bool answers;
  std::size_t files;
};

void PrintTo(const SetCase& c, std::ostream* out) {
  *out << c.sheets << " " << c.format << " sheets" << (c.answers ? " with answer keys" : "");
}

class DescriptorLimit : public ::testing::TestWithParam<SetCase> {};

TEST_P(DescriptorLimit, WholeClassSetIsWrittenAndEveryDescriptorClosed) {
  const SetCase c = GetParam();
  TempFolder folder;
  std::vector<std::string> arguments = {std::string("--format=") + c.format, std::string("--sheets=") + c.sheets,
                                        "--count=40", "--vertical", "--seed=5", "-o",
                                        (folder.path() / "set").string()};
  if (c.answers) arguments.push_back("--answers");
  EXPECT_EQ(MakeSetUnderTheLimit(arguments), 0) << "status " << kLeakStatus << " means descriptors stayed open";
  std::size_t written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << "left behind: " << entry.path();
    ++written;
  }
  EXPECT_EQ(written, c.files);
}

INSTANTIATE_TEST_SUITE_P(Sets, DescriptorLimit,
                         ::testing::Values(SetCase{"excel", "30", false, 30}, SetCase{"excel", "15", true, 30},
                                           SetCase{"text", "30", true, 60}));

}  // namespace
}  // namespace numbrook::testing
