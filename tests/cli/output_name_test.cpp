// Where --output puts the files: a folder receives the default names, a
// name without an extension gets the format's.
#include <gtest/gtest.h>

#include <regex>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

struct NameCase {
  const char* output;     // under the test's folder, which holds a folder "set"
  const char* arguments;
  const char* expected;   // the printed paths as a pattern, the folder as "F/"
};

class OutputName : public ::testing::TestWithParam<NameCase> {};

TEST_P(OutputName, PrintsAndWritesTheExpectedFiles) {
  const NameCase& c = GetParam();
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "set");
  const Outcome run = RunSheet(std::string(c.arguments) + " --count 4 -o " + Quoted(folder.path() / c.output));
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string pattern = std::regex_replace(c.expected, std::regex("F/"), folder.path().string() + "/");
  EXPECT_TRUE(std::regex_match(run.out, std::regex(pattern))) << run.out;
  for (std::size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_TRUE(std::filesystem::is_regular_file(run.out.substr(start, end - start))) << run.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputName,
    ::testing::Values(
        NameCase{"set", "--format=text", "F/set/加法运算题目列表[0-9]+\\.TXT\n"},
        NameCase{"set/", "--format=excel --answers", "F/set/加法运算题目列表[0-9]+\\.XLS\nF/set/加法运算题目列表[0-9]+答案\\.XLS\n"},
        NameCase{"set", "--format=text --sheets 2 --seed 5",
                 "F/set/加法运算题目列表[0-9]+-1\\.TXT\nF/set/加法运算题目列表[0-9]+-2\\.TXT\n"},
        NameCase{"口算", "--format=text", "F/口算\\.TXT\n"},
        NameCase{"口算", "--format=excel --sheets 2 --answers --seed 5",
                 "F/口算-1\\.XLS\nF/口算-1答案\\.XLS\nF/口算-2\\.XLS\nF/口算-2答案\\.XLS\n"},
        NameCase{"口算.v2", "--format=text", "F/口算\\.v2\n"}));

}  // namespace
}  // namespace numbrook::testing

namespace numbrook::testing {
namespace {

// A set's longest name is a numbered key, eight bytes longer than the name
// given (-1 and 答案). Names near the file system's 255 bytes: a set either
// lands whole or is refused before anything is written, never with a
// sheet named and its key not.
TEST(LongSetNames, ASetWhoseNamesDoNotAllFitIsRefusedWhole) {
  for (std::size_t length = 241; length <= 255; ++length) {
    TempFolder folder;
    const std::string stem(length - 4, 'x');
    const Outcome run = RunSheet("--sheets=3 --answers --format=text --seed=1 -o " + Quoted(folder.path() / (stem + ".TXT")));
    const bool fits = length + 8 <= 255;  // "-1" and "答案" (6 bytes) before the extension
    if (fits) {
      EXPECT_EQ(run.status, 0) << length << ": " << run.out;
      EXPECT_EQ(NamesIn(folder.path()).size(), 6u) << length;
    } else {
      EXPECT_EQ(run.status, 1) << length;
      EXPECT_NE(run.out.find("文件名过长"), std::string::npos) << length << ": " << run.out;
      EXPECT_NE(run.out.find("本次没有写入任何文件"), std::string::npos) << run.out;
      EXPECT_TRUE(NamesIn(folder.path()).empty()) << length;
    }
  }
}

}  // namespace
}  // namespace numbrook::testing
