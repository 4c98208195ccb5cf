#pragma once

#include <signal.h>

#include <filesystem>

namespace numbrook {

// A name on the disk that a termination signal removes before the process
// ends: a hidden file being written, or a lock file. Names are set and
// cleared with the signals blocked, so the handler never sees half a name.
class RemovedOnSignal {
 public:
  RemovedOnSignal();
  ~RemovedOnSignal();
  RemovedOnSignal(const RemovedOnSignal&) = delete;
  RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

  void Set(const std::filesystem::path& name);
  // A lock file that other runs may share: removed only when the whole of
  // it can be locked through the descriptor, so by no one else.
  void SetLockFile(const std::filesystem::path& name, int descriptor);
  // A folder of our own, removed when the signal finds it empty (a
  // library's scratch files are unlinked as soon as they are made).
  void SetFolder(const std::filesystem::path& name);
  void Clear();

  // Installs, for the whole process, the handler that removes the names of
  // the moment on SIGINT, SIGTERM, SIGHUP and SIGQUIT, each only when it was
  // not ignored (nohup ignores SIGHUP, a background shell job SIGINT and
  // SIGQUIT). For a program's main: the handler acts on whatever thread the
  // signal reaches, which is never a worker that blocks them (see
  // TerminationSignalsBlocked).
  static void InstallHandlers();

 private:
  char name_[4096] = {};
  int lockDescriptor_ = -1;
  bool folder_ = false;
  RemovedOnSignal* previous_ = nullptr;
  RemovedOnSignal* next_ = nullptr;
  friend void RemoveNamesAndReraise(int signal);
};

// Blocks the termination signals in this thread for its lifetime: threads
// started meanwhile inherit the mask and never take one, so the handler runs
// on the thread that started them, never in the middle of a worker's step.
class TerminationSignalsBlocked {
 public:
  TerminationSignalsBlocked();
  ~TerminationSignalsBlocked();
  TerminationSignalsBlocked(const TerminationSignalsBlocked&) = delete;
  TerminationSignalsBlocked& operator=(const TerminationSignalsBlocked&) = delete;

 private:
  sigset_t previous_;
};

// Holds back the termination signals for its lifetime, so that steps that
// belong together (a sheet and its key put in place) are not cut apart by
// one; a signal that came meanwhile is acted on at the end. Held steps of
// several threads take turns, and the handler waits for the one under way.
class TerminationSignalsHeld {
 public:
  TerminationSignalsHeld();
  ~TerminationSignalsHeld();
  TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
  TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

 private:
  TerminationSignalsBlocked blocked_;  // first in, last out: the step ends before a signal comes
};

}  // namespace numbrook
