#include "files/scratch_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/export_error.h"
#include "files/stale_files.h"

namespace numbrook {
namespace {

constexpr long kTmpfsMagic = 0x01021994;
// The largest workbook's scratch files take a few megabytes; a memory file
// system with less room than this is left to others.
constexpr unsigned long long kRoomNeeded = 64ull << 20;

// The user's writable memory file systems.
std::vector<std::filesystem::path> MemoryFolders() {
  std::vector<std::filesystem::path> folders;
  for (const char* candidate : {static_cast<const char*>(std::getenv("XDG_RUNTIME_DIR")), "/dev/shm"}) {
    if (candidate == nullptr || *candidate == '\0') continue;
    struct statfs filesystem {};
    if (statfs(candidate, &filesystem) == 0 && filesystem.f_type == kTmpfsMagic && access(candidate, W_OK | X_OK) == 0) {
      folders.emplace_back(candidate);
    }
  }
  return folders;
}

// The first of them with room enough.
std::filesystem::path MemoryFolder() {
  for (const std::filesystem::path& folder : MemoryFolders()) {
    struct statvfs room {};
    if (statvfs(folder.c_str(), &room) == 0 &&
        static_cast<unsigned long long>(room.f_bavail) * room.f_frsize >= kRoomNeeded) {
      return folder;
    }
  }
  return {};
}

void EmptyAndRemove(const std::filesystem::path& folder) {
  if (DIR* listing = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(listing)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder / name).c_str());
    }
    closedir(listing);
  }
  rmdir(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::filesystem::path& besideSheets) {
  std::filesystem::path parent = MemoryFolder();
  if (parent.empty()) parent = besideSheets;
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const std::filesystem::path candidate = HiddenName(parent, ".scratch");
    const TerminationSignalsHeld held;  // no signal between the folder and its registration
    if (mkdir(candidate.c_str(), 0700) != 0) {
      error = errno;
      if (error != EEXIST) break;
      continue;
    }
    const int descriptor = open(candidate.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor >= 0 && ClaimHidden(descriptor, candidate)) {
      descriptor_ = descriptor;
      path_ = candidate;
      removed_.SetFolder(candidate);
    } else if (descriptor >= 0) {
      close(descriptor);
    }
  }
  if (path_.empty()) {
    throw ExportError("无法在文件夹“" + parent.string() + "”中建立临时文件夹：" + ReasonOf(error));
  }
}

void RemoveStaleScratchFolders() {
  for (const std::filesystem::path& folder : MemoryFolders()) RemoveStaleHiddenFiles(folder);
}

ScratchFolder::~ScratchFolder() {
  const TerminationSignalsHeld held;
  EmptyAndRemove(path_);
  removed_.Clear();
  close(descriptor_);
}

}  // namespace numbrook
