#pragma once

#include <memory>

#include "formats/pdf/pdf_file.h"
#include "sets/set_output.h"

namespace numbrook {

// A PDF of all the run's sheets, each from an odd page when printed on
// both sides, and one of all their keys in the same order, without empty
// pages; the two are placed together at the end.
class OneDocument final : public SetOutput {
 public:
  OneDocument(const SheetNames& names, SheetKind kind, bool twoSided);

  SheetWritten Add(int number, const GenerationSettings& sheet, const ProblemTable& table,
           const Progress& progress) override;
  std::vector<PendingPair> TakeReady(bool end) override;

 private:
  SheetKind kind_;
  std::unique_ptr<PdfFile> sheets_;
  std::unique_ptr<PdfFile> keys_;
};

}  // namespace numbrook
