#include "files/set_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "files/export_error.h"
#include "files/pending_file.h"

namespace numbrook {
namespace {

bool SameFile(int descriptor, const std::filesystem::path& name) {
  struct stat opened {}, named {};
  return fstat(descriptor, &opened) == 0 && stat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

}  // namespace

std::filesystem::path SetLock::LockFileOf(const std::filesystem::path& setName) {
  std::string name = ".numbrook-" + setName.filename().string() + ".lock";
  // A name past the file system's limit stands for the set by its hash.
  if (name.size() > 200) name = ".numbrook-" + std::to_string(std::hash<std::string>{}(setName.filename())) + ".lock";
  return FolderOf(setName) / name;
}

SetLock::SetLock(const std::filesystem::path& setName) : lockFile_(LockFileOf(setName)) {
  const std::filesystem::path folder = FolderOf(setName);
  RemoveStaleHiddenFiles(folder);
  // The lock is the file at the name while we hold it: a file that another
  // run removed just before we locked it is no lock, so we try again.
  for (int attempt = 0; attempt < 100; ++attempt) {
    int descriptor = open(lockFile_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    int error = errno;
    // Another user's lock file in a sticky folder may be opened, not created.
    if (descriptor < 0 && error == EACCES) {
      descriptor = open(lockFile_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      if (descriptor < 0 && errno == ENOENT) continue;  // removed meanwhile
      error = errno;
    }
    if (descriptor < 0) {
      throw ExportError("无法创建文件“" + setName.string() + "”（文件夹“" + folder.string() + "”）：" +
                        std::strerror(error));
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      close(descriptor);
      if (error == EWOULDBLOCK) {
        throw ExportError("另一次运行正在写入“" + setName.string() + "”，本次没有写入任何文件；请等它结束后再试");
      }
      // A file system without locks: the run goes on unguarded.
      return;
    }
    const TerminationSignalsHeld held;
    if (SameFile(descriptor, lockFile_)) {
      descriptor_ = descriptor;
      removed_.Set(lockFile_);
      return;
    }
    close(descriptor);
  }
  throw ExportError("无法锁定“" + setName.string() + "”：锁文件“" + lockFile_.string() + "”不断被替换");
}

SetLock::~SetLock() {
  if (descriptor_ < 0) return;
  // Removed while still held, so no other run holds a lock on it.
  const TerminationSignalsHeld held;
  unlink(lockFile_.c_str());
  removed_.Clear();
  close(descriptor_);
}

}  // namespace numbrook
