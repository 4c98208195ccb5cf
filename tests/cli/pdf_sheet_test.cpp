// numbrook-sheet --format=pdf: what poppler's pdfinfo and pdftotext find in
// the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <set>

#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

int PageCount(const std::filesystem::path& pdf) {
  const Outcome info = RunProgram("/usr/bin/pdfinfo", Quoted(pdf));
  std::smatch found;
  return std::regex_search(info.out, found, std::regex("Pages:\\s+([0-9]+)")) ? std::stoi(found[1]) : -1;
}

std::string PageText(const std::filesystem::path& pdf, int page) {
  const std::string number = std::to_string(page);
  return RunProgram("/usr/bin/pdftotext", "-f " + number + " -l " + number + " " + Quoted(pdf) + " -").out;
}

// The problems of a page as "a+b=", whether or not a key fills in the
// result, sorted: the reader's order of the text runs is its own.
std::vector<std::string> ProblemsOn(const std::string& text) {
  std::vector<std::string> problems;
  const std::regex problem("([0-9]+)\\s*(\\+|\u2212)\\s*([0-9]+)\\s*=");
  for (std::sregex_iterator it(text.begin(), text.end(), problem), end; it != end; ++it) {
    problems.push_back((*it)[1].str() + (*it)[2].str() + (*it)[3].str() + "=");
  }
  std::sort(problems.begin(), problems.end());
  return problems;
}

std::string SeedOn(const std::string& text) {
  std::smatch found;
  return std::regex_search(text, found, std::regex("编号 ([0-9]+)")) ? found[1].str() : "";
}

struct PdfCase {
  const char* arguments;
  int sheets;        // sheets in each file
  bool answers;
  bool twoSided;
};

class PdfSheets : public ::testing::TestWithParam<PdfCase> {};

// Thirty problems fill one page. Printed on both sides, each sheet after the
// first starts past an empty page; otherwise, and in the keys, none is empty.
TEST_P(PdfSheets, OnePupilFileAndOneKeyFileEachSheetOnAnOddPageOnlyWhenTwoSided) {
  const PdfCase& c = GetParam();
  TempFolder folder;
  const Outcome run = RunSheet(std::string(c.arguments) + " --format=pdf --seed=2026 --count=30 -o " +
                               Quoted(folder.path() / "口算"));
  ASSERT_EQ(run.status, 0) << run.out;
  const std::filesystem::path pupils = folder.path() / "口算.PDF", keys = folder.path() / "口算答案.PDF";
  EXPECT_EQ(run.out, pupils.string() + "\n" + (c.answers ? keys.string() + "\n" : ""));
  EXPECT_EQ(std::filesystem::exists(keys), c.answers);

  const int step = c.twoSided ? 2 : 1;
  ASSERT_EQ(PageCount(pupils), step * (c.sheets - 1) + 1);
  if (c.answers) ASSERT_EQ(PageCount(keys), c.sheets);
  std::set<std::string> seeds;
  for (int page = 1; page <= PageCount(pupils); ++page) {
    const std::string sheet = PageText(pupils, page);
    if (c.twoSided && page % 2 == 0) {
      EXPECT_TRUE(ProblemsOn(sheet).empty()) << "page " << page << " should be blank:\n" << sheet;
      continue;
    }
    EXPECT_EQ(ProblemsOn(sheet).size(), 30u) << page;
    seeds.insert(SeedOn(sheet));
    if (c.sheets == 1) EXPECT_EQ(SeedOn(sheet), "2026") << "a single sheet uses the seed given";
    if (!c.answers) continue;
    const int number = (page - 1) / step + 1;
    const std::string key = PageText(keys, number);
    EXPECT_EQ(ProblemsOn(key), ProblemsOn(sheet)) << "the key of sheet " << number;
    EXPECT_EQ(SeedOn(key), SeedOn(sheet));
  }
  EXPECT_EQ(seeds.size(), static_cast<std::size_t>(c.sheets)) << "every sheet its own seed";
}

INSTANTIATE_TEST_SUITE_P(Cases, PdfSheets,
                         ::testing::Values(PdfCase{"", 1, false, false}, PdfCase{"--answers", 1, true, false},
                                           PdfCase{"--sheets=5 --answers", 5, true, false},
                                           PdfCase{"--sheets=5 --answers --two-sided", 5, true, true},
                                           PdfCase{"--sheets=3 --two-sided", 3, false, true}));

TEST(PdfSheets, AFailedSetLeavesNeitherFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "口算答案.PDF");  // where the keys should go
  const Outcome run = RunSheet("--format=pdf --sheets=3 --answers -o " + Quoted(folder.path() / "口算.PDF"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("口算答案.PDF”：它是一个文件夹"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "口算.PDF"));
}

// What pdftotext -bbox finds: every page's width and its words with their boxes.
struct Word {
  std::string text;
  double x0, y0, x1, y1;
};
struct Page {
  double width = 0;
  std::vector<Word> words;
};

std::vector<Page> PagesOf(const std::filesystem::path& pdf) {
  const std::string boxes = RunProgram("/usr/bin/pdftotext", "-bbox " + Quoted(pdf) + " -").out;
  static const std::regex item(
      R"re(<page width="([\d.]+)"|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re");
  std::vector<Page> pages;
  for (std::sregex_iterator it(boxes.begin(), boxes.end(), item), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      pages.push_back({std::stod(m[1]), {}});
    } else if (!pages.empty()) {
      pages.back().words.push_back({m[6], std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), std::stod(m[5])});
    }
  }
  return pages;
}

bool IsNumber(const Word& word) { return std::regex_match(word.text, std::regex("[0-9]+\\.")); }

// A page's problem lines, each as its words from left to right: the words
// that stand level with a problem's number.
std::vector<std::vector<Word>> ProblemLines(const Page& page) {
  std::vector<std::vector<Word>> lines;
  for (const Word& number : page.words) {
    const bool known = std::any_of(lines.begin(), lines.end(),
                                   [&](const std::vector<Word>& line) { return std::abs(line.front().y0 - number.y0) < 1; });
    if (!IsNumber(number) || known) continue;
    std::vector<Word> line;
    for (const Word& word : page.words) {
      if (std::abs(word.y0 - number.y0) < 1) line.push_back(word);
    }
    std::sort(line.begin(), line.end(), [](const Word& a, const Word& b) { return a.x0 < b.x0; });
    lines.push_back(line);
  }
  return lines;
}

struct PlanCase {
  const char* arguments;
  int pages;
  int perPage;     // problems on the first page
  double size;     // the problems' type, in points
  bool landscape;
  int perLine;     // what the notice says a line holds; 0: as asked, no notice
  bool blanksWithin = false;  // boxes stand between the words of a problem
};

void PrintTo(const PlanCase& c, std::ostream* out) { *out << '"' << c.arguments << '"'; }

class PdfPagePlan : public ::testing::TestWithParam<PlanCase> {};

// The fewest pages at a legible size, then the largest type; a problem's
// number stands an em before its first term, no gap within a problem is as
// wide as the gap to the next, and fewer problems a line than asked are
// said on standard error.
TEST_P(PdfPagePlan, PagesProblemsAPageTypeSizeAndGaps) {
  const PlanCase& c = GetParam();
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "plan.PDF";
  const Outcome run = RunSheet(std::string(c.arguments) + " --format=pdf --seed=7 -o " + Quoted(file));
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string notice = c.perLine == 0 ? ""
                                            : "numbrook-sheet: 每行最多能排 " + std::to_string(c.perLine) +
                                                  " 题，已按每行 " + std::to_string(c.perLine) + " 题排版\n";
  EXPECT_EQ(run.out, notice + file.string() + "\n");
  const std::vector<Page> pages = PagesOf(file);
  ASSERT_EQ(static_cast<int>(pages.size()), c.pages);

  int onFirst = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const Page& page = pages[p];
    EXPECT_EQ(page.width > 600, c.landscape) << "page " << p + 1;
    // The footer's rating line is set at 12 pt: the problems' size is their height against its.
    const auto footer = std::find_if(page.words.begin(), page.words.end(),
                                     [](const Word& w) { return w.text.find("你真棒") != std::string::npos; });
    ASSERT_NE(footer, page.words.end());
    const double twelve = footer->y1 - footer->y0;
    for (const std::vector<Word>& line : ProblemLines(page)) {
      double widestWithin = 0, narrowestBetween = 1e9;
      for (std::size_t i = 0; i < line.size(); ++i) {
        if (!IsNumber(line[i])) continue;
        if (p == 0) ++onFirst;
        const double size = 12 * (line[i].y1 - line[i].y0) / twelve;
        EXPECT_NEAR(size, c.size, 0.05) << line[i].text;
        ASSERT_LT(i + 1, line.size()) << line[i].text << " ends its line";
        EXPECT_GE(line[i + 1].x0 - line[i].x1, size - 0.05) << "after " << line[i].text;
        if (i > 0) narrowestBetween = std::min(narrowestBetween, line[i].x0 - line[i - 1].x1);
        for (std::size_t j = i + 1; j < line.size() && !IsNumber(line[j]); ++j) {
          widestWithin = std::max(widestWithin, line[j].x0 - line[j - 1].x1);
        }
      }
      // A box is ink the text does not show: a gap over one says nothing.
      if (narrowestBetween < 1e9 && !c.blanksWithin) EXPECT_LT(widestWithin, narrowestBetween) << "page " << p + 1;
    }
  }
  EXPECT_EQ(onFirst, c.perPage);
}

// Measured at the default ranges with Debian's Noto Sans CJK.
INSTANTIATE_TEST_SUITE_P(
    Settings, PdfPagePlan,
    ::testing::Values(PlanCase{"", 1, 100, 12, false, 0}, PlanCase{"--terms=3 --mixed", 2, 51, 14.5, false, 0},
                      PlanCase{"--vertical", 5, 20, 12.5, false, 0},
                      PlanCase{"--vertical --terms=3", 7, 15, 14, false, 0},
                      PlanCase{"--count=999", 9, 112, 12, false, 0}, PlanCase{"--count=1000", 9, 112, 12, false, 0},
                      PlanCase{"--per-row=1", 5, 20, 17, false, 0}, PlanCase{"--per-row=2", 3, 34, 19.5, false, 0},
                      PlanCase{"--per-row=3", 2, 51, 17, false, 0}, PlanCase{"--per-row=5", 2, 50, 14.5, true, 0},
                      // Three a line stay at 16 pt or more, though 12 pt would hold them on one page.
                      PlanCase{"--count=75 --per-row=3", 2, 39, 18, false, 0}, PlanCase{"--count=75 --per-row=4", 1, 75, 13, false, 0},
                      PlanCase{"--per-row=6", 2, 50, 14.5, true, 5}, PlanCase{"--per-row=10", 2, 50, 14.5, true, 5},
                      PlanCase{"--large", 4, 27, 20, true, 3},
                      PlanCase{"--blank=random", 1, 100, 12, false, 0, true},
                      PlanCase{"--terms=3 --sub --mixed --blank=random --per-row=4", 2, 52, 16, true, 0, true}));

// The PDF prints the minus sign, as wide as the plus, where the text file
// and the workbook keep the hyphen-minus.
TEST(PdfSigns, MinusIsTheMinusSign) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "minus.PDF";
  ASSERT_EQ(RunSheet("--format=pdf --no-add --sub --count=8 -o " + Quoted(file)).status, 0);
  const std::vector<Word> words = PagesOf(file).front().words;
  // A reader may join a problem's terms and signs into one word.
  EXPECT_EQ(std::count_if(words.begin(), words.end(),
                          [](const Word& w) { return w.text.find("\u2212") != std::string::npos; }),
            8);
  EXPECT_EQ(std::count_if(words.begin(), words.end(), [](const Word& w) { return w.text.find('-') != std::string::npos; }),
            0);
}

}  // namespace
}  // namespace numbrook::testing
