#pragma once

#include <sys/mount.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files_support/temp_folder.h"

namespace numbrook::testing {

// A folder that is its own small disk (a tmpfs of the given size), where
// the kernel lets us mount one (as root); ok() says whether it is there.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& size) {
    const std::string options = "size=" + size + ",mode=0777";
    mounted_ = mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool ok() const { return mounted_; }
  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  TempFolder folder_;
  bool mounted_ = false;
};

// A folder made read-only by a read-only bind mount over itself, which holds
// even for root. Files put in with Prepare() before Seal() stay readable.
class ReadOnlyFolder {
 public:
  const std::filesystem::path& path() const { return folder_.path(); }
  bool Seal() {
    if (mount(path().c_str(), path().c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
    sealed_ = true;
    return mount(nullptr, path().c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
  }
  ~ReadOnlyFolder() {
    if (sealed_) umount2(path().c_str(), MNT_DETACH);
  }

 private:
  TempFolder folder_;
  bool sealed_ = false;
};

// The names in a folder, for "nothing else was left behind".
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace numbrook::testing
