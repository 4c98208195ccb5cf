#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/pending_file.h"
#include "export/worksheet_writer.h"
#include "generation/generation_settings.h"
#include "generation/problem_table.h"

namespace numbrook {

// The plain-text worksheet: GBK, CR LF line ends, aligned with spaces for a
// fixed-pitch font. A header, the description, the problems in lines of
// PerRow, each line optionally followed by its problems in column form, and
// the self-rating line at the bottom.
class TextWorksheetWriter final : public WorksheetWriter {
 public:
  // Writes into the pending file; messages name its final path.
  TextWorksheetWriter(const PendingFile& target, const GenerationSettings& settings, const ProblemTable& table,
                      SheetKind kind = SheetKind::Pupil);
  ~TextWorksheetWriter() override;
  TextWorksheetWriter(const TextWorksheetWriter&) = delete;
  TextWorksheetWriter& operator=(const TextWorksheetWriter&) = delete;

  void Open() override;                               // the header and the description
  void StartLine() override;
  void WriteProblem(int position, int row) override;  // one problem after the others of its line
  void EndLine() override;                            // the line, then its column form
  void Finish() override;                             // the self-rating line; the file is closed

 private:
  std::string TermField(const std::string& cell) const;
  std::string DigitCell(const std::string& cell, std::optional<int> answer) const;
  void WriteVerticalBlock();
  std::string Slot(const std::string& first, const std::string& content) const;
  void WriteBlockRow(int margin, const std::function<std::string(const ProblemRow&)>& slotOf);
  void WriteLine(const std::string& text);
  [[noreturn]] void Fail(const char* what) const;

  const PendingFile& target_;
  const GenerationSettings& settings_;
  const ProblemTable& table_;
  std::FILE* file_ = nullptr;
  std::string line_;
  SheetKind kind_;
  std::vector<ProblemRow> vertical_;
};

}  // namespace numbrook
