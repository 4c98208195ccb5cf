#pragma once

#include <filesystem>

namespace numbrook {

// Throws ExportError naming the file when the process cannot open the few
// files a sheet needs (its own, the libraries' scratch and font files): the
// true reason, where the libraries would fail with a guess of their own.
void RequireSpareDescriptors(const std::filesystem::path& file);

}  // namespace numbrook
