#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "generation/run_request.h"

namespace numbrook {

// What the command line asks for: the run, and how to deliver it.
struct SheetOptions {
  RunRequest request;
  std::optional<std::filesystem::path> output;
  bool open = false;
  bool answers = false;           // an answer key beside each sheet
  std::optional<int> sheets;      // a class set of numbered sheets
  bool distinct = false;          // no problem twice on a sheet
  bool help = false;
  bool version = false;
};

// Reads the arguments (without the program name). Throws std::invalid_argument
// with a message for the user on an unknown or ambiguous option, a bad number
// or a combination the window does not offer.
SheetOptions ParseSheetOptions(const std::vector<std::string>& arguments);

const std::string& SheetUsage();

}  // namespace numbrook
