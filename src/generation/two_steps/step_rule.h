#pragma once

#include "generation/generation_settings.h"
#include "generation/order_of_work.h"

namespace numbrook {

// Whether one step of a two-step problem is one the textbook asks for
// under the run's settings: a × a fact of the chosen tables; a ÷ exact,
// divisor and quotient 1..9 of the chosen tables; a + within the addition
// range, a − with its minuend within the subtraction range and nothing
// below 0, each without carrying or borrowing where the run allows none;
// and none too easy where the run asks for none.
bool IsSoundStep(const GenerationSettings& settings, const WorkStep& step);

}  // namespace numbrook
