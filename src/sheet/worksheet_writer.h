#pragma once

#include "generation/run_request.h"

namespace numbrook {

struct PageShape;
struct SheetLayout;
struct SheetLine;
struct SheetProblem;

// The five points at which the export run drives a worksheet writer through
// a laid-out sheet: open, then for every line its start, each of its
// problems and its end, then finish. Each throws ExportError when the file
// cannot be written.
class WorksheetWriter {
 public:
  virtual ~WorksheetWriter() = default;
  // How this format pages the problems, asked before the sheet is laid out.
  virtual PageShape Shape() const = 0;
  virtual void Open(const SheetLayout& layout) = 0;
  virtual void StartLine(const SheetLine& line, bool firstOnPage) = 0;
  virtual void WriteProblem(int position, const SheetProblem& problem) = 0;  // position 1.. on the line
  virtual void EndLine(bool lastOnPage) = 0;
  virtual void Finish() = 0;
};

}  // namespace numbrook
