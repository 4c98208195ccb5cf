#include "files/pending_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "files/export_error.h"
#include "files/stale_files.h"

namespace numbrook {
namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "是一个文件夹";
  if (S_ISFIFO(mode)) return "是一个管道（FIFO）";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "是一个设备";
  if (S_ISSOCK(mode)) return "是一个套接字";
  return nullptr;
}

std::filesystem::path DescriptorPath(int descriptor) { return "/proc/self/fd/" + std::to_string(descriptor); }

// A link through /proc (as /dev/stdout is) names whatever a process has
// open: never a place for a new file.
bool LinksIntoProcessFiles(const std::filesystem::path& file) {
  std::filesystem::path hop = file;
  for (int depth = 0; depth < 40; ++depth) {
    char target[PATH_MAX];
    const ssize_t length = readlink(hop.c_str(), target, sizeof target - 1);
    if (length < 0) return false;
    const std::filesystem::path next(std::string(target, static_cast<std::size_t>(length)));
    if (next.string().starts_with("/proc/")) return true;
    hop = next.is_absolute() ? next : FolderOf(hop) / next;
  }
  return false;
}

}  // namespace

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

PendingFile::PendingFile(std::filesystem::path finalPath) : finalPath_(std::move(finalPath)) {
  struct stat older {};
  bool hasOlder = false;
  if (lstat(finalPath_.c_str(), &older) == 0) {
    if (S_ISLNK(older.st_mode) && LinksIntoProcessFiles(finalPath_)) {
      throw ExportError("无法写入“" + finalPath_.string() + "”：它是指向进程已打开文件的链接，不是普通文件");
    }
    // A link is followed to decide; a dangling one is as no file.
    hasOlder = stat(finalPath_.c_str(), &older) == 0;
    if (hasOlder) {
      if (const char* kind = KindOf(older.st_mode)) {
        throw ExportError("无法写入“" + finalPath_.string() + "”：它" + kind + "，不是普通文件");
      }
    }
  } else if (errno != ENOENT) {
    throw ExportError("无法写入“" + finalPath_.string() + "”：" + ReasonOf(errno));
  }

  const std::filesystem::path folder = FolderOf(finalPath_);
  OpenUnnamed(folder);
  if (descriptor_ < 0) OpenHidden(folder);
  if (hasOlder) KeepOwnership(older);
}

// A file without a name cannot be left behind by any kill. It needs a
// file system that makes one and /proc to give it a name at the end.
void PendingFile::OpenUnnamed(const std::filesystem::path& folder) {
  const int descriptor = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    const int error = errno;
    if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) return;  // the file system has none
    throw ExportError("无法创建文件“" + finalPath_.string() + "”（文件夹“" + folder.string() + "”）：" + ReasonOf(error));
  }
  const std::filesystem::path named = DescriptorPath(descriptor);
  if (access(named.c_str(), F_OK) != 0) {
    close(descriptor);
    return;
  }
  // Held while we live, so that a hidden name it gets at the end is never
  // taken for a killed run's.
  flock(descriptor, LOCK_EX);
  descriptor_ = descriptor;
  workingPath_ = named;
  unnamed_ = true;
}

void PendingFile::OpenHidden(const std::filesystem::path& folder) {
  // A new name each try; O_EXCL refuses any name that exists, a link included.
  int error = EEXIST;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = HiddenName(folder, ".part");
    const TerminationSignalsHeld held;  // no signal between the file and its registration
    const int descriptor = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor >= 0 && ClaimHidden(descriptor, candidate)) {
      descriptor_ = descriptor;
      hiddenName_.Set(candidate);
      workingPath_ = candidate;
      return;
    }
    error = descriptor >= 0 ? EEXIST : errno;
    if (descriptor >= 0) close(descriptor);
    if (error != EEXIST) break;
  }
  throw ExportError("无法创建文件“" + finalPath_.string() + "”（文件夹“" + folder.string() + "”）：" + ReasonOf(error));
}

// A rewritten sheet keeps who may read it: its mode and group (and, for
// root, its owner). A group we cannot give the file is not opened to ours.
void PendingFile::KeepOwnership(const struct ::stat& older) {
  mode_t mode = older.st_mode & 0777;
  const uid_t owner = geteuid() == 0 ? older.st_uid : static_cast<uid_t>(-1);
  if (fchown(descriptor_, owner, older.st_gid) != 0) mode &= ~static_cast<mode_t>(070);
  fchmod(descriptor_, mode);
}

PendingFile::~PendingFile() {
  if (descriptor_ >= 0) close(descriptor_);
  if (!placed_ && !unnamed_ && !workingPath_.empty()) unlink(workingPath_.c_str());
}

void PendingFile::Commit() {
  if (fsync(descriptor_) != 0) throw ExportError("无法写完文件“" + finalPath_.string() + "”：" + ReasonOf(errno));
  Place();
}

void PendingFile::StartWriteback() const {
  // A hint only: a failure shows in the flush that follows.
  sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void PendingFile::Place() {
  const auto fail = [&](int error) {
    throw ExportError("无法保存文件“" + finalPath_.string() + "”：" + ReasonOf(error));
  };
  // No signal between a hidden name and its rename, nor between the rename
  // and forgetting the hidden name.
  const TerminationSignalsHeld held;
  if (unnamed_) {
    // The name at once when there is none yet; else a hidden name first,
    // renamed over the older file so that it is replaced in one step.
    if (linkat(AT_FDCWD, workingPath_.c_str(), AT_FDCWD, finalPath_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno != EEXIST) fail(errno);
      const std::filesystem::path folder = FolderOf(finalPath_);
      std::filesystem::path hidden;
      for (int attempt = 0; attempt < 100 && hidden.empty(); ++attempt) {
        const std::filesystem::path candidate = HiddenName(folder, ".part");
        if (linkat(AT_FDCWD, workingPath_.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
          hidden = candidate;
        } else if (errno != EEXIST) {
          fail(errno);
        }
      }
      if (hidden.empty()) fail(EEXIST);
      if (rename(hidden.c_str(), finalPath_.c_str()) != 0) {
        const int error = errno;
        unlink(hidden.c_str());
        fail(error);
      }
    }
  } else {
    if (rename(workingPath_.c_str(), finalPath_.c_str()) != 0) fail(errno);
    hiddenName_.Clear();
  }
  placed_ = true;
}


}  // namespace numbrook
