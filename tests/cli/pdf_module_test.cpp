// The PDF writer is a module loaded for the first PDF: what a run loads,
// and what the user is told when the module cannot be loaded.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

// The libraries the dynamic linker loaded for a run, as LD_DEBUG tells.
std::set<std::string> LoadedBy(const std::string& arguments, const std::filesystem::path& folder) {
  const std::filesystem::path log = folder / "ld";
  const Outcome run = RunSheet(arguments, "LD_DEBUG=files LD_DEBUG_OUTPUT=" + Quoted(log));
  EXPECT_EQ(run.status, 0) << run.out;
  std::set<std::string> loaded;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.path().filename().string().starts_with("ld.")) continue;
    const std::string text = ReadBytes(entry.path());
    const std::regex opened("file=(\\S+) \\[0\\];  generating link map");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), opened); it != std::sregex_iterator(); ++it) {
      loaded.insert(std::filesystem::path((*it)[1].str()).filename().string());
    }
    std::filesystem::remove(entry.path());
  }
  return loaded;
}

bool LoadsTheDrawingLibraries(const std::set<std::string>& loaded) {
  for (const std::string& library : loaded) {
    for (const char* drawing : {"libpango", "libcairo", "libharfbuzz", "libfontconfig", "numbrook-pdf"}) {
      if (library.starts_with(drawing)) return true;
    }
  }
  return false;
}

struct LoadCase {
  const char* format;
  bool drawing;  // pango, cairo, harfbuzz, fontconfig and the module
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.format; }

class LoadedLibraries : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadedLibraries, OnlyAPdfRunLoadsTheDrawingLibraries) {
  TempFolder folder;
  const std::set<std::string> loaded = LoadedBy(
      std::string("--format=") + GetParam().format + " --sheets=2 --answers -o " + Quoted(folder.path() / "s"),
      folder.path());
  ASSERT_FALSE(loaded.empty()) << "LD_DEBUG told nothing";
  EXPECT_EQ(LoadsTheDrawingLibraries(loaded), GetParam().drawing) << ::testing::PrintToString(loaded);
}

INSTANTIATE_TEST_SUITE_P(Formats, LoadedLibraries,
                         ::testing::Values(LoadCase{"text", false}, LoadCase{"excel", false}, LoadCase{"pdf", true}),
                         [](const auto& info) { return std::string(info.param.format); });

// numbrook-sheet copied into a folder of its own, with whatever module is
// put beside it.
struct MissingCase {
  const char* name;
  const char* module;  // what numbrook-pdf.so beside the program holds; null: no file
  const char* reason;  // what the message says after the module's path
};

void PrintTo(const MissingCase& c, std::ostream* out) { *out << c.name; }

class UnloadableModule : public ::testing::TestWithParam<MissingCase> {};

TEST_P(UnloadableModule, APdfRunNamesTheModuleAndTheReasonAndOtherFormatsWork) {
  TempFolder folder;
  const std::filesystem::path bin = folder.path() / "bin", out = folder.path() / "out";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(out);
  std::filesystem::copy_file(NUMBROOK_SHEET_PROGRAM, bin / "numbrook-sheet");
  std::filesystem::permissions(bin / "numbrook-sheet", std::filesystem::perms::owner_all);
  const std::filesystem::path module = bin / "numbrook-pdf.so";
  if (GetParam().module != nullptr) std::ofstream(module) << GetParam().module;
  const std::filesystem::path installed = (bin / NUMBROOK_PDF_MODULE_FROM_PROGRAMS / "numbrook-pdf.so").lexically_normal();
  const std::filesystem::path shown = GetParam().module != nullptr ? module : installed;

  const Outcome pdf = RunProgram((bin / "numbrook-sheet").string(), "--format=pdf -o " + Quoted(out / "s.PDF"));
  EXPECT_EQ(pdf.status, 1);
  EXPECT_TRUE(pdf.out.starts_with("numbrook-sheet: 无法生成PDF：无法载入PDF模块“" + shown.string() + "”：" +
                                  GetParam().reason))
      << pdf.out;
  EXPECT_TRUE(pdf.out.ends_with("；请重新安装 numbrook\n")) << pdf.out;
  EXPECT_TRUE(NamesIn(out).empty());

  const Outcome text = RunProgram((bin / "numbrook-sheet").string(), "--format=text -o " + Quoted(out / "s.TXT"));
  EXPECT_EQ(text.status, 0) << text.out;
}

INSTANTIATE_TEST_SUITE_P(
    Modules, UnloadableModule,
    ::testing::Values(MissingCase{"Missing", nullptr, "文件或文件夹不存在"},
                      MissingCase{"NotALibrary", "not a library", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace numbrook::testing
