#include "generation/blank_value.h"

#include <gtest/gtest.h>

namespace numbrook {
namespace {

TEST(BlankValue, SolvesEachPlaceOfEachForm) {
  struct Case {
    ProblemRow row;
    std::optional<int> value;
  };
  const Case cases[] = {
      {{"12", "+", "7", "", "", "=", "_"}, 19},     {{"_", "+", "7", "", "", "=", "19"}, 12},
      {{"12", "+", "_", "", "", "=", "19"}, 7},     {{"12", "-", "_", "", "", "=", "5"}, 7},
      {{"_", "-", "7", "", "", "=", "5"}, 12},      {{"3", "-", "8", "", "", "=", "_"}, -5},
      {{"3", "+", "_", "-", "1", "=", "14"}, 12},   {{"15", "-", "6", "+", "_", "=", "20"}, 11},
      {{"15", "-", "6", "-", "_", "=", "2"}, 7},    {{"15", "-", "_", "-", "6", "=", "2"}, 7},
      {{"_", "+", "3", "-", "6", "=", "5"}, 8},     {{"9", "+", "8", "+", "7", "=", "_"}, 24},
      {{"12", "+", "7", "", "", "=", "19"}, std::nullopt},
      {{"3", "×", "7", "", "", "=", "_"}, 21},      {{"_", "×", "7", "", "", "=", "21"}, 3},
      {{"3", "×", "_", "", "", "=", "21"}, 7},      {{"_", "×", "0", "", "", "=", "0"}, std::nullopt},
      {{"56", "÷", "7", "", "", "=", "_"}, 8},      {{"_", "÷", "7", "", "", "=", "8"}, 56},
      {{"56", "÷", "_", "", "", "=", "8"}, 7},      {{"17", "÷", "5", "", "", "=", "_", "_"}, 3},
      {{"_", "÷", "7", "", "", "=", "8", "6"}, 62},  {{"62", "÷", "_", "", "", "=", "8", "6"}, 7},
      {{"62", "÷", "_", "", "", "=", "5", "6"}, std::nullopt},  // 56 is no multiple of 5
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlankValue(c.row), c.value) << c.row[0] << c.row[1] << c.row[2] << c.row[3] << c.row[4] << "=" << c.row[6];
  }
}

// An open remainder holds what the division leaves.
TEST(BlankValue, TheRemainderOfAnOpenResult) {
  EXPECT_EQ(RemainderBlankValue({"17", "÷", "5", "", "", "=", "_", "_"}), 2);
  EXPECT_EQ(RemainderBlankValue({"15", "÷", "5", "", "", "=", "_", "_"}), 0);
  EXPECT_EQ(RemainderBlankValue({"17", "÷", "5", "", "", "=", "3", "2"}), std::nullopt);
  EXPECT_EQ(CellValue({"17", "÷", "5", "", "", "=", "_", "_"}, kRemainder), 2);
}

}  // namespace
}  // namespace numbrook
