#include "files/file_names.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "files/export_error.h"
#include "generation/run_request.h"

namespace numbrook {
namespace {

// Text in the named codeset as UTF-8; nothing when the system cannot
// convert from that codeset or the text is not valid in it.
std::optional<std::string> ConvertToUtf8(std::string_view text, const std::string& codeset) {
  const iconv_t cd = iconv_open("UTF-8", codeset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const bool converted = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!converted) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}


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

const char* ExtensionOf(FileFormat exportFormat) {
  return exportFormat == FileFormat::Text ? ".TXT" : exportFormat == FileFormat::Pdf ? ".PDF" : ".XLS";
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

void CheckChosenName(const std::filesystem::path& file, FileFormat exportFormat) {
  const std::string text = file.string();
  if (std::any_of(text.begin(), text.end(), [](char ch) { return IsControl(static_cast<unsigned char>(ch)); })) {
    throw ExportError("无法写入“" + Shown(text) + "”：文件名含有控制字符");
  }
  struct Kind {
    FileFormat format;
    const char* name;
    std::vector<std::string> extensions;
  };
  static const Kind kKinds[] = {{FileFormat::Text, "文本文件", {".txt", ".text"}},
                                {FileFormat::Excel, "Excel工作簿", {".xls", ".xlsx"}},
                                {FileFormat::Pdf, "PDF文件", {".pdf"}}};
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
                                            const std::tm& localTime, FileFormat exportFormat) {
  const std::string date = Without(FormatTime("%x", localTime), "-/");
  const std::string time = Without(FormatTime("%X", localTime), ":");
  return tempFolder / (kindText + "题目列表" + date + time + ExtensionOf(exportFormat));
}

std::filesystem::path OutputFileNameNow(const std::filesystem::path& folder, const std::string& kindText,
                                        FileFormat exportFormat) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder.empty() ? "." : folder, error)) {
    throw ExportError("找不到文件夹“" + folder.string() + "”：" + ReasonOf(error ? error.value() : ENOTDIR));
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ComposeOutputFileName(folder, kindText, local, exportFormat);
}

std::filesystem::path ChosenOutputFileName(const std::filesystem::path& chosen, const std::string& kindText,
                                           FileFormat exportFormat) {
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

void CheckNameLengths(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& names) {
  const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t limit = longest > 0 ? static_cast<std::size_t>(longest) : 255;
  for (const std::filesystem::path& name : names) {
    const std::size_t length = name.filename().string().size();
    if (length <= limit) continue;
    throw ExportError("无法写入“" + name.string() + "”：" + ReasonOf(ENAMETOOLONG) + "（" + std::to_string(length) +
                      " 字节，这里最多 " + std::to_string(limit) + " 字节），本次没有写入任何文件");
  }
}

}  // namespace numbrook
