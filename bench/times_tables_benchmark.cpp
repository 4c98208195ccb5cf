// Prints the cost per problem of the heaviest sheet of multiplication and
// division (1000 problems, 10 a line, remainders, column form) as a
// workbook and as a PDF, beside today's heaviest sheet of the same size
// (three terms, additions and subtractions mixed, column form): set-up,
// drawing and writing, the best of nine runs each, in processor time (the
// machine's other work moves the wall time by a tenth either way).
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>

#include "generation/problem_generator.h"
#include "sets_support/run_export.h"

namespace {

constexpr int kProblems = 1000;
constexpr int kRuns = 9;

double Milliseconds(const numbrook::RunRequest& request, const std::filesystem::path& file, int run) {
  const std::clock_t start = std::clock();
  const numbrook::GenerationSettings settings = numbrook::SetUpRun(request);
  numbrook::SeededRandom random(static_cast<std::uint64_t>(run + 1));
  numbrook::ProblemTable table;
  numbrook::GenerateProblems(settings, random, {}, table);
  const numbrook::ExportResult result = numbrook::RunExport(settings, table, {}, file);
  const std::clock_t end = std::clock();
  if (result.outcome != numbrook::ExportOutcome::Written) std::fprintf(stderr, "failed: %s\n", result.error.c_str());
  std::filesystem::remove(file);
  return 1000.0 * static_cast<double>(end - start) / CLOCKS_PER_SEC;
}

numbrook::RunRequest Heaviest(bool timesTables, numbrook::FileFormat format) {
  numbrook::RunRequest request;
  request.count = kProblems;
  request.perLine = 10;
  request.columnForm = true;
  request.format = format;
  if (timesTables) {
    request.operations = numbrook::OperationKinds::Multiplication | numbrook::OperationKinds::Division;
    request.remainders = numbrook::Remainders::Mixed;
  } else {
    request.terms = 3;
    request.operations = numbrook::OperationKinds::Addition | numbrook::OperationKinds::Subtraction |
                         numbrook::OperationKinds::Mixed;
  }
  return request;
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::printf("%-10s %28s %28s %8s\n", "", "today's heaviest (+ - mixed)", "× ÷ with remainders", "ratio");
  for (const auto& [name, format, extension] : {std::tuple{"workbook", numbrook::FileFormat::Excel, ".XLS"},
                                                std::tuple{"PDF", numbrook::FileFormat::Pdf, ".PDF"}}) {
    const std::filesystem::path file = folder / (std::string("numbrook-times-tables-benchmark") + extension);
    // The two sheets take turns, so that a busy moment of the machine
    // weighs on both alike; the best run of each counts.
    double today = 1e9, tables = 1e9;
    for (int run = 0; run < kRuns; ++run) {
      tables = std::min(tables, Milliseconds(Heaviest(true, format), file, run));
      today = std::min(today, Milliseconds(Heaviest(false, format), file, run));
    }
    today = today / kProblems * 1000;
    tables = tables / kProblems * 1000;
    std::printf("%-10s %22.1f µs/pb %22.1f µs/pb %8.2f\n", name, today, tables, tables / today);
  }
}
