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

// The UTF-8 text in the encoding; throws ExportError when the system cannot
// convert to GBK. UTF-8 is written without a byte-order mark.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

}  // namespace numbrook
