#include "sets/one_document.h"

#include <utility>

#include "files/export_error.h"
#include "sets/pdf_module.h"

namespace numbrook {

OneDocument::OneDocument(const SheetNames& names, SheetKind kind, bool twoSided)
    : kind_(kind), sheets_(NewPdfSheets(names.sheet, twoSided)) {
  // Keys are read by the teacher, not handed out leaf by leaf.
  if (names.key) keys_ = NewPdfSheets(*names.key, false);
}

// Both documents grow page by page: the sheets are written in turn.
void OneDocument::Add(int number, const GenerationSettings& sheet, ProblemTable table, const Progress& progress) {
  SheetDone done;
  done.number = number;
  try {
    done.written = sheets_->Add(sheet, table, kind_, progress);
    if (done.written && keys_ && !keys_->Add(sheet, table, SheetKind::AnswerKey, progress)) done.written = {};
  } catch (const ExportError& error) {
    done.error = error.what();
  }
  finished_.push_back(std::move(done));
}

std::vector<SheetDone> OneDocument::Finished(bool /*all*/) { return std::exchange(finished_, {}); }

std::vector<PendingPair> OneDocument::TakeReady(bool end) {
  if (!end) return {};
  std::vector<PendingPair> ready(1);
  ready.front().sheet = sheets_->Close();
  ready.front().sheetKind = kind_;
  if (keys_) ready.front().key = keys_->Close();
  return ready;
}

}  // namespace numbrook
