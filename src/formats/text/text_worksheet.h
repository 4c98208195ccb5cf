#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "files/pending_file.h"
#include "sheet/sheet_layout.h"
#include "sheet/worksheet_writer.h"

namespace numbrook {

// The plain-text worksheet: UTF-8 or GBK as the locale or the run chooses, CR LF line ends, aligned with spaces for a
// fixed-pitch font. A header, the description, the problems in lines of
// PerRow, each line optionally followed by its problems in column form or by
// lines for their working (脱式), and the self-rating line at the bottom. It has no pages. Alignment counts the
// columns an editor gives each character in the file's encoding.
class TextWorksheetWriter final : public WorksheetWriter {
 public:
  // Writes into the pending file; messages name its final path.
  TextWorksheetWriter(const PendingFile& target, const GenerationSettings& settings);
  ~TextWorksheetWriter() override;
  TextWorksheetWriter(const TextWorksheetWriter&) = delete;
  TextWorksheetWriter& operator=(const TextWorksheetWriter&) = delete;

  PageShape Shape(const SheetLayout& problems) override;
  void Open(const SheetLayout& layout) override;      // the header and the description
  void StartLine(const SheetLine& line, bool firstOnPage) override;
  void WriteProblem(int position, const SheetProblem& problem) override;  // after the others of its line
  void EndLine(bool lastOnPage) override;             // the line, then its column form
  void Finish() override;                             // the self-rating line; the file is closed

 private:
  int Columns(const std::string& text) const;
  std::string PadLeft(const std::string& text, int columns) const;
  std::string PadRight(const std::string& text, int columns) const;
  std::string ItemOf(const SheetProblem& problem) const;
  std::string OperatorField(const std::string& sign) const;
  std::string TermField(const SheetCell& cell, bool opensBracket = false, bool closesBracket = false) const;
  std::string WorkingText(const WorkingLine& line) const;
  std::string DigitCell(const SheetCell& cell, int places) const;
  std::vector<std::string> StackedRows(const ColumnForm& form) const;
  std::vector<std::string> DivisionRows(const ColumnForm& form) const;
  void WriteVerticalBlock();
  void WriteWorkingLines();
  void WriteLine(const std::string& text);
  [[noreturn]] void Fail(const char* what) const;

  const PendingFile& target_;
  int perRow_;
  TextEncoding encoding_;
  const SheetLayout* layout_ = nullptr;
  int operatorColumns_ = 1;  // the widest operator of the sheet
  int itemColumns_ = 0;      // the widest problem, when problems differ in width
  std::FILE* file_ = nullptr;
  std::string line_;
  std::vector<ColumnForm> vertical_;
  std::vector<const SheetProblem*> working_;  // the line's problems, for their working lines
};

}  // namespace numbrook
