#include "generation/order_of_work.h"

#include "generation/blank_value.h"

namespace numbrook {

BracketPlace BracketsOf(const ProblemRow& row) {
  const std::string& brackets = row[kBrackets];
  if (brackets == kBracketsFirstTwo) return BracketPlace::FirstTwo;
  if (brackets == kBracketsLastTwo) return BracketPlace::LastTwo;
  return BracketPlace::None;
}

std::string BracketsText(BracketPlace place) {
  switch (place) {
    case BracketPlace::FirstTwo: return kBracketsFirstTwo;
    case BracketPlace::LastTwo: return kBracketsLastTwo;
    case BracketPlace::None: break;
  }
  return "";
}

bool IsSecondLevel(const std::string& sign) { return sign == kTimesSign || sign == kDivisionSign; }

bool WorksLastTwoFirst(const std::string& firstSign, const std::string& secondSign, BracketPlace brackets) {
  if (brackets != BracketPlace::None) return brackets == BracketPlace::LastTwo;
  return IsSecondLevel(secondSign) && !IsSecondLevel(firstSign);
}

std::optional<BracketPlace> TextbookBrackets(const std::string& firstSign, const std::string& secondSign) {
  const bool first = IsSecondLevel(firstSign), second = IsSecondLevel(secondSign);
  if (!first && second) return BracketPlace::FirstTwo;  // (a ± b) × c
  if (first && !second) return BracketPlace::LastTwo;   // c × (a ± b)
  if (firstSign == "-" && !second) return BracketPlace::LastTwo;  // a − (b ± c)
  if (firstSign == kTimesSign && secondSign == kDivisionSign) return BracketPlace::LastTwo;  // a × (b ÷ c)
  return std::nullopt;
}

bool IsTwoStepRow(const ProblemRow& row) {
  if (row[kSecondOperator].empty()) return false;
  return IsSecondLevel(row[kFirstOperator]) || IsSecondLevel(row[kSecondOperator]) ||
         BracketsOf(row) != BracketPlace::None;
}

std::optional<WorkStep> Work(int left, const std::string& sign, int right) {
  WorkStep step{left, sign, right, 0, 0};
  if (sign == kTimesSign) {
    step.value = left * right;
  } else if (sign == kDivisionSign) {
    if (right == 0) return std::nullopt;
    step.value = left / right;
    step.remainder = left % right;
  } else {
    step.value = sign == "-" ? left - right : left + right;
  }
  return step;
}

std::vector<WorkStep> StepsOf(const ProblemRow& row) {
  const bool threeTerms = !row[kSecondOperator].empty();
  const std::optional<int> a = CellValue(row, kFirstTerm), b = CellValue(row, kSecondTerm);
  const std::optional<int> c = threeTerms ? CellValue(row, kThirdTerm) : std::optional<int>(0);
  if (!a || !b || !c) return {};
  const std::string& first = row[kFirstOperator];
  const std::string& second = row[kSecondOperator];
  if (!threeTerms) {
    const std::optional<WorkStep> only = Work(*a, first, *b);
    return only ? std::vector<WorkStep>{*only} : std::vector<WorkStep>{};
  }
  std::optional<WorkStep> inner, outer;
  if (WorksLastTwoFirst(first, second, BracketsOf(row))) {
    inner = Work(*b, second, *c);
    if (inner) outer = Work(*a, first, inner->value);
  } else {
    inner = Work(*a, first, *b);
    if (inner) outer = Work(inner->value, second, *c);
  }
  if (!inner || !outer) return {};
  return {*inner, *outer};
}

}  // namespace numbrook
