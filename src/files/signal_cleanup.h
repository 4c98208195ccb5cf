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
  void Clear();

  // Installs the handler for SIGINT, SIGTERM, SIGHUP and SIGQUIT, each only
  // when it was not ignored (nohup ignores SIGHUP, a background shell job
  // SIGINT and SIGQUIT), and ignores SIGXFSZ so that a write past the file
  // size limit fails with EFBIG and reaches the error path.
  static void InstallHandlers();

 private:
  char name_[4096] = {};
  RemovedOnSignal* previous_ = nullptr;
  RemovedOnSignal* next_ = nullptr;
  friend void RemoveNamesAndReraise(int signal);
};

// Holds back the termination signals for its lifetime, so that steps that
// belong together (a sheet and its key put in place) are not cut apart by
// one; a signal that came meanwhile is acted on at the end.
class TerminationSignalsHeld {
 public:
  TerminationSignalsHeld();
  ~TerminationSignalsHeld();
  TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
  TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace numbrook
