// Worksheet files under the faults a desktop meets: a full disk, a folder
// that is read-only, a FIFO or a link where the sheet goes, a run that is
// abandoned. A sheet is complete or absent, and an older file of its name
// stays until a complete new one replaces it.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include <gtest/gtest.h>

#include "sets_support/run_export.h"
#include "files/file_names.h"
#include "files/pending_file.h"
#include "files_support/fault_folders.h"

namespace numbrook::testing {
namespace {

const std::string kOlder = "the teacher's own file, which must survive\n";

GenerationSettings Settings(FileFormat format, int count = 1000) {
  RunRequest c;
  c.count = count;
  c.format = format;
  c.columnForm = true;  // the largest sheets
  return SetUpRun(c);
}

ProblemTable Filled(const GenerationSettings& s) {
  ProblemTable table(s.ProblemCount + 1);
  for (int i = 0; i < s.ProblemCount; ++i) table.Row(i) = {"12", "+", "7", "", "", "=", "_"};
  return table;
}

ExportResult Export(FileFormat format, const std::filesystem::path& file, const Progress& progress = {}) {
  const GenerationSettings s = Settings(format);
  ProblemTable table = Filled(s);
  return RunExport(s, table, progress, file);
}

class EachFormat : public ::testing::TestWithParam<FileFormat> {};
INSTANTIATE_TEST_SUITE_P(SafeWrite, EachFormat, ::testing::Values(FileFormat::Text, FileFormat::Excel, FileFormat::Pdf),
                         [](const auto& info) {
                           return info.param == FileFormat::Text ? "Text" : info.param == FileFormat::Pdf ? "Pdf" : "Spreadsheet";
                         });

TEST_P(EachFormat, AFullDiskKeepsTheOlderFileAndLeavesNothingElse) {
  SmallDisk disk("16k");  // smaller than either sheet
  if (!disk.ok()) GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
  const std::filesystem::path file = disk.path() / "sheet";
  std::ofstream(file) << kOlder;
  const ExportResult result = Export(GetParam(), file);
  EXPECT_EQ(result.outcome, ExportOutcome::Failed);
  EXPECT_NE(result.error.find("“" + file.string() + "”"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("磁盘空间不足"), std::string::npos) << result.error;
  EXPECT_EQ(ReadBytes(file), kOlder);
  EXPECT_EQ(NamesIn(disk.path()), std::vector<std::string>{"sheet"});
}

TEST_P(EachFormat, AReadOnlyFolderIsNamedWithItsReasonAndTheOlderFileStays) {
  ReadOnlyFolder folder;
  const std::filesystem::path file = folder.path() / "sheet";
  std::ofstream(file) << kOlder;
  if (!folder.Seal()) GTEST_SKIP() << "no read-only bind mount here (needs root)";
  const ExportResult result = Export(GetParam(), file);
  EXPECT_EQ(result.outcome, ExportOutcome::Failed) << "not taken for a missing spreadsheet writer";
  EXPECT_NE(result.error.find("文件夹“" + folder.path().string() + "”"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("文件系统是只读的"), std::string::npos) << result.error;
  EXPECT_EQ(ReadBytes(file), kOlder);
}

TEST_P(EachFormat, AFifoWhereTheSheetGoesIsRefusedNotWaitedOn) {
  TempFolder folder;
  const std::filesystem::path fifo = folder.path() / "sheet";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const ExportResult result = Export(GetParam(), fifo);
  EXPECT_EQ(result.outcome, ExportOutcome::Failed);
  EXPECT_EQ(result.error, "无法写入“" + fifo.string() + "”：它是一个管道（FIFO），不是普通文件");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"sheet"});
}

TEST_P(EachFormat, DevicesAndFoldersAreRefusedByName) {
  TempFolder folder;
  for (const std::filesystem::path& target : {std::filesystem::path("/dev/full"), folder.path()}) {
    const ExportResult result = Export(GetParam(), target);
    EXPECT_EQ(result.outcome, ExportOutcome::Failed) << target;
    EXPECT_NE(result.error.find("“" + target.string() + "”：它是一个"), std::string::npos) << result.error;
  }
}

TEST_P(EachFormat, ALinkAtTheNameIsReplacedNotWrittenThrough) {
  TempFolder folder;
  const std::filesystem::path victim = folder.path() / "victim";
  const std::filesystem::path link = folder.path() / "sheet";
  std::ofstream(victim) << kOlder;
  std::filesystem::create_symlink(victim, link);
  ASSERT_EQ(Export(GetParam(), link).outcome, ExportOutcome::Written);
  EXPECT_EQ(ReadBytes(victim), kOlder);
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(link)));
  EXPECT_GT(ReadBytes(link).size(), 1000u);
}

TEST_P(EachFormat, AnAbandonedRunLeavesTheOlderFileAndNothingElse) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "sheet";
  std::ofstream(file) << kOlder;
  int yields = 0;
  Progress progress;
  progress.yield = [&] { return ++yields < 500; };
  EXPECT_EQ(Export(GetParam(), file, progress).outcome, ExportOutcome::Abandoned);
  EXPECT_EQ(ReadBytes(file), kOlder);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"sheet"});
}

TEST_P(EachFormat, ANewFileHasTheUsualPermissions) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "sheet";
  const mode_t previous = umask(022);
  ASSERT_EQ(Export(GetParam(), file).outcome, ExportOutcome::Written);
  umask(previous);
  struct stat written {};
  ASSERT_EQ(stat(file.c_str(), &written), 0);
  EXPECT_EQ(written.st_mode & 0777, 0644u);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"sheet"});
}

TEST(PresenceTest, WritesNothingAndDoesNotDependOnTheTemporaryFolder) {
  TempFolder folder;
  {
    const ScopedTmpdir tmpdir(folder.path());
    EXPECT_TRUE(CheckExcel());
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  const ScopedTmpdir missing("/nonexistent/numbrook");
  EXPECT_TRUE(CheckExcel());
  // And a sheet given its own place is written although TMPDIR is missing.
  EXPECT_EQ(Export(FileFormat::Excel, folder.path() / "w.XLS").outcome, ExportOutcome::Written);
}

}  // namespace
}  // namespace numbrook::testing
