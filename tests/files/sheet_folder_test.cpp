// Where the window's sheets go: a folder of the user's documents.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "files/export_error.h"
#include "files/file_names.h"
#include "files/sheet_folders.h"
#include "sheet/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

// Sets a variable for the life of the object, then puts back the old value.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct FolderCase {
  const char* what;
  bool xdgUserDir;           // the program is on the PATH
  const char* configured;    // the documents line of user-dirs.dirs, or none
  const char* expected;      // under the fake home
};

void PrintTo(const FolderCase& c, std::ostream* out) {
  for (const char* p = c.what; *p != '\0'; ++p) *out << (*p == ' ' ? '_' : *p);
}

class WindowSheetFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(WindowSheetFolderTest, IsMadeInTheDocumentsFolder) {
  const FolderCase& c = GetParam();
  TempFolder home;
  const std::filesystem::path config = home.path() / ".config";
  std::filesystem::create_directories(config);
  if (c.configured != nullptr) std::ofstream(config / "user-dirs.dirs") << c.configured << "\n";
  ScopedVariable fakeHome("HOME", home.path().string());
  ScopedVariable xdgConfig("XDG_CONFIG_HOME", config.string());
  ScopedVariable path("PATH", c.xdgUserDir ? "/usr/bin:/bin" : home.path().string());

  const std::filesystem::path folder = WindowSheetFolder();
  EXPECT_EQ(folder, home.path() / c.expected) << c.what;
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << c.what;
  EXPECT_EQ(OutputFileNameNow(folder, "加法运算", FileFormat::Pdf).parent_path(), folder) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowSheetFolderTest,
    ::testing::Values(FolderCase{"no xdg-user-dir", false, "XDG_DOCUMENTS_DIR=\"$HOME/文档\"", "Documents/Numbrook"},
                      FolderCase{"the user's documents", true, "XDG_DOCUMENTS_DIR=\"$HOME/文档\"", "文档/Numbrook"},
                      FolderCase{"documents not configured", true, nullptr, "Numbrook"}));

TEST(WindowSheetFolder, AFolderThatCannotBeMadeIsNamed) {
  TempFolder home;
  std::ofstream(home.path() / "Documents") << "a file, not a folder";
  ScopedVariable fakeHome("HOME", home.path().string());
  ScopedVariable path("PATH", home.path().string());
  try {
    WindowSheetFolder();
    ADD_FAILURE() << "a file where the folder should be was taken";
  } catch (const ExportError& error) {
    EXPECT_NE(std::string(error.what()).find((home.path() / "Documents/Numbrook").string()), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace numbrook::testing
