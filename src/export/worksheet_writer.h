#pragma once

#include <stdexcept>
#include <string>

#include "generation/run_request.h"

namespace numbrook {

// A worksheet that could not be written: the message names the file and the
// reason, in words a teacher can act on.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
