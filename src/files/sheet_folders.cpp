#include "files/sheet_folders.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

#include "files/export_error.h"

extern char** environ;

namespace numbrook {
namespace {

constexpr const char* kProgramFolderName = "Numbrook";

// The user's home: $HOME, else the password database's entry.
std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// What `xdg-user-dir DOCUMENTS` prints, without its newline; nothing when
// it is missing, fails, says nothing or takes longer than two seconds.
std::optional<std::filesystem::path> AskXdgUserDir() {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("xdg-user-dir"), const_cast<char*>("DOCUMENTS"), nullptr};
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, "xdg-user-dir", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return std::nullopt;
  }
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  bool timedOut = false;
  for (char buffer[4096];;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{out[0], POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) == 0) {
      timedOut = true;
      break;
    }
    const ssize_t got = read(out[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || answer.size() > 65536) break;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
  close(out[0]);
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  while (!answer.empty() && answer.back() == '\n') answer.pop_back();
  if (answer.empty() || answer.front() != '/') return std::nullopt;
  return std::filesystem::path(answer);
}

}  // namespace

std::filesystem::path DocumentsFolder() {
  if (std::optional<std::filesystem::path> named = AskXdgUserDir()) return *named;
  return HomeFolder() / "Documents";
}

std::filesystem::path WindowSheetFolder() { return SheetFolderIn(DocumentsFolder()); }

std::filesystem::path SheetFolderIn(const std::filesystem::path& documents) {
  const std::filesystem::path folder = documents / kProgramFolderName;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    throw ExportError("无法建立文件夹“" + folder.string() + "”：" + ReasonOf(error ? error.value() : ENOTDIR));
  }
  return folder;
}

}  // namespace numbrook
