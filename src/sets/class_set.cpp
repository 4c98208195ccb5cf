#include "sets/class_set.h"

#include <algorithm>
#include <memory>

#include "files/descriptors.h"
#include "files/export_error.h"
#include "files/file_names.h"
#include "files/pending_file.h"
#include "files/scratch_folder.h"
#include "files/name_lock.h"
#include "formats/xlsx/excel_worksheet.h"
#include "generation/generation_settings.h"
#include "generation/problem_generator.h"
#include "generation/random_draws.h"
#include "sets/files_per_sheet.h"
#include "sets/one_document.h"

namespace numbrook {
namespace {

// splitmix64's finaliser: every input bit stirs every output bit.
std::uint64_t Mixed(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

// The names of every pupil's files: the chosen or default name, numbered
// for a class set, with "答案" for a key. A PDF set is one pair of files.
std::vector<SheetNames> NamesOf(const SheetSetRequest& request, const std::filesystem::path& name, bool onePair) {
  const int sheets = request.sheets.value_or(1);
  std::vector<SheetNames> names;
  for (int k = 1; k <= (onePair ? 1 : sheets); ++k) {
    SheetNames pupil{request.sheets && !onePair ? NumberedName(name, k, sheets) : name, std::nullopt};
    if (request.answers) pupil.key = AnswerKeyName(pupil.sheet);
    names.push_back(std::move(pupil));
  }
  return names;
}

// Draws sheet k's problems: Written, Abandoned or TooFewDifferent.
SheetSetOutcome DrawSheet(const SheetSetRequest& request, const GenerationSettings& settings,
                          const Progress& progress, ProblemTable& table) {
  SeededRandom random(*settings.Seed);
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

// Takes what a placing did into the result; its failure stops the run.
void Record(PlacementResult placed, SheetSetResult& result) {
  result.placed.insert(result.placed.end(), placed.placed.begin(), placed.placed.end());
  if (!placed.error) return;
  // A failure to place what was written comes after the one that stopped the run.
  if (result.outcome == SheetSetOutcome::Written) result.outcome = SheetSetOutcome::Failed;
  result.error += (result.error.empty() ? "" : "\n") + *placed.error;
}

// Takes what became of the sheets finished, in order: their notices, each
// once, and the count of sheets done; the first that was not written stops
// the run.
void TakeFinished(const std::vector<SheetDone>& finished, const Progress& progress, SheetSetResult& result) {
  for (const SheetDone& done : finished) {
    if (result.outcome != SheetSetOutcome::Written) return;
    if (done.fault) std::rethrow_exception(done.fault);
    if (done.error) {
      result.outcome = SheetSetOutcome::Failed;
      result.error = *done.error;
      return;
    }
    if (!done.written) {
      result.outcome = SheetSetOutcome::Abandoned;
      return;
    }
    for (const std::string& notice : done.written.notices) {
      if (std::find(result.notices.begin(), result.notices.end(), notice) == result.notices.end()) {
        result.notices.push_back(notice);
      }
    }
    progress.CountSheet(done.number);
  }
}

}  // namespace

std::string TooFewDifferentMessage(std::size_t different, int asked) {
  if (different == 0) return "这些设置中有一种运算出不了任何题目（如只用 1 的乘法口诀出有余数除法）；请扩大范围。";
  return "这些设置只能出 " + std::to_string(different) + " 道不同的题目，少于要求的 " + std::to_string(asked) +
         " 道；请扩大范围或减少题目数量。";
}

std::optional<std::filesystem::path> WhatToOpen(const std::vector<PlacedFile>& placed) {
  std::vector<std::filesystem::path> pupils;
  for (const PlacedFile& file : placed) {
    if (file.kind == SheetKind::Pupil) pupils.push_back(file.file);
  }
  if (pupils.empty()) return std::nullopt;
  return pupils.size() == 1 ? pupils.front() : FolderOf(pupils.front());
}

std::uint64_t SheetSeed(std::uint64_t first, int number, bool numbered) {
  // Neighbouring starts give unrelated sets, not the same set shifted by one.
  return numbered ? Mixed(Mixed(first) + static_cast<std::uint64_t>(number)) : first;
}

SheetSetResult MakeSheetSet(const SheetSetRequest& request, const Progress& progress) {
  SheetSetResult result;
  const GenerationSettings settings = SetUpRun(request.request);
  result.firstSeed = request.request.seed.value_or(SeedFromTimeOfDay());
  // An operation that gives no problem at all is refused (different stays
  // 0), where new choices can make one: × and ÷, no easy problems, two steps.
  // Additions within 1 keep drawing the one sum they have, as they always did.
  if ((DrawsTimesTables(settings) || settings.NoTrivial || settings.TwoSteps) && !GivesEveryOperation(settings)) {
    result.outcome = SheetSetOutcome::TooFewDifferent;
    return result;
  }
  if (request.distinct) {
    const auto wanted = static_cast<std::size_t>(settings.ProblemCount);
    result.different = CountDistinctProblems(settings, wanted);
    if (result.different < wanted) {
      result.outcome = SheetSetOutcome::TooFewDifferent;
      return result;
    }
  }
  const bool onePair = settings.ExportFormat == FileFormat::Pdf;
  const int sheets = request.sheets.value_or(1);

  std::unique_ptr<NameLock> lock;
  std::unique_ptr<SetOutput> output;
  std::filesystem::path name;
  try {
    name = request.output ? ChosenOutputFileName(*request.output, settings.KindText, settings.ExportFormat)
                          : OutputFileNameNow(request.folder, settings.KindText, settings.ExportFormat);
    if (request.output) CheckChosenName(name, settings.ExportFormat);
    RequireSpareDescriptors(name);
    const std::vector<SheetNames> names = NamesOf(request, name, onePair);
    std::vector<std::filesystem::path> everyName;
    for (const SheetNames& pupil : names) {
      everyName.push_back(pupil.sheet);
      if (pupil.key) everyName.push_back(*pupil.key);
    }
    CheckNameLengths(FolderOf(name), everyName);
    // A run without keys takes away the older keys of its sheets' names.
    for (const SheetNames& pupil : names) {
      if (!pupil.key && request.request.sheet == SheetKind::Pupil) everyName.push_back(AnswerKeyName(pupil.sheet));
    }
    RemoveStaleScratchFolders();
    lock = std::make_unique<NameLock>(FolderOf(name), everyName);
    if (settings.ExportFormat == FileFormat::Excel && !CheckExcel()) {
      result.outcome = SheetSetOutcome::ExcelMissing;
      return result;
    }
    if (onePair) {
      output = std::make_unique<OneDocument>(names.front(), request.request.sheet, settings.TwoSided);
    } else {
      // A class set is written by a worker on each core while this thread
      // draws; a single sheet is drawn and written here, as it is asked for.
      output = std::make_unique<FilesPerSheet>(names, request.request.sheet,
                                               request.sheets ? SheetWorkerCount(sheets) : 0);
    }
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
    return result;
  }

  const std::filesystem::path folder = FolderOf(name);
  try {
    for (int k = 1; k <= sheets && result.outcome == SheetSetOutcome::Written; ++k) {
      GenerationSettings sheet = settings;
      sheet.Seed = SheetSeed(result.firstSeed, k, request.sheets.has_value());
      ProblemTable table;
      result.outcome = DrawSheet(request, sheet, progress, table);
      if (result.outcome != SheetSetOutcome::Written) break;
      TakeFinished(output->Finished(false), progress, result);
      if (result.outcome != SheetSetOutcome::Written) break;
      std::vector<PendingPair> ready = output->TakeReady(false);
      Record(PlacePairs(ready, folder), result);
      if (result.outcome != SheetSetOutcome::Written) break;
      output->Add(k, sheet, std::move(table), progress);
    }
    if (result.outcome == SheetSetOutcome::Written) {
      TakeFinished(output->Finished(true), progress, result);
    } else {
      output->Stop();
    }
  } catch (const ExportError& error) {
    result.outcome = SheetSetOutcome::Failed;
    result.error = error.what();
    output->Stop();
  }
  // The sheets finished before a failure or a stop stay, each with its key;
  // an unfinished document is dropped.
  if (result.outcome == SheetSetOutcome::Written || !onePair) {
    try {
      std::vector<PendingPair> ready = output->TakeReady(true);
      Record(PlacePairs(ready, folder), result);
    } catch (const ExportError& error) {
      result.outcome = SheetSetOutcome::Failed;
      result.error = error.what();
    }
  }
  return result;
}

}  // namespace numbrook
