// numbrook-sheet under faults: what the user sees (the exit status and the
// message) and what is on disk afterwards.
#include <gtest/gtest.h>

#include <thread>

#include "cli_support/sheet_program.h"
#include "files_support/fault_folders.h"
#include "formats_support/gbk_text.h"

namespace numbrook::testing {
namespace {

bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(SheetFaults, APathThatCannotBePrintedIsAFailure) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "s.TXT";
  // stderr to the test, stdout to a full disk.
  const std::string command = Quoted(NUMBROOK_SHEET_PROGRAM) + " --format=text -o " + Quoted(file) + " 2>&1 >/dev/full";
  const Outcome run = RunProgram("/bin/sh", "-c " + Quoted(command));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("但无法输出它的路径：磁盘空间不足"), std::string::npos) << run.out;
}

TEST(SheetFaults, AnEmptyTmpdirChangesNothing) {
  TempFolder folder;
  const Outcome run = RunSheet("--format=text --count=2", "cd " + Quoted(folder.path()) + " && TMPDIR=");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(run.out.starts_with("加法运算题目列表")) << run.out;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / run.out.substr(0, run.out.size() - 1)));
}

// The library's own English "[ERROR]" lines stay out of the way; our
// message gives the system's reason.
TEST(SheetFaults, AFullDiskGivesOneMessageWithTheSystemsReason) {
  SmallDisk disk("64k");
  if (!disk.ok()) GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
  const std::filesystem::path file = disk.path() / "s.XLS";
  const Outcome run = RunSheet("--count=1000 --vertical --terms=3 -o " + Quoted(file));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "numbrook-sheet: 无法保存文件“" + file.string() + "”：磁盘空间不足\n");
  EXPECT_TRUE(NamesIn(disk.path()).empty());
}

TEST(SheetFaults, AMissingGbkConverterIsReportedNotAnAbort) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "s.TXT";
  const Outcome run = RunSheet("--format=text --encoding=gbk -o " + Quoted(file), "LD_PRELOAD=" NUMBROOK_NO_GBK_CONVERTER);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("无法把文字转换为GBK编码"), std::string::npos) << run.out;
  EXPECT_TRUE(NamesIn(folder.path()).empty());
}

TEST(SheetFaults, AFifoGivenAsOutputIsRefusedAtOnce) {
  TempFolder folder;
  const std::filesystem::path fifo = folder.path() / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const Outcome run = RunSheet("-o " + Quoted(fifo), "timeout 20");
  EXPECT_EQ(run.status, 1) << "124 would be a hang";
  EXPECT_NE(run.out.find("管道（FIFO），不是普通文件"), std::string::npos) << run.out;
}

// Several runs writing one name at once: each leaves a complete workbook or
// is refused while another writes it; the last to finish wins and nothing
// else is left.
TEST(SheetFaults, ConcurrentRunsEachLeaveACompleteWorkbook) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "same.XLS";
  std::vector<std::thread> runs;
  std::vector<Outcome> outcomes(6);
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    runs.emplace_back([&, i] {
      outcomes[i] = RunSheet("--count=1000 --vertical --seed=" + std::to_string(i) + " -o " + Quoted(file));
    });
  }
  for (std::thread& run : runs) run.join();
  const std::string refusal = "numbrook-sheet: 另一次运行正在写入“" + file.string() + "”，本次没有写入任何文件；请等它结束后再试\n";
  std::vector<std::size_t> written;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (outcomes[i].status == 0) {
      written.push_back(i);
    } else {
      EXPECT_EQ(outcomes[i].status, 1);
      EXPECT_EQ(outcomes[i].out, refusal);
    }
  }
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"same.XLS"});
  // What an independent reader finds is exactly one run's sheet.
  const auto dump = [](const std::filesystem::path& workbook) {
    return RunProgram("/usr/bin/python3", Quoted(NUMBROOK_DUMP_WORKBOOK) + " " + Quoted(workbook));
  };
  const Outcome found = dump(file);
  ASSERT_EQ(found.status, 0) << found.out;
  int matches = 0;
  for (std::size_t i : written) {
    const std::filesystem::path alone = folder.path() / ("alone" + std::to_string(i) + ".XLS");
    ASSERT_EQ(RunSheet("--count=1000 --vertical --seed=" + std::to_string(i) + " -o " + Quoted(alone)).status, 0);
    if (dump(alone).out == found.out) ++matches;
  }
  EXPECT_EQ(matches, 1);
}

// Under a locale whose codeset is not UTF-8 the date in the name is
// converted, so the whole name is UTF-8 and names the file written.
TEST(SheetFaults, NonUtf8LocalesGiveAUtf8Name) {
  TempFolder locales;
  const std::pair<const char*, const char*> cases[] = {
      {"zh_CN", "GBK"}, {"zh_CN", "GB18030"}, {"zh_TW", "BIG5"}, {"ja_JP", "EUC-JP"}};
  for (const auto& [language, codeset] : cases) {
    const std::string name = std::string(language) + "." + codeset;
    const std::string make = "localedef -i " + std::string(language) + " -f " + codeset + " " +
                             Quoted(locales.path() / name) + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
      ADD_FAILURE() << "localedef could not make " << name;
      continue;
    }
    TempFolder folder;
    const Outcome run = RunSheet("--format=text --count=2", "cd " + Quoted(folder.path()) + " && LOCPATH=" +
                                                                Quoted(locales.path()) + " LC_ALL=" + name);
    ASSERT_EQ(run.status, 0) << name << ": " << run.out;
    const std::string path = (folder.path() / run.out.substr(0, run.out.size() - 1)).string();
    EXPECT_TRUE(IsValidUtf8(path)) << name;
    EXPECT_TRUE(std::filesystem::exists(path)) << name << ": " << path;
    EXPECT_EQ(NamesIn(folder.path()).size(), 1u) << name;
    // The sheet itself: GBK under a GB locale, UTF-8 under any other.
    const std::string bytes = ReadBytes(path);
    const bool gb = std::string(codeset).starts_with("GB");
    EXPECT_EQ(IsValidUtf8(bytes), !gb) << name;
    if (gb) EXPECT_EQ(GbkToUtf8(bytes).substr(10, 9), "姓名：") << name;
  }
}

// --encoding=utf-8 holds under a locale whose own choice would be GBK.
TEST(SheetFaults, Utf8ChosenUnderAGbLocaleIsUtf8) {
  TempFolder locales, folder;
  if (std::system(("localedef -i zh_CN -f GB18030 " + Quoted(locales.path() / "zh_CN.GB18030") + " >/dev/null 2>&1").c_str()) != 0) {
    GTEST_SKIP() << "localedef could not make zh_CN.GB18030";
  }
  const std::filesystem::path chosen = folder.path() / "c.TXT", plain = folder.path() / "p.TXT";
  const std::string gb = "LOCPATH=" + Quoted(locales.path()) + " LC_ALL=zh_CN.GB18030";
  ASSERT_EQ(RunSheet("--format=text --seed=5 --encoding=utf-8 -o " + Quoted(chosen), gb).status, 0);
  ASSERT_EQ(RunSheet("--format=text --seed=5 -o " + Quoted(plain), "LC_ALL=C.UTF-8").status, 0);
  EXPECT_EQ(ReadBytes(chosen), ReadBytes(plain));
}

// Under C.UTF-8 (these tests' locale) the sheet is UTF-8 without a
// byte-order mark; --encoding overrides the locale either way.
TEST(SheetFaults, TheLocaleOrTheOptionChoosesTheTextEncoding) {
  TempFolder folder;
  const std::filesystem::path utf8 = folder.path() / "u.TXT", gbk = folder.path() / "g.TXT";
  ASSERT_EQ(RunSheet("--format=text --seed=5 -o " + Quoted(utf8), "LC_ALL=C.UTF-8").status, 0);
  ASSERT_EQ(RunSheet("--format=text --seed=5 --encoding=gbk -o " + Quoted(gbk), "LC_ALL=C.UTF-8").status, 0);
  const std::string text = ReadBytes(utf8);
  EXPECT_TRUE(text.starts_with(std::string(10, ' ') + "姓名：")) << "no byte-order mark";
  EXPECT_EQ(GbkToUtf8(ReadBytes(gbk)), text);
  const std::filesystem::path forced = folder.path() / "f.TXT";
  ASSERT_EQ(RunSheet("--format=text --seed=5 --encoding=utf-8 -o " + Quoted(forced), "LC_ALL=C").status, 0);
  EXPECT_EQ(ReadBytes(forced), text);
}

// An opener that fails: the sheet stays, the reason is told once, and the
// status says the open failed.
TEST(SheetFaults, AFailingOpenerIsReportedWithAStatusOfItsOwn) {
  TempFolder bin;
  const std::filesystem::path opener = bin.path() / "xdg-open";
  std::FILE* script = std::fopen(opener.c_str(), "w");
  ASSERT_NE(script, nullptr);
  std::fputs("#!/bin/sh\necho 'xdg-open: no method available' >&2\nexit 3\n", script);
  std::fclose(script);
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  TempFolder folder;
  const std::filesystem::path file = folder.path() / "o.XLS";
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {{bin.path().string() + ":/usr/bin:/bin", "但 xdg-open 没能打开它（退出状态 3）"},
                        {bin.path().string() + "/none", "但无法启动 xdg-open：文件或文件夹不存在"}};
  for (const Case& c : cases) {
    const Outcome run = RunSheet("--count=3 --open -o " + Quoted(file), "PATH=" + Quoted(c.path));
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_NE(run.out.find("numbrook-sheet: 已写好“" + file.string() + "”，" + c.reason),
              std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::exists(file));
  }
}

}  // namespace
}  // namespace numbrook::testing
