// Prints how long a class set of 1000 sheets with their keys takes as one
// numbrook-sheet run (written as a batch, flushed once) beside the same
// 2000 files made by 1000 separate runs, on the disk of the folder given
// (default: the temporary folder). Wall time is the median of 3 for the
// set, and CPU time (user + system, the process and its children) beside.
//   set_benchmark [FOLDER] [SEPARATE-RUNS]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Timing {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  bool ok = true;
};

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// Runs numbrook-sheet with the arguments, its output to /dev/null.
Timing Run(const std::vector<std::string>& arguments) {
  std::vector<std::string> words{NUMBROOK_SHEET_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1 /* O_WRONLY */, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child;
  Timing timing;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) return {0, 0, false};
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  timing.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  timing.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return timing;
}

std::filesystem::path FreshFolder(const std::filesystem::path& under, const std::string& name) {
  const std::filesystem::path folder = under / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path under =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "numbrook-set-benchmark";
  const int separateRuns = argc > 2 ? std::atoi(argv[2]) : 1000;

  std::vector<Timing> sets;
  for (int round = 0; round < 3; ++round) {
    const std::filesystem::path folder = FreshFolder(under, "set" + std::to_string(round));
    sets.push_back(Run({"--sheets=1000", "--answers", "--seed=1", "-o", (folder / "口算.XLS").string()}));
    if (!sets.back().ok) std::fprintf(stderr, "the set run failed\n");
  }
  std::sort(sets.begin(), sets.end(), [](const Timing& a, const Timing& b) { return a.wallSeconds < b.wallSeconds; });

  Timing separate;
  const std::filesystem::path folder = FreshFolder(under, "separate");
  for (int k = 1; k <= separateRuns; ++k) {
    const Timing one = Run({"--answers", "--seed=" + std::to_string(k), "-o", (folder / ("口算-" + std::to_string(k) + ".XLS")).string()});
    separate.wallSeconds += one.wallSeconds;
    separate.cpuSeconds += one.cpuSeconds;
    separate.ok = separate.ok && one.ok;
  }
  std::filesystem::remove_all(under);

  std::printf("%-44s %12s %12s\n", "2000 workbooks (1000 sheets with keys)", "wall s", "cpu s");
  std::printf("%-44s %12.2f %12.2f   (median of 3; target 3 s)\n", "one run: --sheets=1000 --answers", sets[1].wallSeconds,
              sets[1].cpuSeconds);
  std::printf("%-44s %12.2f %12.2f   (%d runs)\n", "separate runs: --answers, one sheet each", separate.wallSeconds,
              separate.cpuSeconds, separateRuns);
  return sets[1].ok && separate.ok ? 0 : 1;
}
