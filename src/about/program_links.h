#pragma once

// Where the program is published and how to reach its maker.
namespace numbrook {
// Both are short enough to fit their labels in the About window.
inline constexpr const char* kDownloadPage = "http://dl.example/soft/104372.htm";
inline constexpr const char* kContactAddress = "hello@dl.example";
}  // namespace numbrook
