#pragma once

// What Debian's poppler-utils find in a PDF: the tools are run as they
// would be by hand, and their output is returned as text.
#include <cstdio>
#include <filesystem>
#include <string>

namespace numbrook::testing {

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

// The standard output of a shell command; empty when it could not run.
inline std::string OutputOf(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
    pclose(pipe);
  }
  return output;
}

// "pdfinfo", "pdffonts", "pdftotext -layout" ... on the file.
inline std::string Poppler(const std::string& tool, const std::filesystem::path& pdf, const std::string& tail = "") {
  return OutputOf(tool + " " + Quoted(pdf.string()) + " " + tail + " 2>/dev/null");
}

}  // namespace numbrook::testing
