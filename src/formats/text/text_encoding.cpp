#include "formats/text/text_encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "files/export_error.h"

namespace numbrook {
namespace {

// UTF-8 to GBK (code page 936). A character that GBK cannot hold becomes
// "?", so a line is never lost for one character.
class Converter {
 public:
  Converter() : cd_(iconv_open("GBK", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw ExportError(std::string("无法把文字转换为GBK编码：系统没有这个转换（") + ReasonOf(errno) + "）");
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Convert(std::string_view utf8) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    auto grow = [&] {
      const std::size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    };
    while (inLeft > 0) {
      if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        grow();
        continue;
      }
      // An unconvertible or malformed character: skip its UTF-8 bytes.
      if (outLeft == 0) grow();
      *outPtr++ = '?';
      --outLeft;
      do {
        ++in;
        --inLeft;
      } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

// The East Asian wide and full-width blocks, as the C library's UTF-8
// width table has them (the CJK ideographs and punctuation, Hangul, the
// full-width forms); the sheet's own characters lie in or far from them.
bool IsWide(char32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0x303E) ||
         (code >= 0x3041 && code <= 0xA4CF) || (code >= 0xAC00 && code <= 0xD7A3) ||
         (code >= 0xF900 && code <= 0xFAFF) || (code >= 0xFE30 && code <= 0xFE4F) ||
         (code >= 0xFF00 && code <= 0xFF60) || (code >= 0xFFE0 && code <= 0xFFE6) ||
         (code >= 0x20000 && code <= 0x3FFFD);
}

}  // namespace

int DisplayColumns(std::string_view utf8, TextEncoding encoding) {
  int columns = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (code < 0x80) {
      columns += 1;
    } else {
      columns += encoding == TextEncoding::Gbk || IsWide(code) ? 2 : 1;
    }
    i += length;
  }
  return columns;
}

TextEncoding TextEncodingOfCodeset(std::string_view codeset) {
  std::string name;
  for (char ch : codeset) {
    if (ch != '-' && ch != '_') name += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  const bool gbFamily = name == "GBK" || name == "GB18030" || name == "GB2312" || name == "CP936" || name == "EUCCN";
  return gbFamily ? TextEncoding::Gbk : TextEncoding::Utf8;
}

TextEncoding TextEncodingFor(TextEncoding chosen) {
  if (chosen != TextEncoding::Locale) return chosen;
  return TextEncodingOfCodeset(nl_langinfo(CODESET));
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) {
    thread_local Converter converter;
    return converter.Convert(utf8);
  }
  return std::string(utf8);
}

}  // namespace numbrook
