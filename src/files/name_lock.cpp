#include "files/name_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "files/export_error.h"
#include "files/stale_files.h"

namespace numbrook {
namespace {

// FNV-1a: the same place for a name in every run and every version.
off_t PlaceOf(const std::filesystem::path& name) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char ch : name.filename().string()) {
    hash ^= ch;
    hash *= 0x100000001b3ull;
  }
  return static_cast<off_t>(hash >> 2);  // a positive offset
}

bool SameFile(int descriptor, const std::filesystem::path& name) {
  struct stat opened {}, named {};
  return fstat(descriptor, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "一个文件夹";
  if (S_ISFIFO(mode)) return "一个管道（FIFO）";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "一个设备";
  if (S_ISSOCK(mode)) return "一个套接字";
  return "别的文件";
}

int LockByte(int descriptor, off_t start, off_t length) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  return fcntl(descriptor, F_OFD_SETLK, &lock);
}

}  // namespace

NameLock::NameLock(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& names)
    : lockFile_(folder / kFileName) {
  RemoveStaleHiddenFiles(folder);
  const std::string file = names.empty() ? folder.string() : names.front().string();
  const auto fail = [&](const std::string& reason) { throw ExportError("无法写入“" + file + "”：" + reason); };
  const auto notOurs = [&](const std::string& what) {
    fail("锁文件“" + lockFile_.string() + "”是" + what + "，不是本程序的锁文件");
  };
  // The lock is the file at the name while we hold it: a file that another
  // run removed just before we locked it is no lock, so we try again.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // No signal between making the file and knowing it as ours to remove.
    const TerminationSignalsHeld held;
    // Never blocks, never follows a link: a FIFO put at the name opens at
    // once and is then refused for what it is.
    int descriptor = open(lockFile_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      // Any user's run in a shared folder may lock it.
      fchmod(descriptor, 0666);
    } else if (errno == EEXIST) {
      descriptor = open(lockFile_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
      if (descriptor < 0 && errno == ENOENT) continue;  // removed meanwhile
    }
    if (descriptor < 0) {
      const int error = errno;
      if (error == ELOOP) notOurs("一个符号链接");
      struct stat existing {};
      if (lstat(lockFile_.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) notOurs(KindOf(existing.st_mode));
        fail("无法打开锁文件“" + lockFile_.string() + "”：" + ReasonOf(error));
      }
      if (lstat(folder.c_str(), &existing) != 0) fail("文件夹“" + folder.string() + "”" + ReasonOf(errno));
      fail("无法在文件夹“" + folder.string() + "”中建立锁文件：" + ReasonOf(error));
    }
    struct stat opened {};
    if (fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size != 0) {
      const std::string kind = S_ISREG(opened.st_mode) ? "一个有内容的文件" : KindOf(opened.st_mode);
      close(descriptor);
      notOurs(kind);
    }
    for (const std::filesystem::path& name : names) {
      if (LockByte(descriptor, PlaceOf(name), 1) == 0) continue;
      const int error = errno;
      close(descriptor);
      if (error == EAGAIN || error == EACCES) {
        throw ExportError("另一次运行正在写入“" + name.string() + "”，本次没有写入任何文件；请等它结束后再试");
      }
      return;  // a file system without locks: the run goes on unguarded
    }
    if (SameFile(descriptor, lockFile_)) {
      descriptor_ = descriptor;
      removed_.SetLockFile(lockFile_, descriptor_);
      return;
    }
    close(descriptor);
  }
  fail("锁文件“" + lockFile_.string() + "”不断被别的程序替换");
}

NameLock::~NameLock() {
  if (descriptor_ < 0) return;
  // The file goes with the last run that holds a name in it: only when the
  // whole file can be locked is no other run using it.
  const TerminationSignalsHeld held;
  if (LockByte(descriptor_, 0, 0) == 0) unlink(lockFile_.c_str());
  removed_.Clear();
  close(descriptor_);
}

}  // namespace numbrook
