#include "formats/pdf/pdf_document.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/export_error.h"
#include "formats/pdf/pdf_font.h"
#include "program_identity.h"

namespace numbrook {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

}  // namespace

PdfDocument::PdfDocument(const PendingFile& target, bool twoSided) : target_(target), twoSided_(twoSided) {
  const std::string family = SimplifiedChineseFamily();
  surface_ = cairo_pdf_surface_create_for_stream(
      [](void* self, const unsigned char* data, unsigned length) {
        return static_cast<cairo_status_t>(Buffer(self, data, length));
      },
      this, 595.0, 842.0);
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, kProgramTitle);
  cairo_ = cairo_create(surface_);
  if (cairo_status(cairo_) != CAIRO_STATUS_SUCCESS) Fail(cairo_status_to_string(cairo_status(cairo_)));
  text_ = std::make_unique<PdfText>(cairo_, family, target_.FinalPath().string());
  // Every kind of character a sheet prints, shaped once before any page: a
  // font that cannot draw them is refused here, with its reason.
  for (TextStyle style : {TextStyle::Regular, TextStyle::Bold}) {
    text_->Width("0123456789+-−=×÷()（）……□姓名日期得分用时第页共你真棒还不错要加油说明答案编号二三个数加减乘除法混合运算计算题填空随机以内含不进位退",
                 style, 12);
  }
}

PdfDocument::~PdfDocument() {
  text_.reset();
  if (cairo_ != nullptr) cairo_destroy(cairo_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

unsigned PdfDocument::Buffer(void* self, const unsigned char* data, unsigned length) {
  auto* document = static_cast<PdfDocument*>(self);
  if (document->writeError_ != 0) return CAIRO_STATUS_WRITE_ERROR;
  document->buffer_.append(reinterpret_cast<const char*>(data), length);
  if (document->buffer_.size() >= kBufferSize) document->Flush();
  return document->writeError_ == 0 ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

void PdfDocument::Flush() {
  const char* data = buffer_.data();
  std::size_t length = buffer_.size();
  while (length > 0 && writeError_ == 0) {
    const ssize_t written = write(target_.Descriptor(), data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      writeError_ = written < 0 ? errno : ENOSPC;
      break;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  buffer_.clear();
}

void PdfDocument::StartSheet() {
  if (twoSided_ && pages_ % 2 == 1) {
    cairo_show_page(cairo_);
    ++pages_;
  }
}

void PdfDocument::StartPage(double width, double height) { cairo_pdf_surface_set_size(surface_, width, height); }

void PdfDocument::EndPage() {
  cairo_show_page(cairo_);
  ++pages_;
  if (writeError_ != 0) Fail(ReasonOf(writeError_));
}

void PdfDocument::Close() {
  text_.reset();
  cairo_destroy(cairo_);
  cairo_ = nullptr;
  cairo_surface_finish(surface_);
  Flush();
  const cairo_status_t status = cairo_surface_status(surface_);
  if (writeError_ != 0) Fail(ReasonOf(writeError_));
  if (status != CAIRO_STATUS_SUCCESS) Fail(cairo_status_to_string(status));
}

void PdfDocument::Fail(const std::string& reason) const {
  throw ExportError("无法写入文件“" + target_.FinalPath().string() + "”：" + reason);
}

}  // namespace numbrook
