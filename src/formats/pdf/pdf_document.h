#pragma once

#include <memory>
#include <string>

#include "formats/pdf/pdf_text.h"
#include "files/pending_file.h"

typedef struct _cairo_surface cairo_surface_t;

namespace numbrook {

// A PDF being written with cairo into a pending file: pages of any size,
// one after another, text in the Simplified Chinese font, each font
// embedded as the subset the pages use. For a two-sided print sheets start
// on odd pages, so that no leaf holds two sheets.
class PdfDocument {
 public:
  // Throws ExportError when no Simplified Chinese font is installed.
  PdfDocument(const PendingFile& target, bool twoSided);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // The next page is the first of a sheet: printed on both sides, after an
  // odd count of pages an empty page comes first.
  void StartSheet();
  void StartPage(double width, double height);
  void EndPage();
  cairo_t* Cairo() const { return cairo_; }
  PdfText& Text() { return *text_; }

  // Writes the rest of the file. Throws ExportError naming the file.
  void Close();

 private:
  static unsigned Buffer(void* self, const unsigned char* data, unsigned length);
  void Flush();
  [[noreturn]] void Fail(const std::string& reason) const;

  const PendingFile& target_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cairo_ = nullptr;
  std::unique_ptr<PdfText> text_;
  bool twoSided_;
  int pages_ = 0;
  int writeError_ = 0;  // the system's reason of the first failed write
  std::string buffer_;  // cairo hands over many small pieces
};

}  // namespace numbrook
