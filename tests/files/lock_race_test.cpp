// A run letting go of the folder's lock file removes it; another run may
// have opened that file just before and lock it just after. Such a lock on
// a file with no name is no lock: the run must try again with the file at
// the name. The race is made to happen for real: the lock calls are caught
// on their way to the C library (linked with --wrap=fcntl), and the file is
// removed right before the first lock is taken.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <filesystem>

#include "files/export_error.h"
#include "files/name_lock.h"
#include "files_support/fault_folders.h"

extern "C" int __real_fcntl(int descriptor, int command, ...);

namespace {

std::filesystem::path removeBeforeFirstLock;
int locksTaken = 0;

}  // namespace

extern "C" int __wrap_fcntl(int descriptor, int command, ...) {
  va_list arguments;
  va_start(arguments, command);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  if (command == F_OFD_SETLK && locksTaken++ == 0 && !removeBeforeFirstLock.empty()) {
    unlink(removeBeforeFirstLock.c_str());  // the other run's last step
  }
  return __real_fcntl(descriptor, command, argument);
}

namespace numbrook::testing {
namespace {

TEST(LockRace, ALockFileRemovedBeforeItIsLockedIsTakenAgain) {
  TempFolder folder;
  const std::filesystem::path lock = folder.path() / NameLock::kFileName;
  removeBeforeFirstLock = lock;
  locksTaken = 0;
  {
    const NameLock held(folder.path(), {folder.path() / "s.XLS"});
    EXPECT_GE(locksTaken, 2) << "locked again after the file went";
    ASSERT_EQ(NamesIn(folder.path()), std::vector<std::string>{NameLock::kFileName});
    // The file at the name is the one locked: another run is refused.
    removeBeforeFirstLock.clear();
    EXPECT_THROW(NameLock(folder.path(), {folder.path() / "s.XLS"}), ExportError);
  }
  EXPECT_TRUE(NamesIn(folder.path()).empty());
}

}  // namespace
}  // namespace numbrook::testing
