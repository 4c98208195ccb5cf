// A class set of 1000 sheets of the default settings with their keys
// (2000 workbooks) as one numbrook-sheet run, beside libxlsxwriter writing
// the same workbooks again in one process (bench/xlsx_replay, from plans of
// the set's first sheet and key: every workbook of the set has their cells
// and looks, only the digits differ). The two run in turn, three rounds,
// on the disk of the folder given; medians of wall and CPU time (user +
// system) and their ratio follow. With --dirty-mb=N another program leaves
// N MiB of unsaved data on the same disk before each set, to show that the
// set's flush waits for its own files only.
// --sheets=N times a set of N sheets instead.
//   set_benchmark [--sheets=N] [--dirty-mb=N] [--program=NUMBROOK-SHEET] [FOLDER]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "process_times.h"

namespace {

constexpr int kRounds = 3;
const char* const kPython = "/usr/bin/python3";

using Times = numbrook::bench::ProcessTimes;

std::filesystem::path FreshFolder(const std::filesystem::path& under, const std::string& name) {
  const std::filesystem::path folder = under / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Unsaved data of another program on the folder's disk: written, not flushed.
void LeaveDirtyData(const std::filesystem::path& folder, int megabytes) {
  if (megabytes <= 0) return;
  Run("dd if=/dev/zero of='" + (folder / "other-program.data").string() + "' bs=1M count=" +
      std::to_string(megabytes) + " status=none");
}

}  // namespace

int main(int argc, char** argv) {
  int dirty = 0;
  int sheets = 1000;
  std::string program = NUMBROOK_SHEET_PROGRAM;
  std::filesystem::path under = std::filesystem::temp_directory_path() / "numbrook-set-benchmark";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.starts_with("--sheets=")) {
      sheets = std::atoi(argument.c_str() + 9);
    } else if (argument.starts_with("--dirty-mb=")) {
      dirty = std::atoi(argument.c_str() + 11);
    } else if (argument.starts_with("--program=")) {
      program = argument.substr(10);
    } else {
      under = argument;
    }
  }

  // The plans of the first sheet and its key, from a set made for them.
  const std::filesystem::path plans = FreshFolder(under, "plans");
  const std::string script = NUMBROOK_XLSXWRITER_SCRIPT;
  const bool planned =
      numbrook::bench::TimeProcess({program, "--sheets=2", "--answers", "--seed=1", "-o", (plans / "口算.XLS").string()})
              .cpu >= 0 &&
      Run(std::string(kPython) + " '" + script + "' plan '" + (plans / "口算-1.XLS").string() + "' '" +
          (plans / "sheet.plan").string() + "'") &&
      Run(std::string(kPython) + " '" + script + "' plan '" + (plans / "口算-1答案.XLS").string() + "' '" +
          (plans / "key.plan").string() + "'");
  if (!planned) {
    std::fprintf(stderr, "set_benchmark: the plans could not be made (python3-openpyxl installed?)\n");
    return 1;
  }

  std::vector<double> setWall, setCpu, replayWall, replayCpu;
  bool ok = true;
  for (int round = 0; round < kRounds; ++round) {
    const std::filesystem::path folder = FreshFolder(under, "set");
    LeaveDirtyData(under, dirty);
    const Times set = numbrook::bench::TimeProcess(
        {program, "--sheets=" + std::to_string(sheets), "--answers", "--seed=1", "-o", (folder / "口算.XLS").string()});
    std::filesystem::remove(under / "other-program.data");
    const std::filesystem::path again = FreshFolder(under, "replay");
    const Times replay = numbrook::bench::TimeProcess({NUMBROOK_XLSX_REPLAY, again.string(), std::to_string(sheets),
                                                       (plans / "sheet.plan").string(), (plans / "key.plan").string()});
    ok = ok && set.wall >= 0 && replay.wall >= 0;
    setWall.push_back(set.wall / 1e3);
    setCpu.push_back(set.cpu / 1e3);
    replayWall.push_back(replay.wall / 1e3);
    replayCpu.push_back(replay.cpu / 1e3);
  }
  std::filesystem::remove_all(under);
  if (!ok) {
    std::fprintf(stderr, "set_benchmark: a run failed\n");
    return 1;
  }

  std::printf("%d workbooks (%d sheets with keys), in turn, median of %d%s\n", 2 * sheets, sheets, kRounds,
              dirty > 0 ? (", each set after " + std::to_string(dirty) + " MiB of another program's unsaved data").c_str()
                        : "");
  std::printf("%-62s %10s %10s\n", "", "wall s", "cpu s");
  std::printf("%-62s %10.2f %10.2f\n", ("A  numbrook-sheet --sheets=" + std::to_string(sheets) + " --answers").c_str(),
              Median(setWall), Median(setCpu));
  std::printf("%-62s %10.2f %10.2f\n", "B  libxlsxwriter alone, one process (bench/xlsx_replay)", Median(replayWall),
              Median(replayCpu));
  std::printf("%-62s %10.3f %10.3f   (target: wall at most 0.75)\n", "ratio A / B", Median(setWall) / Median(replayWall),
              Median(setCpu) / Median(replayCpu));
  return 0;
}
