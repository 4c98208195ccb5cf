#include "files/stale_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

namespace numbrook {
namespace {

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string suffix;
  for (int i = 0; i < 8; ++i) suffix += kLetters[pick(random)];
  return suffix;
}

bool SameFile(int descriptor, int folder, const char* name) {
  struct stat opened {}, named {};
  return fstat(descriptor, &opened) == 0 && fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A scratch folder's files, then the folder; its own files are plain files.
void RemoveFolder(int parent, const char* name) {
  const int descriptor = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) return;
  if (DIR* listing = fdopendir(dup(descriptor))) {
    while (const dirent* entry = readdir(listing)) {
      const std::string file = entry->d_name;
      if (file != "." && file != "..") unlinkat(descriptor, entry->d_name, 0);
    }
    closedir(listing);
  }
  close(descriptor);
  unlinkat(parent, name, AT_REMOVEDIR);
}

}  // namespace

std::filesystem::path HiddenName(const std::filesystem::path& folder, const char* ending) {
  return folder / (kHiddenPrefix + RandomSuffix() + ending);
}

bool ClaimHidden(int descriptor, const std::filesystem::path& name) {
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
  // The name must still be ours: a clean-up between its making and our
  // lock may have taken it.
  struct stat opened {}, named {};
  return fstat(descriptor, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

void RemoveStaleHiddenFiles(const std::filesystem::path& folder) {
  const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  DIR* listing = fdopendir(descriptor);
  if (listing == nullptr) {
    close(descriptor);
    return;
  }
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    const bool part = name.ends_with(".part"), scratch = name.ends_with(".scratch"), lock = name.ends_with(".lock");
    if (!name.starts_with(kHiddenPrefix) || !(part || scratch || lock)) continue;
    struct stat found {};
    if (fstatat(descriptor, entry->d_name, &found, AT_SYMLINK_NOFOLLOW) != 0 || found.st_uid != geteuid()) continue;
    if (scratch ? !S_ISDIR(found.st_mode) : !S_ISREG(found.st_mode)) continue;
    // Only what no run holds, removed while we hold it; an older run's lock
    // file of a set is swept the same way.
    const int held = openat(descriptor, entry->d_name,
                            (scratch ? O_RDONLY | O_DIRECTORY : O_RDONLY | O_NONBLOCK) | O_NOFOLLOW | O_CLOEXEC);
    if (held < 0) continue;
    if (flock(held, LOCK_EX | LOCK_NB) == 0 && SameFile(held, descriptor, entry->d_name)) {
      if (scratch) {
        RemoveFolder(descriptor, entry->d_name);
      } else {
        unlinkat(descriptor, entry->d_name, 0);
      }
    }
    close(held);
  }
  closedir(listing);
}

}  // namespace numbrook
