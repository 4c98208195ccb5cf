#include "export/text_worksheet.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "export/gbk_encoding.h"
#include "export/problem_number.h"
#include "generation/blank_value.h"

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
std::string Box(std::optional<int> answer, int inside) {
  return "(" + PadLeft(answer ? std::to_string(*answer) : "", inside) + ")";
}

void ReplaceBlank(std::string& problem, const std::string& box) {
  const std::size_t at = problem.find('_');
  if (at != std::string::npos) problem.replace(at, 1, box);
}

}  // namespace

TextWorksheetWriter::TextWorksheetWriter(const PendingFile& target, const GenerationSettings& settings,
                                         const ProblemTable& table, SheetKind kind)
    : target_(target), settings_(settings), table_(table), kind_(kind) {}

TextWorksheetWriter::~TextWorksheetWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

void TextWorksheetWriter::Open() {
  // A stream of its own over the pending file, which keeps its descriptor.
  const int descriptor = dup(target_.Descriptor());
  if (descriptor >= 0) file_ = fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    if (descriptor >= 0) close(descriptor);
    Fail("无法创建文件");
  }
  WriteLine(std::string(10, ' ') + settings_.HeaderLine1);
  WriteLine("");
  WriteLine(" 【说明：" + settings_.Description + "】");
}

void TextWorksheetWriter::StartLine() {
  line_.clear();
  vertical_.clear();
}

void TextWorksheetWriter::WriteProblem(int /*position*/, int row) {
  const ProblemRow& cells = table_.Row(row);
  std::string problem = ProblemNumberText(row + 1, settings_.ProblemCount);
  problem += TermField(cells[kFirstTerm]) + cells[kFirstOperator] + TermField(cells[kSecondTerm]);
  if (settings_.TermCount == 3) problem += cells[kSecondOperator] + TermField(cells[kThirdTerm]);
  problem += cells[kEqualsSign] + TermField(cells[kResult]);
  ReplaceBlank(problem, Box(kind_ == SheetKind::AnswerKey ? BlankValue(cells) : std::nullopt, 4));
  line_ += problem + std::string(8, ' ');
  if (settings_.VerticalForm) vertical_.push_back(cells);
}

void TextWorksheetWriter::EndLine() {
  WriteLine(WithoutTrailingSpaces(line_));
  if (settings_.VerticalForm) WriteVerticalBlock();
}

void TextWorksheetWriter::Finish() {
  WriteLine("");
  WriteLine("");
  WriteLine(std::string(15, ' ') + settings_.HeaderLine2);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) Fail("无法写完文件");
}

// A value wider than the field is shown whole rather than cut, so that a
// problem on the sheet never reads differently from the one drawn.
std::string TextWorksheetWriter::TermField(const std::string& cell) const {
  return PadLeft(cell, settings_.DigitWidth);
}

// In column form every digit is followed by a space so that the pupil can
// write under each place; a blank is a box as wide as the digits.
std::string TextWorksheetWriter::DigitCell(const std::string& cell, std::optional<int> answer) const {
  const int width = 2 * settings_.DigitWidth;
  if (cell == kBlankMarker) return Box(answer, width - 1);
  std::string spaced;
  for (char ch : cell) {
    spaced += ch;
    spaced += ' ';
  }
  return " " + PadLeft(spaced, width) + " ";
}

std::string TextWorksheetWriter::Slot(const std::string& first, const std::string& content) const {
  return first + PadRight(content, settings_.TermCount == 3 ? 28 : 26);
}

void TextWorksheetWriter::WriteBlockRow(int margin, const std::function<std::string(const ProblemRow&)>& slotOf) {
  std::string row(static_cast<std::size_t>(margin), ' ');
  for (const ProblemRow& cells : vertical_) row += slotOf(cells);
  WriteLine(WithoutTrailingSpaces(row));
}

void TextWorksheetWriter::WriteVerticalBlock() {
  const std::string rule(static_cast<std::size_t>(2 * settings_.DigitWidth + 2), '-');
  auto digits = [&](const ProblemRow& r, int column) {
    return DigitCell(r[static_cast<std::size_t>(column)], kind_ == SheetKind::AnswerKey ? BlankValue(r) : std::nullopt);
  };
  WriteBlockRow(9, [&](const ProblemRow& r) { return Slot(" ", digits(r, kFirstTerm)); });
  WriteBlockRow(9, [&](const ProblemRow& r) { return Slot(r[kFirstOperator], digits(r, kSecondTerm)); });
  if (settings_.TermCount == 3) {
    WriteBlockRow(9, [&](const ProblemRow& r) { return Slot(r[kSecondOperator], digits(r, kThirdTerm)); });
  }
  // The rule starts one column left of the operators and ends under the last digit.
  WriteBlockRow(7, [&](const ProblemRow&) { return Slot(" ", rule); });
  WriteBlockRow(9, [&](const ProblemRow& r) { return Slot(" ", digits(r, kResult)); });
  WriteLine("");
  WriteLine("");
}

void TextWorksheetWriter::WriteLine(const std::string& text) {
  const std::string bytes = Utf8ToGbk(text) + "\r\n";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail("无法写入文件");
}

void TextWorksheetWriter::Fail(const char* what) const {
  throw ExportError(std::string(what) + "“" + target_.FinalPath().string() + "”：" + std::strerror(errno));
}

}  // namespace numbrook
