#include "export/sheet_set.h"

#include <optional>

#include "export/output_file.h"
#include "export/pending_file.h"
#include "generation/generation_settings.h"
#include "generation/problem_generator.h"
#include "generation/random_draws.h"

namespace numbrook {
namespace {

SheetSetOutcome OutcomeOf(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::Written: return SheetSetOutcome::Written;
    case ExportOutcome::ExcelMissing: return SheetSetOutcome::ExcelMissing;
    case ExportOutcome::Abandoned: return SheetSetOutcome::Abandoned;
    case ExportOutcome::Failed: break;
  }
  return SheetSetOutcome::Failed;
}

}  // namespace

std::uint64_t SheetSeed(std::uint64_t first, int number) { return first + static_cast<std::uint64_t>(number - 1); }

SheetSetResult MakeSheetSet(const SheetSetRequest& request, const Progress& progress) {
  SheetSetResult result;
  const GenerationSettings settings = SetUpRun(request.request);
  result.firstSeed = request.request.seed.value_or(SeedFromTimeOfDay());
  if (request.distinct) {
    const auto wanted = static_cast<std::size_t>(settings.ProblemCount);
    result.different = CountDistinctProblems(settings, wanted);
    if (result.different < wanted) {
      result.outcome = SheetSetOutcome::TooFewDifferent;
      return result;
    }
  }

  const bool numbered = request.sheets.has_value();
  const int sheets = request.sheets.value_or(1);
  std::optional<SheetBatch> batch;
  std::filesystem::path name;
  try {
    name = request.output ? ChosenOutputFileName(*request.output, settings.KindText, settings.ExportFormat)
                          : OutputFileNameNow(request.folder, settings.KindText, settings.ExportFormat);
    PendingFile::RemoveOnTerminationSignals();
    batch.emplace(name, settings.ExportFormat, request.output.has_value());
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
    return result;
  }

  const Progress inner{progress.yield, {}};
  for (int k = 1; k <= sheets && result.outcome == SheetSetOutcome::Written; ++k) {
    SeededRandom random(SheetSeed(result.firstSeed, k));
    ProblemTable table;
    if (!request.distinct) {
      if (!GenerateProblems(settings, random, inner, table)) result.outcome = SheetSetOutcome::Abandoned;
    } else {
      const DistinctOutcome drawn = GenerateDistinctProblems(settings, random, inner, table);
      if (drawn == DistinctOutcome::Abandoned) result.outcome = SheetSetOutcome::Abandoned;
      if (drawn == DistinctOutcome::RanOut) result.outcome = SheetSetOutcome::DrawsRanOut;
    }
    if (result.outcome != SheetSetOutcome::Written) break;

    const std::filesystem::path sheet = numbered ? NumberedName(name, k, sheets) : name;
    std::vector<SheetJob> group{{sheet, request.request.sheet}};
    if (request.answers) group.push_back({AnswerKeyName(sheet), SheetKind::AnswerKey});
    const ExportResult written = batch->WriteGroup(settings, table, group, inner);
    result.outcome = OutcomeOf(written.outcome);
    result.error = written.error;
    if (result.outcome == SheetSetOutcome::Written) progress.Count(k);
  }
  // The sheets finished before a failure stay, each with its key.
  BatchResult done = batch->Finish();
  result.placed = std::move(done.placed);
  // A failure to place what was written is told too, after the one that stopped the run.
  if (done.error) {
    if (result.outcome == SheetSetOutcome::Written) result.outcome = SheetSetOutcome::Failed;
    result.error += (result.error.empty() ? "" : "\n") + *done.error;
  }
  return result;
}

}  // namespace numbrook
