#include "formats/pdf/pdf_text.h"

#include <pango/pangocairo.h>

#include <cmath>

#include "files/export_error.h"

namespace numbrook {
namespace {

// Every text is shaped at this size and scaled to the size it is used at.
constexpr double kShapingSize = 100;

// A size as a key: to a hundredth of a point.
long SizeKey(double size) { return std::lround(size * 100); }

void SetColour(cairo_t* cairo, bool red) {
  if (red) {
    cairo_set_source_rgb(cairo, 0.85, 0, 0);
  } else {
    cairo_set_source_rgb(cairo, 0, 0, 0);
  }
}

}  // namespace

PdfText::PdfText(cairo_t* cairo, const std::string& family, const std::string& shownFile)
    : cairo_(cairo), family_(family), shownFile_(shownFile) {
  context_ = pango_cairo_create_context(cairo);
  // Points as units, and outlines as designed: widths then grow exactly with
  // the size, and the page planned at one size is drawn at another alike.
  pango_cairo_context_set_resolution(context_, 72);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  // Simplified glyphs wherever a character has regional forms.
  pango_context_set_language(context_, pango_language_from_string("zh-cn"));
}

PdfText::~PdfText() {
  for (auto& [key, font] : sized_) cairo_scaled_font_destroy(font);
  for (auto& [key, shaped] : shaped_) {
    if (shaped.font != nullptr) cairo_scaled_font_destroy(shaped.font);
    g_object_unref(shaped.layout);
  }
  g_object_unref(context_);
}

PdfText::Shaped& PdfText::ShapedOf(const std::string& text, TextStyle style) {
  const auto key = std::make_pair(text, style);
  const auto found = shaped_.find(key);
  if (found != shaped_.end()) return found->second;
  Shaped& shaped = shaped_[key];
  PangoLayout* layout = pango_layout_new(context_);
  shaped.layout = layout;
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family_.c_str());
  pango_font_description_set_absolute_size(font, kShapingSize * PANGO_SCALE);
  if (style != TextStyle::Regular) pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (style == TextStyle::Answer) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  pango_layout_set_text(layout, text.c_str(), -1);
  if (pango_layout_get_unknown_glyphs_count(layout) > 0) {
    const std::string what = text.size() <= 24 ? "“" + text + "”" : "练习纸上的字";
    g_object_unref(layout);
    shaped_.erase(key);
    throw ExportError("无法写入“" + shownFile_ + "”：字体“" + family_ + "”无法显示" + what +
                      "（字体文件不能读取，或缺少这些字），写出的PDF会是一个个空框");
  }
  shaped.baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  shaped.width = static_cast<double>(logical.width) / PANGO_SCALE;
  shaped.height = static_cast<double>(logical.height) / PANGO_SCALE;

  // Only a text of one run in one font is kept as glyphs; anything else is
  // drawn by pango itself.
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  if (pango_layout_get_line_count(layout) != 1 || line->runs == nullptr || line->runs->next != nullptr) return shaped;
  const auto* run = static_cast<const PangoGlyphItem*>(line->runs->data);
  const PangoGlyphString* glyphs = run->glyphs;
  const int start = run->item->offset;
  const int end = start + run->item->length;
  if (start != 0 || end != static_cast<int>(text.size())) return shaped;
  double x = 0;
  for (int i = 0; i < glyphs->num_glyphs; ++i) {
    const PangoGlyphInfo& info = glyphs->glyphs[i];
    if (info.glyph & PANGO_GLYPH_UNKNOWN_FLAG) return shaped;
    shaped.glyphs.push_back({info.glyph, x + static_cast<double>(info.geometry.x_offset) / PANGO_SCALE,
                             static_cast<double>(info.geometry.y_offset) / PANGO_SCALE});
    x += static_cast<double>(info.geometry.width) / PANGO_SCALE;
    // Glyphs of one cluster share its characters.
    if (i + 1 == glyphs->num_glyphs || glyphs->log_clusters[i + 1] != glyphs->log_clusters[i]) {
      int first = i;
      while (first > 0 && glyphs->log_clusters[first - 1] == glyphs->log_clusters[i]) --first;
      const int next = i + 1 < glyphs->num_glyphs ? glyphs->log_clusters[i + 1] : end - start;
      shaped.clusters.push_back({next - glyphs->log_clusters[i], i - first + 1});
    }
  }
  shaped.utf8 = text;
  PangoFontMetrics* metrics = pango_font_get_metrics(run->item->analysis.font, nullptr);
  shaped.underlineOffset = -static_cast<double>(pango_font_metrics_get_underline_position(metrics)) / PANGO_SCALE;
  shaped.underlineThickness = static_cast<double>(pango_font_metrics_get_underline_thickness(metrics)) / PANGO_SCALE;
  pango_font_metrics_unref(metrics);
  shaped.font = cairo_scaled_font_reference(pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run->item->analysis.font)));
  return shaped;
}

cairo_scaled_font_t* PdfText::FontAt(cairo_scaled_font_t* shapingFont, double size) {
  const auto key = std::make_pair(shapingFont, SizeKey(size));
  const auto found = sized_.find(key);
  if (found != sized_.end()) return found->second;
  cairo_matrix_t fontMatrix, userToDevice;
  cairo_scaled_font_get_font_matrix(shapingFont, &fontMatrix);
  cairo_scaled_font_get_ctm(shapingFont, &userToDevice);
  cairo_matrix_scale(&fontMatrix, size / kShapingSize, size / kShapingSize);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_scaled_font_get_font_options(shapingFont, options);
  cairo_scaled_font_t* font =
      cairo_scaled_font_create(cairo_scaled_font_get_font_face(shapingFont), &fontMatrix, &userToDevice, options);
  cairo_font_options_destroy(options);
  sized_[key] = font;
  return font;
}

double PdfText::Width(const std::string& text, TextStyle style, double size) {
  return ShapedOf(text, style).width * size / kShapingSize;
}

double PdfText::LineHeight(double size) { return ShapedOf("0", TextStyle::Regular).height * size / kShapingSize; }

void PdfText::Draw(const std::string& text, TextStyle style, double size, double x, double top) {
  const bool red = style == TextStyle::Answer;
  const Shaped& shaped = ShapedOf(text, style);
  const double scale = size / kShapingSize;
  if (shaped.font == nullptr) {
    SetColour(cairo_, red);
    cairo_save(cairo_);
    cairo_translate(cairo_, x, top);
    cairo_scale(cairo_, scale, scale);
    cairo_move_to(cairo_, 0, 0);
    pango_cairo_show_layout(cairo_, shaped.layout);
    cairo_restore(cairo_);
    return;
  }
  Batch& batch = batches_[{FontAt(shaped.font, size), red}];
  const double baseline = top + shaped.baseline * scale;
  for (const cairo_glyph_t& glyph : shaped.glyphs) {
    batch.glyphs.push_back({glyph.index, x + glyph.x * scale, baseline + glyph.y * scale});
  }
  batch.clusters.insert(batch.clusters.end(), shaped.clusters.begin(), shaped.clusters.end());
  batch.utf8 += shaped.utf8;
  if (style == TextStyle::Answer) {
    underlines_.emplace_back(x, baseline + shaped.underlineOffset * scale, shaped.width * scale,
                             shaped.underlineThickness * scale);
  }
}

void PdfText::Flush() {
  for (auto& [key, batch] : batches_) {
    if (batch.glyphs.empty()) continue;
    SetColour(cairo_, key.second);
    cairo_set_scaled_font(cairo_, key.first);
    cairo_show_text_glyphs(cairo_, batch.utf8.data(), static_cast<int>(batch.utf8.size()), batch.glyphs.data(),
                           static_cast<int>(batch.glyphs.size()), batch.clusters.data(),
                           static_cast<int>(batch.clusters.size()), static_cast<cairo_text_cluster_flags_t>(0));
    batch = Batch{};
  }
  if (!underlines_.empty()) {
    SetColour(cairo_, true);
    for (const auto& [x, y, width, thickness] : underlines_) cairo_rectangle(cairo_, x, y, width, thickness);
    cairo_fill(cairo_);
    underlines_.clear();
  }
  SetColour(cairo_, false);
}

}  // namespace numbrook
