#include "generation/operation_shares.h"

namespace numbrook {

std::vector<GenerationSettings> OperationShares(const GenerationSettings& settings) {
  if (!HasSeveralShares(settings)) return {settings};
  std::vector<GenerationSettings> shares;
  const bool chosen[] = {settings.AdditionChecked, settings.SubtractionChecked, settings.MultiplicationChecked,
                         settings.DivisionChecked};
  for (int operation = 0; operation < 4; ++operation) {
    if (!chosen[operation]) continue;
    GenerationSettings alone = settings;
    alone.AdditionChecked = operation == 0;
    alone.SubtractionChecked = operation == 1;
    alone.MultiplicationChecked = operation == 2;
    alone.DivisionChecked = operation == 3;
    shares.push_back(alone);
  }
  return shares;
}

bool HasSeveralShares(const GenerationSettings& s) {
  return DrawsTimesTables(s) && !s.TwoSteps &&
         s.AdditionChecked + s.SubtractionChecked + s.MultiplicationChecked + s.DivisionChecked > 1;
}

std::size_t ChooseShare(std::size_t shares, RandomSource& random) {
  return static_cast<std::size_t>(random.Scaled(static_cast<double>(shares)));
}

}  // namespace numbrook
