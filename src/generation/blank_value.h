#pragma once

#include <optional>

#include "generation/problem_table.h"

namespace numbrook {

// The number that belongs in a row's blank: the one value that makes its
// equation true. Nothing when the row has no blank.
std::optional<int> BlankValue(const ProblemRow& row);

}  // namespace numbrook
