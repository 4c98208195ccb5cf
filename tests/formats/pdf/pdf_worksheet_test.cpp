// The PDF worksheet as Debian's poppler-utils read it: paper, fonts, the
// text a reader copies, where every word stands, and the digit boxes of the
// column form on a rendered page.
#include <cairo-pdf.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "sets_support/run_export.h"
#include "formats/pdf/pdf_font.h"
#include "formats/pdf/pdf_file.h"
#include "sheet/sheet_layout.h"
#include <fstream>
#include "formats_support/gbk_text.h"
#include "formats_support/poppler.h"
#include "formats_support/sheet_model.h"
#include "files_support/temp_folder.h"
#include "generation/problem_generator.h"

namespace numbrook::testing {
namespace {

constexpr double kTenMillimetres = 10 * 72 / 25.4;

using Problem = std::vector<std::string>;  // number, first term, operator, term, [operator, term], result

// Every problem of the text, in reading order: "7." then the terms and
// operators up to "=" and the result; a blank is an empty term.
std::vector<Problem> ProblemsIn(std::string text) {
  std::erase_if(text, [](char ch) { return ch == '(' || ch == ')'; });
  // The PDF prints the minus sign where the text file has the hyphen-minus.
  for (std::size_t at; (at = text.find("\u2212")) != std::string::npos;) text.replace(at, 3, "-");
  static const std::regex problem(
      R"((\d+)\.\s+(\d+)?\s*([+-])\s*(\d+)?\s*(?:([+-])\s*(\d+)?\s*)?=\s*(?:(\d+)(?![\d.]))?)");
  std::vector<Problem> problems;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    for (auto m = std::sregex_iterator(line.begin(), line.end(), problem); m != std::sregex_iterator(); ++m) {
      Problem p;
      for (std::size_t i = 1; i < m->size(); ++i) p.push_back((*m)[i].str());
      problems.push_back(p);
    }
  }
  return problems;
}

std::vector<std::string> Pages(const std::string& text) {
  std::vector<std::string> pages;
  std::size_t at = 0;
  for (std::size_t next; (next = text.find('\f', at)) != std::string::npos; at = next + 1) {
    pages.push_back(text.substr(at, next - at));
  }
  return pages;
}

struct PdfCase {
  SheetCase sheet;
  SheetKind kind;
  bool landscape;
};

void PrintTo(const PdfCase& c, std::ostream* out) {
  PrintTo(c.sheet, out);
  *out << (c.kind == SheetKind::AnswerKey ? ", key" : ", pupil");
}

struct Written {
  GenerationSettings settings;
  ProblemTable table;
  std::filesystem::path pdf, text;
};

Written Write(const TempFolder& folder, const SheetCase& c, SheetKind kind) {
  Written w;
  w.settings = SetUpRun(RequestFor(c));
  SeededRandom random(static_cast<std::uint64_t>(c.count * 13 + c.perRow));
  EXPECT_TRUE(GenerateProblems(w.settings, random, Progress{}, w.table));
  w.pdf = folder.path() / "sheet.PDF";
  w.text = folder.path() / "sheet.TXT";
  w.settings.ExportFormat = FileFormat::Pdf;
  const ExportResult pdf = RunExport(w.settings, w.table, Progress{}, w.pdf, kind);
  EXPECT_EQ(pdf.outcome, ExportOutcome::Written) << pdf.error;
  w.settings.ExportFormat = FileFormat::Text;
  w.settings.TextFileEncoding = TextEncoding::Gbk;
  EXPECT_EQ(RunExport(w.settings, w.table, Progress{}, w.text, kind).outcome, ExportOutcome::Written);
  return w;
}

// How tall poppler finds a word of 12 pt in the sheets' font, from a PDF
// made here with cairo alone.
double TwelvePointHeight(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / "twelve.pdf";
  cairo_surface_t* surface = cairo_pdf_surface_create(file.c_str(), 200, 100);
  cairo_t* cairo = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cairo);
  PangoFontDescription* font = pango_font_description_from_string(SimplifiedChineseFamily().c_str());
  pango_font_description_set_absolute_size(font, 12 * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "第12", -1);
  cairo_move_to(cairo, 20, 20);
  pango_cairo_show_layout(cairo, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cairo);
  cairo_surface_destroy(surface);
  static const std::regex word(R"re(yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)")re");
  std::smatch m;
  const std::string box = Poppler("pdftotext -bbox", file, "-");
  if (!std::regex_search(box, m, word)) return 1e9;
  return std::stod(m[2]) - std::stod(m[1]);
}

class PdfSheet : public ::testing::TestWithParam<PdfCase> {};

TEST_P(PdfSheet, PopplerFindsTheTextFormatsProblemsOnA4InsideTheMargins) {
  const PdfCase c = GetParam();
  TempFolder folder;
  const Written w = Write(folder, c.sheet, c.kind);

  const std::string info = Poppler("pdfinfo", w.pdf);
  EXPECT_NE(info.find(c.landscape ? "841.89 x 595.276 pts (A4)" : "595.276 x 841.89 pts (A4)"), std::string::npos)
      << info;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")));
  const int pageCount = std::stoi(m[1]);

  // Every font embedded, as the subset the pages use.
  const std::string fonts = Poppler("pdffonts", w.pdf);
  int fontRows = 0;
  std::istringstream rows(fonts);
  for (std::string row; std::getline(rows, row);) {
    if (row.starts_with("name") || row.starts_with("----")) continue;
    ++fontRows;
    EXPECT_NE(row.find("yes yes"), std::string::npos) << row;
  }
  EXPECT_GT(fontRows, 0);

  // The text format's problems, in the same order, with the same numbers.
  const std::string text = Poppler("pdftotext -layout", w.pdf, "-");
  const std::vector<Problem> inPdf = ProblemsIn(text);
  EXPECT_EQ(inPdf, ProblemsIn(GbkToUtf8(ReadBytes(w.text))));
  EXPECT_EQ(inPdf.size(), static_cast<std::size_t>(w.settings.ProblemCount));
  for (const Problem& p : inPdf) {
    const bool blank = p[1].empty() || p[3].empty() || p[6].empty() || (!p[4].empty() && p[5].empty());
    EXPECT_EQ(blank, c.kind == SheetKind::Pupil) << "problem " << p[0];
    if (blank) continue;
    int value = std::stoi(p[1]) + (p[2] == "-" ? -1 : 1) * std::stoi(p[3]);
    if (!p[4].empty()) value += (p[4] == "-" ? -1 : 1) * std::stoi(p[5]);
    EXPECT_EQ(value, std::stoi(p[6])) << "problem " << p[0];
  }

  // Every page has the title, the name line and its number.
  const std::vector<std::string> pages = Pages(text);
  ASSERT_EQ(static_cast<int>(pages.size()), pageCount);
  const std::string title = SheetDescription(w.settings, c.kind);
  for (int page = 1; page <= pageCount; ++page) {
    std::string flat = pages[static_cast<std::size_t>(page - 1)];
    std::erase_if(flat, [](char ch) { return ch == '\n' || ch == ' '; });
    EXPECT_NE(flat.find(title.substr(0, title.find(' '))), std::string::npos) << "page " << page;
    // poppler joins the page number's narrow spaces into its words.
    EXPECT_NE(flat.find("姓名："), std::string::npos) << "page " << page;
    EXPECT_NE(flat.find("得分："), std::string::npos) << "page " << page;
    EXPECT_NE(flat.find("○你真棒"), std::string::npos) << "page " << page;
    EXPECT_NE(flat.find("第" + std::to_string(page) + "页/共" + std::to_string(pageCount) + "页"),
              std::string::npos)
        << "page " << page;
  }

  // No word smaller than 12 pt, none within 10 mm of the paper's edge.
  const double twelve = TwelvePointHeight(folder.path());
  const std::string boxes = Poppler("pdftotext -bbox", w.pdf, "-");
  static const std::regex page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
  static const std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re");
  ASSERT_TRUE(std::regex_search(boxes, m, page));
  const double width = std::stod(m[1]), height = std::stod(m[2]);
  int words = 0;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator(); ++it, ++words) {
    const auto& f = *it;
    const double x0 = std::stod(f[1]), y0 = std::stod(f[2]), x1 = std::stod(f[3]), y1 = std::stod(f[4]);
    ASSERT_GE(y1 - y0, twelve - 0.01) << f[5];
    ASSERT_TRUE(x0 >= kTenMillimetres && y0 >= kTenMillimetres && x1 <= width - kTenMillimetres &&
                y1 <= height - kTenMillimetres)
        << f[5] << " at " << x0 << "," << y0 << " " << x1 << "," << y1;
  }
  EXPECT_GT(words, w.settings.ProblemCount);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PdfSheet,
    ::testing::Values(PdfCase{{2, false, 4, 100, false, BlankPlace::Result}, SheetKind::Pupil, false},
                      PdfCase{{2, false, 4, 100, false, BlankPlace::Random}, SheetKind::AnswerKey, false},  // every term a box
                      PdfCase{{3, true, 3, 12, false, BlankPlace::Result}, SheetKind::Pupil, false},
                      PdfCase{{3, true, 2, 9, false, BlankPlace::Random}, SheetKind::AnswerKey, false},
                      PdfCase{{2, false, 1, 7, false, BlankPlace::First}, SheetKind::AnswerKey, false},
                      PdfCase{{3, false, 10, 130, false, BlankPlace::Third}, SheetKind::AnswerKey, true},
                      PdfCase{{2, true, 10, 40, false, BlankPlace::Result}, SheetKind::Pupil, true}));

TEST(PdfSheet, FewProblemsALineAreSetLargeAndNumbersRestartOnEveryPageWhenAsked) {
  TempFolder folder;
  const Written w = Write(folder, {2, false, 2, 80, true, BlankPlace::Result}, SheetKind::Pupil);
  const std::vector<std::string> pages = Pages(Poppler("pdftotext -layout", w.pdf, "-"));
  ASSERT_GT(pages.size(), 1u);
  for (const std::string& page : pages) EXPECT_EQ(ProblemsIn(page).front().front(), "1");
  // A problem's number is as tall as a 16 pt word at least.
  const std::string boxes = Poppler("pdftotext -bbox", w.pdf, "-");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(boxes, m, std::regex(R"re(yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">1\.<)re")));
  EXPECT_GE(std::stod(m[2]) - std::stod(m[1]), TwelvePointHeight(folder.path()) * 16 / 12 - 0.01);
}

// A rendered row of boxes: the dark columns where a scan line crosses them.
struct Gray {
  int width = 0, height = 0;
  std::string pixels;
  bool Dark(int x, int y) const { return static_cast<unsigned char>(pixels[static_cast<std::size_t>(y * width + x)]) < 128; }
};

Gray Render(const std::filesystem::path& pdf, int dpi) {
  const std::filesystem::path stem = pdf.parent_path() / "page";
  OutputOf("pdftoppm -gray -r " + std::to_string(dpi) + " -f 1 -l 1 " + Quoted(pdf.string()) + " " + Quoted(stem.string()));
  std::filesystem::path file;
  for (const auto& entry : std::filesystem::directory_iterator(pdf.parent_path())) {
    if (entry.path().extension() == ".pgm") file = entry.path();
  }
  const std::string bytes = ReadBytes(file);
  Gray gray;
  std::istringstream header(bytes);
  std::string magic;
  int maximum;
  header >> magic >> gray.width >> gray.height >> maximum;
  gray.pixels = bytes.substr(static_cast<std::size_t>(header.tellg()) + 1);
  return gray;
}

struct BoxCase {
  int addRange;
  int terms;
  int places;
};

class DigitBoxes : public ::testing::TestWithParam<BoxCase> {};

// One problem a line, the result left to the pupil: the rows under it hold
// the column form, and the last row of boxes is empty.
TEST_P(DigitBoxes, TheEmptyResultRowHasOneBoxOfAtLeastEightMillimetresPerDigitPlace) {
  const BoxCase c = GetParam();
  RunRequest controls = RequestFor({c.terms, true, 1, 1, true, BlankPlace::Result});
  controls.addRange = c.addRange;
  controls.subRange = 5;
  GenerationSettings s = SetUpRun(controls);
  s.ExportFormat = FileFormat::Pdf;
  ProblemTable table(2);
  table.Row(0) = c.terms == 2 ? ProblemRow{"3", "+", "4", "", "", "=", "_"} : ProblemRow{"3", "+", "4", "-", "2", "=", "_"};
  TempFolder folder;
  ASSERT_EQ(RunExport(s, table, Progress{}, folder.path() / "b.PDF").outcome, ExportOutcome::Written);
  const int dpi = 100;
  const Gray page = Render(folder.path() / "b.PDF", dpi);
  ASSERT_GT(page.width, 0);

  // The lowest dark horizontal run is the result row's bottom edge; its
  // middle lies half a box above.
  auto darkRun = [&](int y) {
    int longest = 0, run = 0;
    for (int x = 0; x < page.width; ++x) longest = std::max(longest, run = page.Dark(x, y) ? run + 1 : 0);
    return longest;
  };
  const int minimumBox = static_cast<int>(8 / 25.4 * dpi);
  int bottom = page.height * 3 / 4;
  while (bottom > 0 && darkRun(bottom) < minimumBox * c.places) --bottom;
  ASSERT_GT(bottom, 0);
  int top = bottom - 3;
  while (top > 0 && darkRun(top) < minimumBox * c.places) --top;
  const int middle = (top + bottom) / 2;
  std::vector<int> edges;
  for (int x = 1; x < page.width; ++x) {
    if (page.Dark(x, middle) && !page.Dark(x - 1, middle)) edges.push_back(x);
  }
  ASSERT_EQ(edges.size(), static_cast<std::size_t>(c.places + 1)) << "row at " << middle;
  for (std::size_t i = 1; i < edges.size(); ++i) EXPECT_GE(edges[i] - edges[i - 1], minimumBox);
  EXPECT_GE(bottom - top, minimumBox);
}

INSTANTIATE_TEST_SUITE_P(Ranges, DigitBoxes,
                         ::testing::Values(BoxCase{9, 2, 1}, BoxCase{20, 2, 2}, BoxCase{50, 3, 2}));

// A class set: one file, each sheet after the other; printed on both sides
// every sheet starts on an odd page, after an empty one where needed.
class PdfSet : public ::testing::TestWithParam<bool> {};

TEST_P(PdfSet, SheetsFollowEachOtherFromAnOddPageOnlyWhenTwoSided) {
  const bool twoSided = GetParam();
  TempFolder folder;
  GenerationSettings s = SetUpRun(RequestFor({2, false, 4, 40, false, BlankPlace::Result}));
  s.ExportFormat = FileFormat::Pdf;
  const std::filesystem::path file = folder.path() / "set.PDF";
  std::vector<ProblemTable> tables(3);
  {
    PdfFile set(file, twoSided);
    for (std::size_t k = 0; k < tables.size(); ++k) {
      SeededRandom random(k + 1);
      ASSERT_TRUE(GenerateProblems(s, random, Progress{}, tables[k]));
      ASSERT_TRUE(set.Add(s, tables[k], SheetKind::Pupil));
      EXPECT_FALSE(std::filesystem::exists(file)) << "the file appears when complete";
    }
    std::vector<PendingPair> pair(1);
    pair.front().sheet = set.Close();
    ASSERT_FALSE(PlacePairs(pair, folder.path()).error);
  }
  const std::size_t step = twoSided ? 2 : 1;
  const std::vector<std::string> pages = Pages(Poppler("pdftotext -layout", file, "-"));
  ASSERT_EQ(pages.size(), twoSided ? 5u : 3u) << "three one-page sheets, two-sided each but the last followed by an empty page";
  for (std::size_t k = 0; k < tables.size(); ++k) {
    const std::string& page = pages[step * k];
    EXPECT_NE(page.find("第1页/共1页"), std::string::npos);
    TempFolder alone;
    const ExportResult single = RunExport(s, tables[k], Progress{}, alone.path() / "one.PDF");
    ASSERT_EQ(single.outcome, ExportOutcome::Written);
    EXPECT_EQ(ProblemsIn(page), ProblemsIn(Poppler("pdftotext -layout", single.file, "-"))) << "sheet " << k + 1;
  }
  for (std::size_t k = 1; k < pages.size(); k += 2) {
    EXPECT_EQ(pages[k].find_first_not_of(" \n") == std::string::npos, twoSided) << "page " << k + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Printing, PdfSet, ::testing::Values(true, false));

// Writes a small PDF sheet in this (death-test) process and exits with 3
// when the export failed, said why on stderr and left no file.
[[noreturn]] void ExportAndExit(const std::filesystem::path& file) {
  GenerationSettings s = SetUpRun(RequestFor({2, false, 4, 4, false, BlankPlace::Result}));
  s.ExportFormat = FileFormat::Pdf;
  ProblemTable table(5);
  for (int i = 0; i < 4; ++i) table.Row(i) = {"1", "+", "2", "", "", "=", "_"};
  const ExportResult result = RunExport(s, table, Progress{}, file);
  std::fprintf(stderr, "%s\n", result.error.c_str());
  const bool leftNothing = !std::filesystem::exists(file) && std::filesystem::is_empty(file.parent_path());
  std::exit(result.outcome == ExportOutcome::Failed && leftNothing ? 3 : 4);
}

void ExportWithFontConfiguration(const std::filesystem::path& config, const std::filesystem::path& file) {
  setenv("FONTCONFIG_FILE", config.c_str(), 1);
  ExportAndExit(file);
}

TEST(PdfFile, WithoutAChineseFontNothingIsWrittenAndTheReasonIsGiven) {
  TempFolder folder;
  const std::filesystem::path config = folder.path() / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?><fontconfig><dir>" << (folder.path() / "none").string()
                        << "</dir><cachedir>" << (folder.path() / "cache").string() << "</cachedir></fontconfig>\n";
  std::filesystem::create_directory(folder.path() / "none");
  const std::filesystem::path file = folder.path() / "none" / "x.PDF";
  // A process of its own, whose fontconfig starts from this configuration.
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(ExportWithFontConfiguration(config, file), ::testing::ExitedWithCode(3), "找不到简体中文字体");
}

// Exits with 3 when a font that fontconfig lists but the process cannot read
// made the export fail with the reason and leave no file.
void ExportWithAnUnreadableFont(const std::filesystem::path& config, const std::filesystem::path& font,
                                const std::filesystem::path& file) {
  setenv("FONTCONFIG_FILE", config.c_str(), 1);
  FcInit();  // lists the font while it can still be read
  chmod(font.c_str(), geteuid() == 0 ? 0600 : 0);
  if (geteuid() == 0 && (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)) std::exit(5);
  ExportAndExit(file);
}

// A sheet of empty boxes is no sheet: a font that cannot be read is refused.
TEST(PdfFile, AFontThatCannotBeReadIsRefusedNotDrawnAsBoxes) {
  const std::filesystem::path installed = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
  if (!std::filesystem::exists(installed)) GTEST_SKIP() << "fonts-noto-cjk is not installed";
  TempFolder folder;
  const std::filesystem::path fonts = folder.path() / "fonts", out = folder.path() / "out";
  std::filesystem::create_directories(fonts);
  std::filesystem::create_directories(out);
  std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
  std::filesystem::permissions(out, std::filesystem::perms::all);
  std::filesystem::copy_file(installed, fonts / "cjk.ttc");
  const std::filesystem::path config = folder.path() / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?><fontconfig><dir>" << fonts.string() << "</dir><cachedir>"
                        << (folder.path() / "cache").string() << "</cachedir></fontconfig>\n";
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(ExportWithAnUnreadableFont(config, fonts / "cjk.ttc", out / "x.PDF"), ::testing::ExitedWithCode(3),
              "无法写入“.*x.PDF”：字体“Noto Sans CJK .*”无法显示练习纸上的字（字体文件不能读取，或缺少这些字）");
}

}  // namespace
}  // namespace numbrook::testing
