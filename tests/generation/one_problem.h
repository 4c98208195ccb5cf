#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "generation/problem_generator.h"
#include "generation_support/scripted_random.h"

namespace numbrook::testing {

struct OneProblem {
  ProblemRow row;
  std::vector<std::pair<int, std::string>> warnings;
};

// Runs the whole generation for a single problem with scripted random
// numbers, and checks that the script was used up exactly.
inline OneProblem GenerateOne(RunRequest controls, std::initializer_list<double> script) {
  controls.count = 1;
  const GenerationSettings settings = SetUpRun(controls);
  ScriptedRandom random(script);
  OneProblem result;
  const WarningSink warning = [&](int row, const std::string& message) { result.warnings.emplace_back(row, message); };
  ProblemTable table;
  EXPECT_TRUE(GenerateProblems(settings, random, Progress{}, warning, table));
  EXPECT_EQ(random.Remaining(), 0u) << "random numbers left over";
  result.row = table.Row(0);
  return result;
}

inline ProblemRow Row(std::initializer_list<const char*> cells) {
  ProblemRow row;
  std::size_t i = 0;
  for (const char* cell : cells) row[i++] = cell;
  return row;
}

}  // namespace numbrook::testing
