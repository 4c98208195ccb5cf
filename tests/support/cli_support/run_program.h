#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace numbrook::testing {

struct Outcome {
  int status;       // the exit status, or -1 when the program did not exit
  std::string out;  // stdout, with stderr joined to it
};

// Runs a shell command line; environment is put before it ("TMPDIR=x").
inline Outcome RunProgram(const std::string& program, const std::string& arguments,
                          const std::string& environment = "") {
  const std::string command = environment + " '" + program + "' " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// A path quoted for the shell.
inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace numbrook::testing
