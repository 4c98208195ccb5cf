#include "export/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <string>

#include "export/worksheet_writer.h"

namespace numbrook {
namespace {

// The hidden file of the pending file of the moment, for the signal handler:
// a fixed buffer, since a handler may not allocate.
char signalledPath[4096];
std::atomic<bool> signalledPathSet{false};

void RemoveAndReraise(int signal) {
  if (signalledPathSet.load()) unlink(signalledPath);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::string Reason(int error) { return std::strerror(error); }

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "是一个文件夹";
  if (S_ISFIFO(mode)) return "是一个管道（FIFO）";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "是一个设备";
  if (S_ISSOCK(mode)) return "是一个套接字";
  return nullptr;
}

// A folder of "" means the working folder.
std::filesystem::path FolderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string suffix;
  for (int i = 0; i < 8; ++i) suffix += kLetters[pick(random)];
  return suffix;
}

}  // namespace

PendingFile::PendingFile(std::filesystem::path finalPath) : finalPath_(std::move(finalPath)) {
  struct stat existing {};
  if (lstat(finalPath_.c_str(), &existing) == 0) {
    if (const char* kind = KindOf(existing.st_mode)) {
      throw ExportError("无法写入“" + finalPath_.string() + "”：它" + kind + "，不是普通文件");
    }
  } else if (errno != ENOENT) {
    throw ExportError("无法写入“" + finalPath_.string() + "”：" + Reason(errno));
  }

  // A new name each try; O_EXCL refuses any name that exists, a link included.
  const std::filesystem::path folder = FolderOf(finalPath_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = folder / (".numbrook-" + RandomSuffix() + ".part");
    descriptor_ = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor_ >= 0) {
      workingPath_ = candidate;
      break;
    }
    if (errno != EEXIST) break;
  }
  if (descriptor_ < 0) {
    throw ExportError("无法创建文件“" + finalPath_.string() + "”（文件夹“" + folder.string() + "”）：" + Reason(errno));
  }

  const std::string working = workingPath_.string();
  if (working.size() < sizeof signalledPath) {
    signalledPathSet = false;
    std::memcpy(signalledPath, working.c_str(), working.size() + 1);
    signalledPathSet = true;
  }
}

PendingFile::~PendingFile() {
  signalledPathSet = false;
  if (descriptor_ >= 0) close(descriptor_);
  if (!committed_) unlink(workingPath_.c_str());
}

void PendingFile::Commit() {
  if (fsync(descriptor_) != 0) throw ExportError("无法写完文件“" + finalPath_.string() + "”：" + Reason(errno));
  if (rename(workingPath_.c_str(), finalPath_.c_str()) != 0) {
    throw ExportError("无法保存文件“" + finalPath_.string() + "”：" + Reason(errno));
  }
  committed_ = true;
  signalledPathSet = false;
  // The new name lasts a crash only once the folder is on the disk too.
  const int folder = open(FolderOf(finalPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
}

void PendingFile::RemoveOnTerminationSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveAndReraise);
}

}  // namespace numbrook
