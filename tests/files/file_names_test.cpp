// A sheet's name: the kind, the date and the time, the answer key's and the
// class set's names.
#include <clocale>

#include <gtest/gtest.h>

#include "files/file_names.h"
#include "files_support/temp_folder.h"
#include "generation/generation_settings.h"

namespace numbrook::testing {
namespace {

TEST(OutputFileName, JoinsKindDateAndTimeWithTheExtension) {
  const char* previous = std::setlocale(LC_TIME, nullptr);
  const std::string saved = previous ? previous : "C";
  std::setlocale(LC_TIME, "C");
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 11;
  time.tm_mday = 7;
  time.tm_hour = 9;
  time.tm_min = 5;
  time.tm_sec = 3;
  EXPECT_EQ(ComposeOutputFileName("/tmp", "加法运算", time, FileFormat::Text), "/tmp/加法运算题目列表120726090503.TXT");
  EXPECT_EQ(ComposeOutputFileName("/var/tmp", "加减混合运算", time, FileFormat::Excel),
            "/var/tmp/加减混合运算题目列表120726090503.XLS");
  std::setlocale(LC_TIME, saved.c_str());
}

TEST(OutputFileName, AnswerKeysAndClassSetsAreNamedAfterTheSheet) {
  EXPECT_EQ(AnswerKeyName("/tmp/加法运算题目列表120726093015.XLS"), "/tmp/加法运算题目列表120726093015答案.XLS");
  EXPECT_EQ(AnswerKeyName("口算.TXT"), "口算答案.TXT");
  EXPECT_EQ(NumberedName("/home/t/口算.XLS", 7, 40), "/home/t/口算-07.XLS");
  EXPECT_EQ(NumberedName("口算.XLS", 40, 40), "口算-40.XLS");
  EXPECT_EQ(NumberedName("口算.XLS", 3, 9), "口算-3.XLS");
  EXPECT_EQ(NumberedName("口算.XLS", 12, 1000), "口算-0012.XLS");
  EXPECT_EQ(AnswerKeyName(NumberedName("口算.XLS", 7, 40)), "口算-07答案.XLS");
}

TEST(OutputFileName, LiesInTheFolderGiven) {
  TempFolder folder;
  const std::filesystem::path name = OutputFileNameNow(folder.path(), "减法运算", FileFormat::Text);
  EXPECT_EQ(name.parent_path(), folder.path());
  EXPECT_TRUE(name.filename().string().starts_with("减法运算题目列表"));
  EXPECT_EQ(name.extension(), ".TXT");
}

}  // namespace
}  // namespace numbrook::testing
