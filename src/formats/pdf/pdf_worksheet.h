#pragma once

#include <string>
#include <vector>

#include "formats/pdf/pdf_document.h"
#include "formats/pdf/pdf_page_plan.h"
#include "sheet/sheet_layout.h"
#include "sheet/worksheet_writer.h"

namespace numbrook {

// A print-ready sheet on A4 pages of a PDF document: on every page the
// description as title and lines to write the name, date, score and time
// on; the problems in lines, each optionally over its column form in digit
// boxes or its working lines (脱式); at the foot the self-rating line and the page's number. A key's
// answers are red, bold and underlined, to stand out also in grey.
class PdfWorksheetWriter final : public WorksheetWriter {
 public:
  // Plans the pages when asked for its shape; the sheet itself is drawn as the run
  // drives the writer.
  PdfWorksheetWriter(PdfDocument& document, const GenerationSettings& settings);

  PageShape Shape(const SheetLayout& problems) override;  // plans the pages for these problems
  void Open(const SheetLayout& layout) override;
  void StartLine(const SheetLine& line, bool firstOnPage) override;  // a new page with its header first
  void WriteProblem(int position, const SheetProblem& problem) override;
  void EndLine(bool lastOnPage) override;  // the page's footer after its last line
  void Finish() override;
  std::vector<std::string> Notices() const override;  // fewer problems a line than asked

 private:
  void DrawHeader();
  void DrawFooter();
  void DrawCellText(const std::string& text, TextStyle style, double left, double width, double centreY);
  void AddBox(double left, double top, double width, double height);
  void StrokeLines();
  void DrawColumnForm(double left, double top, const ColumnForm& form);
  void DrawDivisionFrame(double left, double top, const ColumnForm& form);
  void DrawDigits(const SheetCell& cell, double left, double top, int places);
  void DrawWorking(double left, const SheetProblem& problem);

  PdfDocument& document_;
  PdfText& text_;
  PdfPagePlan plan_;
  const GenerationSettings& settings_;
  int asked_;  // problems a line
  const SheetLayout* layout_ = nullptr;
  int page_ = 0;
  double numberWidth_ = 0;  // the page's number column
  double lineLeft_ = 0;
  double lineTop_ = 0;
  // The line's boxes and rules, stroked together when it ends: one drawing
  // operation instead of one each keeps a page quick to write.
  struct Rectangle {
    double left, top, width, height;
  };
  std::vector<Rectangle> boxes_;
  std::vector<Rectangle> rules_;
  std::vector<Rectangle> brackets_;  // a bracket's top end, its bulge and its height
  std::vector<Rectangle> writingLines_;  // the working's lines to write on
};

}  // namespace numbrook
