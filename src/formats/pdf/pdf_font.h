#pragma once

#include <string>

namespace numbrook {

// The family of the installed font that fontconfig chooses for Simplified
// Chinese (zh-cn) sans-serif text, so that every character is drawn with
// its Simplified glyph. Throws ExportError when no installed font has
// Simplified Chinese. Looked up once for the process.
std::string SimplifiedChineseFamily();

}  // namespace numbrook
