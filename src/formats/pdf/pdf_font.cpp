#include "formats/pdf/pdf_font.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>

#include "files/export_error.h"

namespace numbrook {

namespace {

std::string FindSimplifiedChineseFamily() {
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
      FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn")), FcPatternDestroy);
  if (pattern == nullptr || !FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
    throw ExportError("无法查找中文字体：内存不足");
  }
  FcDefaultSubstitute(pattern.get());
  FcResult result;
  const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result), FcFontSetDestroy);
  // The best match for the language that really covers it: a sans-serif
  // request may come back with a Latin font first.
  for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
    FcLangSet* languages = nullptr;
    FcChar8* family = nullptr;
    if (FcPatternGetLangSet(fonts->fonts[i], FC_LANG, 0, &languages) != FcResultMatch) continue;
    if (FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("zh-cn")) != FcLangEqual) continue;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
    return reinterpret_cast<const char*>(family);
  }
  throw ExportError(
      "找不到简体中文字体，无法生成PDF：请安装 fonts-noto-cjk、fonts-wqy-microhei 或 fonts-wqy-zenhei 之一");
}

}  // namespace

std::string SimplifiedChineseFamily() {
  // Found once for the process, as fontconfig reads its configuration once;
  // a failure is told again to each run that asks.
  static std::mutex finding;
  static std::string found;
  const std::lock_guard lock(finding);
  if (found.empty()) found = FindSimplifiedChineseFamily();
  return found;
}

}  // namespace numbrook
