#include "export/output_file.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>

#include "export/worksheet_writer.h"

#include "generation/control_state.h"

namespace numbrook {
namespace {

std::string FormatTime(const char* format, const std::tm& time) {
  char buffer[128];
  const std::size_t length = std::strftime(buffer, sizeof buffer, format, &time);
  return std::string(buffer, length);
}

std::string Without(std::string text, const std::string& characters) {
  std::erase_if(text, [&](char ch) { return characters.find(ch) != std::string::npos; });
  return text;
}

}  // namespace

std::filesystem::path ComposeOutputFileName(const std::filesystem::path& tempFolder, const std::string& kindText,
                                            const std::tm& localTime, int exportFormat) {
  const std::string date = Without(FormatTime("%x", localTime), "-/");
  const std::string time = Without(FormatTime("%X", localTime), ":");
  const char* extension = exportFormat == kExportText ? ".TXT" : ".XLS";
  return tempFolder / (kindText + "题目列表" + date + time + extension);
}

std::filesystem::path OutputFileNameNow(const std::string& kindText, int exportFormat) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) {
    const char* named = std::getenv("TMPDIR");
    throw ExportError("找不到临时文件夹“" + std::string(named ? named : "/tmp") + "”：" + error.message());
  }
  return ComposeOutputFileName(folder, kindText, local, exportFormat);
}

bool CheckFile(const std::filesystem::path& file) {
  std::error_code error;
  return !file.empty() && std::filesystem::is_regular_file(file, error);
}

bool CheckExcel() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return false;
  const std::filesystem::path trial = folder / ("numbrook-check-" + std::to_string(getpid()) + ".xlsx");
  lxw_workbook* workbook = workbook_new(trial.c_str());
  if (workbook == nullptr) return false;
  const bool works = workbook_add_worksheet(workbook, nullptr) != nullptr;
  const bool closed = workbook_close(workbook) == LXW_NO_ERROR;
  std::filesystem::remove(trial, error);
  return works && closed;
}

}  // namespace numbrook
