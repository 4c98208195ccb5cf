// Two-step problems as a teacher reads their keys in each format: the text
// file as iconv reads it, the workbook as openpyxl reads it and the PDF as
// pdftotext reads it. Each problem is worked in the school's order by the
// tests' own reader (school_order.h), each step keeps its rule, brackets
// have the textbook's shapes, the working lines hold the problem with its
// first step worked and then the result, and one seed gives the same
// problems in all three. And every refusal of the new options.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"
#include "formats_support/dumped_workbook.h"
#include "formats_support/gbk_text.h"
#include "formats_support/poppler.h"
#include "generation_support/school_order.h"

namespace numbrook::testing {
namespace {

// A problem as its key prints it: the problem, and its working lines or
// the result after its "=", each as the reader takes it.
struct Printed {
  std::string problem;
  std::vector<std::string> after;  // the working lines, or the one result
  bool operator==(const Printed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Printed& p) {
  out << p.problem;
  for (const std::string& line : p.after) out << " = " << line;
  return out;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The problems of a key's text in reading order. A line with numbered
// problems starts a group; each line after it that starts with "=" holds
// one working line of each of them. A result in the problem's line stands
// after its "=", in a box's parentheses on the text sheet.
std::vector<Printed> ProblemsIn(const std::string& text) {
  static const std::regex number(R"((?:^|\s)\d+\.\s)");
  std::vector<Printed> problems;
  std::size_t group = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trimmed(line);
    if (trimmed.rfind("=", 0) == 0) {
      std::size_t k = group;
      std::istringstream entries(trimmed.substr(1));
      for (std::string entry; std::getline(entries, entry, '=') && k < problems.size(); ++k) {
        problems[k].after.push_back(Plain(entry));
      }
      continue;
    }
    std::vector<std::string> items;
    for (auto m = std::sregex_iterator(line.begin(), line.end(), number); m != std::sregex_iterator(); ++m) {
      const std::size_t from = static_cast<std::size_t>(m->position() + m->length());
      const auto next = std::next(m);
      items.push_back(line.substr(from, next == std::sregex_iterator() ? std::string::npos
                                                                        : static_cast<std::size_t>(next->position()) - from));
    }
    if (items.empty()) continue;
    group = problems.size();
    for (const std::string& item : items) {
      Printed printed{Plain(item.substr(0, item.find('='))), {}};
      if (item.find('=') != std::string::npos) {
        std::string result = Plain(item.substr(item.find('=') + 1));
        std::erase_if(result, [](char ch) { return ch == '(' || ch == ')'; });
        printed.after.push_back(result);
      }
      problems.push_back(printed);
    }
  }
  return problems;
}

std::vector<Printed> KeyOf(const TempFolder& folder, const std::string& options, const std::string& format) {
  const std::filesystem::path sheet = folder.path() / ("sheet." + format);
  const std::string formatOption = format == "TXT" ? "text --encoding=gbk" : format == "XLS" ? "excel" : "pdf";
  const Outcome run = RunSheet(options + " --answers --format=" + formatOption + " --output=" + Quoted(sheet));
  EXPECT_EQ(run.status, 0) << run.out;
  const std::filesystem::path key = folder.path() / ("sheet答案." + format);
  if (format == "TXT") return ProblemsIn(GbkToUtf8(ReadBytes(key)));
  if (format == "PDF") return ProblemsIn(Poppler("pdftotext -layout", key, "-"));
  const DumpedWorkbook book = DumpWorkbook(key);
  EXPECT_TRUE(book.ok);
  return ProblemsIn(WorkbookText(book));
}

struct KeyCase {
  const char* options;
  Rules rules;
  bool working;
};

class TwoStepKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TwoStepKeys, EveryFormatHoldsTheSameSoundProblems) {
  const KeyCase& c = GetParam();
  TempFolder folder;
  const std::vector<Printed> text = KeyOf(folder, c.options, "TXT");
  ASSERT_EQ(text.size(), 60u);
  int bracketed = 0;
  for (const Printed& p : text) {
    Reader reader(p.problem);
    const std::optional<int> value = reader.Value();
    ASSERT_TRUE(value.has_value()) << p;
    ASSERT_EQ(reader.steps.size(), 2u) << p;
    for (const Step& step : reader.steps) EXPECT_EQ(BrokenRule(step, c.rules), "") << p;
    EXPECT_TRUE(IsTextbookShape(p.problem)) << p;
    bracketed += p.problem.find('(') != std::string::npos;
    ASSERT_EQ(p.after.size(), c.working ? 2u : 1u) << p;
    EXPECT_EQ(p.after.back(), std::to_string(*value)) << p;
    if (!c.working) continue;
    // The first working line is the problem with its first step worked:
    // what is left is the second step.
    Reader rest(p.after[0]);
    ASSERT_TRUE(rest.Value().has_value()) << p;
    ASSERT_EQ(rest.steps.size(), 1u) << p;
    const Step& left = rest.steps[0];
    const Step& second = reader.steps[1];
    EXPECT_EQ(std::tie(left.left, left.op, left.right), std::tie(second.left, second.op, second.right)) << p;
  }
  EXPECT_GT(bracketed, 0);
  EXPECT_EQ(KeyOf(folder, c.options, "XLS"), text) << "the workbook";
  EXPECT_EQ(KeyOf(folder, c.options, "PDF"), text) << "the PDF";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TwoStepKeys,
    ::testing::Values(KeyCase{"--terms=3 --sub --mul --div --add-range=50 --sub-range=60 --tables=2-9 --no-trivial "
                              "--brackets=mixed --steps --count=60 --seed=31",
                              {50, 60, 2, 9, true, true, true},
                              true},
                      KeyCase{"--terms=3 --mul --div --no-carry --brackets=always --count=60 --per-row=3 --seed=5",
                              {20, 10, 1, 9, false, true, false},
                              false}));

// A PDF page as pdftotext -bbox finds it: how many problems (their
// numbers "7."), how many "=" of working lines, and whether the lowest of
// these stands above the self-rating line.
struct PdfPage {
  int problems = 0, equals = 0;
  double lowest = 0, rating = 0;
};

std::vector<PdfPage> PdfPagesOf(const std::filesystem::path& pdf) {
  const std::string boxes = Poppler("pdftotext -bbox", pdf, "-");
  static const std::regex item(R"re(<page |<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*))re");
  std::vector<PdfPage> pages;
  for (std::sregex_iterator it(boxes.begin(), boxes.end(), item), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (!m[1].matched) {
      pages.emplace_back();
      continue;
    }
    PdfPage& page = pages.back();
    const std::string word = m[3];
    if (std::regex_match(word, std::regex(R"(\d+\.)"))) ++page.problems;
    if (word == "=") ++page.equals;
    if (std::regex_match(word, std::regex(R"(\d+\.|=)"))) page.lowest = std::max(page.lowest, std::stod(m[2]));
    if (word == "你真棒") page.rating = std::stod(m[1]);
  }
  return pages;
}

// Every problem's working lines stand on its page, above the footer, on
// the sheet and on its key alike.
TEST(TwoStepPdf, AProblemsWorkingLinesStayOnItsPage) {
  TempFolder folder;
  const Outcome run = RunSheet("--terms=3 --mul --sub --sub-range=50 --steps --count=41 --answers --format=pdf --seed=3 -o " +
                               Quoted(folder.path() / "a.PDF"));
  ASSERT_EQ(run.status, 0) << run.out;
  for (const char* name : {"a.PDF", "a答案.PDF"}) {
    const std::vector<PdfPage> pages = PdfPagesOf(folder.path() / name);
    ASSERT_GT(pages.size(), 1u) << name;
    int problems = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      EXPECT_EQ(pages[p].equals, 2 * pages[p].problems) << name << " page " << p + 1;
      EXPECT_LT(pages[p].lowest, pages[p].rating) << name << " page " << p + 1;
      problems += pages[p].problems;
    }
    EXPECT_EQ(problems, 41) << name;
  }
}

struct Refusal {
  const char* arguments;
  const char* message;
};

class TwoStepRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(TwoStepRefusal, ExitsWithTwoNamesTheOptionAndWritesNothing) {
  TempFolder folder;
  const Outcome run = RunSheet(std::string(GetParam().arguments) + " --format=text", "cd " + Quoted(folder.path()) + " &&");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "numbrook-sheet: " + std::string(GetParam().message) + "\n用 numbrook-sheet --help 查看所有选项。\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, TwoStepRefusal,
    ::testing::Values(
        Refusal{"--terms=3 --mul --brackets=x", "--brackets 应为 never、always 或 mixed，而不是“x”"},
        Refusal{"--sub --brackets=always", "--brackets 需要 --terms=3"},
        Refusal{"--steps", "--steps 需要 --terms=3"},
        Refusal{"--terms=3 --div --blank=first",
                "--blank=first 不能用于三个数的乘除或带括号的题目：这些题目只填得数（--blank=compute）"},
        Refusal{"--terms=3 --sub --brackets=mixed --blank=random",
                "--blank=random 不能用于三个数的乘除或带括号的题目：这些题目只填得数（--blank=compute）"},
        Refusal{"--terms=3 --mul --vertical",
                "--vertical 不能用于三个数的乘除或带括号的题目；写出计算过程请用 --steps（脱式计算）"},
        Refusal{"--terms=3 --steps --vertical", "--vertical 不能与 --steps 同用"},
        Refusal{"--terms=3 --steps --blank=third", "--steps 只用于计算题，不能与 --blank=third 同用"},
        Refusal{"--terms=3 --no-add --mul --brackets=always",
                "--brackets=always 所选的运算出不了带括号的题目：需要 --sub，或加减与乘除同用，或 --mul 与 --div 同用"},
        Refusal{"--terms=3 --mixed --brackets=mixed",
                "--brackets=mixed 所选的运算出不了带括号的题目：需要 --sub（--mixed 不带括号，请另给 --sub），"
                "或加减与乘除同用，或 --mul 与 --div 同用"}));

// --distinct counts two-step problems exactly: as many as the brute force
// finds are drawn, one more is refused with that number.
TEST(TwoStepDistinct, RefusesOneMoreThanTheBruteForceFinds) {
  const std::size_t all = BruteForceCount("+*", true, false, Rules{10, 10, 2, 3});
  ASSERT_LT(all, 1000u);
  TempFolder folder;
  const std::string options = "--terms=3 --mul --add --tables=2-3 --add-range=10 --distinct --format=text -o " +
                              Quoted(folder.path() / "a.TXT") + " --count=";
  EXPECT_EQ(RunSheet(options + std::to_string(all)).status, 0);
  const Outcome refused = RunSheet(options + std::to_string(all + 1));
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.out.find("这些设置只能出 " + std::to_string(all) + " 道不同的题目"), std::string::npos) << refused.out;
}

}  // namespace
}  // namespace numbrook::testing
