#include "sets/files_per_sheet.h"

#include <sys/resource.h>

#include <algorithm>
#include <memory>

#include "formats/text/text_worksheet.h"
#include "formats/xlsx/excel_worksheet.h"
#include "sheet/sheet_walk.h"

namespace numbrook {
namespace {

// Descriptors kept free for the writers, the library's own files and the
// standard streams.
constexpr rlim_t kSpareDescriptors = 64;

// How many written files may wait open: all the process may open but a
// spare; under a low limit a quarter of it, and at least a sheet with its key.
std::size_t OpenFileBudget() {
  rlimit limit{};
  const rlim_t open = getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
  if (open > 2 * kSpareDescriptors) return static_cast<std::size_t>(open - kSpareDescriptors);
  return std::max<std::size_t>(static_cast<std::size_t>(open / 4), 2);
}

std::unique_ptr<WorksheetWriter> WriterFor(const GenerationSettings& settings, SheetKind kind,
                                           const PendingFile& target, const std::filesystem::path& scratch) {
  if (settings.ExportFormat == FileFormat::Text) return std::make_unique<TextWorksheetWriter>(target, settings);
  return std::make_unique<ExcelWorksheetWriter>(target, settings, kind, scratch);
}

}  // namespace

SheetWritten WriteSheetFile(const GenerationSettings& settings, const ProblemTable& table, SheetKind kind,
                            const Progress& progress, const PendingFile& target, const std::filesystem::path& scratch) {
  const std::unique_ptr<WorksheetWriter> writer = WriterFor(settings, kind, target, scratch);
  return WriteSheet(*writer, settings, table, kind, progress);
}

FilesPerSheet::FilesPerSheet(std::vector<SheetNames> names, SheetKind kind)
    : names_(std::move(names)), kind_(kind), budget_(OpenFileBudget()) {}

SheetWritten FilesPerSheet::Add(int number, const GenerationSettings& sheet, const ProblemTable& table,
                                const Progress& progress) {
  const SheetNames& names = names_.at(static_cast<std::size_t>(number - 1));
  PendingPair pair;
  pair.sheetKind = kind_;
  if (sheet.ExportFormat == FileFormat::Excel && !scratch_) scratch_ = std::make_unique<ScratchFolder>(FolderOf(names.sheet));
  const std::filesystem::path scratch = scratch_ ? scratch_->Path() : std::filesystem::path();
  pair.sheet = std::make_unique<PendingFile>(names.sheet);
  SheetWritten written = WriteSheetFile(sheet, table, kind_, progress, *pair.sheet, scratch);
  if (!written) return written;
  // A key is laid out as its sheet, and says nothing new.
  if (names.key) {
    pair.key = std::make_unique<PendingFile>(*names.key);
    if (!WriteSheetFile(sheet, table, SheetKind::AnswerKey, progress, *pair.key, scratch)) return {};
  }
  openFiles_ += pair.key ? 2 : 1;
  written_.push_back(std::move(pair));
  return written;
}

std::vector<PendingPair> FilesPerSheet::TakeReady(bool end) {
  // Room for the next sheet and its key, or the pairs so far are placed.
  if (!end && openFiles_ + 2 <= budget_) return {};
  openFiles_ = 0;
  return std::move(written_);
}

}  // namespace numbrook
