#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generation/problem_table.h"

namespace numbrook {

// Where a three-term problem's brackets stand, if it has any.
enum class BracketPlace { None, FirstTwo, LastTwo };

BracketPlace BracketsOf(const ProblemRow& row);
std::string BracketsText(BracketPlace place);  // the row's brackets column

// × and ÷ are worked before + and −.
bool IsSecondLevel(const std::string& sign);

// The school's order of work: what is in brackets first, then × and ÷
// before + and −, then from left to right. True when the last two terms
// are worked first (36 + 42 ÷ 6, 64 − (35 − 18)).
bool WorksLastTwoFirst(const std::string& firstSign, const std::string& secondSign, BracketPlace brackets);

// The brackets a textbook prints for these two operators, only where they
// change the order of work: (a ± b) × c, (a ± b) ÷ c, c × (a ± b),
// c ÷ (a ± b), a − (b + c), a − (b − c) and a × (b ÷ c). None for any other
// pair: a + (b − c) or (a × b) + c would change nothing.
std::optional<BracketPlace> TextbookBrackets(const std::string& firstSign, const std::string& secondSign);

// A problem of three terms whose working is more than reading from left to
// right: a × or ÷ in it, or brackets.
bool IsTwoStepRow(const ProblemRow& row);

// One step of the working: left sign right = value, with what a division
// leaves over.
struct WorkStep {
  int left = 0;
  std::string sign;
  int right = 0;
  int value = 0;
  int remainder = 0;
};

// A step worked out; nothing for a division by 0.
std::optional<WorkStep> Work(int left, const std::string& sign, int right);

// The steps of a row in the order of work, each with its value: one for two
// terms, two for three; empty when a term has no value (a blank without an
// answer) or a step divides by 0. A blank term counts as its answer.
std::vector<WorkStep> StepsOf(const ProblemRow& row);

}  // namespace numbrook
