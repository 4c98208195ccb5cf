// Where --output puts the files: a folder receives the default names, a
// name without an extension gets the format's.
#include <gtest/gtest.h>

#include <regex>

#include "cli_support/sheet_program.h"
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
