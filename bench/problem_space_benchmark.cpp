// Prints how long the exact count of different problems takes, beside the
// count by drawing until 200,000 draws in a row bring nothing new. Ranges of
// 99 are counted only up to 1000, the most a run asks for: their whole space
// holds millions of problems.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

#include "generation/problem_space.h"
#include "generation/row_drawing.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::size_t CountByDrawing(const numbrook::GenerationSettings& settings) {
  numbrook::SeededRandom random(2026);
  std::set<numbrook::ProblemRow> seen;
  numbrook::ProblemRow row;
  for (long sinceNew = 0; sinceNew < 200'000; ++sinceNew) {
    if (numbrook::DrawRowAttempt(settings, random, row) && seen.insert(row).second) sinceNew = -1;
  }
  return seen.size();
}

}  // namespace

int main() {
  struct Case {
    const char* name;
    numbrook::RunRequest controls;
    std::size_t enough;
  };
  using numbrook::OperationKinds;
  numbrook::RunRequest subtractions;
  subtractions.terms = 3;
  subtractions.operations = OperationKinds::Subtraction;
  subtractions.subRange = 19;
  numbrook::RunRequest mixedSmall;
  mixedSmall.terms = 3;
  mixedSmall.operations = OperationKinds::Addition | OperationKinds::Subtraction | OperationKinds::Mixed;
  mixedSmall.addRange = 9;
  mixedSmall.subRange = 15;
  mixedSmall.blank = numbrook::BlankPlace::First;
  numbrook::RunRequest within20 = mixedSmall;
  within20.addRange = 20;
  within20.subRange = 20;
  within20.blank = numbrook::BlankPlace::Random;
  numbrook::RunRequest within99 = within20;
  within99.addRange = 99;
  within99.subRange = 99;
  const Case cases[] = {
      {"three-term subtractions within 19", subtractions, SIZE_MAX},
      {"mixed, additions within 9, subtractions within 15, first blank", mixedSmall, SIZE_MAX},
      {"mixed, both within 20, random blank", within20, SIZE_MAX},
      {"mixed, both within 99, random blank (up to 1000)", within99, 1000},
  };
  std::printf("%-66s %10s %10s %9s | %10s %9s\n", "settings", "paths", "problems", "walk s", "by drawing", "draw s");
  for (const Case& c : cases) {
    const numbrook::GenerationSettings settings = numbrook::SetUpRun(c.controls);
    Clock::time_point start = Clock::now();
    const numbrook::ProblemSpace space = numbrook::WalkProblemSpace(settings, c.enough);
    const double walk = SecondsSince(start);
    start = Clock::now();
    const std::size_t drawn = c.enough == SIZE_MAX ? CountByDrawing(settings) : 0;
    std::printf("%-66s %10zu %10zu %9.3f | %10zu %9.3f\n", c.name, space.pathsWalked, space.rows.size(), walk, drawn,
                SecondsSince(start));
  }
}
