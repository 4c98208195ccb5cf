#include "sheet/sheet_walk.h"

namespace numbrook {

SheetWritten WriteSheet(WorksheetWriter& writer, const GenerationSettings& settings, const ProblemTable& table,
                        SheetKind kind, const Progress& progress) {
  // Laid out once; the writer pages the problems as its format needs.
  SheetLayout layout = LayOutSheet(settings, table, kind, {settings.PerRow, 0});
  Repage(layout, writer.Shape(layout));
  writer.Open(layout);
  int written = 0;
  for (const SheetPage& page : layout.pages) {
    for (std::size_t l = 0; l < page.lines.size(); ++l) {
      const SheetLine& line = page.lines[l];
      if (!progress.Yield()) return {};
      writer.StartLine(line, l == 0);
      for (std::size_t p = 0; p < line.problems.size(); ++p) {
        if (!progress.Yield()) return {};
        writer.WriteProblem(static_cast<int>(p) + 1, line.problems[p]);
        progress.Count(++written);
      }
      writer.EndLine(l + 1 == page.lines.size());
    }
  }
  writer.Finish();
  return {true, writer.Notices()};
}

}  // namespace numbrook
