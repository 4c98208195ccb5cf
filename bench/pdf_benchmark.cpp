// Prints the whole-process time of `numbrook-sheet --format=pdf --sheets 40
// --answers` (40 sheets of the default settings in one pupil PDF, their 40
// keys in one key PDF; aim: within a second) beside LibreOffice converting
// 40 workbooks and 40 keys of the same settings to PDF, and the ratio.
#include <spawn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sets_support/run_export.h"
#include "process_times.h"
#include "files/file_names.h"
#include "generation/problem_generator.h"


namespace {

constexpr int kSheets = 40;
constexpr int kRuns = 5;

std::vector<numbrook::ProblemTable> ClassSet(const numbrook::GenerationSettings& settings) {
  std::vector<numbrook::ProblemTable> tables(kSheets);
  for (int k = 0; k < kSheets; ++k) {
    numbrook::SeededRandom random(static_cast<std::uint64_t>(k + 1));
    numbrook::GenerateProblems(settings, random, {}, tables[static_cast<std::size_t>(k)]);
  }
  return tables;
}

numbrook::GenerationSettings Settings(numbrook::FileFormat format) {
  numbrook::GenerationSettings settings = numbrook::SetUpRun(numbrook::RunRequest{});
  settings.ExportFormat = format;
  return settings;
}

using Timing = numbrook::bench::ProcessTimes;

// The times of one run. The processor time is printed too, because the
// wall time grows with whatever else the machine runs.
Timing RunOnce(const std::vector<std::string>& command) { return numbrook::bench::TimeProcess(command, true); }

// The page count that pdfinfo reads, or -1.
int Pages(const std::filesystem::path& pdf) {
  const std::string command = "pdfinfo '" + pdf.string() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  int pages = -1;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) std::sscanf(line, "Pages: %d", &pages);
  pclose(pipe);
  return pages;
}

void Print(const std::string& what, const Timing& timing) {
  if (timing.wall < 0) {
    std::printf("%-66s   failed\n", what.c_str());
  } else {
    std::printf("%-66s %8.1f ms %8.1f ms\n", what.c_str(), timing.wall, timing.cpu);
  }
}

bool HaveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "numbrook-pdf-benchmark";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);

  std::vector<Timing> times;
  for (int run = 0; run <= kRuns; ++run) {
    const Timing time = RunOnce({NUMBROOK_SHEET_PROGRAM, "--format=pdf", "--sheets", std::to_string(kSheets),
                                 "--answers", "--seed", "2026", "-o", (folder / "set.PDF").string()});
    if (run > 0) times.push_back(time);  // the first warms the caches
  }
  std::sort(times.begin(), times.end(), [](const Timing& a, const Timing& b) { return a.wall < b.wall; });
  const Timing pdf = times.front().wall < 0 ? Timing{} : times[times.size() / 2];
  const int pages = Pages(folder / "set.PDF") + Pages(folder / "set答案.PDF");

  std::printf("A class set of %d sheets (default settings) and their %d keys; whole process\n", kSheets, kSheets);
  std::printf("%-66s %11s %11s\n", "", "wall", "processor");
  Print("numbrook-sheet --format=pdf --sheets 40 --answers, median of " + std::to_string(kRuns) + " (" +
            std::to_string(pages) + " pages)",
        pdf);
  std::printf("%-66s %8.1f ms\n", "aim for numbrook-sheet", 1000.0);

  if (!HaveProgram("soffice")) {
    std::printf("LibreOffice (soffice) is not installed: no comparison "
                "(apt-get install libreoffice-calc-nogui to compare)\n");
    std::filesystem::remove_all(folder);
    return 0;
  }
  // The same sheets and keys as workbooks, then one soffice run converting all 80.
  const std::filesystem::path books = folder / "books";
  std::filesystem::create_directories(books);
  const numbrook::GenerationSettings settings = Settings(numbrook::FileFormat::Excel);
  const std::vector<numbrook::ProblemTable> tables = ClassSet(settings);
  std::vector<std::string> command = {"soffice", "--headless", "-env:UserInstallation=file://" + (folder / "profile").string(),
                                      "--convert-to", "pdf", "--outdir", (folder / "converted").string()};
  for (int k = 0; k < kSheets; ++k) {
    const std::filesystem::path sheet = books / ("sheet-" + std::to_string(k + 1) + ".xlsx");
    numbrook::RunExport(settings, tables[static_cast<std::size_t>(k)], {}, sheet);
    numbrook::RunExport(settings, tables[static_cast<std::size_t>(k)], {}, numbrook::AnswerKeyName(sheet),
                        numbrook::SheetKind::AnswerKey);
    command.push_back(sheet.string());
    command.push_back(numbrook::AnswerKeyName(sheet).string());
  }
  RunOnce({"soffice", "--headless", "-env:UserInstallation=file://" + (folder / "profile").string(), "--terminate_after_init"});
  const Timing office = RunOnce(command);
  Print("LibreOffice: soffice --convert-to pdf, 80 workbooks of the same settings", office);
  if (pdf.wall > 0 && office.wall > 0) {
    std::printf("%-66s %8.3f    %8.3f\n", "ratio: numbrook / LibreOffice (aim: 0.05 or less)", pdf.wall / office.wall,
                pdf.cpu / office.cpu);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
