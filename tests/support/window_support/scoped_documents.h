#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "files_support/temp_folder.h"

namespace numbrook::testing {

// A fresh home whose documents folder (as xdg-user-dir answers) is the given
// one, or 文档 in the home, for the life of the object.
class ScopedDocuments {
 public:
  explicit ScopedDocuments(const std::filesystem::path& documents = {})
      : documents_(documents.empty() ? home_.path() / "文档" : documents), home_saved_(Get("HOME")),
        config_saved_(Get("XDG_CONFIG_HOME")) {
    std::filesystem::create_directories(home_.path() / ".config");
    std::ofstream(home_.path() / ".config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << documents_.string() << "\"\n";
    setenv("HOME", home_.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.path() / ".config").c_str(), 1);
  }
  ~ScopedDocuments() {
    Restore("HOME", home_saved_);
    Restore("XDG_CONFIG_HOME", config_saved_);
  }
  ScopedDocuments(const ScopedDocuments&) = delete;
  ScopedDocuments& operator=(const ScopedDocuments&) = delete;

  const std::filesystem::path& Home() const { return home_.path(); }
  // Where the window puts its sheets.
  std::filesystem::path Folder() const { return documents_ / "Numbrook"; }

 private:
  static std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  TempFolder home_;
  std::filesystem::path documents_;
  std::optional<std::string> home_saved_, config_saved_;
};

}  // namespace numbrook::testing
