#pragma once

#include <map>
#include <string>
#include <tuple>

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace numbrook {

enum class TextStyle { Regular, Bold, Answer };  // an answer: bold, underlined; drawn in red by the caller

// Text measured and drawn with pango in one font family. Each distinct
// text, style and size is shaped once and kept, since a sheet repeats the
// same few numbers many times.
class PdfText {
 public:
  PdfText(cairo_t* cairo, const std::string& family);
  ~PdfText();
  PdfText(const PdfText&) = delete;
  PdfText& operator=(const PdfText&) = delete;

  double Width(const std::string& text, TextStyle style, double size);
  // The height of a line of the font at this size.
  double LineHeight(double size);
  // Draws the text with its line box's top left at (x, top).
  void Draw(const std::string& text, TextStyle style, double size, double x, double top);

 private:
  PangoLayout* LayoutOf(const std::string& text, TextStyle style, double size);

  cairo_t* cairo_;
  std::string family_;
  PangoContext* context_ = nullptr;
  std::map<std::tuple<std::string, TextStyle, int>, PangoLayout*> layouts_;
};

}  // namespace numbrook
