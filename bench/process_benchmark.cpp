// The whole-process time of numbrook-sheet for its heaviest workbook (1000
// three-term problems, mixed, random blank, ten a line asked, column form)
// beside a Python script that builds the same workbook with Debian's
// python3-xlsxwriter: the same default font and looks, columns, row heights,
// cells, page breaks and page set-up (paper, fit to the page's width),
// read from numbrook-sheet's own output, and checked the same with openpyxl
// before the timing. The runs take turns, A B A B ..., so that both meet the
// same machine; the medians of CPU and wall time and their ratios follow,
// then the floor that start-up sets, measured: numbrook-sheet --version and
// a C++ program that does nothing. Last, one default sheet as a PDF beside
// the same sheet as a workbook, and beside bench/pdf_floor, which draws a
// line of Chinese and a bold one with pango into a PDF and nothing else.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "process_times.h"

namespace {

constexpr int kRounds = 21;
const char* const kPython = "/usr/bin/python3";

using Times = numbrook::bench::ProcessTimes;

// One run of the command with its output thrown away; negative times when
// it did not exit with status 0.
Times RunOnce(const std::vector<std::string>& command) { return numbrook::bench::TimeProcess(command, true); }

double Median(std::vector<double> values) {
  if (values.empty() || *std::min_element(values.begin(), values.end()) < 0) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs the commands in turn, round after round, after one warming round;
// the median CPU and wall times of each.
std::vector<Times> Interleaved(const std::vector<std::vector<std::string>>& commands) {
  for (const auto& command : commands) RunOnce(command);
  std::vector<std::vector<double>> cpu(commands.size()), wall(commands.size());
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const Times t = RunOnce(commands[i]);
      cpu[i].push_back(t.cpu);
      wall[i].push_back(t.wall);
    }
  }
  std::vector<Times> medians;
  for (std::size_t i = 0; i < commands.size(); ++i) medians.push_back({.wall = Median(wall[i]), .cpu = Median(cpu[i])});
  return medians;
}

// The CPU time of compressing the bytes at deflate level 6, median of runs.
double DeflateMilliseconds(const std::string& bytes) {
  std::vector<double> times;
  std::vector<Bytef> out(compressBound(static_cast<uLong>(bytes.size())));
  for (int run = 0; run < kRounds; ++run) {
    uLongf size = static_cast<uLongf>(out.size());
    const std::clock_t start = std::clock();
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()), 6);
    times.push_back((std::clock() - start) * 1e3 / CLOCKS_PER_SEC);
  }
  return Median(times);
}

void Row(const char* what, const Times& t) {
  if (t.cpu < 0) {
    std::printf("%-68s %12s %12s\n", what, "failed", "failed");
  } else {
    std::printf("%-68s %9.1f ms %9.1f ms\n", what, t.cpu, t.wall);
  }
}

void Single(const char* what, double milliseconds) {
  if (milliseconds < 0) {
    std::printf("%-68s %12s\n", what, "failed");
  } else {
    std::printf("%-68s %9.1f ms\n", what, milliseconds);
  }
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "numbrook-process-benchmark";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string sheet = NUMBROOK_SHEET_PROGRAM, script = NUMBROOK_XLSXWRITER_SCRIPT;
  const std::vector<std::string> heaviestOptions = {"--terms=3", "--sub", "--mixed", "--blank=random",
                                                     "--count=1000", "--per-row=10", "--vertical", "--seed=1"};
  auto sheetCommand = [&](const std::string& format, const std::string& file) {
    std::vector<std::string> command = {sheet};
    command.insert(command.end(), heaviestOptions.begin(), heaviestOptions.end());
    command.insert(command.end(), {"--format=" + format, "-o", (folder / file).string()});
    return command;
  };
  const std::vector<std::string> heaviest = sheetCommand("excel", "heaviest.XLS");
  const std::string workbook = (folder / "heaviest.XLS").string(), python = (folder / "python.xlsx").string();
  const std::string plan = (folder / "heaviest.plan").string(), parts = (folder / "heaviest.parts").string();
  const auto script_step = [&](const std::string& step, const std::string& a, const std::string& b) {
    return Run(std::string(kPython) + " '" + script + "' " + step + " '" + a + "' '" + b + "'");
  };
  const bool havePython = Run(std::string(kPython) + " -c 'import xlsxwriter, openpyxl' 2>/dev/null") &&
                          RunOnce(heaviest).cpu >= 0 && script_step("plan", workbook, plan) &&
                          script_step("parts", workbook, parts) && script_step("build", plan, python);

  std::printf("The heaviest sheet: numbrook-sheet");
  for (const std::string& option : heaviestOptions) std::printf(" %s", option.c_str());
  std::printf("\nWhole process, run in turn, median of %d rounds %33s %12s\n", kRounds, "CPU", "wall");
  if (!havePython) {
    Row("numbrook-sheet", Interleaved({heaviest})[0]);
    std::printf("python3-xlsxwriter or python3-openpyxl is not installed "
                "(apt-get install python3-xlsxwriter python3-openpyxl): no comparison\n");
  } else {
    const bool same = script_step("same", workbook, python);
    std::printf("openpyxl reads the same cells, looks, rows, columns and page set-up in both: %s\n",
                same ? "yes" : "NO, the comparison is not fair");
    const std::vector<Times> t =
        Interleaved({heaviest, {kPython, script, "build", plan, python}, {sheet, "--version"}, {NUMBROOK_BARE_PROGRAM},
                     sheetCommand("text", "heaviest.TXT")});
    Row("A  numbrook-sheet", t[0]);
    Row("B  python3-xlsxwriter, the same workbook (bench/xlsxwriter_sheet.py)", t[1]);
    if (t[0].cpu > 0 && t[1].cpu > 0) {
      std::printf("%-68s %12.3f %12.3f   (target: CPU at most 0.18)\n", "ratio A / B", t[0].cpu / t[1].cpu,
                  t[0].wall / t[1].wall);
    }

    std::ifstream in(parts, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const double deflate = DeflateMilliseconds(bytes);
    std::printf("\nWhere numbrook-sheet's time goes (CPU), each measured\n");
    Row("  start-up: numbrook-sheet --version", t[2]);
    Row("  start-up of a C++ program that does nothing (bench/bare_program)", t[3]);
    Row("  the same sheet as text: start, drawing, writing", t[4]);
    char line[160];
    std::snprintf(line, sizeof line, "  deflate level 6 of the workbook's %.0f KiB of XML", bytes.size() / 1024.0);
    Single(line, deflate);
    Single("  the rest: building the XML and the zip, the read-back check", t[0].cpu - t[4].cpu - deflate);
    if (t[1].cpu > 0) {
      std::printf("%-68s %12.3f\n", "floor: (numbrook-sheet --version + deflate) / B", (t[2].cpu + deflate) / t[1].cpu);
      std::printf("%-68s %12.3f\n", "floor: (a bare program's start + deflate) / B", (t[3].cpu + deflate) / t[1].cpu);
    }
  }

  // One sheet of the default settings, as a PDF and as a workbook.
  const std::vector<Times> one = Interleaved({{sheet, "--format=pdf", "--seed=1", "-o", (folder / "one.PDF").string()},
                                              {sheet, "--format=excel", "--seed=1", "-o", (folder / "one.XLS").string()},
                                              {NUMBROOK_PDF_FLOOR, (folder / "floor.pdf").string()}});
  std::printf("\nOne sheet of the default settings, whole process, median of %d rounds %14s %12s\n", kRounds, "CPU",
              "wall");
  Row("C  numbrook-sheet --format=pdf", one[0]);
  Row("D  numbrook-sheet --format=excel", one[1]);
  Row("   pango and cairo alone: a regular and a bold line (bench/pdf_floor)", one[2]);
  if (one[0].cpu > 0 && one[1].cpu > 0) {
    std::printf("%-68s %12.3f %12.3f   (target: CPU at most 3)\n", "ratio C / D", one[0].cpu / one[1].cpu,
                one[0].wall / one[1].wall);
    std::printf("%-68s %12.3f\n", "floor: pdf_floor / D", one[2].cpu / one[1].cpu);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
