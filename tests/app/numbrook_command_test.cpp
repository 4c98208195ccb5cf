// numbrook before its window: --help, --version and a missing display.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "program_identity.h"
#include "cli_support/run_program.h"

namespace numbrook::testing {
namespace {

// No display of any kind: the variables a desktop session sets are removed.
constexpr const char* kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";

// Whether a listening socket in /proc/net/<table> has this text in a line:
// an abstract unix socket's name, or a TCP port in hex.
bool ProcNetMentions(const char* table, const std::string& text) {
  std::ifstream listing(std::string("/proc/net/") + table);
  for (std::string line; std::getline(listing, line);) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

// A display number no X server answers on here: neither its socket file,
// nor its abstract socket, nor its TCP port (6000 + n, which X clients try
// after the sockets) is taken. Another program's display is never reached.
int FreeDisplayNumber() {
  for (int number = 1000; number < 1500; ++number) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    char port[8];
    std::snprintf(port, sizeof port, ":%04X ", 6000 + number);
    if (std::filesystem::exists(socket) || ProcNetMentions("unix", "@" + socket) ||
        ProcNetMentions("tcp", port) || ProcNetMentions("tcp6", port)) {
      continue;
    }
    return number;
  }
  ADD_FAILURE() << "no free display number between 1000 and 1499";
  return -1;
}

Outcome RunNumbrook(const std::string& arguments, const std::string& environment = kNoDisplay) {
  return RunProgram(NUMBROOK_PROGRAM, arguments, environment);
}

TEST(NumbrookCommand, HelpAndVersionNeedNoDisplay) {
  for (const char* option : {"--version", "-V"}) {
    const Outcome run = RunNumbrook(option);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("numbrook ") + numbrook::kVersionText + "\n");
  }
  for (const char* option : {"--help", "-h"}) {
    const Outcome run = RunNumbrook(option);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: numbrook ")) << run.out;
    EXPECT_NE(run.out.find("numbrook-sheet"), std::string::npos) << run.out;
  }
}

TEST(NumbrookCommand, WithoutADisplayItSaysSoAndPointsToTheCommandLine) {
  const Outcome run = RunNumbrook("");
  EXPECT_EQ(run.status, 1) << "not Qt's abort";
  EXPECT_NE(run.out.find("needs a graphical desktop"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("numbrook-sheet --format text"), std::string::npos) << run.out;
}

TEST(NumbrookCommand, AnUnreachableDisplayGetsTheSameMessage) {
  // A display that is named but has no server behind it.
  const std::string display = ":" + std::to_string(FreeDisplayNumber());
  const Outcome run = RunNumbrook("", std::string(kNoDisplay) + " DISPLAY=" + display);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("needs a graphical desktop"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace numbrook::testing
