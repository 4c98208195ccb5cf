// The whole-process time of numbrook-sheet for its heaviest workbook beside
// a Python script that builds the same workbook (the same cells, looks, rows
// and page set-up, read from numbrook-sheet's own output) with Debian's
// python3-xlsxwriter. The two run in turn, A B A B ..., so that both meet the
// same machine; the medians of CPU and wall time and their ratios follow,
// then where numbrook-sheet's time goes. Class sets are timed after that.
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
Times RunOnce(const std::vector<std::string>& command) { return numbrook::bench::TimeProcess(command); }

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
  std::filesystem::create_directories(folder);
  const std::string sheet = NUMBROOK_SHEET_PROGRAM, script = NUMBROOK_XLSXWRITER_SCRIPT;
  const std::vector<std::string> heaviestOptions = {"--terms=3", "--sub", "--mixed", "--blank=random",
                                                     "--count=1000", "--per-row=1", "--vertical", "--seed=1"};
  auto sheetCommand = [&](const std::string& format, const std::string& file) {
    std::vector<std::string> command = {sheet};
    command.insert(command.end(), heaviestOptions.begin(), heaviestOptions.end());
    command.insert(command.end(), {"--format=" + format, "-o", (folder / file).string()});
    return command;
  };
  const std::vector<std::string> heaviest = sheetCommand("excel", "heaviest.XLS");

  const std::string plan = (folder / "heaviest.plan").string(), parts = (folder / "heaviest.parts").string();
  const bool havePython = Run(std::string(kPython) + " -c 'import xlsxwriter, openpyxl' 2>/dev/null") &&
                          RunOnce(heaviest).cpu >= 0 &&
                          Run(std::string(kPython) + " '" + script + "' plan '" + (folder / "heaviest.XLS").string() +
                              "' '" + plan + "'") &&
                          Run(std::string(kPython) + " '" + script + "' parts '" +
                              (folder / "heaviest.XLS").string() + "' '" + parts + "'");

  std::printf("The heaviest sheet: numbrook-sheet");
  for (const std::string& option : heaviestOptions) std::printf(" %s", option.c_str());
  std::printf("\nWhole process, run in turn, median of %d rounds %33s %12s\n", kRounds, "CPU", "wall");
  if (!havePython) {
    Row("numbrook-sheet", Interleaved({heaviest})[0]);
    std::printf("python3-xlsxwriter or python3-openpyxl is not installed "
                "(apt-get install python3-xlsxwriter python3-openpyxl): no comparison\n");
  } else {
    const std::vector<Times> t =
        Interleaved({heaviest, {kPython, script, "build", plan, (folder / "python.xlsx").string()},
                     {sheet, "--version"}, sheetCommand("text", "heaviest.TXT")});
    Row("A  numbrook-sheet", t[0]);
    Row("B  python3-xlsxwriter, the same cells (bench/xlsxwriter_sheet.py)", t[1]);
    if (t[0].cpu > 0 && t[1].cpu > 0) {
      std::printf("%-68s %12.3f %12.3f   (target: at most 0.15)\n", "ratio A / B", t[0].cpu / t[1].cpu,
                  t[0].wall / t[1].wall);
    }

    std::ifstream in(parts, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const double deflate = DeflateMilliseconds(bytes);
    std::printf("\nWhere numbrook-sheet's time goes (CPU)\n");
    Row("  starting the process (numbrook-sheet --version)", t[2]);
    Row("  the same sheet as text: start, drawing, writing   ", t[3]);
    char line[160];
    std::snprintf(line, sizeof line, "  deflate level 6 of the workbook's %.0f KiB of XML", bytes.size() / 1024.0);
    Single(line, deflate);
    Single("  the rest: building the XML and the zip", t[0].cpu - t[3].cpu - deflate);
    if (t[1].cpu > 0) {
      std::printf("%-68s %12.3f\n", "floor: (start-up + deflate) / B", (t[2].cpu + deflate) / t[1].cpu);
    }
    std::printf("Debian's libxlsxwriter compresses every part at its fixed deflate level 6: that\n"
                "line and the start-up are a floor that no change in numbrook-sheet removes. The\n"
                "rest is libxlsxwriter writing each part's XML (a cell's text, style and row\n"
                "records) and the zip around it; drawing and laying out the problems are within\n"
                "the text line.\n");
  }

  // A class set: 1000 sheets of 100 problems with their keys, in one run and
  // in 1000 runs; each timed once.
  const std::string stem = (folder / "set.XLS").string();
  const Times classSet = RunOnce({sheet, "--sheets=1000", "--answers", "--seed=1", "-o", stem});
  const auto start = std::chrono::steady_clock::now();
  bool separateOk = true;
  for (int k = 1; k <= 1000 && separateOk; ++k) {
    separateOk = RunOnce({sheet, "--answers", "--seed=" + std::to_string(k), "-o",
                          (folder / ("one-" + std::to_string(k) + ".XLS")).string()})
                     .cpu >= 0;
  }
  const double separate =
      separateOk ? std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() : -1;
  std::filesystem::remove_all(folder);

  std::printf("\nA class set of 1000 sheets of 100 problems, each with its answer key (2000 workbooks), wall\n");
  Single("one run: numbrook-sheet --sheets=1000 --answers", classSet.wall);
  Single("1000 runs: numbrook-sheet --answers, one sheet each", separate);
  return 0;
}
