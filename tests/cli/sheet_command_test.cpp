// numbrook-sheet: its options, its errors and its reproducible sheets.
#include <gtest/gtest.h>

#include "cli/sheet_options.h"
#include "program_identity.h"
#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

TEST(SheetOptions, EachOptionSetsItsControl) {
  const SheetOptions o = ParseSheetOptions({"--terms", "3", "--no-add", "--sub", "--mixed", "--blank", "third",
                                            "--count", "12", "--add-range", "99", "--sub-range", "1", "--no-carry",
                                            "--no-borrow", "--vertical", "--no-new-page", "--format", "text",
                                            "--seed", "42", "--output", "/tmp/x.TXT", "--open"});
  const RunRequest& r = o.request;
  EXPECT_EQ(r.terms, 3);
  EXPECT_EQ(r.operations, OperationKinds::Subtraction | OperationKinds::Mixed);
  EXPECT_EQ(r.blank, BlankPlace::Third);
  EXPECT_EQ(r.count, 12);
  EXPECT_EQ(r.perLine, 3) << "three terms set three per line, as the window does";
  EXPECT_EQ(r.addRange, 99);
  EXPECT_EQ(r.subRange, 1);
  EXPECT_FALSE(r.carrying);
  EXPECT_FALSE(r.borrowing);
  EXPECT_TRUE(r.columnForm);
  EXPECT_FALSE(r.numberEachPage);
  EXPECT_EQ(r.format, FileFormat::Text);
  EXPECT_EQ(r.seed, 42u);
  EXPECT_EQ(o.output, std::filesystem::path("/tmp/x.TXT"));
  EXPECT_TRUE(o.open);
  EXPECT_EQ(o.request.textEncoding, TextEncoding::Locale);
  EXPECT_EQ(ParseSheetOptions({"--format=text", "--encoding=gbk"}).request.textEncoding, TextEncoding::Gbk);
  EXPECT_EQ(ParseSheetOptions({"--format=text", "--enc", "utf-8"}).request.textEncoding, TextEncoding::Utf8);
}

TEST(SheetOptions, DefaultsAreTheWindowsStartUpValues) {
  const SheetOptions o = ParseSheetOptions({});
  EXPECT_EQ(o.request.count, 100);
  EXPECT_EQ(o.request.perLine, 4);
  EXPECT_EQ(o.request.format, FileFormat::Excel);
  EXPECT_EQ(o.request.operations, OperationKinds::Addition);
  EXPECT_FALSE(o.request.seed.has_value());
  EXPECT_EQ(ParseSheetOptions({"--per-row", "10"}).request.perLine, 10);
  EXPECT_EQ(ParseSheetOptions({"--terms=3", "--per-row", "10"}).request.perLine, 10) << "a given count wins";
}

TEST(SheetOptions, GnuStyleSpellings) {
  struct Case {
    std::vector<std::string> arguments;
    int count;
    std::string format, output;
  };
  const Case cases[] = {
      {{"--count=7"}, 7, "excel", ""},
      {{"--count", "7"}, 7, "excel", ""},
      {{"--cou=7", "--form", "text"}, 7, "text", ""},  // unambiguous prefixes
      {{"-o", "/tmp/a.XLS"}, 100, "excel", "/tmp/a.XLS"},
      {{"-o/tmp/a.XLS"}, 100, "excel", "/tmp/a.XLS"},
      {{"--output=/tmp/a b.TXT", "--format=text"}, 100, "text", "/tmp/a b.TXT"},
      {{"--count", "5", "--count=9"}, 9, "excel", ""},  // the last one counts
  };
  for (const Case& c : cases) {
    const SheetOptions o = ParseSheetOptions(c.arguments);
    EXPECT_EQ(o.request.count, c.count) << c.arguments[0];
    EXPECT_EQ(o.request.format, c.format == "text" ? FileFormat::Text : FileFormat::Excel) << c.arguments[0];
    EXPECT_EQ(o.output.value_or("").string(), c.output) << c.arguments[0];
  }
  const SheetOptions set = ParseSheetOptions({"--sheets=40", "--answers", "--distinct"});
  EXPECT_EQ(set.sheets, 40);
  EXPECT_EQ(ParseSheetOptions({"--sheets=1000"}).sheets, 1000) << "the largest class set";
  EXPECT_TRUE(set.answers);
  EXPECT_TRUE(set.distinct);
  EXPECT_FALSE(ParseSheetOptions({}).sheets.has_value());
  EXPECT_TRUE(ParseSheetOptions({"-h"}).help);
  EXPECT_TRUE(ParseSheetOptions({"--help"}).help);
  EXPECT_TRUE(ParseSheetOptions({"-V"}).version);
  EXPECT_TRUE(ParseSheetOptions({"--vers"}).version);
}

TEST(SheetOptions, RefusalsNameTheOption) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--colour"}, "未知的选项“--colour”"},
      {{"-x"}, "未知的选项“-x”"},
      {{"--no"}, "选项“--no”有歧义，可能是 --no-add、--no-carry、--no-borrow、--no-new-page 或 --no-trivial"},
      {{"--s=4"}, "选项“--s=4”有歧义，可能是 --sub、--sub-range、--seed、--sheets 或 --steps"},
      {{"--count"}, "--count 需要一个值"},
      {{"-o"}, "-o 需要一个值"},
      {{"--vertical=yes"}, "--vertical 不带值"},
      {{"--count=abc"}, "--count 应为 1 到 1000 的整数，而不是“abc”"},
      {{"--count="}, "--count 应为 1 到 1000 的整数，而不是“”"},
      {{"sheet.XLS"}, "多余的参数“sheet.XLS”"},
      {{"--output="}, "--output 需要一个文件名"},
      {{"--sheets=0"}, "--sheets 应为 1 到 1000 的整数，而不是“0”"},
      {{"--sheets=1001"}, "--sheets 应为 1 到 1000 的整数，而不是“1001”"},
      {{"--sheets", "x"}, "--sheets 应为 1 到 1000 的整数，而不是“x”"},
      {{"--format=text", "--encoding=latin1"}, "--encoding 应为 utf-8 或 gbk，而不是“latin1”"},
      {{"--encoding=gbk"}, "--encoding 只用于 --format=text"},
      {{"--large"}, "--large 只用于 --format=pdf"},
      {{"--format=text", "--two-sided"}, "--two-sided 只用于 --format=pdf"},
      {{"--blank=maybe"}, "--blank 应为 compute、first、second、third 或 random，而不是“maybe”"},
      {{"--no-add"}, "没有选择运算：--no-add 时请给出 --sub、--mul 或 --div"},
  };
  for (const Case& c : cases) {
    try {
      ParseSheetOptions(c.arguments);
      ADD_FAILURE() << c.arguments[0] << " was accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

TEST(SheetOptions, RefusesWhatTheWindowWouldNotTake) {
  const std::vector<std::vector<std::string>> refused = {
      {"--count", "0"},      {"--count", "1001"},   {"--count", "12.5"},   {"--count", "-5"},
      {"--per-row", "11"},   {"--add-range", "100"}, {"--sub-range", "0"}, {"--terms", "4"},
      {"--blank", "third"},  {"--mixed"},           {"--format", "odt"},   {"--seed", "x"},
      {"--count"},           {"--colour"},          {"--count", "99999999999"},
      {"--seed", "18446744073709551616"}};  // one past the largest seed
  EXPECT_EQ(ParseSheetOptions({"--seed", "18446744073709551615"}).request.seed, 18446744073709551615u);
  EXPECT_EQ(ParseSheetOptions({"--format", "pdf"}).request.format, FileFormat::Pdf);
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

TEST(SheetCommand, WritesIntoTheCurrentFolderByDefault) {
  TempFolder folder, temporary;
  const Outcome run = RunSheet("--format excel --count 7",
                               "cd " + Quoted(folder.path()) + " && TMPDIR=" + Quoted(temporary.path()));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(run.out.starts_with("加法运算题目列表")) << run.out;
  EXPECT_TRUE(run.out.ends_with(".XLS\n")) << run.out;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / run.out.substr(0, run.out.size() - 1)));
  EXPECT_TRUE(std::filesystem::is_empty(temporary.path())) << "$TMPDIR is no place for sheets";
}

// A workbook's line of ten two-term problems would print its terms below 9
// pt even lying: it holds nine, and standard error says so; the run succeeds.
TEST(SheetCommand, AWorkbookLineTooWideToReadSaysHowManyItHolds) {
  TempFolder folder;
  const std::string file = (folder.path() / "w.XLS").string();
  const Outcome run = RunSheet("--per-row=10 --output '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "numbrook-sheet: 每行最多能排 9 题，已按每行 9 题排版\n" + file + "\n");
  EXPECT_TRUE(ParseSheetOptions({"--format=pdf", "--large", "--two-sided"}).request.largeType);
  EXPECT_TRUE(ParseSheetOptions({"--format=pdf", "--large", "--two-sided"}).request.twoSided);
}

TEST(SheetCommand, BadOptionsExitWithTwoAndWriteNothing) {
  TempFolder folder;
  const std::string file = (folder.path() / "never.TXT").string();
  const Outcome run = RunSheet("--count 1001 --format text --output '" + file + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("--count 应为 1 到 1000 的整数"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(RunSheet("--bogus").status, 2);
}

TEST(SheetCommand, SumsPastASmallRangeAreDrawnAgainSilently) {
  TempFolder folder;
  const std::string file = (folder.path() / "w.TXT").string();
  const Outcome run =
      RunSheet("--terms 3 --add-range 5 --no-carry --count 200 --seed 3 --format text --output '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.find("溢出"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(SheetCommand, UnwritableOutputFailsWithTheReason) {
  const Outcome run = RunSheet("--format text --output /nonexistent/folder/x.TXT");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("/nonexistent/folder/x.TXT"), std::string::npos) << run.out;
}

TEST(SheetCommand, VersionAndHelp) {
  for (const char* option : {"--version", "-V"}) {
    const Outcome run = RunSheet(option);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("numbrook-sheet ") + kVersionText + "\n");
  }
  for (const char* option : {"--help", "-h"}) {
    const Outcome run = RunSheet(option);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--per-row=N"), std::string::npos) << run.out;
  }
}

// Every option line of the help has its meaning in one column, and the exit
// statuses are those the program returns.
TEST(SheetUsage, MeaningsAlignAndExitStatusesAreListed) {
  const std::string& usage = SheetUsage();
  std::size_t column = 0, optionLines = 0;
  for (std::size_t at = 0, end; (end = usage.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = usage.substr(at, end - at);
    if (!line.starts_with("  ")) continue;
    // The meaning follows the option after two blanks or more; a line
    // without an option continues the meaning above.
    const std::size_t first = line.find_first_not_of(' ');
    const std::size_t meaning = line[first] == '-' ? line.find_first_not_of(' ', line.find("  ", first)) : first;
    if (column == 0) column = meaning;
    EXPECT_EQ(meaning, column) << line;
    ++optionLines;
  }
  EXPECT_GE(optionLines, 20u);
  EXPECT_NE(usage.find("退出状态：0 表示每份都已写好；1 表示有一份没能写好；2 表示选项有误，\n"
                       "或 --distinct 给不出那么多不同的题目；3 表示都已写好，但 --open\n"
                       "没能打开（原因见标准错误输出）。\n"),
            std::string::npos)
      << usage;
}

TEST(SheetCommand, UnknownOptionExitsTwoWithAMessageAndWritesNothing) {
  TempFolder folder;
  const Outcome run = RunSheet("--colour=red", "cd " + Quoted(folder.path()) + " &&");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "numbrook-sheet: 未知的选项“--colour=red”\n用 numbrook-sheet --help 查看所有选项。\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace numbrook::testing
