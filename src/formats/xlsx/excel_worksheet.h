#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/pending_file.h"
#include "formats/xlsx/excel_page_plan.h"
#include "sheet/sheet_layout.h"
#include "sheet/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace numbrook {

// The spreadsheet worksheet, built with libxlsxwriter as an Office Open XML
// workbook: one sheet "题目列表" with a fixed page set-up, nine columns per
// problem slot, one row per line of problems, the optional column form in
// the rows under each line, a thin spacer row at the top of every page and a
// manual page break after every full page. Each line's cells are built in
// memory with their final text and format and written once, in row order,
// when the line ends.
class ExcelWorksheetWriter final : public WorksheetWriter {
 public:
  // Writes into the pending file, with the library's scratch files in the
  // given folder; messages name its final path.
  ExcelWorksheetWriter(const PendingFile& target, const GenerationSettings& settings, SheetKind kind,
                       const std::filesystem::path& scratch);
  ~ExcelWorksheetWriter() override;
  ExcelWorksheetWriter(const ExcelWorksheetWriter&) = delete;
  ExcelWorksheetWriter& operator=(const ExcelWorksheetWriter&) = delete;

  PageShape Shape(const SheetLayout& problems) override;  // 25 lines a page, 8 or 7 with the column form, fewer lying
  void Open(const SheetLayout& layout) override;      // the workbook, its page set-up and column grid
  void StartLine(const SheetLine& line, bool firstOnPage) override;  // the row bookkeeping before a line
  void WriteProblem(int position, const SheetProblem& problem) override;  // into the line being built
  void EndLine(bool lastOnPage) override;             // the line's cells, then the page rule
  void Finish() override;                             // the page breaks; the workbook is saved
  std::vector<std::string> Notices() const override;  // fewer problems a line than asked

 private:
  enum class Align { Column, Left, Right };
  // A cell of the line being built.
  enum class Bracket { None, Opening, Closing };
  struct Cell {
    std::string text;
    Align align = Align::Column;
    bool rule = false;    // the thin top border over a column-form result
    bool answer = false;  // an answer key's value in a blank: bold, red and underlined
    bool writingLine = false;  // the thin bottom border of a working line
    Bracket bracket = Bracket::None;  // one before or after the number, in the bracket's font
    bool set = false;
  };
  // The sheet's few formats, made once when the workbook opens.
  struct Formats {
    lxw_format* numberColumn = nullptr;   // 9 points, bold italic, centred
    lxw_format* problemNumber = nullptr;  // the same, the number kept as text: " 7. "
    lxw_format* term = nullptr;           // 12 points, centred
    lxw_format* operatorLeft = nullptr;   // column form: the operators
    lxw_format* ruleLeft = nullptr;       // a division frame's bracket, under its line
    lxw_format* valueRight = nullptr;     // column form: the numbers
    lxw_format* rule = nullptr;           // column form: the rule over the result
    lxw_format* ruleRight = nullptr;      // the rule over the result's number
    // An answer key's values, in bold red and underlined (for a grey
    // print), in each look a blank can have.
    lxw_format* termAnswer = nullptr;
    lxw_format* valueRightAnswer = nullptr;
    lxw_format* ruleRightAnswer = nullptr;
    // The working lines (脱式) under a problem, and a key's working on them.
    lxw_format* writingLine = nullptr;
    lxw_format* writingLineAnswer = nullptr;
    // The parts of a number with a bracket: the bracket, the digits.
    lxw_format* bracketPart = nullptr;
    lxw_format* digitsPart = nullptr;
  };

  void CreateFormats();
  void SetUpPage();
  void FormatColumns();
  void SetRowHeight(int row, double height);
  void WriteColumnForm(int slot, const ColumnForm& form);
  void WriteDivisionFrame(int g, const DivisionFrame& frame);
  void WriteWorking(int slot, const SheetProblem& problem);
  int WriteBracketed(unsigned row, unsigned short column, const Cell& cell, lxw_format* format);
  Cell& At(int row, int column);
  void Place(int row, int valueColumn, int closingColumn, const SheetCell& value);
  void WriteLineCells();
  lxw_format* FormatOf(const Cell& cell, bool numberColumn) const;
  void Check(int error, const char* what) const;

  const PendingFile& target_;
  std::string shownPath_;      // the final path, for messages
  std::string scratchFolder_;  // the library's own temporary files
  const GenerationSettings& settings_;
  SheetKind kind_;
  ExcelPagePlan page_;
  const SheetLayout* layout_ = nullptr;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* worksheet_ = nullptr;
  Formats formats_;
  int colsPerProblem_ = 9;  // a slot's columns: 11 with remainders
  std::vector<Cell> line_;  // rows of the line (the line row and its column form) by columns
  int lineRows_ = 1;
  int lineColumns_ = 0;
  std::vector<unsigned> pageBreaks_;

  int currentRow_ = 0;       // R, counted from 1: the line row once the line has started
};

// True when the spreadsheet writer can run here. It writes no file: whether
// the destination can be written is the export's own question.
bool CheckExcel();

}  // namespace numbrook
