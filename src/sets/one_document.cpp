#include "sets/one_document.h"

namespace numbrook {

OneDocument::OneDocument(const SheetNames& names, SheetKind kind)
    : kind_(kind), sheets_(std::make_unique<PdfFile>(names.sheet)) {
  if (names.key) keys_ = std::make_unique<PdfFile>(*names.key);
}

bool OneDocument::Add(int /*number*/, const GenerationSettings& sheet, const ProblemTable& table,
                      const Progress& progress) {
  if (!sheets_->Add(sheet, table, kind_, progress)) return false;
  return !keys_ || keys_->Add(sheet, table, SheetKind::AnswerKey, progress);
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
