#include "files/descriptors.h"

#include <sys/resource.h>

#include <cerrno>
#include <string>

#include "files/export_error.h"

namespace numbrook {
namespace {

// The sheet, the lock, a scratch file or two of the spreadsheet library, and
// the configuration and cache files fontconfig reads for a PDF.
constexpr int kNeeded = 8;

// How many descriptors are open; the limit itself when not even the listing
// can be opened.
long OpenDescriptors(long limit) {
  long open = 0;
  std::error_code error;
  auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
  if (error) return error.value() == EMFILE ? limit : 0;
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) ++open;
  return open - 1;  // the listing's own
}

}  // namespace

void RequireSpareDescriptors(const std::filesystem::path& file) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
  const long spare = static_cast<long>(limit.rlim_cur) - OpenDescriptors(static_cast<long>(limit.rlim_cur));
  if (spare >= kNeeded) return;
  throw ExportError("无法写入“" + file.string() + "”：" + ReasonOf(EMFILE) + "：本程序最多只能同时打开 " +
                    std::to_string(limit.rlim_cur) + " 个文件（ulimit -n），至少还要 " + std::to_string(kNeeded) +
                    " 个");
}

}  // namespace numbrook
