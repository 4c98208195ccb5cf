#include "sets/pdf_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "files/export_error.h"

namespace numbrook {
namespace {

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

// Where the module may be: beside the program (a build) or in the library
// folder of an installed program, which lies at the same place relative to
// its program folder wherever the package is installed.
std::vector<std::filesystem::path> Candidates() {
  const std::filesystem::path programs = ProgramFolder();
  if (programs.empty()) return {};
  return {programs / kPdfModuleName,
          (programs / NUMBROOK_PDF_MODULE_FROM_PROGRAMS / kPdfModuleName).lexically_normal()};
}

struct LoadedModule {
  NewPdfSheetsFunction create = nullptr;
  std::string failure;  // the user's message when it could not be loaded
};

LoadedModule Load() {
  const std::vector<std::filesystem::path> candidates = Candidates();
  const auto failed = [](const std::filesystem::path& module, const std::string& reason) {
    return LoadedModule{nullptr, "无法生成PDF：无法载入PDF模块“" + module.string() + "”：" + reason +
                                     "；请重新安装 numbrook"};
  };
  for (const std::filesystem::path& module : candidates) {
    if (access(module.c_str(), F_OK) != 0) continue;
    // Bound at once: a library it lacks is told now, not at the first page.
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return failed(module, dlerror());
    auto create = reinterpret_cast<NewPdfSheetsFunction>(dlsym(handle, kNewPdfSheetsSymbol));
    if (create == nullptr) return failed(module, "它不是本程序的PDF模块");
    return {create, {}};  // kept loaded: its fonts serve every later PDF
  }
  return failed(candidates.empty() ? std::filesystem::path(kPdfModuleName) : candidates.back(), ReasonOf(ENOENT));
}

}  // namespace

std::unique_ptr<PdfSheets> NewPdfSheets(const std::filesystem::path& file, bool twoSided) {
  static const LoadedModule module = Load();
  if (module.create == nullptr) throw ExportError(module.failure);
  return std::unique_ptr<PdfSheets>(module.create(file, twoSided));
}

}  // namespace numbrook
