#include "export/text_encoding.h"

#include <langinfo.h>

#include <algorithm>
#include <cctype>

#include "export/gbk_encoding.h"

namespace numbrook {

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
  if (encoding == TextEncoding::Gbk) return Utf8ToGbk(utf8);
  return std::string(utf8);
}

}  // namespace numbrook
