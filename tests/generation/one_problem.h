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
};

// Runs the whole generation for a single problem with scripted random
// numbers, and checks that the script was used up exactly: a row drawn
// again takes a second run of numbers, which the script must hold.
inline OneProblem GenerateOne(RunRequest controls, std::initializer_list<double> script) {
  controls.count = 1;
  const GenerationSettings settings = SetUpRun(controls);
  ScriptedRandom random(script);
  OneProblem result;
  ProblemTable table;
  EXPECT_TRUE(GenerateProblems(settings, random, Progress{}, table));
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
