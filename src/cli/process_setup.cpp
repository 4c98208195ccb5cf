#include "cli/process_setup.h"

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "files/signal_cleanup.h"

namespace numbrook {
namespace {

std::FILE* messages = stderr;

// The libraries write their own lines to standard error (libxlsxwriter's
// "[ERROR]", fontconfig's and pango's warnings); the user is told the
// reason once, in our words, so their lines go nowhere.
void QuietLibraries() {
  std::fflush(stderr);
  const int ours = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (ours >= 0 && null >= 0 && dup2(null, STDERR_FILENO) == STDERR_FILENO) {
    if (std::FILE* stream = fdopen(ours, "w")) {
      messages = stream;
    } else {
      dup2(ours, STDERR_FILENO);  // no stream of our own: leave standard error as it was
      close(ours);
    }
  } else if (ours >= 0) {
    close(ours);
  }
  if (null >= 0) close(null);
}

}  // namespace

std::FILE* UserMessages() { return messages; }

// A run is short and its peak is a few megabytes: the heap is neither
// handed back to the system after each free nor served by fresh mappings,
// which the compressor's large buffers would otherwise get (and fault in
// again) for every part of a workbook.
void KeepTheHeap() {
  mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

void RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 1 << 16 : limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

void IgnoreFileSizeSignal() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, nullptr);
}

void SetUpSheetProcess() {
  KeepTheHeap();
  QuietLibraries();
  RaiseOpenFileLimit();
  IgnoreFileSizeSignal();
  RemovedOnSignal::InstallHandlers();
}

}  // namespace numbrook
