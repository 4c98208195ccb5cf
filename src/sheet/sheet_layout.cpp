#include "sheet/sheet_layout.h"

#include <algorithm>

#include "sheet/problem_number.h"
#include "sheet/sheet_texts.h"
#include "generation/blank_value.h"
#include "generation/problem_table.h"

namespace numbrook {
namespace {

// A cell as the sheet shows it: a blank's answer only on a key.
SheetCell CellOf(const ProblemRow& row, int column, SheetKind kind) {
  const std::string& text = row[static_cast<std::size_t>(column)];
  if (text != kBlankMarker) return {text, false};
  const std::optional<int> answer = kind == SheetKind::AnswerKey ? CellValue(row, column) : std::nullopt;
  return {answer ? std::to_string(*answer) : std::string(), true};
}

// A place of the pupil's working: a blank, filled in on a key.
SheetCell Working(const std::optional<int>& value, SheetKind kind) {
  return {kind == SheetKind::AnswerKey && value ? std::to_string(*value) : std::string(), true};
}

ColumnForm DivisionFrameOf(const ProblemRow& row, const std::array<SheetCell, kProblemColumns>& cells,
                           const GenerationSettings& settings, SheetKind kind) {
  ColumnForm form;
  form.shape = ColumnShape::LongDivision;
  DivisionFrame& frame = form.division;
  frame.quotient = cells[kResult];
  frame.divisor = cells[kSecondTerm];
  frame.dividend = cells[kFirstTerm];
  const std::optional<int> dividend = CellValue(row, kFirstTerm);
  const std::optional<int> divisor = CellValue(row, kSecondTerm);
  const std::optional<int> quotient = CellValue(row, kResult);
  std::optional<int> product;
  if (divisor && quotient) product = *divisor * *quotient;
  frame.product = Working(product, kind);
  std::optional<int> remainder;
  if (dividend && product) remainder = *dividend - *product;
  frame.remainder = row[kRemainder].empty() ? Working(remainder, kind) : cells[kRemainder];
  form.places = settings.DigitWidth;
  for (const std::optional<int>& value : {dividend, product, quotient, remainder}) {
    if (value) form.places = std::max(form.places, DecimalDigits(*value));
  }
  for (const std::optional<int>& value : {quotient, remainder}) {
    if (value) frame.quotientPlaces = std::max(frame.quotientPlaces, DecimalDigits(*value));
  }
  return form;
}

ColumnForm ColumnFormOf(const ProblemRow& row, const std::array<SheetCell, kProblemColumns>& cells,
                        const GenerationSettings& settings, SheetKind kind) {
  if (row[kFirstOperator] == kDivisionSign) return DivisionFrameOf(row, cells, settings, kind);
  ColumnForm form;
  form.terms.push_back({"", cells[kFirstTerm]});
  form.terms.push_back({cells[kFirstOperator].text, cells[kSecondTerm]});
  if (settings.TermCount == 3) form.terms.push_back({cells[kSecondOperator].text, cells[kThirdTerm]});
  form.result = {"", cells[kResult]};
  form.places = settings.DigitWidth;
  for (const ColumnRow& row : form.terms) form.places = std::max(form.places, static_cast<int>(row.value.text.size()));
  form.places = std::max(form.places, static_cast<int>(form.result.value.text.size()));
  return form;
}

// The working of a two-step problem: the problem with its first step
// worked, then the result, each after an "=" of its own.
std::vector<WorkingLine> WorkingOf(const ProblemRow& row, SheetKind kind) {
  std::vector<WorkingLine> lines(kWorkingLines);
  const std::vector<WorkStep> steps = StepsOf(row);
  if (kind != SheetKind::AnswerKey || steps.size() != 2) return lines;
  const std::string first = std::to_string(steps[0].value);
  if (WorksLastTwoFirst(row[kFirstOperator], row[kSecondOperator], BracketsOf(row))) {
    lines[0].parts = {row[kFirstTerm], row[kFirstOperator], first};
  } else {
    lines[0].parts = {first, row[kSecondOperator], row[kThirdTerm]};
  }
  lines[1].parts = {std::to_string(steps[1].value)};
  return lines;
}

}  // namespace

std::string SheetDescription(const GenerationSettings& settings, SheetKind kind) {
  std::string description = TextsOf(settings).Description;
  if (settings.Seed) description += std::string(kSeedLead) + std::to_string(*settings.Seed);
  return kind == SheetKind::AnswerKey ? description + "（答案）" : description;
}

SheetLayout LayOutSheet(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                        PageShape shape) {
  SheetLayout layout;
  layout.kind = kind;
  layout.description = SheetDescription(settings, kind);
  const SheetTexts texts = TextsOf(settings);
  layout.headerLine = texts.HeaderLine1;
  layout.ratingLine = texts.HeaderLine2;
  layout.termCount = settings.TermCount;
  layout.digitWidth = settings.DigitWidth;
  layout.columnForm = settings.VerticalForm;
  layout.numberEachPage = settings.NumberEachPage;
  layout.remainders = ShowsRemainders(settings);
  layout.divisionFrames = settings.VerticalForm && settings.DivisionChecked;
  layout.brackets = settings.TwoSteps && settings.TwoStepBrackets != Brackets::Never;
  layout.workingSteps = settings.WorkingSteps;
  layout.problemCount = settings.ProblemCount;

  layout.pages.emplace_back().lines.emplace_back();
  for (int index = 0; index < settings.ProblemCount; ++index) {
    const ProblemRow& row = table.Row(index);
    SheetProblem problem;
    problem.index = index;
    for (int k = 0; k < kBrackets; ++k) problem.cells[static_cast<std::size_t>(k)] = CellOf(row, k, kind);
    problem.brackets = BracketsOf(row);
    if (settings.VerticalForm) problem.columnForm = ColumnFormOf(row, problem.cells, settings, kind);
    if (settings.WorkingSteps) {
      problem.working = WorkingOf(row, kind);
      problem.cells[kEqualsSign] = problem.cells[kResult] = SheetCell{};
    }
    layout.pages.back().lines.back().problems.push_back(std::move(problem));
  }
  Repage(layout, shape);
  return layout;
}

void Repage(SheetLayout& layout, PageShape shape) {
  std::vector<SheetProblem> problems;
  problems.reserve(static_cast<std::size_t>(layout.problemCount));
  for (SheetPage& page : layout.pages) {
    for (SheetLine& line : page.lines) {
      for (SheetProblem& problem : line.problems) problems.push_back(std::move(problem));
    }
  }
  layout.pages.clear();
  const std::size_t perLine = static_cast<std::size_t>(std::max(1, shape.perLine));
  int numbering = 0;  // the next problem gets numbering + 1
  for (std::size_t index = 0; index < problems.size(); ++index) {
    if (index % perLine == 0) {
      const bool newPage = layout.pages.empty() || (shape.linesPerPage > 0 &&
                                                    static_cast<int>(layout.pages.back().lines.size()) == shape.linesPerPage);
      if (newPage) {
        layout.pages.emplace_back();
        if (layout.numberEachPage) numbering = 0;
      }
      layout.pages.back().lines.emplace_back();
    }
    problems[index].numberText = ProblemNumberText(++numbering, layout.problemCount);
    layout.pages.back().lines.back().problems.push_back(std::move(problems[index]));
  }
}

}  // namespace numbrook
