#pragma once

// Two-step problems as a teacher checks them, written here apart from the
// program: an expression reader that works "(12+15)/3" in the school's
// order, the rule each step keeps, the textbook's bracket shapes, and a
// brute force over every written problem of a run.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace numbrook::testing {

// One step as the reader works it.
struct Step {
  int left;
  char op;  // + - * /
  int right;
  int value;
};

// Reads an expression of whole numbers, + - * / and brackets with the
// school's order: brackets, then * and /, then + and -, each level from
// left to right, recording every step in the order worked. Nothing for a
// text it cannot read or a division that leaves a remainder.
class Reader {
 public:
  explicit Reader(std::string text) : text_(std::move(text)) {}
  std::optional<int> Value() {
    const std::optional<int> value = Sum();
    return pos_ == text_.size() && exact_ ? value : std::nullopt;
  }
  std::vector<Step> steps;

 private:
  std::optional<int> Sum() {
    std::optional<int> left = Product();
    while (left && pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
      const char op = text_[pos_++];
      const std::optional<int> right = Product();
      if (!right) return std::nullopt;
      const int value = op == '+' ? *left + *right : *left - *right;
      steps.push_back({*left, op, *right, value});
      left = value;
    }
    return left;
  }
  std::optional<int> Product() {
    std::optional<int> left = Factor();
    while (left && pos_ < text_.size() && (text_[pos_] == '*' || text_[pos_] == '/')) {
      const char op = text_[pos_++];
      const std::optional<int> right = Factor();
      if (!right || (op == '/' && *right == 0)) return std::nullopt;
      if (op == '/' && *left % *right != 0) exact_ = false;
      const int value = op == '*' ? *left * *right : *left / *right;
      steps.push_back({*left, op, *right, value});
      left = value;
    }
    return left;
  }
  std::optional<int> Factor() {
    if (pos_ < text_.size() && text_[pos_] == '(') {
      ++pos_;
      const std::optional<int> inner = Sum();
      if (pos_ >= text_.size() || text_[pos_++] != ')') return std::nullopt;
      return inner;
    }
    int value = 0, digits = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      value = 10 * value + (text_[pos_++] - '0');
      ++digits;
    }
    return digits > 0 ? std::optional<int>(value) : std::nullopt;
  }
  std::string text_;
  std::size_t pos_ = 0;
  bool exact_ = true;
};

// A printed expression as the reader takes it: × ÷ and the minus sign as
// * / -, brackets of any width as ( ), no spaces.
inline std::string Plain(const std::string& printed) {
  const std::pair<std::string, std::string> signs[] = {{"×", "*"}, {"÷", "/"}, {"−", "-"}, {"（", "("}, {"）", ")"}};
  std::string text = printed;
  for (const auto& [from, to] : signs) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) text.replace(at, from.size(), to);
  }
  std::erase(text, ' ');
  return text;
}

struct Rules {
  int addRange = 20, subRange = 10, from = 1, to = 9;
  bool carrying = true, borrowing = true, noTrivial = false;
};

// Each step as the textbook asks: × and ÷ of the tables from..to (a fact
// belongs to the table of its larger factor), ÷ exact with divisor and
// quotient 1..9, + within the addition range, − from a minuend within the
// subtraction range to 0 at the least; no carrying or borrowing where not
// allowed; nothing too easy where asked. Empty when kept, else what broke.
inline std::string BrokenRule(const Step& s, const Rules& r) {
  const int table = s.op == '*' ? std::max(s.left, s.right) : std::max(s.right, s.value);
  switch (s.op) {
    case '*':
      if (s.left < 1 || s.left > 9 || s.right < 1 || s.right > 9) return "a factor outside 1..9";
      if (table < r.from || table > r.to) return "outside the tables";
      if (r.noTrivial && (s.left == 1 || s.right == 1)) return "a factor 1";
      return "";
    case '/':
      if (s.right < 1 || s.right > 9 || s.value < 1 || s.value > 9) return "a divisor or quotient outside 1..9";
      if (table < r.from || table > r.to) return "outside the tables";
      if (r.noTrivial && (s.right == 1 || s.value == 1)) return "a divisor or quotient 1";
      return "";
    case '+':
      if (s.value > r.addRange) return "a sum past the addition range";
      if (!r.carrying && s.left % 10 + s.right % 10 > 9) return "a carry";
      break;
    default:
      if (s.left > r.subRange) return "a minuend past the subtraction range";
      if (s.value < 0) return "a difference below 0";
      if (!r.borrowing && s.right % 10 > s.left % 10) return "a borrow";
  }
  if (r.noTrivial && (s.left == 0 || s.right == 0 || s.value == 0)) return "a 0";
  return "";
}

// Whether a plain expression of three numbers has brackets only of the
// textbook's shapes, (a±b)×c, (a±b)÷c, c×(a±b), c÷(a±b), a−(b±c), a×(b÷c),
// or none.
inline bool IsTextbookShape(const std::string& plain) {
  std::string ops;
  for (char ch : plain) {
    if (ch == '+' || ch == '-' || ch == '*' || ch == '/') ops += ch;
  }
  if (ops.size() != 2) return false;
  const auto second = [](char op) { return op == '*' || op == '/'; };
  const std::size_t open = plain.find('(');
  if (open == std::string::npos) return true;
  if (open == 0) return !second(ops[0]) && second(ops[1]);
  return (second(ops[0]) && !second(ops[1])) || (ops[0] == '-' && !second(ops[1])) || (ops[0] == '*' && ops[1] == '/');
}

// The plain expression of three numbers and two operators, with brackets
// around the first two ("12"), the last two ("23") or none ("").
inline std::string Expression(int a, char first, int b, char second, int c, const std::string& brackets) {
  return (brackets == "12" ? "(" : "") + std::to_string(a) + first + (brackets == "23" ? "(" : "") +
         std::to_string(b) + (brackets == "12" ? ")" : "") + second + std::to_string(c) + (brackets == "23" ? ")" : "");
}

// How many problems of the operators `ops` (some of "+-*/") a run can draw:
// every expression written with numbers from 1 up to the largest any step
// takes (a range, or a dividend of 81), with brackets as the run allows
// them and only of the textbook's shapes, each step kept.
inline std::size_t BruteForceCount(const std::string& ops, bool plain, bool bracketed, const Rules& r) {
  const int largest = std::max({r.addRange, r.subRange, ops.find('/') != std::string::npos ? 81 : 9});
  std::vector<std::string> placements;
  if (plain) placements.push_back("");
  if (bracketed) placements.insert(placements.end(), {"12", "23"});
  std::size_t count = 0;
  for (char first : ops) {
    for (char second : ops) {
      for (const std::string& brackets : placements) {
        if (!IsTextbookShape(Expression(1, first, 1, second, 1, brackets))) continue;
        for (int a = 1; a <= largest; ++a) {
          for (int b = 1; b <= largest; ++b) {
            for (int c = 1; c <= largest; ++c) {
              Reader reader(Expression(a, first, b, second, c, brackets));
              if (!reader.Value()) continue;
              count += std::all_of(reader.steps.begin(), reader.steps.end(),
                                   [&](const Step& s) { return BrokenRule(s, r).empty(); });
            }
          }
        }
      }
    }
  }
  return count;
}

}  // namespace numbrook::testing
