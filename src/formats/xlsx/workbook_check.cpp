#include "formats/xlsx/workbook_check.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unzip.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>
#include <string>

#include "files/export_error.h"

namespace numbrook {
namespace {

const std::set<std::string> kRequiredParts = {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                                              "xl/_rels/workbook.xml.rels", "xl/styles.xml",
                                              "xl/worksheets/sheet1.xml"};

// Less room than this on a file system is as good as none.
constexpr unsigned long long kNearlyFull = 1ull << 20;

bool IsXml(const std::string& name) { return name.ends_with(".xml") || name.ends_with(".rels"); }

// Whether an XML document is whole: it ends with its root element's end tag.
bool EndsWithItsRoot(const std::string& xml) {
  std::size_t open = xml.find('<');
  while (open != std::string::npos && (xml.compare(open, 2, "<?") == 0 || xml.compare(open, 2, "<!") == 0)) {
    open = xml.find('<', open + 1);
  }
  if (open == std::string::npos) return false;
  const std::size_t end = xml.find_first_of(" \t\r\n/>", open + 1);
  if (end == std::string::npos) return false;
  const std::string closing = "</" + xml.substr(open + 1, end - open - 1) + ">";
  std::size_t last = xml.find_last_not_of(" \t\r\n");
  return last != std::string::npos && last + 1 >= closing.size() &&
         xml.compare(last + 1 - closing.size(), closing.size(), closing) == 0;
}

bool NearlyFull(const std::filesystem::path& folder) {
  struct statvfs room {};
  return statvfs(folder.c_str(), &room) == 0 &&
         static_cast<unsigned long long>(room.f_bavail) * room.f_frsize < kNearlyFull;
}

// Why a workbook came out short, as near as the system lets us tell.
std::string WhyIncomplete(const PendingFile& target, const std::filesystem::path& scratch, std::uint64_t largest) {
  rlimit size{};
  if (getrlimit(RLIMIT_FSIZE, &size) == 0 && size.rlim_cur != RLIM_INFINITY && largest + 4096 >= size.rlim_cur) {
    return ReasonOf(EFBIG) + "：本程序最多只能写 " + std::to_string(size.rlim_cur) + " 字节的文件（ulimit -f）";
  }
  if (NearlyFull(scratch)) return "临时文件夹“" + scratch.parent_path().string() + "”" + ReasonOf(ENOSPC);
  const std::filesystem::path folder = FolderOf(target.FinalPath());
  if (NearlyFull(folder)) return "文件夹“" + folder.string() + "”" + ReasonOf(ENOSPC);
  return "写出的工作簿不完整";
}

}  // namespace

void CheckWrittenWorkbook(const PendingFile& target, const std::filesystem::path& scratch) {
  const auto fail = [&](const std::string& reason) {
    throw ExportError("无法保存文件“" + target.FinalPath().string() + "”：" + reason);
  };
  const std::unique_ptr<void, decltype(&unzClose)> zip(unzOpen64(target.WorkingPath().c_str()), unzClose);
  if (zip == nullptr) {
    struct stat written {};
    fail(WhyIncomplete(target, scratch, fstat(target.Descriptor(), &written) == 0 ? written.st_size : 0));
  }
  std::set<std::string> found;
  std::uint64_t largest = 0;
  bool whole = true;
  for (int status = unzGoToFirstFile(zip.get()); status == UNZ_OK && whole; status = unzGoToNextFile(zip.get())) {
    char name[512];
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip.get()) != UNZ_OK) {
      whole = false;
      break;
    }
    std::string content;
    char buffer[16384];
    for (int got; (got = unzReadCurrentFile(zip.get(), buffer, sizeof buffer)) > 0;) content.append(buffer, static_cast<std::size_t>(got));
    // Closing checks the part's checksum against what was read.
    const bool checked = unzCloseCurrentFile(zip.get()) == UNZ_OK && content.size() == info.uncompressed_size;
    largest = std::max<std::uint64_t>(largest, content.size());
    whole = checked && !content.empty() && (!IsXml(name) || EndsWithItsRoot(content));
    found.insert(name);
  }
  if (!whole || !std::includes(found.begin(), found.end(), kRequiredParts.begin(), kRequiredParts.end())) {
    struct stat written {};
    if (fstat(target.Descriptor(), &written) == 0) largest = std::max<std::uint64_t>(largest, written.st_size);
    fail(WhyIncomplete(target, scratch, largest));
  }
}

}  // namespace numbrook
