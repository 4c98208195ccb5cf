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
    numbrook::ControlState controls;
    std::size_t enough;
  };
  auto three = [](numbrook::ControlState c) {
    c.combo1Index = 1;
    return c;
  };
  numbrook::ControlState subtractions = three({});
  subtractions.checkA = false;
  subtractions.checkS = true;
  subtractions.text4 = "19";
  numbrook::ControlState mixedSmall = three({});
  mixedSmall.checkS = true;
  mixedSmall.checkAS = true;
  mixedSmall.text3 = "9";
  mixedSmall.text4 = "15";
  mixedSmall.option3Index = numbrook::kBlankFirst;
  numbrook::ControlState within20 = mixedSmall;
  within20.text3 = "20";
  within20.text4 = "20";
  within20.option3Index = numbrook::kBlankRandom;
  numbrook::ControlState within99 = within20;
  within99.text3 = "99";
  within99.text4 = "99";
  const Case cases[] = {
      {"three-term subtractions within 19", subtractions, SIZE_MAX},
      {"mixed, additions within 9, subtractions within 15, first blank", mixedSmall, SIZE_MAX},
      {"mixed, both within 20, random blank", within20, SIZE_MAX},
      {"mixed, both within 99, random blank (up to 1000)", within99, 1000},
  };
  std::printf("%-66s %10s %10s %9s | %10s %9s\n", "settings", "paths", "problems", "walk s", "by drawing", "draw s");
  for (const Case& c : cases) {
    const numbrook::GenerationSettings settings = numbrook::SetUpRun(c.controls).settings;
    Clock::time_point start = Clock::now();
    const numbrook::ProblemSpace space = numbrook::WalkProblemSpace(settings, c.enough);
    const double walk = SecondsSince(start);
    start = Clock::now();
    const std::size_t drawn = c.enough == SIZE_MAX ? CountByDrawing(settings) : 0;
    std::printf("%-66s %10zu %10zu %9.3f | %10zu %9.3f\n", c.name, space.pathsWalked, space.rows.size(), walk, drawn,
                SecondsSince(start));
  }
}
