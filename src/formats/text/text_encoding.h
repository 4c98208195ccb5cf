#pragma once

#include <string>
#include <string_view>

#include "generation/run_request.h"

namespace numbrook {

// The encoding a text sheet is written in: the chosen one, or else the
// desktop's. A locale whose codeset is of the GB family (GBK, GB18030,
// GB2312) reads GBK, as Chinese Windows editors do; every other locale,
// UTF-8 ones and the bare C locale included, gets UTF-8, the only other
// encoding that holds the sheet's Chinese.
TextEncoding TextEncodingFor(TextEncoding chosen);

// The same decision for a named codeset ("UTF-8", "GB18030", ...).
TextEncoding TextEncodingOfCodeset(std::string_view codeset);

// How many columns the UTF-8 text takes in an editor showing it in the
// encoding (Utf8 or Gbk): in GBK every character beyond ASCII is two bytes
// and two columns; in UTF-8 the East Asian wide and full-width characters
// are two columns and every other one column, as wcswidth counts them.
int DisplayColumns(std::string_view utf8, TextEncoding encoding);

// The UTF-8 text in the encoding; throws ExportError when the system cannot
// convert to GBK. UTF-8 is written without a byte-order mark.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

}  // namespace numbrook
