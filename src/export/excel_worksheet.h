#pragma once

#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "export/pending_file.h"
#include "export/worksheet_writer.h"
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
// manual page break after every full page.
class ExcelWorksheetWriter final : public WorksheetWriter {
 public:
  // Writes into the pending file; messages name its final path. The table is
  // changed in place: its blank markers become the blank box.
  ExcelWorksheetWriter(const PendingFile& target, const GenerationSettings& settings, ProblemTable& table);
  ~ExcelWorksheetWriter() override;
  ExcelWorksheetWriter(const ExcelWorksheetWriter&) = delete;
  ExcelWorksheetWriter& operator=(const ExcelWorksheetWriter&) = delete;

  void BeginWorkbook();
  void StartLine() override;
  void WriteProblem(int slot, int row);
  void WriteVerticalBlock(int slot, int row);
  void EndLine() override;
  void FinishWorkbook();

 private:
  enum class Align { Column, Left, Right };
  struct CellState {
    std::string text;
    Align align = Align::Column;
    bool topBorder = false;
  };
  struct FormatKey {
    bool numberColumn;
    bool textFormat;  // the cell's number format is "@"
    Align align;
    bool topBorder;
    auto operator<=>(const FormatKey&) const = default;
  };

  void Open() override { BeginWorkbook(); }
  void AddProblem(int position, int row) override { WriteProblem(position, row); }
  void Finish() override { FinishWorkbook(); }

  void SetUpPage();
  void FormatColumns();
  void SetRowHeight(int row, double height);
  void SetCell(int row, int column, const std::string& text);
  void SetAlignment(int row, int column, Align align);
  void SetTopBorder(int row, int column);
  void Place(int row, int valueColumn, int closingColumn, const std::string& value);
  void Flush(int row, int column);
  lxw_format* FormatFor(const FormatKey& key);
  bool IsNumberColumn(int column) const;
  void Check(int error, const char* what) const;

  const PendingFile& target_;
  std::string shownPath_;      // the final path, for messages
  std::string scratchFolder_;  // the library's own temporary files go beside the worksheet
  const GenerationSettings& settings_;
  ProblemTable& table_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* worksheet_ = nullptr;
  std::map<FormatKey, lxw_format*> formats_;
  std::map<std::pair<int, int>, CellState> lineCells_;  // the cells of the line being written
  std::vector<unsigned> pageBreaks_;

  int currentRow_ = 0;       // R, counted from 1
  bool pageStart_ = true;
  int numbering_ = 0;        // N: the next problem gets N + 1
};

}  // namespace numbrook
