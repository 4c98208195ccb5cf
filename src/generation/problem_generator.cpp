#include "generation/problem_generator.h"

#include <set>
#include <vector>

namespace numbrook {
namespace {

enum FirstOperator { kAdditionFirst = 0, kSubtractionFirst = 1 };

const std::string kEqualsText = "=";

// How far the distinct draws go: a row drawn again this often without a new
// problem, and a count whose draws have brought nothing new this long, have
// met the end of what the settings can give.
constexpr long long kMostRedraws = 20'000'000;
constexpr long long kDrawsWithoutNew = 200'000;
constexpr std::uint64_t kCountingSeed = 2026;

int ChooseFirstOperator(const GenerationSettings& s, RandomSource& random) {
  if (s.AdditionChecked && s.SubtractionChecked) return DrawDigit(random) % 2;
  if (s.AdditionChecked) return kAdditionFirst;
  if (s.SubtractionChecked) return kSubtractionFirst;
  return kAdditionFirst;
}

// Random mode: with two terms the result is blank 4 times in 10 and each
// term 3 times; with three terms 3, 3, 2 and 2 times in 10.
int ChooseBlankPosition(const GenerationSettings& s, RandomSource& random) {
  if (s.BlankMode != kBlankRandom) return s.BlankMode;
  return DrawDigit(random) % (s.TermCount == 2 ? 3 : 4);
}

// One problem under the settings, drawn into the row as the rules give it.
void DrawRow(const GenerationSettings& settings, RandomSource& random, int index, const WarningSink& warn,
             ProblemRow& row) {
  row.fill("");
  row[kEqualsSign] = kEqualsText;
  const int firstOperator = ChooseFirstOperator(settings, random);
  const int blankPosition = ChooseBlankPosition(settings, random);
  const RowRequest request{row, index, blankPosition, settings, random, warn};
  if (firstOperator == kAdditionFirst) {
    GenerateAdditionFirst(request);
  } else {
    GenerateSubtractionFirst(request);
  }
  if (settings.TermCount == 2) {
    row[kSecondOperator].clear();
    row[kThirdTerm].clear();
  }
}

const WarningSink kNoWarnings = [](int, const std::string&) {};

}  // namespace

bool GenerateProblems(const GenerationSettings& settings, RandomSource& random, const Progress& progress,
                      const WarningSink& warning, ProblemTable& table) {
  table = ProblemTable(settings.ProblemCount + 1);
  const WarningSink& warn = warning ? warning : kNoWarnings;
  for (int index = 0; index < settings.ProblemCount; ++index) {
    if (!progress.Yield()) return false;
    DrawRow(settings, random, index, warn, table.Row(index));
    progress.Count(index + 1);
  }
  return true;
}

DistinctOutcome GenerateDistinctProblems(const GenerationSettings& settings, RandomSource& random,
                                         const Progress& progress, const WarningSink& warning, ProblemTable& table) {
  table = ProblemTable(settings.ProblemCount + 1);
  const WarningSink& warn = warning ? warning : kNoWarnings;
  std::set<ProblemRow> drawn;
  for (int index = 0; index < settings.ProblemCount; ++index) {
    if (!progress.Yield()) return DistinctOutcome::Abandoned;
    // A repeat is drawn again; only the row that is kept reports its warnings.
    std::vector<std::string> warnings;
    const WarningSink collect = [&](int, const std::string& message) { warnings.push_back(message); };
    ProblemRow row;
    long long attempts = 0;
    do {
      if (++attempts > kMostRedraws) return DistinctOutcome::RanOut;
      warnings.clear();
      DrawRow(settings, random, index, collect, row);
    } while (drawn.count(row) != 0);
    drawn.insert(row);
    table.Row(index) = row;
    for (const std::string& message : warnings) warn(index, message);
    progress.Count(index + 1);
  }
  return DistinctOutcome::Drawn;
}

std::size_t CountDistinctProblems(const GenerationSettings& settings, std::size_t enough) {
  SeededRandom random(kCountingSeed);
  std::set<ProblemRow> seen;
  ProblemRow row;
  for (long long sinceNew = 0; seen.size() < enough && sinceNew < kDrawsWithoutNew; ++sinceNew) {
    DrawRow(settings, random, 0, kNoWarnings, row);
    if (seen.insert(row).second) sinceNew = -1;
  }
  return seen.size();
}

}  // namespace numbrook
