// Prints how long set-up, generation and writing take for the largest sheets.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "sets_support/run_export.h"
#include "generation/problem_generator.h"

namespace {

double MillisecondsFor(const numbrook::RunRequest& request, const std::filesystem::path& file) {
  const auto start = std::chrono::steady_clock::now();
  const numbrook::GenerationSettings settings = numbrook::SetUpRun(request);
  numbrook::SeededRandom random(1);
  numbrook::ProblemTable table;
  numbrook::GenerateProblems(settings, random, {}, table);
  const numbrook::ExportResult result = numbrook::RunExport(settings, table, {}, file);
  const auto end = std::chrono::steady_clock::now();
  if (result.outcome != numbrook::ExportOutcome::Written) std::fprintf(stderr, "failed: %s\n", result.error.c_str());
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  struct Case {
    const char* name;
    int terms;
    int perLine;
    bool vertical;
    numbrook::FileFormat format;
  };
  const Case cases[] = {
      {"text, 1000 problems", 2, 4, false, numbrook::FileFormat::Text},
      {"text, 1000 problems with column form", 2, 4, true, numbrook::FileFormat::Text},
      {"spreadsheet, 1000 three-term problems in column form, 1 per row", 3, 1, true, numbrook::FileFormat::Excel},
      {"spreadsheet, 1000 problems, 10 per row", 2, 10, false, numbrook::FileFormat::Excel},
  };
  for (const Case& c : cases) {
    numbrook::RunRequest request;
    request.count = 1000;
    request.terms = c.terms;
    request.perLine = c.perLine;
    request.columnForm = c.vertical;
    request.format = c.format;
    const std::filesystem::path file = folder / "numbrook-benchmark.out";
    double best = 1e9;
    for (int run = 0; run < 5; ++run) best = std::min(best, MillisecondsFor(request, file));
    std::filesystem::remove(file);
    std::printf("%-66s %8.2f ms (best of 5)\n", c.name, best);
  }
}
