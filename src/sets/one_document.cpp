#include "sets/one_document.h"

namespace numbrook {

OneDocument::OneDocument(const SheetNames& names, SheetKind kind, bool twoSided)
    : kind_(kind), sheets_(std::make_unique<PdfFile>(names.sheet, twoSided)) {
  // Keys are read by the teacher, not handed out leaf by leaf.
  if (names.key) keys_ = std::make_unique<PdfFile>(*names.key, false);
}

SheetWritten OneDocument::Add(int /*number*/, const GenerationSettings& sheet, const ProblemTable& table,
                              const Progress& progress) {
  SheetWritten written = sheets_->Add(sheet, table, kind_, progress);
  if (!written) return written;
  if (keys_ && !keys_->Add(sheet, table, SheetKind::AnswerKey, progress)) return {};
  return written;
}

std::vector<PendingPair> OneDocument::TakeReady(bool end) {
  if (!end) return {};
  std::vector<PendingPair> ready(1);
  ready.front().sheet = sheets_->Close();
  ready.front().sheetKind = kind_;
  if (keys_) ready.front().key = keys_->Close();
  return ready;
}

}  // namespace numbrook
