#pragma once

#include <string>

#include "generation/generation_settings.h"

namespace numbrook {

// A problem's number as both worksheets print it: right-aligned to the
// width of the largest number of the run, then ". ".
inline std::string ProblemNumberText(int number, int problemCount) {
  std::string text = std::to_string(number);
  const int width = DecimalDigits(problemCount);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text + ". ";
}

}  // namespace numbrook
