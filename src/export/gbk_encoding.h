#pragma once

#include <string>
#include <string_view>

namespace numbrook {

// Converts UTF-8 text to GBK (code page 936). A character that GBK cannot
// hold becomes "?", so a line is never lost for one character.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace numbrook
