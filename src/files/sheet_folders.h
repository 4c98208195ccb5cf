#pragma once

#include <filesystem>

namespace numbrook {

// Where the window puts its sheets, to last past a reboot: "Numbrook" in
// the user's documents folder (what `xdg-user-dir DOCUMENTS` answers, else
// ~/Documents), made when missing. Throws ExportError naming the folder
// when it cannot be made.
std::filesystem::path WindowSheetFolder();

}  // namespace numbrook
