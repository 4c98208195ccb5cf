// One sheet driven through its writer: the order of the steps, the older
// file, the failures, and the lines it hands to the writer.
#include <clocale>
#include <fstream>

#include <gtest/gtest.h>

#include "sets_support/run_export.h"
#include "files/file_names.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

// Records the progress in the order the run reports it.
struct Recorder {
  std::vector<std::string> events;
  Progress Hooks() {
    Progress progress;
    progress.yield = [this] { events.push_back("yield"); return true; };
    progress.counted = [this](int n) { events.push_back("count " + std::to_string(n)); };
    return progress;
  }
};

GenerationSettings TextSettings(int count, int perRow) {
  RunRequest c;
  c.count = count;
  c.perLine = perRow;
  c.format = FileFormat::Text;
  return SetUpRun(c);
}

ProblemTable Filled(const GenerationSettings& s) {
  ProblemTable table(s.ProblemCount + 1);
  for (int i = 0; i < s.ProblemCount; ++i) table.Row(i) = {"1", "+", "1", "", "", "=", "_"};
  return table;
}

TEST(ExportRun, SevenProblemsInLinesOfThree) {
  const GenerationSettings s = TextSettings(7, 3);
  ProblemTable table = Filled(s);
  TempFolder folder;
  Recorder recorder;
  const ExportResult result = RunExport(s, table, recorder.Hooks(), folder.path() / "w.TXT");
  ASSERT_EQ(result.outcome, ExportOutcome::Written);
  const std::vector<std::string> expected = {
      "yield", "yield", "count 1", "yield", "count 2", "yield", "count 3", "yield", "yield", "count 4",
      "yield", "count 5", "yield", "count 6", "yield", "yield", "count 7"};
  EXPECT_EQ(recorder.events, expected);
  const std::string text = ReadBytes(result.file);
  EXPECT_NE(text.find("\r\n7.  1+ 1= (    )\r\n\r\n\r\n"), std::string::npos);
}

TEST(ExportRun, FullLinesStartNoEmptyLineAfterTheLast) {
  const GenerationSettings s = TextSettings(4, 2);
  ProblemTable table = Filled(s);
  TempFolder folder;
  Recorder recorder;
  ASSERT_EQ(RunExport(s, table, recorder.Hooks(), folder.path() / "w.TXT").outcome, ExportOutcome::Written);
  EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), "yield"), 6);
}

TEST(ExportRun, ReplacesAnOlderFileOfTheSameName) {
  const GenerationSettings s = TextSettings(1, 1);
  ProblemTable table = Filled(s);
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "same.TXT";
  std::ofstream(file) << std::string(100000, 'x');
  ASSERT_EQ(RunExport(s, table, Progress{}, file).outcome, ExportOutcome::Written);
  const std::string text = ReadBytes(file);
  EXPECT_LT(text.size(), 1000u);
  EXPECT_EQ(text.find('x'), std::string::npos);
}

TEST(ExportRun, UnwritableFolderIsReportedAndNothingIsOpened) {
  const GenerationSettings s = TextSettings(3, 2);
  ProblemTable table = Filled(s);
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "missing-folder" / "w.TXT";
  Recorder recorder;
  const ExportResult result = RunExport(s, table, recorder.Hooks(), file);
  EXPECT_EQ(result.outcome, ExportOutcome::Failed);
  EXPECT_EQ(result.error, "无法创建文件“" + file.string() + "”（文件夹“" + file.parent_path().string() +
                              "”）：文件或文件夹不存在");
  EXPECT_TRUE(recorder.events.empty()) << "nothing was written, so nothing was counted";
}

TEST(ExportRun, AbandonedRunStopsAtTheYield) {
  const GenerationSettings s = TextSettings(10, 2);
  ProblemTable table = Filled(s);
  TempFolder folder;
  int yields = 0;
  Progress progress;
  progress.yield = [&] { return ++yields < 4; };
  EXPECT_EQ(RunExport(s, table, progress, folder.path() / "w.TXT").outcome, ExportOutcome::Abandoned);
  EXPECT_EQ(yields, 4);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace numbrook::testing
