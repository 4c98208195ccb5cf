#include "formats/text/text_worksheet.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/export_error.h"
#include "formats/text/text_encoding.h"

namespace numbrook {
namespace {

std::string PadLeft(const std::string& text, int width) {
  const int missing = width - static_cast<int>(text.size());
  return missing > 0 ? std::string(static_cast<std::size_t>(missing), ' ') + text : text;
}

std::string PadRight(const std::string& text, int width) {
  const int missing = width - static_cast<int>(text.size());
  return missing > 0 ? text + std::string(static_cast<std::size_t>(missing), ' ') : text;
}

std::string WithoutTrailingSpaces(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The box a pupil writes in, or on the answer key the same box with the
// value standing right inside it; a wider value widens it rather than being cut.
std::string Box(const std::string& inside, int width) { return "(" + PadLeft(inside, width) + ")"; }

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

}  // namespace

TextWorksheetWriter::TextWorksheetWriter(const PendingFile& target, const GenerationSettings& settings)
    : target_(target), perRow_(settings.PerRow), encoding_(TextEncodingFor(settings.TextFileEncoding)) {}

TextWorksheetWriter::~TextWorksheetWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

PageShape TextWorksheetWriter::Shape(const SheetLayout& /*problems*/) { return {perRow_, 0}; }

void TextWorksheetWriter::Open(const SheetLayout& layout) {
  layout_ = &layout;
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
}

void TextWorksheetWriter::WriteProblem(int /*position*/, const SheetProblem& problem) {
  const auto& cells = problem.cells;
  std::string text = problem.numberText;
  text += TermField(cells[kFirstTerm]) + cells[kFirstOperator].text + TermField(cells[kSecondTerm]);
  if (layout_->termCount == 3) text += cells[kSecondOperator].text + TermField(cells[kThirdTerm]);
  text += cells[kEqualsSign].text + TermField(cells[kResult]);
  line_ += text + std::string(8, ' ');
  if (layout_->columnForm) vertical_.push_back(problem.columnForm);
}

void TextWorksheetWriter::EndLine(bool /*lastOnPage*/) {
  WriteLine(WithoutTrailingSpaces(line_));
  if (layout_->columnForm) WriteVerticalBlock();
}

void TextWorksheetWriter::Finish() {
  WriteLine("");
  WriteLine("");
  WriteLine(std::string(15, ' ') + layout_->ratingLine);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) Fail("无法写完文件");
}

// A blank is "(    )" after the field's other places. A value wider than
// the field is shown whole rather than cut, so that a problem on the sheet
// never reads differently from the one drawn.
std::string TextWorksheetWriter::TermField(const SheetCell& cell) const {
  if (cell.blank) return std::string(static_cast<std::size_t>(layout_->digitWidth - 1), ' ') + Box(cell.text, 4);
  return PadLeft(cell.text, layout_->digitWidth);
}

// A number's digits each followed by a space, in a cell one place wider on
// either side; a blank is a box as wide as the digits, one character
// narrower, and a key's value stands in it in the very columns the sheet
// gives a number's digits.
std::string TextWorksheetWriter::DigitCell(const SheetCell& cell) const {
  const int width = 2 * layout_->digitWidth;
  if (cell.blank) return Box(WithoutTrailingSpaces(SpacedDigits(cell.text)), width - 1);
  return " " + PadLeft(SpacedDigits(cell.text), width) + " ";
}

std::string TextWorksheetWriter::Slot(const std::string& first, const std::string& content) const {
  return first + PadRight(content, layout_->termCount == 3 ? 28 : 26);
}

void TextWorksheetWriter::WriteBlockRow(int margin, const std::function<std::string(const ColumnForm&)>& slotOf) {
  std::string row(static_cast<std::size_t>(margin), ' ');
  for (const ColumnForm& form : vertical_) row += slotOf(form);
  WriteLine(WithoutTrailingSpaces(row));
}

void TextWorksheetWriter::WriteVerticalBlock() {
  const std::string rule(static_cast<std::size_t>(2 * layout_->digitWidth + 2), '-');
  for (std::size_t t = 0; t < static_cast<std::size_t>(layout_->termCount); ++t) {
    WriteBlockRow(9, [&](const ColumnForm& form) {
      const ColumnRow& row = form.terms[t];
      return Slot(row.sign.empty() ? " " : row.sign, DigitCell(row.value));
    });
  }
  // The rule starts one column left of the operators and ends under the last digit.
  WriteBlockRow(7, [&](const ColumnForm&) { return Slot(" ", rule); });
  WriteBlockRow(9, [&](const ColumnForm& form) { return Slot(" ", DigitCell(form.result.value)); });
  WriteLine("");
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
