#pragma once

#include <stdexcept>
#include <string>

namespace numbrook {

// A worksheet that could not be written: the message names the file and the
// reason, in words a teacher can act on.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A pupil's sheet has a box at each blank; its answer key, the same sheet
// with every blank's value in its box.
enum class SheetKind { Pupil, AnswerKey };

// The five points at which the export run drives a worksheet writer: open,
// then for every line its start, each of its problems and its end, then
// finish. Each throws ExportError when the file cannot be written.
class WorksheetWriter {
 public:
  virtual ~WorksheetWriter() = default;
  virtual void Open() = 0;
  virtual void StartLine() = 0;
  virtual void WriteProblem(int position, int row) = 0;  // position 1..PerRow on the line
  virtual void EndLine() = 0;
  virtual void Finish() = 0;
};

}  // namespace numbrook
