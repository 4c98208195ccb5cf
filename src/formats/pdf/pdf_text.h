#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <cairo.h>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace numbrook {

enum class TextStyle { Regular, Bold, Answer };  // an answer: bold, underlined; drawn in red

// Text measured and drawn with pango in one font family. Each distinct
// text and style is shaped once, at one size, and kept, since a sheet
// repeats the same few numbers many times: outlines drawn as designed (no
// hinting) grow exactly with the size, so every other size is the same
// glyphs scaled, and the font is looked up once per style, not once per
// size tried. The glyphs of a line are then sent to the page in one piece
// per font and colour, which keeps a class set of many pages quick to write.
class PdfText {
 public:
  // Messages of a text the font cannot draw name the file being written.
  PdfText(cairo_t* cairo, const std::string& family, const std::string& shownFile);
  ~PdfText();
  PdfText(const PdfText&) = delete;
  PdfText& operator=(const PdfText&) = delete;

  // Every text is shaped before it is measured or drawn; one with a glyph the
  // font has not (a font fontconfig lists but that cannot be read, or one
  // without these characters) throws ExportError: a sheet of empty boxes is
  // no sheet.
  double Width(const std::string& text, TextStyle style, double size);
  // The height of a line of the font at this size.
  double LineHeight(double size);
  // Draws the text with its line box's top left at (x, top), in black or,
  // as an answer, red: at once, or with the rest of the batch at Flush.
  void Draw(const std::string& text, TextStyle style, double size, double x, double top);
  void Flush();

 private:
  // A text of one font at the shaping size, ready to be placed anywhere at
  // any size: its glyphs from the left end of its baseline, and the
  // characters each glyph stands for.
  struct Shaped {
    PangoLayout* layout = nullptr;
    cairo_scaled_font_t* font = nullptr;  // none: drawn through pango
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;
    double width = 0, height = 0;  // of its line box
    double baseline = 0;
    double underlineOffset = 0, underlineThickness = 0;  // below the baseline
  };
  struct Batch {
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;
  };

  Shaped& ShapedOf(const std::string& text, TextStyle style);
  // The shaping size's font at this size.
  cairo_scaled_font_t* FontAt(cairo_scaled_font_t* shapingFont, double size);

  cairo_t* cairo_;
  std::string family_;
  std::string shownFile_;
  PangoContext* context_ = nullptr;
  std::map<std::pair<std::string, TextStyle>, Shaped> shaped_;
  std::map<std::pair<cairo_scaled_font_t*, long>, cairo_scaled_font_t*> sized_;  // by shaping font and size
  std::map<std::pair<cairo_scaled_font_t*, bool>, Batch> batches_;  // by font and whether red
  std::vector<std::tuple<double, double, double, double>> underlines_;  // x, y, width, thickness
};

}  // namespace numbrook
