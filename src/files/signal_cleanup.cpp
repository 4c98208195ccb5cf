#include "files/signal_cleanup.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <sched.h>

#include <atomic>
#include <cstring>

namespace numbrook {
namespace {

constexpr int kTerminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

RemovedOnSignal* first = nullptr;

// One thread at a time changes the names or takes a held step (a file
// made and registered, a pair named); the handler takes it too, and keeps
// it, so it never sees a step half done on another thread and no thread
// starts one after it has cleaned up. A spin lock: the handler may take it,
// and the thread that holds it has the signals blocked, so it is never the
// handler's own.
std::atomic_flag steps = ATOMIC_FLAG_INIT;
thread_local int heldDepth = 0;

void TakeSteps() {
  while (steps.test_and_set(std::memory_order_acquire)) sched_yield();
}

sigset_t TerminationSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kTerminationSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void RemoveNamesAndReraise(int signal) {
  TakeSteps();
  for (RemovedOnSignal* entry = first; entry != nullptr; entry = entry->next_) {
    if (entry->name_[0] == '\0') continue;
    if (entry->lockDescriptor_ >= 0) {
      struct flock whole {};
      whole.l_type = F_WRLCK;
      whole.l_whence = SEEK_SET;
      if (fcntl(entry->lockDescriptor_, F_OFD_SETLK, &whole) != 0) continue;
    }
    if (entry->folder_) {
      rmdir(entry->name_);
    } else {
      unlink(entry->name_);
    }
  }
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(signal, &standard, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
}

TerminationSignalsBlocked::TerminationSignalsBlocked() {
  const sigset_t set = TerminationSet();
  pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

TerminationSignalsBlocked::~TerminationSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

TerminationSignalsHeld::TerminationSignalsHeld() {
  if (heldDepth++ == 0) TakeSteps();
}

TerminationSignalsHeld::~TerminationSignalsHeld() {
  if (--heldDepth == 0) steps.clear(std::memory_order_release);
}

RemovedOnSignal::RemovedOnSignal() {
  const TerminationSignalsHeld held;
  next_ = first;
  if (first != nullptr) first->previous_ = this;
  first = this;
}

RemovedOnSignal::~RemovedOnSignal() {
  const TerminationSignalsHeld held;
  if (previous_ != nullptr) previous_->next_ = next_;
  if (next_ != nullptr) next_->previous_ = previous_;
  if (first == this) first = next_;
}

void RemovedOnSignal::Set(const std::filesystem::path& name) {
  const std::string text = name.string();
  const TerminationSignalsHeld held;
  // A name too long for the buffer is not removed by a signal; the stale
  // file clean-up of a later run takes it.
  if (text.size() >= sizeof name_) {
    name_[0] = '\0';
    return;
  }
  std::memcpy(name_, text.c_str(), text.size() + 1);
  lockDescriptor_ = -1;
  folder_ = false;
}

void RemovedOnSignal::SetFolder(const std::filesystem::path& name) {
  const TerminationSignalsHeld held;
  Set(name);
  folder_ = true;
}

void RemovedOnSignal::SetLockFile(const std::filesystem::path& name, int descriptor) {
  const TerminationSignalsHeld held;
  Set(name);
  lockDescriptor_ = descriptor;
}

void RemovedOnSignal::Clear() {
  const TerminationSignalsHeld held;
  name_[0] = '\0';
}

void RemovedOnSignal::InstallHandlers() {
  for (int signal : kTerminationSignals) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;  // as the shell or nohup set it
    struct sigaction handler {};
    handler.sa_handler = RemoveNamesAndReraise;
    handler.sa_mask = TerminationSet();
    sigaction(signal, &handler, nullptr);
  }
}

}  // namespace numbrook
