#include "formats/text/text_worksheet.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/export_error.h"
#include "formats/text/text_encoding.h"

namespace numbrook {
namespace {

constexpr const char* kRemainderLead = "……";
// A line of the working, as the pupil's sheet shows it: "=" and a line to
// write on.
const std::string kWritingLine = "= " + std::string(12, '_');

std::string WithoutTrailingSpaces(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// In column form every digit is followed by a space so that the pupil can
// write under each place.
std::string SpacedDigits(const std::string& text) {
  std::string spaced;
  for (char ch : text) {
    spaced += ch;
    spaced += ' ';
  }
  return spaced;
}

std::string Spaces(int count) { return std::string(static_cast<std::size_t>(std::max(count, 0)), ' '); }

}  // namespace

TextWorksheetWriter::TextWorksheetWriter(const PendingFile& target, const GenerationSettings& settings)
    : target_(target), perRow_(settings.PerRow), encoding_(TextEncodingFor(settings.TextFileEncoding)) {}

TextWorksheetWriter::~TextWorksheetWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

PageShape TextWorksheetWriter::Shape(const SheetLayout& /*problems*/) { return {perRow_, 0}; }

void TextWorksheetWriter::Open(const SheetLayout& layout) {
  layout_ = &layout;
  operatorColumns_ = 1;
  itemColumns_ = 0;
  for (const SheetPage& page : layout.pages) {
    for (const SheetLine& line : page.lines) {
      for (const SheetProblem& problem : line.problems) {
        for (int k : {kFirstOperator, kSecondOperator}) {
          operatorColumns_ = std::max(operatorColumns_, Columns(problem.cells[static_cast<std::size_t>(k)].text));
        }
      }
    }
  }
  // With remainders or brackets a problem's width depends on its kind and
  // its blanks: every one is as wide as the widest, so that the columns line
  // up; its working lines stand in its column too.
  if (layout.remainders || layout.brackets || layout.workingSteps) {
    for (const SheetPage& page : layout.pages) {
      for (const SheetLine& line : page.lines) {
        for (const SheetProblem& problem : line.problems) {
          itemColumns_ = std::max(itemColumns_, Columns(ItemOf(problem)));
          if (!layout.workingSteps) continue;
          // A key's working stands where the pupil's sheet has its lines.
          itemColumns_ = std::max(itemColumns_, Columns(problem.numberText + kWritingLine));
          for (const WorkingLine& working : problem.working) {
            itemColumns_ = std::max(itemColumns_, Columns(problem.numberText + WorkingText(working)));
          }
        }
      }
    }
  }
  // A stream of its own over the pending file, which keeps its descriptor.
  const int descriptor = dup(target_.Descriptor());
  if (descriptor >= 0) file_ = fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    if (descriptor >= 0) close(descriptor);
    Fail("无法创建文件");
  }
  WriteLine(std::string(10, ' ') + layout.headerLine);
  WriteLine("");
  WriteLine(" 【说明：" + layout.description + "】");
}

void TextWorksheetWriter::StartLine(const SheetLine& /*line*/, bool /*firstOnPage*/) {
  line_.clear();
  vertical_.clear();
  working_.clear();
}

void TextWorksheetWriter::WriteProblem(int /*position*/, const SheetProblem& problem) {
  line_ += PadRight(ItemOf(problem), itemColumns_) + std::string(8, ' ');
  if (layout_->columnForm) vertical_.push_back(problem.columnForm);
  if (layout_->workingSteps) working_.push_back(&problem);
}

void TextWorksheetWriter::EndLine(bool /*lastOnPage*/) {
  WriteLine(WithoutTrailingSpaces(line_));
  if (layout_->columnForm) WriteVerticalBlock();
  if (layout_->workingSteps) WriteWorkingLines();
}

void TextWorksheetWriter::Finish() {
  WriteLine("");
  WriteLine("");
  WriteLine(std::string(15, ' ') + layout_->ratingLine);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) Fail("无法写完文件");
}

int TextWorksheetWriter::Columns(const std::string& text) const { return DisplayColumns(text, encoding_); }

std::string TextWorksheetWriter::PadLeft(const std::string& text, int columns) const {
  return Spaces(columns - Columns(text)) + text;
}

std::string TextWorksheetWriter::PadRight(const std::string& text, int columns) const {
  return text + Spaces(columns - Columns(text));
}

// "12+ 5= (    )", a division's remainder after it: "17÷ 5= (    )……(    )";
// brackets as the problem has them, "(12+15)÷ 3= (    )"; with working
// lines under it, the problem alone: "36+42÷ 6".
std::string TextWorksheetWriter::ItemOf(const SheetProblem& problem) const {
  const auto& cells = problem.cells;
  auto term = [&](std::size_t column) {
    return TermField(cells[column], OpensBracket(problem, column), ClosesBracket(problem, column));
  };
  std::string text = problem.numberText;
  text += term(kFirstTerm) + OperatorField(cells[kFirstOperator].text) + term(kSecondTerm);
  if (layout_->termCount == 3) text += OperatorField(cells[kSecondOperator].text) + term(kThirdTerm);
  if (cells[kEqualsSign].text.empty()) return text;
  text += cells[kEqualsSign].text + TermField(cells[kResult]);
  const SheetCell& remainder = cells[kRemainder];
  if (remainder.blank) {
    text += std::string(kRemainderLead) + "(" + PadLeft(remainder.text, 4) + ")";
  } else if (!remainder.text.empty()) {
    text += kRemainderLead + remainder.text;
  }
  return text;
}

// An operator as wide as the sheet's widest (× and ÷ are two columns in GBK).
std::string TextWorksheetWriter::OperatorField(const std::string& sign) const {
  return sign.empty() ? sign : PadLeft(sign, operatorColumns_);
}

// A blank is "(    )" after the field's other places. A value wider than
// the field is shown whole rather than cut, so that a problem on the sheet
// never reads differently from the one drawn. A key's value stands right
// inside the box; a wider value widens it.
// A bracket stands right before the digits it opens, or right after those
// it closes: " (7+15)".
std::string TextWorksheetWriter::TermField(const SheetCell& cell, bool opensBracket, bool closesBracket) const {
  if (cell.blank) return Spaces(layout_->digitWidth - 1) + "(" + PadLeft(cell.text, 4) + ")";
  if (opensBracket) return PadLeft("(" + cell.text, layout_->digitWidth + 1);
  return PadLeft(cell.text, layout_->digitWidth) + (closesBracket ? ")" : "");
}

// "= 36 + 7" on a key; on the pupil's sheet "=" and a line to write on.
std::string TextWorksheetWriter::WorkingText(const WorkingLine& line) const {
  if (line.parts.empty()) return kWritingLine;
  std::string text = "=";
  for (const std::string& part : line.parts) text += " " + part;
  return text;
}

// A number's digits each followed by a space, in a cell one place wider on
// either side; a blank is a box as wide as the digits, one character
// narrower, and a key's value stands in it in the very columns the sheet
// gives a number's digits.
std::string TextWorksheetWriter::DigitCell(const SheetCell& cell, int places) const {
  const int width = 2 * places;
  if (cell.blank) return "(" + PadLeft(WithoutTrailingSpaces(SpacedDigits(cell.text)), width - 1) + ")";
  return " " + PadLeft(SpacedDigits(cell.text), width) + " ";
}

// Each form's rows are drawn from its slot's left edge: the operator ends
// in the third column and the digits follow; the rule starts in the second.
std::vector<std::string> TextWorksheetWriter::StackedRows(const ColumnForm& form) const {
  const int places = layout_->digitWidth;
  std::vector<std::string> rows;
  for (const ColumnRow& row : form.terms) {
    rows.push_back(PadLeft(row.sign.empty() ? " " : row.sign, 3) + DigitCell(row.value, places));
  }
  rows.push_back(" " + std::string(static_cast<std::size_t>(2 * places + 2), '-'));
  rows.push_back("   " + DigitCell(form.result.value, places));
  return rows;
}

// The written frame of a division (除法竖式): the quotient over the units
// of the dividend, a line over the dividend that starts at the bracket
// after the divisor, the product under the dividend, a rule and the
// remainder under the units. A blank divisor is a one-place box.
//          3
//      ------
//    5 ) 1 7
//        1 5
//      ------
//          2
std::vector<std::string> TextWorksheetWriter::DivisionRows(const ColumnForm& form) const {
  const DivisionFrame& frame = form.division;
  const int places = form.places;
  constexpr int kDigits = 6;  // where the dividend's cell starts
  const std::string line = Spaces(kDigits - 1) + std::string(static_cast<std::size_t>(2 * places + 2), '-');
  const std::string divisor = frame.divisor.blank ? "(" + PadLeft(frame.divisor.text, 1) + ")" : frame.divisor.text;
  const std::string units = Spaces(kDigits + 2 * (places - frame.quotientPlaces));
  return {units + DigitCell(frame.quotient, frame.quotientPlaces),
          line,
          PadLeft(divisor, kDigits - 2) + " )" + DigitCell(frame.dividend, places),
          Spaces(kDigits) + DigitCell(frame.product, places),
          line,
          units + DigitCell(frame.remainder, frame.quotientPlaces)};
}

// The line's forms side by side, each in its slot; the block's rows are as
// many as its tallest form has.
void TextWorksheetWriter::WriteVerticalBlock() {
  const int slotColumns = layout_->termCount == 3 ? 29 : 27;
  std::vector<std::vector<std::string>> slots;
  std::size_t rows = 0;
  for (const ColumnForm& form : vertical_) {
    slots.push_back(form.shape == ColumnShape::LongDivision ? DivisionRows(form) : StackedRows(form));
    rows = std::max(rows, slots.back().size());
  }
  for (std::size_t r = 0; r < rows; ++r) {
    std::string row(7, ' ');
    for (const std::vector<std::string>& slot : slots) row += PadRight(r < slot.size() ? slot[r] : "", slotColumns);
    WriteLine(WithoutTrailingSpaces(row));
  }
  WriteLine("");
  WriteLine("");
}

// Under each problem of the line, its working lines, "=" under its first
// term; an empty line after them.
void TextWorksheetWriter::WriteWorkingLines() {
  for (int k = 0; k < kWorkingLines; ++k) {
    std::string row;
    for (const SheetProblem* problem : working_) {
      const std::string lead = Spaces(Columns(problem->numberText));
      row += PadRight(lead + WorkingText(problem->working[static_cast<std::size_t>(k)]), itemColumns_) +
             std::string(8, ' ');
    }
    WriteLine(WithoutTrailingSpaces(row));
  }
  WriteLine("");
}

// Kept apart: the one place that decides the file's encoding.
void TextWorksheetWriter::WriteLine(const std::string& text) {
  const std::string bytes = EncodeText(text, encoding_) + "\r\n";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail("无法写入文件");
}

void TextWorksheetWriter::Fail(const char* what) const {
  throw ExportError(std::string(what) + "“" + target_.FinalPath().string() + "”：" + ReasonOf(errno));
}

}  // namespace numbrook
