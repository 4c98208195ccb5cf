#pragma once

#include <array>
#include <string>
#include <string_view>

#include "generation/generation_settings.h"

namespace numbrook {

// The texts of the term-count list and of the blank choices. The sheet's
// description quotes them, and the window shows them.
inline constexpr std::array<std::string_view, 2> kTermCountItems = {"二个数", "三个数"};
inline constexpr std::array<std::string_view, 5> kBlankModeCaptions = {
    "计算题", "第一填空", "第二填空", "第三填空", "随机"};

// What a sheet prints besides its problems.
struct SheetTexts {
  std::string HeaderLine1;  // name, date and time fields
  std::string HeaderLine2;  // self-rating line
  std::string Description;  // what was drawn: "二个数,加法运算,计算题, 20以内含进位加法",
                            // "二个数,乘除运算,计算题,乘法口诀2~9,有余数除法",
                            // "三个数,混合运算,计算题, 20以内含进位加法,乘法口诀1~9,带括号,脱式计算"
};

SheetTexts TextsOf(const GenerationSettings& settings);

}  // namespace numbrook
