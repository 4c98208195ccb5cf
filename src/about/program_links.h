#pragma once

// Where the program is published and how to reach its maker.
namespace numbrook {
inline constexpr const char* kDownloadPage = "http://download.example.com/soft/104372.htm";
inline constexpr const char* kContactAddress = "numbrook@example.com";
}  // namespace numbrook
