#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numbrook {

// Converts UTF-8 text to GBK (code page 936). A character that GBK cannot
// hold becomes "?", so a line is never lost for one character. Throws
// ExportError when the system has no converter to GBK.
std::string Utf8ToGbk(std::string_view utf8);

// Converts text in the named codeset to UTF-8; nothing when the system
// cannot convert from that codeset or the text is not valid in it.
std::optional<std::string> ConvertToUtf8(std::string_view text, const std::string& codeset);

}  // namespace numbrook
