// Class sets from numbrook-sheet: answer keys read back independently (the
// text as UTF-8 (the tests run under C.UTF-8), the workbook by openpyxl), sheets that can be made
// again one by one, and sheets without a repeated problem.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "cli_support/sheet_program.h"
#include "formats_support/dumped_workbook.h"
#include "formats_support/gbk_text.h"
#include "files_support/fault_folders.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

std::vector<std::string> LinesOf(const std::string& text, const char* end) {
  std::vector<std::string> lines;
  const std::string separator = end;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t next = text.find(separator, at);
    if (next == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, next - at));
    at = next + separator.size();
  }
  return lines;
}

int Apply(int left, const std::string& op, int right) { return op == "-" ? left - right : left + right; }

// The description line of a key is the sheet's with "（答案）" at its end.
std::string KeyDescription(std::string sheet, const std::string& close) {
  const std::size_t at = sheet.rfind(close);
  return at == std::string::npos ? sheet : sheet.insert(at, "（答案）");
}

// --- the text key -----------------------------------------------------------

// Checks a text key against its sheet: the same lines but for the
// description and the boxes, every box filled with a value of the box's
// width, and every problem, in line and in column form, a true equation.
void CheckTextKey(const std::filesystem::path& sheetFile, const std::filesystem::path& keyFile, int terms,
                  int problems, bool columnForm) {
  const std::vector<std::string> sheet = LinesOf(Utf8Text(ReadBytes(sheetFile)), "\r\n");
  const std::vector<std::string> key = LinesOf(Utf8Text(ReadBytes(keyFile)), "\r\n");
  ASSERT_EQ(sheet.size(), key.size());
  ASSERT_GT(sheet.size(), 3u);
  EXPECT_EQ(key[2], KeyDescription(sheet[2], "】"));
  EXPECT_TRUE(key[2].starts_with(" 【说明：") && key[2].ends_with("（答案）】")) << key[2];

  static const std::regex emptyBox(R"(\( +\))");
  // A column form's value keeps the sheet's digit spacing: "(1 9)".
  static const std::regex filledBox(R"(\( *-?\d[\d ]*\))");
  static const std::regex problem(R"(^(\d+)\.(\d+)([+-])(\d+)(?:([+-])(\d+))?=(-?\d+)$)");
  int equations = 0;
  for (std::size_t i = 0; i < sheet.size(); ++i) {
    if (i == 2) continue;
    ASSERT_EQ(key[i].size(), sheet[i].size()) << "line " << i + 1 << ": every box keeps its width";
    std::string blanked = key[i];
    for (auto box = std::sregex_iterator(sheet[i].begin(), sheet[i].end(), emptyBox); box != std::sregex_iterator();
         ++box) {
      const std::string filled = key[i].substr(static_cast<std::size_t>(box->position()), box->str().size());
      EXPECT_TRUE(std::regex_match(filled, filledBox)) << "line " << i + 1 << ": '" << filled << "'";
      blanked.replace(static_cast<std::size_t>(box->position()), box->str().size(), box->str());
    }
    EXPECT_EQ(blanked, sheet[i]) << "line " << i + 1 << ": only the boxes differ";

    // A line of problems: each is "k. a+b(-c)=r", 8 blanks apart.
    if (key[i].find('=') == std::string::npos) continue;
    for (std::string part : LinesOf(key[i], "        ")) {
      std::erase_if(part, [](char ch) { return ch == ' ' || ch == '(' || ch == ')'; });
      if (part.empty()) continue;
      std::smatch m;
      ASSERT_TRUE(std::regex_match(part, m, problem)) << "'" << part << "'";
      int value = Apply(std::stoi(m[2]), m[3], std::stoi(m[4]));
      if (m[5].matched) value = Apply(value, m[5], std::stoi(m[6]));
      EXPECT_EQ(value, std::stoi(m[7])) << "problem " << m[1];
      ++equations;
    }
  }
  EXPECT_EQ(equations, problems);
  if (!columnForm) return;

  // Column form: after each line of problems, its terms' rows, the rule and
  // the result, in slots of 27 (or 29) characters from column 9.
  const std::size_t slot = terms == 3 ? 29 : 27;
  int blocks = 0;
  for (std::size_t i = 3; i + static_cast<std::size_t>(terms) + 2 < key.size(); ++i) {
    if (key[i].find('=') == std::string::npos) continue;
    const std::size_t firstRow = i + 1, resultRow = i + static_cast<std::size_t>(terms) + 2;
    if (key[resultRow - 1].find("---") == std::string::npos) continue;  // line form only
    for (std::size_t s = 0; 9 + s * slot < key[firstRow].size(); ++s) {
      auto number = [&](std::size_t row, std::string* op) {
        std::string text = key[row].substr(std::min(key[row].size(), 9 + s * slot), slot);
        if (op != nullptr) *op = text.substr(0, 1);
        text.erase(0, 1);  // the operator's place
        std::erase_if(text, [](char ch) { return !(std::isdigit(static_cast<unsigned char>(ch)) || ch == '-'); });
        return text.empty() ? 0 : std::stoi(text);
      };
      int value = number(firstRow, nullptr);
      for (int t = 1; t < terms; ++t) {
        std::string op;
        const int term = number(firstRow + static_cast<std::size_t>(t), &op);
        value = Apply(value, op, term);
      }
      EXPECT_EQ(value, number(resultRow, nullptr)) << "column form after line " << i + 1 << ", slot " << s + 1;
      ++blocks;
    }
  }
  EXPECT_EQ(blocks, problems) << "every problem has its column form";
}

// --- the workbook key -------------------------------------------------------

// Checks a workbook key against its sheet: the same page, columns, rows and
// cells but for the description and the blanks, whose cells hold the value
// in bold red, underlined; every problem, in line and in column form, a true equation.
void CheckWorkbookKey(const std::filesystem::path& sheetFile, const std::filesystem::path& keyFile, int terms,
                      int problems) {
  const DumpedWorkbook sheet = DumpWorkbook(sheetFile);
  const DumpedWorkbook key = DumpWorkbook(keyFile);
  ASSERT_TRUE(sheet.ok && key.ok);
  for (const auto& [name, value] : sheet.facts) {
    if (name == "header_left") {
      EXPECT_EQ(key.facts.at(name), KeyDescription(value, "】"));
    } else {
      EXPECT_EQ(key.facts.at(name), value) << name;
    }
  }
  EXPECT_EQ(key.columns, sheet.columns);
  EXPECT_EQ(key.rowHeights, sheet.rowHeights);
  EXPECT_EQ(key.breaks, sheet.breaks);

  int filled = 0;
  for (const auto& [at, cell] : sheet.cells) {
    const auto found = key.cells.find(at);
    const std::string where = "row " + std::to_string(at.first) + " column " + std::to_string(at.second);
    if (cell.at("value") == "(   )" || cell.at("value") == "(   ") {
      ASSERT_NE(found, key.cells.end()) << where;
      Fields expected = cell;
      expected["kind"] = "n";
      expected["bold"] = "1";
      expected["color"] = "FFFF0000";
      expected["underline"] = "single";  // seen also on a grey print
      expected["value"] = found->second.at("value");
      EXPECT_EQ(found->second, expected) << where;
      ++filled;
    } else if (cell.at("value") == ")") {
      // The box's closing cell is empty on the key, keeping only its rule.
      if (cell.at("top").empty()) {
        EXPECT_EQ(found, key.cells.end()) << where;
      } else {
        Fields expected = cell;
        expected["kind"] = "-";
        expected["value"] = "";
        EXPECT_EQ(found->second, expected) << where;
      }
    } else {
      ASSERT_NE(found, key.cells.end()) << where;
      EXPECT_EQ(found->second, cell) << where;
    }
  }
  for (const auto& [at, cell] : key.cells) EXPECT_EQ(sheet.cells.count(at), 1u) << at.first << "," << at.second;

  auto value = [&](int row, int column) { return std::stoi(key.cells.at({row, column}).at("value")); };
  auto text = [&](int row, int column) { return key.cells.at({row, column}).at("value"); };
  int equations = 0;
  for (const auto& [at, cell] : key.cells) {
    const auto [row, column] = at;
    if ((column - 1) % 9 != 0 || cell.at("value").empty()) continue;  // a problem number starts a slot
    const int g = column - 1;
    int result = Apply(value(row, g + 2), text(row, g + 3), value(row, g + 4));
    if (terms == 3) result = Apply(result, text(row, g + 5), value(row, g + 6));
    EXPECT_EQ(result, value(row, g + 8)) << "row " << row << " slot at column " << column;
    // The column form under it: the value column, the operators left of it.
    int column_form = value(row + 1, g + 4);
    for (int t = 1; t < terms; ++t) column_form = Apply(column_form, text(row + 1 + t, g + 3), value(row + 1 + t, g + 4));
    EXPECT_EQ(column_form, value(row + terms + 1, g + 4)) << "column form under row " << row;
    ++equations;
  }
  EXPECT_EQ(equations, problems);
  EXPECT_EQ(filled, 2 * problems) << "each problem's blank, in line and in column form";
}

struct KeyCase {
  const char* format;
  int terms;
  const char* blank;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.format << ", " << c.terms << " terms, " << c.blank; }

class AnswerKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AnswerKey, EveryBlankHoldsTheValueThatMakesItsProblemTrue) {
  const KeyCase c = GetParam();
  const bool text = std::string(c.format) == "text";
  TempFolder folder;
  const std::filesystem::path sheet = folder.path() / (text ? "k.TXT" : "k.XLS");
  const std::filesystem::path key = folder.path() / (text ? "k答案.TXT" : "k答案.XLS");
  const std::string terms = c.terms == 3 ? " --terms=3 --mixed" : " --sub";
  const Outcome run = RunSheet(std::string("--answers --vertical --count=37 --seed=11 --format=") + c.format + terms +
                               " --blank=" + c.blank + " -o " + Quoted(sheet));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, sheet.string() + "\n" + key.string() + "\n") << "the sheet first, then its key";
  if (text) {
    CheckTextKey(sheet, key, c.terms, 37, true);
  } else {
    CheckWorkbookKey(sheet, key, c.terms, 37);
  }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, AnswerKey,
                         ::testing::Values(KeyCase{"text", 2, "random"}, KeyCase{"text", 3, "random"},
                                           KeyCase{"text", 3, "third"}, KeyCase{"excel", 2, "random"},
                                           KeyCase{"excel", 3, "random"}, KeyCase{"excel", 2, "first"}));

// --- class sets -------------------------------------------------------------

// The seed a sheet shows after "编号", read back from the written text.
std::string SeedShownIn(const std::string& text) {
  std::smatch found;
  const std::string utf8 = GbkToUtf8(text);
  return std::regex_search(utf8, found, std::regex("编号 ([0-9]+)")) ? found[1].str() : "";
}

std::string SeedShownIn(const DumpedWorkbook& book) {
  for (const auto& [name, value] : book.facts) {
    std::smatch found;
    if (std::regex_search(value, found, std::regex("编号 ([0-9]+)"))) return found[1].str();
  }
  return "";
}

TEST(ClassSet, SheetKIsRemadeAloneFromTheSeedItShows) {
  TempFolder folder;
  const Outcome set = RunSheet("--sheets=12 --seed=40 --answers --format=text --encoding=gbk --terms=3 --count=30 -o " +
                               Quoted(folder.path() / "口算.TXT"));
  ASSERT_EQ(set.status, 0) << set.out;
  std::string expected;
  for (int k = 1; k <= 12; ++k) {
    const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
    expected += (folder.path() / ("口算-" + number + ".TXT")).string() + "\n";
    expected += (folder.path() / ("口算-" + number + "答案.TXT")).string() + "\n";
  }
  EXPECT_EQ(set.out, expected) << "every path on its own line, in order, and nothing else";

  for (int k : {1, 7, 12}) {
    const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
    const std::string seed = SeedShownIn(ReadBytes(folder.path() / ("口算-" + number + ".TXT")));
    ASSERT_FALSE(seed.empty()) << k;
    EXPECT_EQ(seed, SeedShownIn(ReadBytes(folder.path() / ("口算-" + number + "答案.TXT")))) << k;
    const std::filesystem::path alone = folder.path() / ("alone" + std::to_string(k) + ".TXT");
    ASSERT_EQ(RunSheet("--seed=" + seed + " --answers --format=text --encoding=gbk --terms=3 --count=30 -o " + Quoted(alone)).status,
              0);
    EXPECT_EQ(ReadBytes(folder.path() / ("口算-" + number + ".TXT")), ReadBytes(alone)) << k;
    EXPECT_EQ(ReadBytes(folder.path() / ("口算-" + number + "答案.TXT")),
              ReadBytes(folder.path() / ("alone" + std::to_string(k) + "答案.TXT")))
        << k;
  }
  EXPECT_NE(ReadBytes(folder.path() / "口算-01.TXT"), ReadBytes(folder.path() / "口算-02.TXT"));
}

TEST(ClassSet, SetsFromNeighbouringSeedsShareNoSheet) {
  TempFolder folder;
  std::set<std::string> problems;
  for (const char* seed : {"2026", "2027"}) {
    ASSERT_EQ(RunSheet(std::string("--sheets=40 --format=text --encoding=gbk --count=30 --seed=") + seed + " -o " +
                       Quoted(folder.path() / (std::string(seed) + ".TXT")))
                  .status,
              0);
    for (int k = 1; k <= 40; ++k) {
      const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
      const std::string text = GbkToUtf8(ReadBytes(folder.path() / (std::string(seed) + "-" + number + ".TXT")));
      // The problems alone: everything after the description line.
      problems.insert(text.substr(text.find("】")));
    }
  }
  EXPECT_EQ(problems.size(), 80u) << "the sets from 2026 and 2027 share a sheet";
}

TEST(ClassSet, WorkbooksToo) {
  TempFolder folder;
  ASSERT_EQ(RunSheet("--sheets=3 --seed=9 --count=20 -o " + Quoted(folder.path() / "c.XLS")).status, 0);
  const DumpedWorkbook third = DumpWorkbook(folder.path() / "c-3.XLS");
  const std::string seed = SeedShownIn(third);
  ASSERT_FALSE(seed.empty());
  ASSERT_EQ(RunSheet("--seed=" + seed + " --count=20 -o " + Quoted(folder.path() / "alone.XLS")).status, 0);
  const DumpedWorkbook alone = DumpWorkbook(folder.path() / "alone.XLS");
  ASSERT_TRUE(third.ok && alone.ok);
  EXPECT_EQ(third.cells, alone.cells);
  EXPECT_EQ(SeedShownIn(alone), seed);
}

TEST(ClassSet, AFailureStopsTheRunAndTheSheetsAlreadyMadeStay) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "c-2.TXT");  // where sheet 2 should go
  const Outcome run = RunSheet("--sheets=3 --answers --format=text -o " + Quoted(folder.path() / "c.TXT"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("c-2.TXT”：它是一个文件夹"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "c-1.TXT"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "c-1答案.TXT"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "c-3.TXT"));
}

// A run without keys over one with keys: no sheet is left beside the key
// of the sheet it replaced.
TEST(ClassSet, ARunWithoutKeysTakesAwayTheOlderKeys) {
  struct Case {
    const char* options;
    const char* name;
    std::vector<std::string> sheets;
  };
  const Case cases[] = {
      {"--format=text", "one.TXT", {"one.TXT"}},
      {"--format=pdf", "one.PDF", {"one.PDF"}},
      {"--count=8", "one.XLS", {"one.XLS"}},
      {"--format=text --sheets=3", "c.TXT", {"c-1.TXT", "c-2.TXT", "c-3.TXT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TempFolder folder;
    const std::string output = " -o " + Quoted(folder.path() / c.name);
    ASSERT_EQ(RunSheet(std::string(c.options) + " --answers --seed=1" + output).status, 0);
    ASSERT_EQ(NamesIn(folder.path()).size(), 2 * c.sheets.size());
    ASSERT_EQ(RunSheet(std::string(c.options) + " --seed=2" + output).status, 0);
    EXPECT_EQ(NamesIn(folder.path()), c.sheets);
  }
}

// --- no problem twice ---------------------------------------------------------

TEST(Distinct, SettingsThatRunOutAreRefusedWithTheirCount) {
  // Two-term additions within 5 with the result to find: a + b with both at
  // least 1 and a + b at most 5, which is 4 + 3 + 2 + 1 = 10 problems.
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "d.TXT";
  const Outcome refused = RunSheet("--distinct --add-range=5 --count=11 --format=text -o " + Quoted(file));
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.out.find("只能出 10 道不同的题目"), std::string::npos) << refused.out;
  EXPECT_NE(refused.out.find("请扩大范围或减少题目数量"), std::string::npos) << refused.out;
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

  const Outcome all = RunSheet("--distinct --add-range=5 --count=10 --per-row=1 --format=text -o " + Quoted(file));
  ASSERT_EQ(all.status, 0) << all.out;
  std::set<std::string> seen;
  for (const std::string& line : LinesOf(Utf8Text(ReadBytes(file)), "\r\n")) {
    if (line.find('=') != std::string::npos) seen.insert(line.substr(line.find('.') + 1));
  }
  EXPECT_EQ(seen.size(), 10u) << "every one of the ten";
}

struct ExactCountCase {
  const char* settings;
  int count;
};

class DistinctExactCount : public ::testing::TestWithParam<ExactCountCase> {};

// Settings with very rare problems: the count is exact, one more is refused
// with it, and exactly that many all come out, the rarest included.
TEST_P(DistinctExactCount, TheCountIsRefusedOneMoreAndGivenInFull) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "d.TXT";
  const std::string settings = std::string("--distinct --format=text --per-row=1 ") + GetParam().settings;
  const int count = GetParam().count;
  const Outcome refused = RunSheet(settings + " --count=" + std::to_string(count + 1) + " -o " + Quoted(file));
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.out.find("只能出 " + std::to_string(count) + " 道不同的题目"), std::string::npos)
      << refused.out;

  const Outcome all = RunSheet(settings + " --count=" + std::to_string(count) + " -o " + Quoted(file));
  ASSERT_EQ(all.status, 0) << all.out;
  std::set<std::string> seen;
  for (const std::string& line : LinesOf(Utf8Text(ReadBytes(file)), "\r\n")) {
    if (line.find('=') != std::string::npos) seen.insert(line.substr(line.find('.') + 1));
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(count));
}

INSTANTIATE_TEST_SUITE_P(
    RareProblems, DistinctExactCount,
    ::testing::Values(ExactCountCase{"--terms 3 --no-add --sub --sub-range 19", 966},
                      // 999 as drawn, less 16 that add past 9 and are drawn again
                      ExactCountCase{"--terms 3 --sub --mixed --add-range 9 --sub-range 15 --blank first", 983}));

TEST(Distinct, AnOrdinaryRangeGivesNoRepeatAndKeepsTheRules) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "d.TXT";
  const Outcome run = RunSheet("--distinct --sub --add-range=12 --sub-range=12 --count=120 --per-row=1 "
                               "--format=text --seed=3 --answers -o " + Quoted(file));
  ASSERT_EQ(run.status, 0) << run.out;
  std::set<std::string> seen;
  int problems = 0;
  for (const std::string& line : LinesOf(Utf8Text(ReadBytes(file)), "\r\n")) {
    if (line.find('=') == std::string::npos) continue;
    ++problems;
    EXPECT_TRUE(seen.insert(line.substr(line.find('.') + 1)).second) << "repeated: " << line;
  }
  EXPECT_EQ(problems, 120);
  CheckTextKey(file, folder.path() / "d答案.TXT", 2, 120, false);
}

}  // namespace
}  // namespace numbrook::testing
