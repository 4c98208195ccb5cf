// numbrook-sheet --format=pdf: what poppler's pdfinfo and pdftotext find in
// the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace numbrook::testing
