// Prints the whole-process time of numbrook-sheet for the heaviest workbook
// and for a wide one, beside a Python script that builds the same heaviest
// sheet with Debian's python3-xlsxwriter, and the ratio of the two.
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 15;

// The wall time of one run of the command, in milliseconds; negative when
// it did not exit with status 0.
double RunOnce(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double, std::milli>(end - start).count();
}

// The median of several runs after one to warm the caches.
double Median(const std::vector<std::string>& command) {
  if (RunOnce(command) < 0) return -1;
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const double time = RunOnce(command);
    if (time < 0) return -1;
    times.push_back(time);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Print(const char* what, double milliseconds) {
  if (milliseconds < 0) {
    std::printf("%-72s   failed\n", what);
  } else {
    std::printf("%-72s %7.1f ms\n", what, milliseconds);
  }
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "numbrook-process-benchmark";
  std::filesystem::create_directories(folder);
  const std::string sheet = NUMBROOK_SHEET_PROGRAM;
  const double heaviest = Median({sheet, "--terms=3", "--mixed", "--vertical", "--per-row=1", "--count=1000",
                                  "--seed=1", "-o", (folder / "heaviest.XLS").string()});
  const double wide = Median({sheet, "--per-row=10", "--count=1000", "--seed=1", "-o", (folder / "wide.XLS").string()});
  // A class set: 1000 sheets of 100 problems with their keys, in one run and
  // in 1000 runs; each timed once.
  const std::string stem = (folder / "set.XLS").string();
  const double classSet = RunOnce({sheet, "--sheets=1000", "--answers", "--seed=1", "-o", stem});
  const auto start = std::chrono::steady_clock::now();
  bool separateOk = true;
  for (int k = 1; k <= 1000 && separateOk; ++k) {
    separateOk = RunOnce({sheet, "--answers", "--seed=" + std::to_string(k), "-o",
                          (folder / ("one-" + std::to_string(k) + ".XLS")).string()}) >= 0;
  }
  const double separate =
      separateOk ? std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() : -1;

  const bool havePython = std::system("/usr/bin/python3 -c 'import xlsxwriter' 2>/dev/null") == 0;
  const double python = havePython ? Median({"/usr/bin/python3", NUMBROOK_XLSXWRITER_SCRIPT,
                                             (folder / "python.xlsx").string()})
                                   : -1;
  std::filesystem::remove_all(folder);

  std::printf("Whole process, median of %d runs\n", kRuns);
  Print("numbrook-sheet: 1000 three-term problems in column form, 1 per line", heaviest);
  Print("numbrook-sheet: 1000 problems, 10 per line", wide);
  std::printf("\nA class set of 1000 sheets of 100 problems, each with its answer key (2000 workbooks)\n");
  Print("one run: numbrook-sheet --sheets=1000 --answers", classSet);
  Print("1000 runs: numbrook-sheet --answers, one sheet each", separate);
  std::printf("\n");
  if (!havePython) {
    std::printf("python3-xlsxwriter is not installed (apt-get install python3-xlsxwriter): no comparison\n");
    return 0;
  }
  Print("python3-xlsxwriter: the same heaviest sheet (bench/xlsxwriter_sheet.py)", python);
  if (heaviest > 0 && python > 0) {
    std::printf("%-72s %7.2f\n", "ratio, heaviest sheet: numbrook-sheet / python3-xlsxwriter", heaviest / python);
  }
  return 0;
}
