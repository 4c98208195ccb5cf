#pragma once

#include <string>
#include <vector>

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
  // How this format pages the problems, asked once with the sheet's
  // problems laid out in lines of the asked count on one page.
  virtual PageShape Shape(const SheetLayout& problems) = 0;
  virtual void Open(const SheetLayout& layout) = 0;
  virtual void StartLine(const SheetLine& line, bool firstOnPage) = 0;
  virtual void WriteProblem(int position, const SheetProblem& problem) = 0;  // position 1.. on the line
  virtual void EndLine(bool lastOnPage) = 0;
  virtual void Finish() = 0;
  // What this format prints otherwise than asked, in words for the user.
  virtual std::vector<std::string> Notices() const { return {}; }
};

// What writing one sheet came to: whether it was written to the end, and
// what the format printed otherwise than asked.
struct SheetWritten {
  bool complete = false;
  std::vector<std::string> notices;
  explicit operator bool() const { return complete; }
};

// What the user is told when fewer problems stand on a line than asked.
inline std::string FewerPerLineNotice(int perLine) {
  const std::string count = std::to_string(perLine);
  return "每行最多能排 " + count + " 题，已按每行 " + count + " 题排版";
}

}  // namespace numbrook
