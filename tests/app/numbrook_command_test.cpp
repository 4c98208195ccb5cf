// numbrook before its window: --help, --version and a missing display.
#include <gtest/gtest.h>

#include "cli_support/run_program.h"

namespace numbrook::testing {
namespace {

// No display of any kind: the variables a desktop session sets are removed.
constexpr const char* kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";

Outcome RunNumbrook(const std::string& arguments, const std::string& environment = kNoDisplay) {
  return RunProgram(NUMBROOK_PROGRAM, arguments, environment);
}

TEST(NumbrookCommand, HelpAndVersionNeedNoDisplay) {
  for (const char* option : {"--version", "-V"}) {
    const Outcome run = RunNumbrook(option);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "numbrook 1.3.6\n");
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
  const Outcome run = RunNumbrook("", std::string(kNoDisplay) + " DISPLAY=:97");
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("needs a graphical desktop"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace numbrook::testing
