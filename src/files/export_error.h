#pragma once

#include <stdexcept>
#include <string>

namespace numbrook {

// A worksheet that could not be written: the message names the file and the
// reason, in words a teacher can act on.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // Out of line: the type is defined once, in the program, and the PDF
  // module throws the program's own.
  ~ExportError() override;
};

// The reason of a system error in the user's words, in Chinese whatever the
// locale: "磁盘空间不足" for ENOSPC, "文件过大" for EFBIG, and so on; the
// system's own text for a rare one.
std::string ReasonOf(int error);

}  // namespace numbrook
