#pragma once

#include <filesystem>

namespace numbrook {

// What a run keeps beside the sheets while it works: ".numbrook-XXXXXXXX.part"
// for a file being written and ".numbrook-XXXXXXXX.scratch" for a library's
// scratch folder. The run holds a lock (flock) on each while it lives, so
// one that ended without cleaning up, by a kill that no handler sees,
// leaves only unlocked ones behind.
inline constexpr const char* kHiddenPrefix = ".numbrook-";

// A new hidden name in the folder with the given ending (".part").
std::filesystem::path HiddenName(const std::filesystem::path& folder, const char* ending);

// Takes the lock on a hidden file or folder just made under `name`: false
// when another run's clean-up removed it first, and a new one is to be made.
bool ClaimHidden(int descriptor, const std::filesystem::path& name);

// Removes this user's hidden files and scratch folders that no run holds.
void RemoveStaleHiddenFiles(const std::filesystem::path& folder);

}  // namespace numbrook
