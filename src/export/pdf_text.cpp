#include "export/pdf_text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>

namespace numbrook {

PdfText::PdfText(cairo_t* cairo, const std::string& family) : cairo_(cairo), family_(family) {
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
  for (auto& [key, layout] : layouts_) g_object_unref(layout);
  g_object_unref(context_);
}

PangoLayout* PdfText::LayoutOf(const std::string& text, TextStyle style, double size) {
  const auto key = std::make_tuple(text, style, static_cast<int>(std::lround(size * 100)));
  const auto found = layouts_.find(key);
  if (found != layouts_.end()) return found->second;
  PangoLayout* layout = pango_layout_new(context_);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family_.c_str());
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
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
  layouts_.emplace(key, layout);
  return layout;
}

double PdfText::Width(const std::string& text, TextStyle style, double size) {
  PangoRectangle logical;
  pango_layout_get_extents(LayoutOf(text, style, size), nullptr, &logical);
  return static_cast<double>(logical.width) / PANGO_SCALE;
}

double PdfText::LineHeight(double size) {
  PangoRectangle logical;
  pango_layout_get_extents(LayoutOf("0", TextStyle::Regular, size), nullptr, &logical);
  return static_cast<double>(logical.height) / PANGO_SCALE;
}

void PdfText::Draw(const std::string& text, TextStyle style, double size, double x, double top) {
  cairo_move_to(cairo_, x, top);
  pango_cairo_show_layout(cairo_, LayoutOf(text, style, size));
}

}  // namespace numbrook
