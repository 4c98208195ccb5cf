// The least a PDF sheet can cost with pango and cairo: a line of the
// sheet's Chinese in the Simplified Chinese sans-serif font and one in its
// bold, the two weights a sheet prints, drawn into a one-page PDF, and
// nothing else. The process benchmark times it beside a real PDF sheet.
//   pdf_floor OUTPUT.pdf
#include <cairo-pdf.h>
#include <pango/pangocairo.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  cairo_surface_t* surface = cairo_pdf_surface_create(argv[1], 595, 842);
  cairo_t* cairo = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cairo);
  PangoFontDescription* font = pango_font_description_from_string("sans-serif 12");
  pango_layout_set_font_description(layout, font);
  pango_context_set_language(pango_layout_get_context(layout), pango_language_from_string("zh-cn"));
  pango_layout_set_text(layout, "姓名：日期：得分：用时： 1. 12 + 7 = □", -1);
  pango_cairo_show_layout(cairo, layout);
  pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "二个数,加法运算,计算题 答案 19", -1);
  cairo_move_to(cairo, 0, 40);
  pango_cairo_show_layout(cairo, layout);
  cairo_show_page(cairo);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cairo);
  cairo_surface_finish(surface);
  const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written ? 0 : 1;
}
