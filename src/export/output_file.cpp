#include "export/output_file.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

#include "export/gbk_encoding.h"
#include "export/worksheet_writer.h"

#include "generation/generation_settings.h"

extern char** environ;

namespace numbrook {
namespace {

// The locale's rendering of a date or time, in UTF-8 like the rest of the
// name, whatever codeset the locale writes (GBK, GB18030, Big5, EUC-JP...).
std::string FormatTime(const char* format, const std::tm& time) {
  char buffer[128];
  const std::size_t length = std::strftime(buffer, sizeof buffer, format, &time);
  const std::string text(buffer, length);
  if (std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; })) {
    return text;
  }
  const locale_t timeLocale = newlocale(LC_CTYPE_MASK, std::setlocale(LC_TIME, nullptr), static_cast<locale_t>(nullptr));
  const std::string codeset = timeLocale != nullptr ? nl_langinfo_l(CODESET, timeLocale) : "UTF-8";
  if (timeLocale != nullptr) freelocale(timeLocale);
  if (const std::optional<std::string> utf8 = ConvertToUtf8(text, codeset)) return *utf8;
  // Unconvertible: keep what is plain ASCII, the digits among it.
  std::string ascii;
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) < 0x80) ascii += ch;
  }
  return ascii;
}

// $TMPDIR, or /tmp when it is unset or empty.
std::filesystem::path TemporaryFolder() {
  const char* named = std::getenv("TMPDIR");
  return named != nullptr && *named != '\0' ? std::filesystem::path(named) : std::filesystem::path("/tmp");
}

constexpr const char* kProgramFolderName = "Numbrook";

// The user's home: $HOME, else the password database's entry.
std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// What `xdg-user-dir DOCUMENTS` prints, without its newline; nothing when
// it is missing, fails, says nothing or takes longer than two seconds.
std::optional<std::filesystem::path> AskXdgUserDir() {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("xdg-user-dir"), const_cast<char*>("DOCUMENTS"), nullptr};
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, "xdg-user-dir", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return std::nullopt;
  }
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  bool timedOut = false;
  for (char buffer[4096];;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{out[0], POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) == 0) {
      timedOut = true;
      break;
    }
    const ssize_t got = read(out[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || answer.size() > 65536) break;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
  close(out[0]);
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  while (!answer.empty() && answer.back() == '\n') answer.pop_back();
  if (answer.empty() || answer.front() != '/') return std::nullopt;
  return std::filesystem::path(answer);
}

std::filesystem::path DocumentsFolder() {
  if (std::optional<std::filesystem::path> named = AskXdgUserDir()) return *named;
  return HomeFolder() / "Documents";
}

const char* ExtensionOf(int exportFormat) {
  return exportFormat == kExportText ? ".TXT" : exportFormat == kExportPdf ? ".PDF" : ".XLS";
}

std::string Without(std::string text, const std::string& characters) {
  std::erase_if(text, [&](char ch) { return characters.find(ch) != std::string::npos; });
  return text;
}

std::string Lowered(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

bool IsControl(unsigned char ch) { return ch < 0x20 || ch == 0x7F; }

// The name as it can be shown: each control character as \xNN.
std::string Shown(const std::string& text) {
  std::string shown;
  for (unsigned char ch : text) {
    if (!IsControl(ch)) {
      shown += static_cast<char>(ch);
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", ch);
    shown += escaped;
  }
  return shown;
}

}  // namespace

void CheckChosenName(const std::filesystem::path& file, int exportFormat) {
  const std::string text = file.string();
  if (std::any_of(text.begin(), text.end(), [](char ch) { return IsControl(static_cast<unsigned char>(ch)); })) {
    throw ExportError("无法写入“" + Shown(text) + "”：文件名含有控制字符");
  }
  struct Kind {
    int format;
    const char* name;
    std::vector<std::string> extensions;
  };
  static const Kind kKinds[] = {{kExportText, "文本文件", {".txt", ".text"}},
                                {kExportExcel, "Excel工作簿", {".xls", ".xlsx"}},
                                {kExportPdf, "PDF文件", {".pdf"}}};
  const std::string extension = Lowered(file.extension().string());
  const Kind* chosen = nullptr;
  for (const Kind& kind : kKinds) {
    if (kind.format == exportFormat) chosen = &kind;
  }
  for (const Kind& kind : kKinds) {
    if (kind.format == exportFormat || std::find(kind.extensions.begin(), kind.extensions.end(), extension) ==
                                           kind.extensions.end()) {
      continue;
    }
    throw ExportError("无法写入“" + text + "”：扩展名“" + file.extension().string() + "”表示" + kind.name +
                      "，而所选的格式是" + (chosen != nullptr ? chosen->name : "另一种") + "");
  }
}

std::filesystem::path ComposeOutputFileName(const std::filesystem::path& tempFolder, const std::string& kindText,
                                            const std::tm& localTime, int exportFormat) {
  const std::string date = Without(FormatTime("%x", localTime), "-/");
  const std::string time = Without(FormatTime("%X", localTime), ":");
  return tempFolder / (kindText + "题目列表" + date + time + ExtensionOf(exportFormat));
}

std::filesystem::path OutputFileNameNow(const std::string& kindText, int exportFormat) {
  const std::filesystem::path folder = TemporaryFolder();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    const std::string reason = error ? error.message() : std::strerror(ENOTDIR);
    throw ExportError("找不到临时文件夹“" + folder.string() + "”：" + reason);
  }
  return OutputFileNameNow(folder, kindText, exportFormat);
}

std::filesystem::path OutputFileNameNow(const std::filesystem::path& folder, const std::string& kindText,
                                        int exportFormat) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder.empty() ? "." : folder, error)) {
    const std::string reason = error ? error.message() : std::strerror(ENOTDIR);
    throw ExportError("找不到文件夹“" + folder.string() + "”：" + reason);
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ComposeOutputFileName(folder, kindText, local, exportFormat);
}

std::filesystem::path ChosenOutputFileName(const std::filesystem::path& chosen, const std::string& kindText,
                                           int exportFormat) {
  // A link to a folder is not taken for one without its "/": writing
  // through a link is refused as for the sheet itself.
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::symlink_status(chosen, ignored);
  if (!chosen.has_filename() || std::filesystem::is_directory(status)) {
    return OutputFileNameNow(chosen, kindText, exportFormat);
  }
  // Something already there keeps its name, and is refused by name if it
  // is no place for a sheet.
  if (chosen.has_extension() || std::filesystem::exists(status)) return chosen;
  std::filesystem::path named = chosen;
  return named.replace_extension(ExtensionOf(exportFormat));
}

std::filesystem::path WindowSheetFolder() {
  std::filesystem::path documents = DocumentsFolder();
  const std::filesystem::path folder = documents / kProgramFolderName;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    throw ExportError("无法建立文件夹“" + folder.string() + "”：" + (error ? error.message() : std::strerror(ENOTDIR)));
  }
  return folder;
}

std::filesystem::path AnswerKeyName(const std::filesystem::path& sheet) {
  std::filesystem::path key = sheet;
  key.replace_filename(sheet.stem().string() + "答案" + sheet.extension().string());
  return key;
}

std::filesystem::path NumberedName(const std::filesystem::path& sheet, int number, int last) {
  std::string digits = std::to_string(number);
  digits.insert(0, std::to_string(last).size() - std::min(digits.size(), std::to_string(last).size()), '0');
  std::filesystem::path numbered = sheet;
  numbered.replace_filename(sheet.stem().string() + "-" + digits + sheet.extension().string());
  return numbered;
}

// The library can start a workbook with a sheet. Nothing is written: a
// workbook reaches the disk only when it is closed, and this one is freed.
bool CheckExcel() {
  lxw_workbook* workbook = workbook_new("numbrook-check.xlsx");
  if (workbook == nullptr) return false;
  const bool works = workbook_add_worksheet(workbook, nullptr) != nullptr;
  lxw_workbook_free(workbook);
  return works;
}

}  // namespace numbrook
