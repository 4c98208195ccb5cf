// Preloaded into numbrook-sheet by a test: a SIGKILL that lands just before
// the Nth call that names a file in place (link, rename, unlink) of a path
// under NUMBROOK_KILL_FOLDER, N being NUMBROOK_KILL_AT. The calls are counted
// in order, so a test can stop the run between any two of them.
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

int seen = 0;

void MaybeKill(const char* path, const char* other = nullptr) {
  const char* folder = std::getenv("NUMBROOK_KILL_FOLDER");
  const char* at = std::getenv("NUMBROOK_KILL_AT");
  if (folder == nullptr || at == nullptr) return;
  const auto under = [&](const char* name) { return name != nullptr && std::strstr(name, folder) == name; };
  if (!under(path) && !under(other)) return;
  if (++seen == std::atoi(at)) raise(SIGKILL);
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
  MaybeKill(to, from);
  return Real<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
  MaybeKill(to);
  return Real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromFolder, from, toFolder, to, flags);
}

extern "C" int unlink(const char* path) {
  MaybeKill(path);
  return Real<int (*)(const char*)>("unlink")(path);
}
