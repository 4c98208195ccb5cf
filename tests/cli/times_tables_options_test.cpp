// numbrook-sheet's options of multiplication and division: what each sets,
// and every refusal exits with 2, names its option and writes nothing.
#include <gtest/gtest.h>

#include "cli/sheet_options.h"
#include "cli_support/sheet_program.h"
#include "files_support/temp_folder.h"

namespace numbrook::testing {
namespace {

TEST(TimesTablesOptions, EachOptionSetsItsChoice) {
  const RunRequest r =
      ParseSheetOptions({"--no-add", "--mul", "--div", "--tables=2-8", "--remainder=mixed", "--no-trivial"}).request;
  EXPECT_EQ(r.operations, OperationKinds::Multiplication | OperationKinds::Division);
  EXPECT_EQ(r.tables, (TablesRange{2, 8}));
  EXPECT_EQ(r.remainders, Remainders::Mixed);
  EXPECT_TRUE(r.noTrivial);
  const RunRequest defaults = ParseSheetOptions({"--div"}).request;
  EXPECT_EQ(defaults.operations, OperationKinds::Addition | OperationKinds::Division) << "加法 stays ticked";
  EXPECT_EQ(defaults.tables, (TablesRange{1, 9}));
  EXPECT_EQ(defaults.remainders, Remainders::Never);
  EXPECT_FALSE(defaults.noTrivial);
  EXPECT_EQ(ParseSheetOptions({"--mul", "--tables", "7-7"}).request.tables, (TablesRange{7, 7}));
  EXPECT_EQ(ParseSheetOptions({"--div", "--remainder", "always"}).request.remainders, Remainders::Always);
  EXPECT_TRUE(ParseSheetOptions({"--sub", "--no-trivial"}).request.noTrivial) << "for every operation";
}

struct Refusal {
  const char* arguments;
  const char* message;
  bool option = true;  // a bad option, not settings that give too little: the help is pointed to
};

class TimesTablesRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(TimesTablesRefusal, ExitsWithTwoNamesTheOptionAndWritesNothing) {
  TempFolder folder;
  const Outcome run = RunSheet(std::string(GetParam().arguments) + " --format=text", "cd " + Quoted(folder.path()) + " &&");
  EXPECT_EQ(run.status, 2);
  const std::string help = GetParam().option ? "用 numbrook-sheet --help 查看所有选项。\n" : "";
  EXPECT_EQ(run.out, "numbrook-sheet: " + std::string(GetParam().message) + "\n" + help);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}


INSTANTIATE_TEST_SUITE_P(
    BadInput, TimesTablesRefusal,
    ::testing::Values(Refusal{"--mul --tables=0-9", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“0-9”"},
                      Refusal{"--mul --tables=9-2", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“9-2”"},
                      Refusal{"--mul --tables=x", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“x”"},
                      Refusal{"--mul --tables=1-10", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“1-10”"},
                      Refusal{"--mul --tables=3", "--tables 应为 LO-HI，两个 1 到 9 的整数且 LO 不大于 HI（如 2-9），而不是“3”"},
                      Refusal{"--div --remainder=maybe", "--remainder 应为 never、always 或 mixed，而不是“maybe”"},
                      Refusal{"--remainder=always", "--remainder 需要 --div"},
                      Refusal{"--mul --remainder=mixed", "--remainder 需要 --div"},
                      Refusal{"--tables=2-9", "--tables 需要 --mul 或 --div"},
                      // Three terms with × or ÷ are two-step problems, which ask for the result only.
                      Refusal{"--terms=3 --mul --blank=first",
                              "--blank=first 不能用于三个数的乘除或带括号的题目：这些题目只填得数（--blank=compute）"},
                      Refusal{"--div --terms=3 --remainder=always", "--remainder 只用于二个数的除法：两步题没有余数"},
                      Refusal{"--mul --blank=third", "--blank=third 需要 --terms=3"},
                      // The table of 1 has no division with a remainder.
                      Refusal{"--no-add --div --remainder=always --tables=1-1",
                              "这些设置中有一种运算出不了任何题目（如只用 1 的乘法口诀出有余数除法）；请扩大范围。", false},
                      Refusal{"--mul --no-trivial --tables=1-1",
                              "这些设置中有一种运算出不了任何题目（如只用 1 的乘法口诀出有余数除法）；请扩大范围。", false},
                      // 64 multiplications without a factor 1.
                      Refusal{"--no-add --mul --no-trivial --distinct --count=65",
                              "这些设置只能出 64 道不同的题目，少于要求的 65 道；请扩大范围或减少题目数量。", false}));

}  // namespace
}  // namespace numbrook::testing
