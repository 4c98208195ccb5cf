#pragma once

#include <filesystem>

namespace numbrook {

// Where the window puts its sheets, to last past a reboot: "Numbrook" in
// the user's documents folder (what `xdg-user-dir DOCUMENTS` answers, else
// ~/Documents), made when missing. Throws ExportError naming the folder
// when it cannot be made.
std::filesystem::path WindowSheetFolder();

// The two halves of that: the documents folder, which a window asks for
// once, and "Numbrook" in it, made when missing.
std::filesystem::path DocumentsFolder();
std::filesystem::path SheetFolderIn(const std::filesystem::path& documents);

}  // namespace numbrook
