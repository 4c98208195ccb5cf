#pragma once

#include <iconv.h>

#include <gtest/gtest.h>

#include <string>

namespace numbrook::testing {

// GBK back to UTF-8, through iconv on its own, independent of the writer.
inline std::string GbkToUtf8(const std::string& gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  std::string out(gbk.size() * 2 + 8, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size(), outLeft = out.size();
  char* outPtr = out.data();
  const std::size_t status = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  EXPECT_NE(status, static_cast<std::size_t>(-1)) << "the file is not valid GBK";
  out.resize(out.size() - outLeft);
  return out;
}

// A UTF-8 file's text, checked to be valid UTF-8 by iconv.
inline std::string Utf8Text(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-8", "UTF-8");
  std::string out(bytes.size() + 8, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size(), outLeft = out.size();
  char* outPtr = out.data();
  const std::size_t status = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  EXPECT_NE(status, static_cast<std::size_t>(-1)) << "the file is not valid UTF-8";
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace numbrook::testing
