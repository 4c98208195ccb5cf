#include "window_support/x_session.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace numbrook::testing {
namespace {

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Starts a program with its output discarded and extra environment entries;
// a descriptor to hand it becomes its descriptor 3.
pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment,
            int handed = -1) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> environment(extraEnvironment);
  for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (handed >= 0) posix_spawn_file_actions_adddup2(&actions, handed, 3);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

// Up to 10 seconds for the server to take connections; false when it ends first.
bool WaitForServer(const std::string& display, pid_t server) {
  for (int i = 0; i < 200; ++i) {
    if (waitpid(server, nullptr, WNOHANG) == server) return false;
    if (Display* connection = XOpenDisplay(display.c_str())) {
      XCloseDisplay(connection);
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// Asks a process to end, and kills it if it has not within two seconds.
void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 40; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace

XSession::XSession() {
  for (const char* program : {"Xvfb", "openbox"}) {
    if (!OnPath(program)) {
      missing_ = std::string(program) + " is not installed (Debian packages xvfb and openbox)";
      return;
    }
  }
  // The server picks a free display number itself and writes it to us.
  int number[2];
  if (pipe2(number, O_CLOEXEC) != 0) {
    missing_ = "no pipe for Xvfb's display number";
    return;
  }
  const pid_t server = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {}, number[1]);
  close(number[1]);
  std::string answer;
  pollfd ready{number[0], POLLIN, 0};
  for (char buffer[32]; server > 0 && poll(&ready, 1, 10000) == 1;) {
    const ssize_t got = read(number[0], buffer, sizeof buffer);
    if (got <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(got));
    if (answer.find('\n') != std::string::npos) break;
  }
  close(number[0]);
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == ' ')) answer.pop_back();
  if (server <= 0 || answer.empty() || !WaitForServer(":" + answer, server)) {
    if (server > 0) Stop(server);
    missing_ = "Xvfb did not start";
    return;
  }
  server_ = server;
  display_ = ":" + answer;
  manager_ = Spawn({"openbox"}, {"DISPLAY=" + display_});
  WaitForWindowManager();
}

XSession::~XSession() {
  if (connection_ != nullptr) XCloseDisplay(static_cast<Display*>(connection_));
  if (manager_ > 0) Stop(manager_);
  if (server_ > 0) Stop(server_);
}

XSession::Pointer XSession::PointerShown() {
  if (display_.empty()) return {};
  if (connection_ == nullptr) connection_ = XOpenDisplay(display_.c_str());
  if (connection_ == nullptr) return {};
  XFixesCursorImage* image = XFixesGetCursorImage(static_cast<Display*>(connection_));
  if (image == nullptr) return {};
  Pointer pointer{image->name != nullptr ? image->name : "",
                  std::vector<unsigned long>(image->pixels, image->pixels + image->width * image->height)};
  XFree(image);
  return pointer;
}

void XSession::PressAltWith(char letter) {
  if (display_.empty()) return;
  if (connection_ == nullptr) connection_ = XOpenDisplay(display_.c_str());
  auto* connection = static_cast<Display*>(connection_);
  if (connection == nullptr) return;
  const KeyCode alt = XKeysymToKeycode(connection, XK_Alt_L);
  const KeyCode key = XKeysymToKeycode(connection, XStringToKeysym(std::string(1, letter).c_str()));
  XTestFakeKeyEvent(connection, alt, True, CurrentTime);
  XTestFakeKeyEvent(connection, key, True, CurrentTime);
  XTestFakeKeyEvent(connection, key, False, CurrentTime);
  XTestFakeKeyEvent(connection, alt, False, CurrentTime);
  XFlush(connection);
}

// Up to 10 seconds for the window manager to manage windows: a probe
// window mapped now must be framed (reparented) by it.
void XSession::WaitForWindowManager() const {
  Display* connection = XOpenDisplay(display_.c_str());
  if (connection == nullptr) return;
  const Window probe = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, 10, 10, 0, 0, 0);
  XSelectInput(connection, probe, StructureNotifyMask);
  XMapWindow(connection, probe);
  XFlush(connection);
  bool framed = false;
  for (int i = 0; i < 200 && !framed; ++i) {
    while (XPending(connection) > 0) {
      XEvent event;
      XNextEvent(connection, &event);
      if (event.type == ReparentNotify) framed = true;
    }
    if (!framed) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XDestroyWindow(connection, probe);
  XCloseDisplay(connection);
}

}  // namespace numbrook::testing
