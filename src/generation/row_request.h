#pragma once

#include <string>

#include "generation/generation_settings.h"
#include "generation/problem_table.h"
#include "generation/random_draws.h"

namespace numbrook {

// One row handed to a problem generator: cleared, "=" placed, the place of
// the blank chosen.
struct RowRequest {
  ProblemRow& row;
  BlankPlace blankPosition;  // never Random
  const GenerationSettings& settings;
  RandomSource& random;
};

// The operator between the second and third terms: random in a mixed run
// ("+" on an odd digit), otherwise the first operator again.
inline std::string SecondOperatorFor(const RowRequest& q, const char* firstOperator) {
  if (q.settings.OperationKind != ProblemKind::Mixed) return firstOperator;
  return q.random.DigitModulo(2) == 1 ? "+" : "-";
}

// Problems that begin with "+": a + b, a + b + c or a + b - c.
void GenerateAdditionFirst(const RowRequest& request);

// Problems that begin with "-": a - b, a - b - c or a - b + c.
void GenerateSubtractionFirst(const RowRequest& request);

// Problems of the multiplication tables: a × b = c, or a division c ÷ a = b
// (with its remainder when the run shows one).
void GenerateTimesTableRow(const RowRequest& request, bool division);

}  // namespace numbrook
