#include "formats/xlsx/excel_worksheet.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cerrno>
#include <cstring>

#include "files/export_error.h"
#include "formats/xlsx/workbook_check.h"


namespace numbrook {
namespace {

constexpr const char* kBlankBox = "(   )";
constexpr const char* kRemainderLead = "……";
constexpr lxw_color_t kAnswerRed = 0xFF0000;
constexpr std::uint8_t kPaperA4 = 9;

// Fonts every Debian desktop has, so that LibreOffice prints the widths the
// columns were made for under any locale: DejaVu Sans for the digits (it
// comes with fontconfig), and for the Chinese of the header and footer the
// Simplified Chinese face of Noto Sans CJK, named so that no locale can
// pick the Japanese glyph forms of the same collection.
constexpr const char* kCellFont = "DejaVu Sans";
constexpr const char* kHeaderFont = "&\"Noto Sans CJK SC,Regular\"&11";
// Brackets in the sheet's Chinese face: full-width, so that they read as
// brackets beside the numbers and not as the answer's "(   )".
constexpr const char* kBracketFont = "Noto Sans CJK SC";
constexpr const char* kOpeningBracket = "（";
constexpr const char* kClosingBracket = "）";

std::string EscapeHeaderText(const std::string& text) {
  std::string escaped;
  for (char ch : text) {
    escaped += ch;
    if (ch == '&') escaped += '&';
  }
  return escaped;
}

void SetFont(lxw_format* format, double size) {
  format_set_font_name(format, kCellFont);
  format_set_font_size(format, size);
  format_set_font_family(format, 2);  // a sans-serif, for a reader that lacks the font
}

lxw_format* NewFormat(lxw_workbook* workbook, double size, lxw_format_alignments align) {
  lxw_format* format = workbook_add_format(workbook);
  SetFont(format, size);
  format_set_align(format, align);
  return format;
}

// A whole number in a cell is stored as a number, as the spreadsheet stores
// a numeric text typed into a General cell.
bool IsWholeNumber(const std::string& text) {
  const std::size_t digits = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (text.size() == digits || text.size() > 6) return false;
  return text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// A failure of the spreadsheet library in our words; its own are English.
std::string LibraryReason(lxw_error error) {
  if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) return ReasonOf(ENOMEM);
  return "表格库拒绝了这一步（错误代码 " + std::to_string(static_cast<int>(error)) + "）";
}

// The system's own reason where the library's failure had one, else the
// library's, without its guesses.
std::string SaveFailureReason(lxw_error error, int systemError) {
  if (systemError != 0) return ReasonOf(systemError);
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return "内存不足";
    case LXW_ERROR_CREATING_XLSX_FILE: return "无法创建文件";
    case LXW_ERROR_CREATING_TMPFILE: return "无法创建临时文件";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE: return "无法写入压缩数据";
    default: return LibraryReason(error);
  }
}

}  // namespace

ExcelWorksheetWriter::ExcelWorksheetWriter(const PendingFile& target, const GenerationSettings& settings,
                                           SheetKind kind, const std::filesystem::path& scratch)
    : target_(target),
      shownPath_(target.FinalPath().string()),
      scratchFolder_(scratch.string()),
      settings_(settings),
      kind_(kind),
      page_(PlanExcelPage(settings)) {}

ExcelWorksheetWriter::~ExcelWorksheetWriter() {
  // A run that did not reach its finish leaves no file behind.
  if (workbook_ != nullptr) lxw_workbook_free(workbook_);
}

PageShape ExcelWorksheetWriter::Shape(const SheetLayout& /*problems*/) { return {page_.perLine, page_.linesPerPage}; }

std::vector<std::string> ExcelWorksheetWriter::Notices() const {
  if (page_.perLine >= settings_.PerRow) return {};
  return {FewerPerLineNotice(page_.perLine)};
}

void ExcelWorksheetWriter::Open(const SheetLayout& layout) {
  layout_ = &layout;
  lxw_workbook_options options{};
  options.tmpdir = scratchFolder_.data();
  // The sheet is written row by row, each once, so the library can stream
  // the rows to its file instead of keeping them all in memory.
  options.constant_memory = LXW_TRUE;
  errno = 0;
  workbook_ = workbook_new_opt(target_.WorkingPath().c_str(), &options);
  if (workbook_ == nullptr) throw ExportError("无法创建工作簿“" + shownPath_ + "”：" + ReasonOf(errno != 0 ? errno : ENOMEM));
  // In constant-memory mode the sheet's rows go to a scratch file from here on.
  worksheet_ = workbook_add_worksheet(workbook_, "题目列表");
  if (worksheet_ == nullptr) throw ExportError("无法创建工作表“" + shownPath_ + "”：" + ReasonOf(errno != 0 ? errno : ENOMEM));
  colsPerProblem_ = ColumnsPerProblem(settings_);
  CreateFormats();
  SetUpPage();
  FormatColumns();
  lineRows_ = FormRows(settings_) + 1;
  lineColumns_ = page_.perLine * colsPerProblem_;
  line_.assign(static_cast<std::size_t>(lineRows_ * lineColumns_), Cell{});
}

void ExcelWorksheetWriter::CreateFormats() {
  // The sheet's default font, the library's first format, sets the unit of
  // the column widths and the look of empty cells; the library's own API
  // offers no other way to name it.
  SetFont(STAILQ_FIRST(workbook_->formats), 10);
  formats_.numberColumn = NewFormat(workbook_, 9, LXW_ALIGN_CENTER);
  format_set_bold(formats_.numberColumn);
  format_set_italic(formats_.numberColumn);
  formats_.problemNumber = NewFormat(workbook_, 9, LXW_ALIGN_CENTER);
  format_set_bold(formats_.problemNumber);
  format_set_italic(formats_.problemNumber);
  format_set_num_format(formats_.problemNumber, "@");
  formats_.term = NewFormat(workbook_, 12, LXW_ALIGN_CENTER);
  formats_.operatorLeft = NewFormat(workbook_, 12, LXW_ALIGN_LEFT);
  formats_.ruleLeft = NewFormat(workbook_, 12, LXW_ALIGN_LEFT);
  format_set_top(formats_.ruleLeft, LXW_BORDER_THIN);
  formats_.valueRight = NewFormat(workbook_, 12, LXW_ALIGN_RIGHT);
  formats_.rule = NewFormat(workbook_, 12, LXW_ALIGN_CENTER);
  format_set_top(formats_.rule, LXW_BORDER_THIN);
  formats_.ruleRight = NewFormat(workbook_, 12, LXW_ALIGN_RIGHT);
  format_set_top(formats_.ruleRight, LXW_BORDER_THIN);
  if (settings_.WorkingSteps) {
    formats_.writingLine = NewFormat(workbook_, 12, LXW_ALIGN_CENTER);
    format_set_bottom(formats_.writingLine, LXW_BORDER_THIN);
  }
  if (layout_->brackets) {
    formats_.bracketPart = workbook_add_format(workbook_);
    format_set_font_name(formats_.bracketPart, kBracketFont);
    format_set_font_size(formats_.bracketPart, 12);
    formats_.digitsPart = workbook_add_format(workbook_);
    SetFont(formats_.digitsPart, 12);
  }
  if (kind_ != SheetKind::AnswerKey) return;
  auto answer = [](lxw_format* format) {
    format_set_bold(format);
    format_set_font_color(format, kAnswerRed);
    format_set_underline(format, LXW_UNDERLINE_SINGLE);
    return format;
  };
  formats_.termAnswer = answer(NewFormat(workbook_, 12, LXW_ALIGN_CENTER));
  formats_.valueRightAnswer = answer(NewFormat(workbook_, 12, LXW_ALIGN_RIGHT));
  formats_.ruleRightAnswer = answer(NewFormat(workbook_, 12, LXW_ALIGN_RIGHT));
  format_set_top(formats_.ruleRightAnswer, LXW_BORDER_THIN);
  if (settings_.WorkingSteps) {
    formats_.writingLineAnswer = answer(NewFormat(workbook_, 12, LXW_ALIGN_CENTER));
    format_set_bottom(formats_.writingLineAnswer, LXW_BORDER_THIN);
  }
}

void ExcelWorksheetWriter::SetUpPage() {
  worksheet_set_paper(worksheet_, kPaperA4);
  if (page_.landscape) worksheet_set_landscape(worksheet_);
  worksheet_set_margins(worksheet_, kSideMargin, kSideMargin, kTopMargin, kBottomMargin);
  const std::string header = std::string("&L") + kHeaderFont + EscapeHeaderText(layout_->headerLine) + "\n" +
                             EscapeHeaderText("【说明：" + layout_->description + "】");
  lxw_header_footer_options margin{};
  margin.margin = kHeaderFooterMargin;
  Check(worksheet_set_header_opt(worksheet_, header.c_str(), &margin), "页眉");
  const std::string footer = std::string("&C") + kHeaderFont + EscapeHeaderText(layout_->ratingLine);
  Check(worksheet_set_footer_opt(worksheet_, footer.c_str(), &margin), "页脚");
  worksheet_center_horizontally(worksheet_);
  // As wide as the paper, so that no line's problems spill onto a page of
  // their own; as many pages tall as the manual breaks make.
  worksheet_fit_to_pages(worksheet_, 1, 0);
}

// Every slot has the same nine columns: number, first term, operator,
// second term, operator, third term, "=", result and a gap; with
// remainders "……" and the remainder come before the gap.
void ExcelWorksheetWriter::FormatColumns() {
  const std::vector<double> widths = SlotColumnWidths(settings_);
  lxw_row_col_options hidden{};
  hidden.hidden = 1;
  for (int slot = 0; slot < page_.perLine; ++slot) {
    for (int j = 0; j < colsPerProblem_; ++j) {
      const auto column = static_cast<lxw_col_t>(slot * colsPerProblem_ + j);
      const double width = widths[static_cast<std::size_t>(j)];
      Check(worksheet_set_column_opt(worksheet_, column, column, width,
                                     j == 0 ? formats_.numberColumn : formats_.term, width == 0 ? &hidden : nullptr),
            "列宽");
    }
  }
}

void ExcelWorksheetWriter::StartLine(const SheetLine& /*line*/, bool firstOnPage) {
  std::fill(line_.begin(), line_.end(), Cell{});
  if (firstOnPage) {
    ++currentRow_;
    SetRowHeight(currentRow_, kSpacerRowHeight);
  }
  ++currentRow_;
  // Every line that starts holds a problem, so its row gets the line height.
  SetRowHeight(currentRow_, kLineRowHeight);
}

void ExcelWorksheetWriter::WriteProblem(int slot, const SheetProblem& problem) {
  const int g = (slot - 1) * colsPerProblem_;
  At(currentRow_, g + 1).text = problem.numberText;
  for (int k = 0; k < kBrackets; ++k) {
    const SheetCell& cell = problem.cells[static_cast<std::size_t>(k)];
    if (k == kRemainder && (colsPerProblem_ == kColsPerProblem || (cell.text.empty() && !cell.blank))) continue;
    // The remainder stands after "……", in the column after the result's.
    const int column = k == kRemainder ? g + 2 + k + 1 : g + 2 + k;
    if (k == kRemainder) At(currentRow_, column - 1).text = kRemainderLead;
    Cell& written = At(currentRow_, column);
    written.text = cell.blank && !cell.IsAnswer() ? kBlankBox : cell.text;
    written.answer = cell.IsAnswer();
  }
  for (std::size_t k : {kFirstTerm, kSecondTerm, kThirdTerm}) {
    if (OpensBracket(problem, k)) At(currentRow_, g + 2 + static_cast<int>(k)).bracket = Bracket::Opening;
    if (ClosesBracket(problem, k)) At(currentRow_, g + 2 + static_cast<int>(k)).bracket = Bracket::Closing;
  }
  if (settings_.VerticalForm) WriteColumnForm(slot, problem.columnForm);
  if (settings_.WorkingSteps) WriteWorking(slot, problem);
}

// The working under a problem: each row an "=" in the number's column and
// a line to write on across the terms and the result; on a key, the
// problem with its first step worked in the columns of its first two terms
// and their operator, then the result under the first term.
void ExcelWorksheetWriter::WriteWorking(int slot, const SheetProblem& problem) {
  const int g = (slot - 1) * colsPerProblem_;
  for (int k = 0; k < kWorkingLines; ++k) {
    const int row = currentRow_ + 1 + k;
    Cell& equals = At(row, g + 1);
    equals.text = "=";
    equals.align = Align::Right;
    for (int column = g + 2 + kFirstTerm; column <= g + 2 + kResult; ++column) At(row, column).writingLine = true;
    const std::vector<std::string>& parts = problem.working[static_cast<std::size_t>(k)].parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      Cell& part = At(row, g + 2 + kFirstTerm + static_cast<int>(i));
      part.text = parts[i];
      part.answer = true;
    }
  }
}

// The column form uses the slot's operator column, its second-term column
// for the numbers and the first visible column to the right of it for the
// closing parenthesis of a blank box.
void ExcelWorksheetWriter::WriteColumnForm(int slot, const ColumnForm& form) {
  const int g = (slot - 1) * colsPerProblem_;
  const int operatorColumn = g + 3;
  const int valueColumn = g + 4;
  const int closingColumn = settings_.TermCount == 3 ? g + 5 : g + 7;
  if (form.shape == ColumnShape::LongDivision) {
    WriteDivisionFrame(g, form.division);
    return;
  }

  int row = currentRow_ + 1;
  for (const ColumnRow& term : form.terms) {
    if (!term.sign.empty()) {
      At(row, operatorColumn).text = term.sign;
      At(row, operatorColumn).align = Align::Left;
    }
    Place(row, valueColumn, closingColumn, term.value);
    ++row;
  }
  // The rule under the last term is a top border on the result row.
  for (int column : {operatorColumn, valueColumn, closingColumn}) At(row, column).rule = true;
  Place(row, valueColumn, closingColumn, form.result.value);
}

// The written frame of a division: the quotient above the dividend; the
// divisor right-aligned in the first-term column, the bracket in the
// operator column and a line over bracket and dividend; the product under
// the dividend, then a rule and the remainder.
void ExcelWorksheetWriter::WriteDivisionFrame(int g, const DivisionFrame& frame) {
  const int divisorColumn = g + 2;
  const int bracketColumn = g + 3;
  const int valueColumn = g + 4;
  const int closingColumn = settings_.TermCount == 3 ? g + 5 : g + 7;
  const int top = currentRow_ + 1;
  Place(top, valueColumn, closingColumn, frame.quotient);
  Cell& divisor = At(top + 1, divisorColumn);
  divisor.text = frame.divisor.blank && !frame.divisor.IsAnswer() ? kBlankBox : frame.divisor.text;
  divisor.answer = frame.divisor.IsAnswer();
  divisor.align = Align::Right;
  At(top + 1, bracketColumn).text = ")";
  At(top + 1, bracketColumn).align = Align::Left;
  Place(top + 1, valueColumn, closingColumn, frame.dividend);
  Place(top + 2, valueColumn, closingColumn, frame.product);
  Place(top + 3, valueColumn, closingColumn, frame.remainder);
  // The line over the dividend and the rule over the remainder run from
  // the bracket's column to the end of the number, or of its box.
  for (const auto& [row, value] : {std::pair{top + 1, &frame.dividend}, std::pair{top + 3, &frame.remainder}}) {
    At(row, bracketColumn).rule = At(row, valueColumn).rule = true;
    if (value->blank && !value->IsAnswer()) At(row, closingColumn).rule = true;
  }
}

ExcelWorksheetWriter::Cell& ExcelWorksheetWriter::At(int row, int column) {
  Cell& cell = line_[static_cast<std::size_t>((row - currentRow_) * lineColumns_ + column - 1)];
  cell.set = true;
  return cell;
}

// A number of the column form stands right; a blank box is split over two
// cells so that its ")" closes after the digits of the value column. On an
// answer key the blank's value stands in the value column, without the box.
void ExcelWorksheetWriter::Place(int row, int valueColumn, int closingColumn, const SheetCell& value) {
  Cell& valueCell = At(row, valueColumn);
  valueCell.align = Align::Right;
  valueCell.text = value.text;
  valueCell.answer = value.IsAnswer();
  if (value.blank && !value.IsAnswer()) {
    valueCell.text = "(   ";
    At(row, closingColumn).text = ")";
  }
}

void ExcelWorksheetWriter::EndLine(bool /*lastOnPage*/) {
  const int lastRow = currentRow_ + lineRows_ - 1;
  const int pageRows = 1 + page_.linesPerPage * lineRows_;  // a spacer row, then the lines
  const bool pageEnds = lastRow % pageRows == 0;
  WriteLineCells();
  currentRow_ = lastRow;
  if (pageEnds) pageBreaks_.push_back(static_cast<unsigned>(currentRow_));  // a break above the next row
}

// Each cell of the line once, row by row. An empty cell without a look of
// its own stays unwritten. A row's height goes before its cells, since each
// row is streamed out once the next one is begun.
void ExcelWorksheetWriter::WriteLineCells() {
  for (int i = 0; i < lineRows_; ++i) {
    // A column form's result row is as high as a line, the last one on a
    // page too, so that every result has room to be written in; so is every
    // working row.
    if (i > 0 && (i == lineRows_ - 1 || settings_.WorkingSteps)) SetRowHeight(currentRow_ + i, kLineRowHeight);
    const auto row = static_cast<lxw_row_t>(currentRow_ + i - 1);
    for (int j = 0; j < lineColumns_; ++j) {
      const Cell& cell = line_[static_cast<std::size_t>(i * lineColumns_ + j)];
      const bool plain = cell.align == Align::Column && !cell.rule && !cell.writingLine;
      if (!cell.set || (cell.text.empty() && plain)) continue;
      const bool numberColumn = j % colsPerProblem_ == 0;
      lxw_format* format = FormatOf(cell, numberColumn);
      const auto column = static_cast<lxw_col_t>(j);
      lxw_error error;
      if (cell.text.empty()) {
        error = worksheet_write_blank(worksheet_, row, column, format);
      } else if (cell.bracket != Bracket::None) {
        error = static_cast<lxw_error>(WriteBracketed(row, column, cell, format));
      } else if (!numberColumn && IsWholeNumber(cell.text)) {
        error = worksheet_write_number(worksheet_, row, column, std::stod(cell.text), format);
      } else {
        error = worksheet_write_string(worksheet_, row, column, cell.text.c_str(), format);
      }
      Check(error, "单元格");
    }
  }
}

// A number with its bracket, as one text of two parts: the bracket in its
// font, the digits in the cells' own.
int ExcelWorksheetWriter::WriteBracketed(lxw_row_t row, lxw_col_t column, const Cell& cell, lxw_format* format) {
  lxw_rich_string_tuple bracket{formats_.bracketPart,
                                const_cast<char*>(cell.bracket == Bracket::Opening ? kOpeningBracket : kClosingBracket)};
  lxw_rich_string_tuple digits{formats_.digitsPart, const_cast<char*>(cell.text.c_str())};
  lxw_rich_string_tuple* parts[] = {cell.bracket == Bracket::Opening ? &bracket : &digits,
                                    cell.bracket == Bracket::Opening ? &digits : &bracket, nullptr};
  return worksheet_write_rich_string(worksheet_, row, column, parts, format);
}

lxw_format* ExcelWorksheetWriter::FormatOf(const Cell& cell, bool numberColumn) const {
  if (cell.writingLine) return cell.answer ? formats_.writingLineAnswer : formats_.writingLine;
  if (numberColumn && cell.align == Align::Column) return formats_.problemNumber;
  if (cell.answer) {
    if (cell.align == Align::Right) return cell.rule ? formats_.ruleRightAnswer : formats_.valueRightAnswer;
    return formats_.termAnswer;
  }
  switch (cell.align) {
    case Align::Left: return cell.rule ? formats_.ruleLeft : formats_.operatorLeft;
    case Align::Right: return cell.rule ? formats_.ruleRight : formats_.valueRight;
    case Align::Column: break;
  }
  return cell.rule ? formats_.rule : formats_.term;
}

void ExcelWorksheetWriter::Finish() {
  if (!pageBreaks_.empty()) {
    std::vector<lxw_row_t> breaks(pageBreaks_.begin(), pageBreaks_.end());
    breaks.push_back(0);
    Check(worksheet_set_h_pagebreaks(worksheet_, breaks.data()), "分页");
  }
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;
  errno = 0;
  const lxw_error error = workbook_close(workbook);
  const int systemError = errno;
  if (error != LXW_NO_ERROR) throw ExportError("无法保存文件“" + shownPath_ + "”：" + SaveFailureReason(error, systemError));
  CheckWrittenWorkbook(target_, scratchFolder_);
}

void ExcelWorksheetWriter::SetRowHeight(int row, double height) {
  Check(worksheet_set_row(worksheet_, static_cast<lxw_row_t>(row - 1), height, nullptr), "行高");
}

void ExcelWorksheetWriter::Check(int error, const char* what) const {
  if (error != LXW_NO_ERROR) {
    throw ExportError(std::string("无法写入工作簿“") + shownPath_ + "”（" + what +
                      "）：" + LibraryReason(static_cast<lxw_error>(error)));
  }
}

// The library can start a workbook with a sheet. Nothing is written: a
// workbook reaches the disk only when it is closed, and this one is freed.
bool CheckExcel() {
  lxw_workbook* workbook = workbook_new("numbrook-check.xlsx");
  if (workbook == nullptr) return false;
  const bool works = workbook_add_worksheet(workbook, nullptr) != nullptr;
  lxw_workbook_free(workbook);
  return works;
}

}  // namespace numbrook
