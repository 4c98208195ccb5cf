// numbrook-sheet's multiplication and division. Its options: what each sets,
// and every refusal exits with 2, names its option and writes nothing. Its
// keys as independent readers find them in each format: the text file as
// iconv reads it, the workbook as openpyxl reads it and the PDF as
// pdftotext reads it. Every equation holds, every problem is of its tables
// and none is too easy, and one seed gives the same problems in all three.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <sstream>
#include <tuple>

#include "cli/sheet_options.h"
#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"
#include "formats_support/dumped_workbook.h"
#include "formats_support/gbk_text.h"
#include "formats_support/poppler.h"

namespace numbrook::testing {
namespace {

TEST(TimesTablesOptions, EachOptionSetsItsChoice) {
  const RunRequest r =
      ParseSheetOptions({"--no-add", "--mul", "--div", "--tables=2-8", "--remainder=mixed", "--no-trivial"}).request;
  EXPECT_EQ(r.operations, OperationKinds::Multiplication | OperationKinds::Division);
  EXPECT_EQ(r.tables, (TablesRange{2, 8}));
  EXPECT_EQ(r.remainders, Remainders::Mixed);
  EXPECT_TRUE(r.noTrivial);
  const RunRequest defaults = ParseSheetOptions({"--div"}).request;
  EXPECT_EQ(defaults.operations, OperationKinds::Addition | OperationKinds::Division) << "加法 stays ticked";
  EXPECT_EQ(defaults.tables, (TablesRange{1, 9}));
  EXPECT_EQ(defaults.remainders, Remainders::Never);
  EXPECT_FALSE(defaults.noTrivial);
  EXPECT_EQ(ParseSheetOptions({"--mul", "--tables", "7-7"}).request.tables, (TablesRange{7, 7}));
  EXPECT_EQ(ParseSheetOptions({"--div", "--remainder", "always"}).request.remainders, Remainders::Always);
  EXPECT_TRUE(ParseSheetOptions({"--sub", "--no-trivial"}).request.noTrivial) << "for every operation";
}

struct Refusal {
  const char* arguments;
  const char* message;
  bool option = true;  // a bad option, not settings that give too little: the help is pointed to
};

class TimesTablesRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(TimesTablesRefusal, ExitsWithTwoNamesTheOptionAndWritesNothing) {
  TempFolder folder;
  const Outcome run = RunSheet(std::string(GetParam().arguments) + " --format=text", "cd " + Quoted(folder.path()) + " &&");
  EXPECT_EQ(run.status, 2);
  const std::string help = GetParam().option ? "用 numbrook-sheet --help 查看所有选项。\n" : "";
  EXPECT_EQ(run.out, "numbrook-sheet: " + std::string(GetParam().message) + "\n" + help);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}


INSTANTIATE_TEST_SUITE_P(
    BadInput, TimesTablesRefusal,
    ::testing::Values(Refusal{"--mul --tables=0-9", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“0-9”"},
                      Refusal{"--mul --tables=9-2", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“9-2”"},
                      Refusal{"--mul --tables=x", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“x”"},
                      Refusal{"--mul --tables=1-10", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“1-10”"},
                      Refusal{"--mul --tables=3", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“3”"},
                      Refusal{"--div --remainder=maybe", "--remainder 应为 never、always 或 mixed，而不是“maybe”"},
                      Refusal{"--remainder=always", "--remainder 需要 --div"},
                      Refusal{"--mul --remainder=mixed", "--remainder 需要 --div"},
                      Refusal{"--tables=2-9", "--tables 需要 --mul 或 --div"},
                      // Three terms with × or ÷ are two-step problems, which ask for the result only.
                      Refusal{"--terms=3 --mul --blank=first",
                              "--blank=first 不能用于三个数的乘除或带括号的题目：这些题目只填得数（--blank=compute）"},
                      Refusal{"--div --terms=3 --remainder=always", "--remainder 只用于二个数的除法：两步题没有余数"},
                      Refusal{"--mul --blank=third", "--blank=third 需要 --terms=3"},
                      // The table of 1 has no division with a remainder.
                      Refusal{"--no-add --div --remainder=always --tables=1-1",
                              "这些设置中有一种运算出不了任何题目（如只用 1 的乘法口诀出有余数除法）；请扩大范围。", false},
                      Refusal{"--mul --no-trivial --tables=1-1",
                              "这些设置中有一种运算出不了任何题目（如只用 1 的乘法口诀出有余数除法）；请扩大范围。", false},
                      // 64 multiplications without a factor 1.
                      Refusal{"--no-add --mul --no-trivial --distinct --count=65",
                              "这些设置只能出 64 道不同的题目，少于要求的 65 道；请扩大范围或减少题目数量。", false}));

// A problem as printed; its number is left out of comparisons, as the
// workbook and the PDF number each page anew and the text has no pages.
struct Problem {
  int number, a;
  std::string sign;
  int b, result;
  std::optional<int> remainder;
  auto Tied() const { return std::tie(a, sign, b, result, remainder); }
  bool operator==(const Problem& other) const { return Tied() == other.Tied(); }
};

std::ostream& operator<<(std::ostream& out, const Problem& p) {
  out << p.number << ". " << p.a << p.sign << p.b << "=" << p.result;
  if (p.remainder) out << "……" << *p.remainder;
  return out;
}

// Every "N. a op b = r" (and "…… rem") of a text, in reading order; boxes'
// parentheses are left out, as on a key they hold the answers.
std::vector<Problem> ProblemsIn(std::string text) {
  std::erase_if(text, [](char ch) { return ch == '(' || ch == ')'; });
  static const std::regex problem(R"((\d+)\.\s+(\d+)\s*(×|÷|\+|-)\s*(\d+)\s*=\s*(\d+)(?:\s*……\s*(\d+))?)");
  std::vector<Problem> problems;
  for (auto m = std::sregex_iterator(text.begin(), text.end(), problem); m != std::sregex_iterator(); ++m) {
    const std::smatch& p = *m;
    problems.push_back({std::stoi(p[1]), std::stoi(p[2]), p[3], std::stoi(p[4]), std::stoi(p[5]),
                        p[6].matched ? std::optional<int>(std::stoi(p[6])) : std::nullopt});
  }
  return problems;
}

constexpr int kFrom = 3, kTo = 8;
constexpr int kCount = 200;

std::vector<Problem> KeyOf(const TempFolder& folder, const std::string& format) {
  const std::filesystem::path sheet = folder.path() / ("sheet." + format);
  const Outcome run = RunSheet("--no-add --mul --div --remainder=mixed --tables=3-8 --no-trivial --count=200 "
                               "--per-row=5 --blank=random --seed=99 --answers --format=" +
                               std::string(format == "TXT" ? "text --encoding=utf-8" : format == "XLS" ? "excel" : "pdf") +
                               " --output=" + Quoted(sheet));
  EXPECT_EQ(run.status, 0) << run.out;
  const std::filesystem::path key = folder.path() / ("sheet答案." + format);
  if (format == "TXT") return ProblemsIn(Utf8Text(ReadBytes(key)));
  if (format == "PDF") return ProblemsIn(Poppler("pdftotext -layout", key, "-"));
  const DumpedWorkbook book = DumpWorkbook(key);
  EXPECT_TRUE(book.ok);
  return ProblemsIn(WorkbookText(book));
}

TEST(TimesTablesKeys, EveryFormatHoldsTheSameTrueProblemsOfTheTables) {
  TempFolder folder;
  const std::vector<Problem> text = KeyOf(folder, "TXT");
  ASSERT_EQ(text.size(), static_cast<std::size_t>(kCount));
  int divisions = 0, withRemainder = 0;
  for (const Problem& p : text) {
    const bool times = p.sign == "×";
    ASSERT_TRUE(times || p.sign == "÷") << p;
    if (times) {
      EXPECT_EQ(p.result, p.a * p.b) << p;
      EXPECT_FALSE(p.remainder.has_value()) << p;
    } else {
      ++divisions;
      ASSERT_TRUE(p.remainder.has_value()) << "every division shows its remainder: " << p;
      EXPECT_EQ(p.a, p.b * p.result + *p.remainder) << p;
      EXPECT_LT(*p.remainder, p.b) << p;
      withRemainder += *p.remainder > 0;
    }
    // The table of the larger factor: of a × b, or of divisor and quotient.
    const int table = times ? std::max(p.a, p.b) : std::max(p.b, p.result);
    EXPECT_TRUE(kFrom <= table && table <= kTo) << p;
    // No factor, divisor or quotient 1.
    EXPECT_NE(p.b, 1) << p;
    EXPECT_NE(times ? p.a : p.result, 1) << p;
  }
  EXPECT_GT(divisions, 50);
  EXPECT_GT(withRemainder, 0);
  EXPECT_LT(withRemainder, divisions);
  EXPECT_EQ(KeyOf(folder, "XLS"), text) << "the workbook";
  EXPECT_EQ(KeyOf(folder, "PDF"), text) << "the PDF";
}

// A class set of divisions in column form: each sheet shows its seed (编号),
// from which it and its key are made again alone.
TEST(TimesTablesKeys, ClassSetSheetsAreRemadeFromTheirSeeds) {
  TempFolder folder;
  const std::string options = "--no-add --div --remainder=mixed --vertical --count=20 --answers --format=text "
                              "--encoding=utf-8 ";
  ASSERT_EQ(RunSheet(options + "--sheets=3 --seed=12 -o " + Quoted(folder.path() / "除法.TXT")).status, 0);
  const std::string second = Utf8Text(ReadBytes(folder.path() / "除法-2.TXT"));
  std::smatch seed;
  ASSERT_TRUE(std::regex_search(second, seed, std::regex("编号 ([0-9]+)"))) << second;
  ASSERT_EQ(RunSheet(options + "--seed=" + seed[1].str() + " -o " + Quoted(folder.path() / "alone.TXT")).status, 0);
  EXPECT_EQ(ReadBytes(folder.path() / "alone.TXT"), ReadBytes(folder.path() / "除法-2.TXT"));
  EXPECT_EQ(ReadBytes(folder.path() / "alone答案.TXT"), ReadBytes(folder.path() / "除法-2答案.TXT"));
  EXPECT_NE(ReadBytes(folder.path() / "除法-1.TXT"), ReadBytes(folder.path() / "除法-2.TXT"));
  EXPECT_EQ(ProblemsIn(Utf8Text(ReadBytes(folder.path() / "除法-2答案.TXT"))).size(), 20u);
}

}  // namespace
}  // namespace numbrook::testing
