#include <map>
#include <stdexcept>
#include <string>
#include <tuple>

#include "generation/row_request.h"
#include "generation/times_tables/times_tables.h"

namespace numbrook {

namespace {

std::vector<TableFact> MakeFacts(int from, int to, bool division, Remainders remainders) {
  if (!division) return MultiplicationFacts(from, to);
  switch (remainders) {
    case Remainders::Never: return TableDivisionFacts(from, to, false);
    case Remainders::Always: return RemainderDivisionFacts(from, to);
    case Remainders::Mixed: break;
  }
  std::vector<TableFact> facts = TableDivisionFacts(from, to, true);
  const std::vector<TableFact> withRemainder = RemainderDivisionFacts(from, to);
  facts.insert(facts.end(), withRemainder.begin(), withRemainder.end());
  return facts;
}

}  // namespace

const std::vector<TableFact>& FactsOf(const GenerationSettings& s, bool division) {
  const Remainders remainders = division ? s.DivisionRemainders : Remainders::Never;
  thread_local std::map<std::tuple<int, int, bool, Remainders>, std::vector<TableFact>> made;
  const auto key = std::tuple{s.TablesFrom, s.TablesTo, division, remainders};
  auto found = made.find(key);
  if (found == made.end()) found = made.emplace(key, MakeFacts(s.TablesFrom, s.TablesTo, division, remainders)).first;
  return found->second;
}

// One fact, every one of the list with the same chance, then its blank: the
// result (a quotient with its remainder), or one of the terms. Both orders
// of the factors are facts of their own, so nothing trades places here.
void GenerateTimesTableRow(const RowRequest& q, bool division) {
  const std::vector<TableFact>& facts = FactsOf(q.settings, division);
  // The table of 1 has no division with a remainder: a row without a
  // blank, which no rule accepts, so the run knows it has no problem.
  if (facts.empty()) return;
  const TableFact& fact = facts[static_cast<std::size_t>(q.random.Scaled(static_cast<double>(facts.size())))];

  ProblemRow& row = q.row;
  row[kFirstTerm] = std::to_string(fact.first);
  row[kFirstOperator] = division ? kDivisionSign : kTimesSign;
  row[kSecondTerm] = std::to_string(fact.second);
  row[kResult] = std::to_string(fact.result);
  if (fact.remainder) row[kRemainder] = std::to_string(*fact.remainder);
  switch (q.blankPosition) {
    case BlankPlace::Result:
      row[kResult] = kBlankMarker;
      if (fact.remainder) row[kRemainder] = kBlankMarker;
      break;
    case BlankPlace::First: row[kFirstTerm] = kBlankMarker; break;
    case BlankPlace::Second: row[kSecondTerm] = kBlankMarker; break;
    case BlankPlace::Third:
    case BlankPlace::Random: throw std::logic_error("a two-term row has no third blank");
  }
}

}  // namespace numbrook
