// libxlsxwriter stamps each workbook's creation time with gmtime(), whose
// one static result the workers of a class set would share while they
// write workbooks side by side. The programs define gmtime themselves, with
// a result per thread (as POSIX allows), and the library's call binds to
// this definition, which the programs export.
#include <ctime>

extern "C" std::tm* gmtime(const std::time_t* timer) noexcept {
  thread_local std::tm result;
  return gmtime_r(timer, &result);
}
