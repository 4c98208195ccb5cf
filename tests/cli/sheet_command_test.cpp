// numbrook-sheet: its options, its errors and its reproducible sheets.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "cli/sheet_options.h"
#include "export_support/temp_folder.h"

namespace numbrook::testing {
namespace {

struct Outcome {
  int status;
  std::string out;
};

// Runs the built program with the arguments; stderr joins stdout.
Outcome RunSheet(const std::string& arguments, const std::string& environment = "") {
  const std::string command = environment + " '" + NUMBROOK_SHEET_PROGRAM + "' " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(SheetOptions, EachOptionSetsItsControl) {
  const SheetOptions o = ParseSheetOptions({"--terms", "3", "--no-add", "--sub", "--mixed", "--blank", "third",
                                            "--count", "12", "--add-range", "99", "--sub-range", "1", "--no-carry",
                                            "--no-borrow", "--vertical", "--no-new-page", "--format", "text",
                                            "--seed", "42", "--output", "/tmp/x.TXT", "--open"});
  const ControlState& c = o.controls;
  EXPECT_EQ(c.combo1Index, 1);
  EXPECT_FALSE(c.checkA);
  EXPECT_TRUE(c.checkS);
  EXPECT_TRUE(c.checkAS);
  EXPECT_EQ(c.option3Index, kBlankThird);
  EXPECT_EQ(c.text1, "12");
  EXPECT_EQ(c.text2, "3") << "three terms set three per line, as the window does";
  EXPECT_EQ(c.text3, "99");
  EXPECT_EQ(c.text4, "1");
  EXPECT_FALSE(c.checkAdd);
  EXPECT_FALSE(c.checkSub);
  EXPECT_TRUE(c.checkExp);
  EXPECT_FALSE(c.checkNewPage);
  EXPECT_EQ(c.option2Index, kExportText);
  EXPECT_EQ(o.seed, 42u);
  EXPECT_EQ(o.output, std::filesystem::path("/tmp/x.TXT"));
  EXPECT_TRUE(o.open);
}

TEST(SheetOptions, DefaultsAreTheWindowsStartUpValues) {
  const SheetOptions o = ParseSheetOptions({});
  EXPECT_EQ(o.controls.text1, "100");
  EXPECT_EQ(o.controls.text2, "4");
  EXPECT_EQ(o.controls.option2Index, kExportExcel);
  EXPECT_TRUE(o.controls.checkA);
  EXPECT_FALSE(o.seed.has_value());
  EXPECT_EQ(ParseSheetOptions({"--per-row", "10"}).controls.text2, "10");
}

TEST(SheetOptions, RefusesWhatTheWindowWouldNotTake) {
  const std::vector<std::vector<std::string>> refused = {
      {"--count", "0"},      {"--count", "1001"},   {"--count", "12.5"},   {"--count", "-5"},
      {"--per-row", "11"},   {"--add-range", "100"}, {"--sub-range", "0"}, {"--terms", "4"},
      {"--blank", "third"},  {"--mixed"},           {"--format", "pdf"},   {"--seed", "x"},
      {"--count"},           {"--colour"},          {"--count", "99999999999"}};
  for (const auto& arguments : refused) {
    EXPECT_THROW(ParseSheetOptions(arguments), std::invalid_argument) << arguments[0];
  }
}

TEST(SheetCommand, SameSeedWritesTheSameSheet) {
  TempFolder folder;
  const std::string a = (folder.path() / "a.TXT").string(), b = (folder.path() / "b.TXT").string();
  const Outcome first = RunSheet("--format text --sub --seed 7 --vertical --output '" + a + "'");
  const Outcome second = RunSheet("--format text --sub --seed 7 --vertical --output '" + b + "'");
  ASSERT_EQ(first.status, 0) << first.out;
  ASSERT_EQ(second.status, 0) << second.out;
  EXPECT_EQ(first.out, a + "\n");
  EXPECT_EQ(ReadBytes(a), ReadBytes(b));
  EXPECT_GT(ReadBytes(a).size(), 2000u);
  const Outcome other = RunSheet("--format text --sub --seed 8 --vertical --output '" + b + "'");
  EXPECT_NE(ReadBytes(a), ReadBytes(b));
}

TEST(SheetCommand, WritesIntoTheTemporaryFolderByDefault) {
  TempFolder folder;
  const Outcome run = RunSheet("--format excel --count 7", "TMPDIR='" + folder.path().string() + "'");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(run.out.starts_with(folder.path().string() + "/加法运算题目列表")) << run.out;
  EXPECT_TRUE(run.out.ends_with(".XLS\n")) << run.out;
  EXPECT_TRUE(std::filesystem::exists(run.out.substr(0, run.out.size() - 1)));
}

TEST(SheetCommand, BadOptionsExitWithTwoAndWriteNothing) {
  TempFolder folder;
  const std::string file = (folder.path() / "never.TXT").string();
  const Outcome run = RunSheet("--count 1001 --format text --output '" + file + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("--count takes a whole number from 1 to 1000"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(RunSheet("--bogus").status, 2);
}

TEST(SheetCommand, WarningsGoToStderrAndTheSheetIsStillWritten) {
  TempFolder folder;
  const std::string file = (folder.path() / "w.TXT").string();
  const Outcome run =
      RunSheet("--terms 3 --add-range 5 --no-carry --count 200 --seed 3 --format text --output '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(": 1.和溢出...！"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(SheetCommand, UnwritableOutputFailsWithTheReason) {
  const Outcome run = RunSheet("--format text --output /nonexistent/folder/x.TXT");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("/nonexistent/folder/x.TXT"), std::string::npos) << run.out;
}

TEST(SheetCommand, VersionAndHelp) {
  EXPECT_EQ(RunSheet("--version").out, "1.3.6\n");
  EXPECT_NE(RunSheet("--help").out.find("--per-row N"), std::string::npos);
}

}  // namespace
}  // namespace numbrook::testing
