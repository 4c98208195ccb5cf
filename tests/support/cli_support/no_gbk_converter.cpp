// Preloaded into numbrook-sheet by a test: a system whose iconv has no
// converter to GBK, as where the gconv modules are missing.
#include <dlfcn.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>

extern "C" iconv_t iconv_open(const char* to, const char* from) {
  if (std::strcmp(to, "GBK") == 0) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  using Real = iconv_t (*)(const char*, const char*);
  static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "iconv_open"));
  return real(to, from);
}
