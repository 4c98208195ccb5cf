#pragma once

#include <memory>

#include "formats/pdf/pdf_sheets.h"
#include "sets/set_output.h"

namespace numbrook {

// A PDF of all the run's sheets, each from an odd page when printed on
// both sides, and one of all their keys in the same order, without empty
// pages; the two are placed together at the end. The PDF writer is loaded
// for the first document a process makes.
class OneDocument final : public SetOutput {
 public:
  OneDocument(const SheetNames& names, SheetKind kind, bool twoSided);

  void Add(int number, const GenerationSettings& sheet, ProblemTable table, const Progress& progress) override;
  std::vector<SheetDone> Finished(bool all) override;
  std::vector<PendingPair> TakeReady(bool end) override;

 private:
  SheetKind kind_;
  std::unique_ptr<PdfSheets> sheets_;
  std::unique_ptr<PdfSheets> keys_;
  std::vector<SheetDone> finished_;
};

}  // namespace numbrook
