#include "formats/pdf/pdf_worksheet.h"

#include <cairo.h>

#include <algorithm>

namespace numbrook {
namespace {

constexpr double kRuleWidth = 1.5;
constexpr double kBoxLineWidth = 0.8;
constexpr double kWritingLineWidth = 0.6;
// A description naming many choices still fits across the page.
constexpr double kSmallestTitleSize = 9;

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void SetInkColour(cairo_t* cairo) { cairo_set_source_rgb(cairo, 0, 0, 0); }

}  // namespace

PdfWorksheetWriter::PdfWorksheetWriter(PdfDocument& document, const GenerationSettings& settings)
    : document_(document), text_(document.Text()), settings_(settings), asked_(settings.PerRow) {}

PageShape PdfWorksheetWriter::Shape(const SheetLayout& problems) {
  plan_ = PlanPdfPages(problems, settings_, text_);
  return {plan_.perLine, plan_.linesPerPage};
}

std::vector<std::string> PdfWorksheetWriter::Notices() const {
  if (plan_.perLine >= asked_) return {};
  return {FewerPerLineNotice(plan_.perLine)};
}

void PdfWorksheetWriter::Open(const SheetLayout& layout) {
  layout_ = &layout;
  page_ = 0;
  document_.StartSheet();
}

// A page starts with its header; its lines stand in the middle of the
// paper, their number column as wide as the page's largest number.
void PdfWorksheetWriter::StartLine(const SheetLine& /*line*/, bool firstOnPage) {
  if (!firstOnPage) return;
  ++page_;
  document_.StartPage(plan_.pageWidth, plan_.pageHeight);
  DrawHeader();
  text_.Flush();
  lineTop_ = plan_.margin + plan_.headerHeight;
  numberWidth_ = 0;
  for (const SheetLine& line : layout_->pages[static_cast<std::size_t>(page_ - 1)].lines) {
    for (const SheetProblem& problem : line.problems) {
      numberWidth_ = std::max(numberWidth_, text_.Width(Trimmed(problem.numberText), TextStyle::Regular, plan_.size));
    }
  }
  lineLeft_ = plan_.margin + std::max(0.0, (plan_.UsableWidth() - plan_.LineWidth(numberWidth_, plan_.perLine)) / 2);
}

// The number, an em, then the problem's terms and signs one after another.
void PdfWorksheetWriter::WriteProblem(int position, const SheetProblem& problem) {
  const double size = plan_.size;
  const double left = lineLeft_ + (position - 1) * (plan_.SlotWidth(numberWidth_) + plan_.slotGap);
  const double centreY = lineTop_ + plan_.rowHeight / 2;
  const double textTop = centreY - text_.LineHeight(size) / 2;
  const std::string number = Trimmed(problem.numberText);
  text_.Draw(number, TextStyle::Regular, size, left + numberWidth_ - text_.Width(number, TextStyle::Regular, size),
             textTop);
  const double bodyLeft = left + numberWidth_ + plan_.afterNumber;
  double x = bodyLeft;
  for (std::size_t k = 0; k < problem.cells.size(); ++k) {
    const SheetCell& cell = problem.cells[k];
    if (!cell.blank && cell.text.empty()) continue;  // a two-term problem's third term, no remainder
    // A bracket stands close to the number it encloses.
    // A full-width bracket has its own room on its outer side, in place of the gap.
    if (OpensBracket(problem, k)) {
      x -= plan_.itemGap;
      text_.Draw(kOpeningBracket, TextStyle::Regular, size, x, textTop);
      x += text_.Width(kOpeningBracket, TextStyle::Regular, size);
    }
    if (ClosesBracket(problem, k)) {
      text_.Draw(cell.text, TextStyle::Regular, size, x, textTop);
      x += text_.Width(cell.text, TextStyle::Regular, size);
      text_.Draw(kClosingBracket, TextStyle::Regular, size, x, textTop);
      x += text_.Width(kClosingBracket, TextStyle::Regular, size);
      continue;
    }
    if (k == kRemainder) {
      // "……" in smaller type, then the remainder's box or its value.
      text_.Draw("……", TextStyle::Regular, plan_.remainderLeadSize, x,
                 centreY - text_.LineHeight(plan_.remainderLeadSize) / 2);
      x += plan_.remainderLead + plan_.itemGap;
    }
    if (cell.blank) {
      const double width = k == kRemainder ? plan_.remainderBlankWidth : plan_.blankWidth;
      AddBox(x, centreY - plan_.blankHeight / 2, width, plan_.blankHeight);
      if (cell.IsAnswer()) DrawCellText(cell.text, TextStyle::Answer, x, width, centreY);
      x += width + plan_.itemGap;
    } else {
      const std::string shown = IsSignColumn(k) ? PrintedSign(cell.text) : cell.text;
      text_.Draw(shown, TextStyle::Regular, size, x, textTop);
      x += text_.Width(shown, TextStyle::Regular, size) + plan_.itemGap;
    }
  }
  if (layout_->columnForm) DrawColumnForm(bodyLeft, lineTop_ + plan_.columnFormTop, problem.columnForm);
  if (layout_->workingSteps) DrawWorking(bodyLeft, problem);
}

// Under the problem, each working line: "=" under its first number, then a
// line to write on as long as the problem is wide; a key's working in red
// on it.
void PdfWorksheetWriter::DrawWorking(double left, const SheetProblem& problem) {
  const double size = plan_.size;
  const double equals = text_.Width("=", TextStyle::Regular, size) + plan_.itemGap;
  for (std::size_t k = 0; k < problem.working.size(); ++k) {
    const double bottom = lineTop_ + plan_.workingTop + static_cast<double>(k + 1) * plan_.workingLineHeight;
    const double textTop = bottom - 0.15 * size - text_.LineHeight(size);
    text_.Draw("=", TextStyle::Regular, size, left, textTop);
    writingLines_.push_back({left + equals, bottom, plan_.bodyWidth - equals, 0});
    const std::string working = PdfWorkingText(problem.working[k]);
    if (!working.empty()) text_.Draw(working, TextStyle::Answer, size, left + equals + 0.3 * size, textTop);
  }
}

void PdfWorksheetWriter::EndLine(bool lastOnPage) {
  StrokeLines();
  text_.Flush();
  lineTop_ += plan_.lineHeight;
  if (!lastOnPage) return;
  DrawFooter();
  text_.Flush();
  document_.EndPage();
}

void PdfWorksheetWriter::Finish() {}

// The title, then the lines to write on, then a thin rule across.
void PdfWorksheetWriter::DrawHeader() {
  cairo_t* cairo = document_.Cairo();
  SetInkColour(cairo);
  const double top = plan_.margin;
  // A long description gets smaller type, never below the smallest.
  double titleSize = plan_.titleSize;
  while (titleSize > kSmallestTitleSize &&
         text_.Width(layout_->description, TextStyle::Bold, titleSize) > plan_.UsableWidth()) {
    titleSize -= 0.5;
  }
  const double titleWidth = text_.Width(layout_->description, TextStyle::Bold, titleSize);
  text_.Draw(layout_->description, TextStyle::Bold, titleSize,
             plan_.margin + std::max(0.0, (plan_.UsableWidth() - titleWidth) / 2), top);

  const double size = plan_.fieldSize;
  const double fieldsTop = top + text_.LineHeight(plan_.titleSize) + 0.4 * plan_.size;
  const double baseline = fieldsTop + text_.LineHeight(size) * 0.85;
  static const char* const kLabels[] = {"姓名：", "日期：", "得分：", "用时："};
  static const double kShares[] = {4, 3, 2, 2};
  double labels = 0;
  for (const char* label : kLabels) labels += text_.Width(label, TextStyle::Regular, size);
  const double gap = 1.0 * size;
  const double lines = plan_.UsableWidth() - labels - 3 * gap;
  double x = plan_.margin;
  cairo_set_line_width(cairo, kWritingLineWidth);
  for (int i = 0; i < 4; ++i) {
    text_.Draw(kLabels[i], TextStyle::Regular, size, x, fieldsTop);
    x += text_.Width(kLabels[i], TextStyle::Regular, size);
    const double length = lines * kShares[i] / 11;
    cairo_move_to(cairo, x, baseline);
    cairo_line_to(cairo, x + length, baseline);
    cairo_stroke(cairo);
    x += length + gap;
  }
  const double ruleY = top + plan_.headerHeight - 0.4 * plan_.size;
  cairo_move_to(cairo, plan_.margin, ruleY);
  cairo_line_to(cairo, plan_.pageWidth - plan_.margin, ruleY);
  cairo_stroke(cairo);
}

// The self-rating line, and under it "第 N 页 / 共 M 页".
void PdfWorksheetWriter::DrawFooter() {
  SetInkColour(document_.Cairo());
  const double size = plan_.footerSize;
  const double lineHeight = text_.LineHeight(size);
  const double top = plan_.pageHeight - plan_.margin - 2 * lineHeight;
  const std::string pageText =
      "第 " + std::to_string(page_) + " 页 / 共 " + std::to_string(layout_->pages.size()) + " 页";
  double y = top;
  for (const std::string& text : {layout_->ratingLine, pageText}) {
    const double width = text_.Width(text, TextStyle::Regular, size);
    text_.Draw(text, TextStyle::Regular, size, plan_.margin + std::max(0.0, (plan_.UsableWidth() - width) / 2), y);
    y += lineHeight;
  }
}

void PdfWorksheetWriter::DrawCellText(const std::string& text, TextStyle style, double left, double width,
                                      double centreY) {
  const double size = plan_.size;
  text_.Draw(text, style, size, left + (width - text_.Width(text, style, size)) / 2,
             centreY - text_.LineHeight(size) / 2);
}

void PdfWorksheetWriter::AddBox(double left, double top, double width, double height) {
  boxes_.push_back({left, top, width, height});
}

void PdfWorksheetWriter::StrokeLines() {
  cairo_t* cairo = document_.Cairo();
  SetInkColour(cairo);
  if (!writingLines_.empty()) {
    for (const Rectangle& r : writingLines_) {
      cairo_move_to(cairo, r.left, r.top);
      cairo_line_to(cairo, r.left + r.width, r.top);
    }
    cairo_set_line_width(cairo, kWritingLineWidth);
    cairo_stroke(cairo);
    writingLines_.clear();
  }
  for (auto [shapes, width] : {std::pair{&boxes_, kBoxLineWidth}, std::pair{&rules_, kRuleWidth}}) {
    if (shapes == &rules_) {
      // A division frame's bracket, drawn with the rules: a flat arc from
      // under the left end of the line over the dividend down to the foot
      // of the dividend's boxes.
      for (const Rectangle& r : brackets_) {
        cairo_move_to(cairo, r.left, r.top);
        cairo_curve_to(cairo, r.left + r.width, r.top + 0.3 * r.height, r.left + r.width, r.top + 0.7 * r.height,
                       r.left, r.top + r.height);
      }
      brackets_.clear();
    }
    if (shapes->empty()) continue;
    for (const Rectangle& r : *shapes) {
      if (r.height == 0) {
        cairo_move_to(cairo, r.left, r.top);
        cairo_line_to(cairo, r.left + r.width, r.top);
      } else {
        cairo_rectangle(cairo, r.left, r.top, r.width, r.height);
      }
    }
    cairo_set_line_width(cairo, width);
    cairo_stroke(cairo);
    shapes->clear();
  }
}

// The terms one under another, each in a row of boxes with its operator
// before it, a rule, then the result's row of boxes.
void PdfWorksheetWriter::DrawColumnForm(double left, double top, const ColumnForm& form) {
  if (form.shape == ColumnShape::LongDivision) {
    DrawDivisionFrame(left, top, form);
    return;
  }
  const double box = plan_.box;
  const double boxesLeft = left + plan_.signWidth;
  const double boxesWidth = form.places * box;
  double y = top;
  for (const ColumnRow& row : form.terms) {
    if (!row.sign.empty()) DrawCellText(PrintedSign(row.sign), TextStyle::Regular, left, plan_.signWidth, y + box / 2);
    DrawDigits(row.value, boxesLeft, y, form.places);
    y += box;
  }
  rules_.push_back({left, y + plan_.ruleGap / 2, boxesLeft + boxesWidth - left, 0});
  DrawDigits(form.result.value, boxesLeft, y + plan_.ruleGap, form.places);
}

// The written frame of a division (除法竖式): the quotient's box over the
// dividend's units; the divisor's box left of the bracket, whose line runs
// over the dividend; the product's boxes under it, a rule, the remainder's
// box under the units.
void PdfWorksheetWriter::DrawDivisionFrame(double left, double top, const ColumnForm& form) {
  const double box = plan_.box;
  const double gap = plan_.ruleGap;
  const DivisionFrame& frame = form.division;
  const double boxesLeft = left + plan_.divisorWidth;
  const double boxesRight = boxesLeft + form.places * box;
  const double bracketLeft = boxesLeft - 0.3 * box;
  const double unitsLeft = boxesRight - frame.quotientPlaces * box;
  DrawDigits(frame.quotient, unitsLeft, top, frame.quotientPlaces);
  const double dividendTop = top + box + gap;
  rules_.push_back({bracketLeft, dividendTop - gap / 2, boxesRight - bracketLeft, 0});
  brackets_.push_back({bracketLeft, dividendTop - gap / 2, 0.25 * box, box + gap / 2});
  DrawDigits(frame.divisor, left, dividendTop, 1);
  DrawDigits(frame.dividend, boxesLeft, dividendTop, form.places);
  DrawDigits(frame.product, boxesLeft, dividendTop + box, form.places);
  const double ruleY = dividendTop + 2 * box + gap / 2;
  rules_.push_back({bracketLeft, ruleY, boxesRight - bracketLeft, 0});
  DrawDigits(frame.remainder, unitsLeft, dividendTop + 2 * box + gap, frame.quotientPlaces);
}

// One box per digit place, the value's digits right-aligned in them; a
// pupil's blank leaves them empty.
void PdfWorksheetWriter::DrawDigits(const SheetCell& cell, double left, double top, int places) {
  const double box = plan_.box;
  for (int place = 0; place < places; ++place) AddBox(left + place * box, top, box, box);
  const TextStyle style = cell.IsAnswer() ? TextStyle::Answer : TextStyle::Regular;
  const int first = places - static_cast<int>(cell.text.size());
  for (std::size_t i = 0; i < cell.text.size(); ++i) {
    DrawCellText(cell.text.substr(i, 1), style, left + (first + static_cast<int>(i)) * box, box, top + box / 2);
  }
}

}  // namespace numbrook
