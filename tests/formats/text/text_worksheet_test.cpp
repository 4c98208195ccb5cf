// The text worksheet, byte for byte.
#include <gtest/gtest.h>

#include "sets_support/run_export.h"
#include "formats/text/text_encoding.h"
#include "formats_support/gbk_text.h"
#include "files_support/temp_folder.h"
#include "generation/problem_generator.h"

#include <clocale>
#include <cwchar>
#include <map>
#include <regex>
#include <set>

namespace numbrook::testing {
namespace {

// Joins lines with CR LF after each, the last one included.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

const std::string kHeader =
    "          姓名：               日期：               时间开始：               完成：";
const std::string kRating = "               ○ 你真棒               ○ 还不错               ○ 要加油";

struct Sheet {
  RunRequest controls;
  std::vector<ProblemRow> rows;
};

// Writes the rows as a text worksheet through the export run, in the
// encoding, and returns the file's bytes.
std::string WriteBytes(Sheet sheet, SheetKind kind, TextEncoding encoding) {
  sheet.controls.format = FileFormat::Text;
  sheet.controls.count = static_cast<int>(sheet.rows.size());
  sheet.controls.textEncoding = encoding;
  const GenerationSettings settings = SetUpRun(sheet.controls);
  ProblemTable table(settings.ProblemCount + 1);
  for (std::size_t i = 0; i < sheet.rows.size(); ++i) table.Row(static_cast<int>(i)) = sheet.rows[i];
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "sheet.TXT";
  const ExportResult result = RunExport(settings, table, Progress{}, file, kind);
  EXPECT_EQ(result.outcome, ExportOutcome::Written) << result.error;
  return ReadBytes(file);
}

// The sheet, decoded: written as GBK and as UTF-8, the two must hold the
// same text, byte for byte once iconv has read the GBK.
std::string WriteSheet(const Sheet& sheet, SheetKind kind = SheetKind::Pupil) {
  const std::string gbk = GbkToUtf8(WriteBytes(sheet, kind, TextEncoding::Gbk));
  EXPECT_EQ(WriteBytes(sheet, kind, TextEncoding::Utf8), gbk) << "the UTF-8 sheet differs from the GBK one";
  return gbk;
}

ProblemRow Two(const char* a, const char* op, const char* b, const char* result) {
  return {a, op, b, "", "", "=", result};
}

ProblemRow Three(const char* a, const char* op1, const char* b, const char* op2, const char* c, const char* result) {
  return {a, op1, b, op2, c, "=", result};
}

Sheet WorkedExample() {
  Sheet sheet;
  sheet.controls.perLine = 2;
  sheet.controls.blank = BlankPlace::Random;
  sheet.controls.columnForm = true;
  sheet.rows = {Two("12", "+", "5", "_"), Two("9", "+", "_", "12"), Two("_", "+", "4", "19")};
  return sheet;
}

TEST(TextWorksheet, WorkedExampleWithTheColumnForm) {
  EXPECT_EQ(WriteSheet(WorkedExample()),
            Lines({kHeader,
                   "",
                   " 【说明：二个数,加法运算,随机填空, 20以内含进位加法】",
                   "1. 12+ 5= (    )        2.  9+ (    )=12",
                   "           1 2                          9",
                   "         +   5                      +(   )",
                   "        ------                     ------",
                   "          (   )                       1 2",
                   "",
                   "",
                   "3.  (    )+ 4=19",
                   "          (   )",
                   "         +   4",
                   "        ------",
                   "           1 9",
                   "",
                   "",
                   "",
                   "",
                   kRating}));
}

TEST(TextWorksheet, WorkedExampleWithoutTheColumnForm) {
  Sheet sheet = WorkedExample();
  sheet.controls.columnForm = false;
  EXPECT_EQ(WriteSheet(sheet), Lines({kHeader, "", " 【说明：二个数,加法运算,随机填空, 20以内含进位加法】",
                                      "1. 12+ 5= (    )        2.  9+ (    )=12", "3.  (    )+ 4=19", "", "",
                                      kRating}));
}

TEST(TextWorksheet, FileIsGbkWithoutByteOrderMark) {
  const GenerationSettings settings = [] {
    RunRequest c;
    c.count = 1;
    c.format = FileFormat::Text;
    c.textEncoding = TextEncoding::Gbk;
    return SetUpRun(c);
  }();
  ProblemTable table(2);
  table.Row(0) = Two("1", "+", "2", "_");
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "a.TXT";
  ASSERT_EQ(RunExport(settings, table, Progress{}, file).outcome, ExportOutcome::Written);
  const std::string bytes = ReadBytes(file);
  // Ten spaces, then 姓 in GBK.
  EXPECT_EQ(bytes.substr(0, 12), std::string(10, ' ') + "\xD0\xD5");
  EXPECT_EQ(bytes.find('\t'), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_NE(bytes.find("\xA1\xF0 "), std::string::npos) << "the rating circle";
}

TEST(TextWorksheet, Utf8FileHasNoByteOrderMark) {
  Sheet sheet;
  sheet.rows = {Two("1", "+", "2", "_")};
  const std::string bytes = WriteBytes(sheet, SheetKind::Pupil, TextEncoding::Utf8);
  // Ten spaces, then 姓 in UTF-8: no EF BB BF before them.
  EXPECT_EQ(bytes.substr(0, 13), std::string(10, ' ') + "\xE5\xA7\x93");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

// The locale's codeset decides when the run does not choose.
TEST(TextEncoding, GbFamilyLocalesKeepGbkEveryOtherGetsUtf8) {
  const std::pair<const char*, TextEncoding> cases[] = {
      {"UTF-8", TextEncoding::Utf8},    {"utf8", TextEncoding::Utf8},        {"ANSI_X3.4-1968", TextEncoding::Utf8},
      {"GBK", TextEncoding::Gbk},       {"GB18030", TextEncoding::Gbk},      {"GB2312", TextEncoding::Gbk},
      {"gb18030", TextEncoding::Gbk},   {"BIG5", TextEncoding::Utf8},        {"EUC-JP", TextEncoding::Utf8}};
  for (const auto& [codeset, encoding] : cases) EXPECT_EQ(TextEncodingOfCodeset(codeset), encoding) << codeset;
  EXPECT_EQ(TextEncodingFor(TextEncoding::Gbk), TextEncoding::Gbk) << "a choice wins over the locale";
  EXPECT_EQ(TextEncodingFor(TextEncoding::Locale), TextEncoding::Utf8) << "this test runs in the C locale";
}

TEST(TextWorksheet, ThreeTermComputeLineWithTwoDigitNumbers) {
  Sheet sheet;
  sheet.controls.terms = 3;
  sheet.controls.perLine = 3;
  sheet.rows = {Three("12", "+", "5", "-", "3", "_"), Three("9", "-", "3", "+", "10", "_"),
                Three("7", "+", "6", "-", "11", "_")};
  for (int i = 3; i < 12; ++i) sheet.rows.push_back(Three("1", "+", "1", "+", "1", "_"));
  const std::string text = WriteSheet(sheet);
  const std::size_t line4 = text.find("\r\n 1.");
  ASSERT_NE(line4, std::string::npos);
  EXPECT_EQ(text.substr(line4 + 2, text.find("\r\n", line4 + 2) - line4 - 2),
            " 1. 12+ 5- 3= (    )         2.  9- 3+10= (    )         3.  7+ 6-11= (    )");
  EXPECT_NE(text.find("\r\n10.  1+ 1+ 1= (    )        11."), std::string::npos);
}

TEST(TextWorksheet, ThreeTermColumnFormHasAThirdNumberRowAndWiderSlots) {
  Sheet sheet;
  sheet.controls.terms = 3;
  sheet.controls.perLine = 2;
  sheet.controls.columnForm = true;
  sheet.controls.blank = BlankPlace::Third;
  sheet.rows = {Three("12", "+", "5", "-", "_", "14"), Three("9", "-", "3", "+", "10", "_")};
  EXPECT_EQ(WriteSheet(sheet),
            Lines({kHeader, "", " 【说明：三个数,加法运算,第三填空, 20以内含进位加法】",
                   "1. 12+ 5- (    )=14        2.  9- 3+10= (    )",
                   "           1 2                            9",
                   "         +   5                        -   3",
                   "         -(   )                       + 1 0",
                   "        ------                       ------",
                   "           1 4                         (   )",
                   "", "", "", "", kRating}));
}

TEST(TextWorksheet, SingleDigitRangesNarrowEveryField) {
  Sheet sheet;
  sheet.controls.addRange = 9;
  sheet.controls.subRange = 5;
  sheet.controls.columnForm = true;
  sheet.controls.blank = BlankPlace::First;
  sheet.rows = {Two("_", "+", "4", "7")};
  EXPECT_EQ(WriteSheet(sheet), Lines({kHeader, "", " 【说明：二个数,加法运算,第一填空, 9以内含进位加法】",
                                      "1. (    )+4=7", "          ( )", "         + 4", "        ----",
                                      "           7", "", "", "", "", kRating}));
}

TEST(TextWorksheet, NumbersAreAlignedToTheWidthOfTheProblemCount) {
  Sheet sheet;
  sheet.controls.perLine = 10;
  for (int i = 0; i < 10; ++i) sheet.rows.push_back(Two("1", "+", "1", "_"));
  const std::string text = WriteSheet(sheet);
  EXPECT_NE(text.find("\r\n 1.  1+ 1= (    )         2."), std::string::npos);
  EXPECT_NE(text.find(")        10.  1+ 1= (    )\r\n"), std::string::npos);

  Sheet thousand;
  thousand.controls.perLine = 10;
  for (int i = 0; i < 1000; ++i) thousand.rows.push_back(Two("1", "+", "1", "_"));
  const std::string big = WriteSheet(thousand);
  EXPECT_NE(big.find("\r\n   1.  1+ 1= (    )"), std::string::npos);
  EXPECT_NE(big.find("        1000.  1+ 1= (    )\r\n\r\n\r\n"), std::string::npos);
}

TEST(TextWorksheet, ShortLastLineEndsAfterItsLastProblem) {
  Sheet sheet;
  sheet.controls.perLine = 3;
  sheet.controls.columnForm = true;
  for (int i = 0; i < 4; ++i) sheet.rows.push_back(Two("10", "-", "3", "_"));
  const std::string text = WriteSheet(sheet);
  EXPECT_NE(text.find("\r\n4. 10- 3= (    )\r\n           1 0\r\n         -   3\r\n        ------\r\n"
                      "          (   )\r\n\r\n\r\n\r\n\r\n"),
            std::string::npos);
}

TEST(TextWorksheet, ValueWiderThanItsFieldIsShownWhole) {
  Sheet sheet;
  sheet.controls.addRange = 5;
  sheet.controls.subRange = 5;
  sheet.controls.columnForm = true;
  sheet.rows = {Two("4", "+", "9", "_"), };
  sheet.rows[0][kResult] = "13";
  const std::string text = WriteSheet(sheet);
  EXPECT_NE(text.find("\r\n1. 4+9=13\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n           1 3\r\n"), std::string::npos);
}

struct KeyDigitsCase {
  const char* range;  // the addition range, which sets the digit width
  const char* value;  // the blank's value
};

void PrintTo(const KeyDigitsCase& c, std::ostream* out) { *out << "range " << c.range << ", value " << c.value; }

class KeyColumnForm : public ::testing::TestWithParam<KeyDigitsCase> {};

// The key's value stands in its box in the very columns in which the sheet
// spaces the digits of the same number: for a first term, a second term
// and a result.
TEST_P(KeyColumnForm, AnswerDigitsStandWhereTheSheetSpacesTheSameNumber) {
  const KeyDigitsCase c = GetParam();
  const int v = std::stoi(c.value);
  Sheet key;
  key.controls.addRange = std::stoi(c.range);
  key.controls.subRange = 1;
  key.controls.perLine = 3;
  key.controls.columnForm = true;
  key.rows = {Two("_", "+", "1", std::to_string(v + 1).c_str()), Two("1", "+", "_", std::to_string(v + 1).c_str()),
              Two(std::to_string(v - 1).c_str(), "+", "1", "_")};
  Sheet sheet = key;
  sheet.rows = {Two(c.value, "+", "1", "x"), Two("1", "+", c.value, "x"), Two("x", "+", "1", c.value)};
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0, next; (next = text.find("\r\n", at)) != std::string::npos; at = next + 2) {
      out.push_back(text.substr(at, next - at));
    }
    return out;
  };
  const std::vector<std::string> keyLines = lines(WriteSheet(key, SheetKind::AnswerKey));
  const std::vector<std::string> sheetLines = lines(WriteSheet(sheet));
  ASSERT_EQ(keyLines.size(), sheetLines.size());
  // The block's rows: first term, second term, rule, result.
  const std::pair<std::size_t, std::size_t> places[] = {{4, 0}, {5, 1}, {7, 2}};
  for (const auto& [row, slot] : places) {
    const std::size_t slotWidth = 27;
    auto digitsOf = [&](const std::string& line) {
      std::string cut = line.size() > 9 + slot * slotWidth ? line.substr(9 + slot * slotWidth + 1, slotWidth - 1) : "";
      std::string digits(cut.size(), ' ');
      for (std::size_t i = 0; i < cut.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(cut[i]))) digits[i] = cut[i];
      }
      return digits.substr(0, digits.find_last_not_of(' ') + 1);
    };
    EXPECT_EQ(digitsOf(keyLines[row]), digitsOf(sheetLines[row])) << keyLines[row] << "\n" << sheetLines[row];
    EXPECT_NE(digitsOf(keyLines[row]).find(c.value[0]), std::string::npos) << keyLines[row];
  }
}

INSTANTIATE_TEST_SUITE_P(EveryValueWidth, KeyColumnForm,
                         ::testing::Values(KeyDigitsCase{"9", "7"}, KeyDigitsCase{"20", "5"},
                                           KeyDigitsCase{"20", "19"}, KeyDigitsCase{"99", "90"},
                                           KeyDigitsCase{"99", "105"}));

ProblemRow WithRemainder(const char* a, const char* op, const char* b, const char* result, const char* remainder) {
  return {a, op, b, "", "", "=", result, remainder};
}

// Multiplications and divisions, some with a remainder: the run's
// description, the signs, the remainder after "……" and every problem as
// wide as the widest; in column form a product under its factors and a
// division in its written frame.
Sheet TimesTablesSheet() {
  Sheet sheet;
  sheet.controls.operations = OperationKinds::Multiplication | OperationKinds::Division;
  sheet.controls.remainders = Remainders::Mixed;
  sheet.controls.perLine = 2;
  sheet.controls.blank = BlankPlace::Random;
  sheet.controls.columnForm = true;
  sheet.rows = {Two("7", "×", "_", "56"), WithRemainder("17", "÷", "5", "_", "_"),
                WithRemainder("_", "÷", "7", "8", "6"), WithRemainder("56", "÷", "_", "8", "0")};
  return sheet;
}

// Under UTF-8 × and "……" take one column a character, as wcswidth counts
// them; under GBK every Chinese-encoded character takes two, so problems
// are wider there and the blanks between them follow.
TEST(TextWorksheet, TimesTablesInUtf8) {
  EXPECT_EQ(WriteBytes(TimesTablesSheet(), SheetKind::Pupil, TextEncoding::Utf8),
            Lines({kHeader, "", " 【说明：二个数,乘除运算,随机填空,乘法口诀1~9,表内除法和有余数除法】",
                   "1.  7× (    )=56                2. 17÷ 5= (    )……(    )",
                   "             7                            ( )",
                   "         ×(   )                        ------",
                   "        ------                       5 ) 1 7",
                   "           5 6                          (   )",
                   "                                       ------",
                   "                                          ( )",
                   "",
                   "",
                   "3.  (    )÷ 7= 8……6             4. 56÷ (    )= 8……0",
                   "                8                          8",
                   "            ------                     ------",
                   "          7 )(   )                 ( ) ) 5 6",
                   "             (   )                      (   )",
                   "            ------                     ------",
                   "                6                          0",
                   "", "", "", "", kRating}));
}

TEST(TextWorksheet, TimesTablesKeyInGbk) {
  EXPECT_EQ(GbkToUtf8(WriteBytes(TimesTablesSheet(), SheetKind::AnswerKey, TextEncoding::Gbk)),
            Lines({kHeader, "", " 【说明：二个数,乘除运算,随机填空,乘法口诀1~9,表内除法和有余数除法（答案）】",
                   "1.  7× (   8)=56                  2. 17÷ 5= (   3)……(   2)",
                   "             7                            (3)",
                   "        ×(  8)                        ------",
                   "        ------                       5 ) 1 7",
                   "           5 6                          (1 5)",
                   "                                       ------",
                   "                                          (2)",
                   "",
                   "",
                   "3.  (  62)÷ 7= 8……6             4. 56÷ (   7)= 8……0",
                   "                8                          8",
                   "            ------                     ------",
                   "          7 )(6 2)                 (7) ) 5 6",
                   "             (5 6)                      (5 6)",
                   "            ------                     ------",
                   "                6                          0",
                   "", "", "", "", kRating}));
}

// The columns an editor shows: in GBK a character's bytes (one for ASCII,
// two for every other); in UTF-8 wcswidth's count in a Chinese locale
// (glibc's UTF-8 locales share one width table, so C.UTF-8 stands in when
// zh_CN.UTF-8 is not installed).
int EditorColumns(const std::string& bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) return static_cast<int>(bytes.size());
  if (std::setlocale(LC_CTYPE, "zh_CN.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "C.UTF-8");
  std::wstring wide(bytes.size() + 1, L'\0');
  const std::size_t length = std::mbstowcs(wide.data(), bytes.c_str(), wide.size());
  const int columns = wcswidth(wide.c_str(), length);
  std::setlocale(LC_CTYPE, "C");
  return columns;
}

// Each character of a line by the column an editor shows it in.
std::map<int, std::string> ByColumn(const std::string& line, TextEncoding encoding) {
  std::map<int, std::string> cells;
  int column = 0;
  for (std::size_t i = 0; i < line.size();) {
    std::size_t length = 1;
    if (encoding == TextEncoding::Gbk) {
      length = static_cast<unsigned char>(line[i]) < 0x80 ? 1 : 2;
    } else {
      while (i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) ++length;
    }
    const std::string character = line.substr(i, length);
    cells[column] = character;
    column += EditorColumns(encoding == TextEncoding::Gbk ? character : character, encoding);
    i += length;
  }
  return cells;
}

// The column of the last digit of a line's slot [from, to), or -1.
int LastDigit(const std::map<int, std::string>& cells, int from, int to) {
  int last = -1;
  for (const auto& [column, character] : cells) {
    if (column >= from && column < to && std::isdigit(static_cast<unsigned char>(character[0]))) last = column;
  }
  return last;
}

// A class of mixed problems with random blanks, as a key: on every full
// line of the file as an editor shows it, the problems start in the same
// columns; in every column form the numbers' units stand in one column
// (of a stacked form the terms and the result; of a division frame the
// quotient, dividend, product and remainder).
TEST(TextWorksheet, TimesTablesStayInColumnsAsEditorsShowThem) {
  for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Gbk}) {
    RunRequest request;
    request.operations = OperationKinds::Addition | OperationKinds::Multiplication | OperationKinds::Division;
    request.remainders = Remainders::Mixed;
    request.blank = BlankPlace::Random;
    request.columnForm = true;
    request.count = 60;
    request.format = FileFormat::Text;
    request.textEncoding = encoding;
    const GenerationSettings settings = SetUpRun(request);
    SeededRandom random(31);
    ProblemTable table;
    ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "sheet.TXT";
    ASSERT_EQ(RunExport(settings, table, Progress{}, file, SheetKind::AnswerKey).outcome, ExportOutcome::Written);
    std::vector<std::string> lines;
    const std::string bytes = ReadBytes(file);
    for (std::size_t at = 0, next; (next = bytes.find("\r\n", at)) != std::string::npos; at = next + 2) {
      lines.push_back(bytes.substr(at, next - at));
    }
    std::set<std::vector<int>> starts;
    int forms = 0;
    for (std::size_t l = 3; l < lines.size(); ++l) {
      std::vector<int> lineStarts;
      for (const auto& [column, character] : ByColumn(lines[l], encoding)) {
        if (character == "." && lines[l].find(". ") != std::string::npos) lineStarts.push_back(column);
      }
      if (lineStarts.empty()) continue;
      if (lineStarts.size() == 4) starts.insert(lineStarts);
      // The block under the line: its rows up to the empty line.
      std::vector<std::map<int, std::string>> block;
      for (std::size_t b = l + 1; b < lines.size() && !lines[b].empty(); ++b) block.push_back(ByColumn(lines[b], encoding));
      for (std::size_t slot = 0; slot < lineStarts.size(); ++slot) {
        const int from = 7 + 27 * static_cast<int>(slot), to = from + 27;
        const bool frame = block.size() == 6 && block[2].count(from + 5) == 1 && block[2].at(from + 5) == ")";
        const std::vector<std::size_t> rows = frame ? std::vector<std::size_t>{0, 2, 3, 5}
                                                    : std::vector<std::size_t>{0, 1, 3};
        std::set<int> units;
        for (std::size_t row : rows) units.insert(LastDigit(block[row], from, to));
        EXPECT_EQ(units.size(), 1u) << lines[l + 1 + rows[0]] << "\n" << lines[l + 1 + rows[1]];
        EXPECT_NE(*units.begin(), -1);
        ++forms;
      }
    }
    EXPECT_EQ(starts.size(), 1u) << "every full line's problems start in the same columns";
    EXPECT_EQ(forms, 60);
  }
}

}  // namespace
}  // namespace numbrook::testing

namespace numbrook::testing {
namespace {

ProblemRow Bracketed(ProblemRow row, const char* brackets) {
  row[kBrackets] = brackets;
  return row;
}

// Two steps with and without brackets, the working lines under each.
Sheet TwoStepSheet() {
  Sheet sheet;
  sheet.controls.terms = 3;
  sheet.controls.operations = OperationKinds::Addition | OperationKinds::Subtraction | OperationKinds::Division;
  sheet.controls.brackets = Brackets::Mixed;
  sheet.controls.steps = true;
  sheet.controls.perLine = 2;
  sheet.rows = {Three("36", "+", "42", "÷", "6", "_"), Bracketed(Three("12", "+", "15", "÷", "3", "_"), "12"),
                Bracketed(Three("64", "-", "35", "-", "18", "_"), "23")};
  return sheet;
}

// Brackets are ASCII, right at the numbers they enclose; "=" of each
// working line stands under the problem's first number, and the key's
// working where the pupil's sheet has its lines. In GBK ÷ takes two
// columns, and so every operator.
TEST(TextWorksheet, TwoStepsWithBracketsAndWorkingLines) {
  const std::string description = " 【说明：三个数,混合运算,计算题, 20以内含进位加法, 10以内含退位减法,乘法口诀1~9,部分带括号,脱式计算";
  EXPECT_EQ(WriteBytes(TwoStepSheet(), SheetKind::Pupil, TextEncoding::Utf8),
            Lines({kHeader, "", description + "】",
                   "1. 36+42÷ 6              2. (12+15)÷ 3",
                   "   = ____________           = ____________",
                   "   = ____________           = ____________",
                   "",
                   "3. 64-(35-18)",
                   "   = ____________",
                   "   = ____________",
                   "", "", "", kRating}));
  EXPECT_EQ(GbkToUtf8(WriteBytes(TwoStepSheet(), SheetKind::AnswerKey, TextEncoding::Gbk)),
            Lines({kHeader, "", description + "（答案）】",
                   "1. 36 +42÷ 6            2. (12 +15)÷ 3",
                   "   = 36 + 7                 = 27 ÷ 3",
                   "   = 43                     = 9",
                   "",
                   "3. 64 -(35 -18)",
                   "   = 64 - 17",
                   "   = 47",
                   "", "", "", kRating}));
}

}  // namespace
}  // namespace numbrook::testing
