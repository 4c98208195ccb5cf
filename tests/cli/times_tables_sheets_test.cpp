// Keys of multiplication and division as independent readers find them in
// each format: the text file as iconv reads it, the workbook as openpyxl
// reads it and the PDF as pdftotext reads it. Every equation holds, every
// problem is of its tables and none is too easy, and one seed gives the
// same problems in all three.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <sstream>
#include <tuple>

#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"
#include "formats_support/dumped_workbook.h"
#include "formats_support/gbk_text.h"
#include "formats_support/poppler.h"

namespace numbrook::testing {
namespace {

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
