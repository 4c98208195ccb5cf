#include "export/sheet_set.h"

#include <unistd.h>

#include <optional>

#include "export/output_file.h"
#include "export/pdf_sheet_set.h"
#include "export/pending_file.h"
#include "export/set_lock.h"
#include "export/signal_cleanup.h"
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

// splitmix64's finaliser: every input bit stirs every output bit.
std::uint64_t Mixed(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

std::uint64_t SheetSeed(std::uint64_t first, int number, bool numbered) {
  // Neighbouring starts give unrelated sets, not the same set shifted by one.
  return numbered ? Mixed(Mixed(first) + static_cast<std::uint64_t>(number)) : first;
}

// The settings of one sheet: the run's, with the seed it was drawn from.
GenerationSettings SettingsOfSheet(const GenerationSettings& settings, std::uint64_t seed) {
  GenerationSettings sheet = settings;
  sheet.Seed = seed;
  return sheet;
}

namespace {

// Draws sheet k's problems; Written, or why not.
SheetSetOutcome DrawSheet(const SheetSetRequest& request, const GenerationSettings& settings, std::uint64_t seed,
                          const Progress& progress, ProblemTable& table) {
  SeededRandom random(seed);
  if (!request.distinct) {
    return GenerateProblems(settings, random, progress, table) ? SheetSetOutcome::Written : SheetSetOutcome::Abandoned;
  }
  switch (GenerateDistinctProblems(settings, random, progress, table)) {
    case DistinctOutcome::Drawn: return SheetSetOutcome::Written;
    case DistinctOutcome::Abandoned: return SheetSetOutcome::Abandoned;
    case DistinctOutcome::RanOut: break;  // refused before drawing, as the count above is
  }
  return SheetSetOutcome::TooFewDifferent;
}

// A set of PDF sheets is one file of all pupils' sheets and one of all
// keys, in the same order; both land complete or neither does.
void WritePdfSet(const SheetSetRequest& request, const GenerationSettings& settings, const std::filesystem::path& name,
                 const Progress& progress, SheetSetResult& result) {
  const int sheets = request.sheets.value_or(1);
  try {
    if (request.output) CheckChosenName(name, settings.ExportFormat);
    const SetLock lock(name);
    PdfSheetSet pupils(name);
    std::optional<PdfSheetSet> keys;
    if (request.answers) keys.emplace(AnswerKeyName(name));
    for (int k = 1; k <= sheets; ++k) {
      ProblemTable table;
      const GenerationSettings sheet = SettingsOfSheet(settings, SheetSeed(result.firstSeed, k, request.sheets.has_value()));
      result.outcome = DrawSheet(request, sheet, *sheet.Seed, progress, table);
      if (result.outcome == SheetSetOutcome::Written && !pupils.Add(sheet, table, request.request.sheet, progress)) {
        result.outcome = SheetSetOutcome::Abandoned;
      }
      if (result.outcome == SheetSetOutcome::Written && keys && !keys->Add(sheet, table, SheetKind::AnswerKey, progress)) {
        result.outcome = SheetSetOutcome::Abandoned;
      }
      if (result.outcome != SheetSetOutcome::Written) return;
      progress.CountSheet(k);
    }
    pupils.Finish();
    if (keys) keys->Finish();
    const TerminationSignalsHeld held;  // the two are named together
    // The sheet goes first and comes back last, so an older sheet never
    // stands beside this run's key.
    if (keys) {
      unlink(name.c_str());
      keys->Place();
    }
    pupils.Place();
    result.placed.push_back({name, request.request.sheet});
    if (keys) result.placed.push_back({keys->File(), SheetKind::AnswerKey});
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
  }
}

}  // namespace

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

  std::filesystem::path name;
  try {
    name = request.output ? ChosenOutputFileName(*request.output, settings.KindText, settings.ExportFormat)
                          : OutputFileNameNow(request.folder, settings.KindText, settings.ExportFormat);
    PendingFile::RemoveOnTerminationSignals();
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
    return result;
  }
  if (settings.ExportFormat == kExportPdf) {
    WritePdfSet(request, settings, name, progress, result);
    return result;
  }

  std::optional<SheetBatch> batch;
  try {
    batch.emplace(name, settings.ExportFormat, request.output.has_value());
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
    return result;
  }

  const bool numbered = request.sheets.has_value();
  const int sheets = request.sheets.value_or(1);
  for (int k = 1; k <= sheets && result.outcome == SheetSetOutcome::Written; ++k) {
    ProblemTable table;
    const GenerationSettings sheet = SettingsOfSheet(settings, SheetSeed(result.firstSeed, k, numbered));
    result.outcome = DrawSheet(request, sheet, *sheet.Seed, progress, table);
    if (result.outcome != SheetSetOutcome::Written) break;

    const std::filesystem::path file = numbered ? NumberedName(name, k, sheets) : name;
    std::vector<SheetJob> group{{file, request.request.sheet}};
    if (request.answers) group.push_back({AnswerKeyName(file), SheetKind::AnswerKey});
    const ExportResult written = batch->WriteGroup(sheet, table, group, progress);
    result.outcome = OutcomeOf(written.outcome);
    result.error = written.error;
    if (result.outcome == SheetSetOutcome::Written) progress.CountSheet(k);
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
