#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "generation/control_state.h"

namespace numbrook {

// What the command line asks for: the window's controls, and how to run.
struct SheetOptions {
  ControlState controls;
  std::optional<std::uint64_t> seed;
  std::optional<std::filesystem::path> output;
  bool open = false;
  bool answers = false;           // an answer key beside each sheet
  std::optional<int> sheets;      // a class set of numbered sheets
  bool distinct = false;          // no problem twice on a sheet
  bool help = false;
  bool version = false;
};

// Reads the arguments (without the program name). Throws std::invalid_argument
// with a message for the user on an unknown option, a bad number or a
// combination the window does not offer.
SheetOptions ParseSheetOptions(const std::vector<std::string>& arguments);

const char* SheetUsage();

}  // namespace numbrook
