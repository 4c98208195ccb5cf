// Writes workbooks again with libxlsxwriter alone, in one process, from
// plans that bench/xlsxwriter_sheet.py made of numbrook-sheet's workbooks:
// the same default font, looks, columns, row heights, cells, page breaks
// and page set-up, in constant-memory mode with its scratch files in
// memory as numbrook-sheet's, cell by cell in row order. It
// is the least that writing those workbooks costs, without the drawing,
// the checks, the locking and the flushing of a real run.
//   xlsx_replay FOLDER ROUNDS PLAN...   (ROUNDS files of each plan)
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Line = std::vector<std::string>;

std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<Line> ReadPlan(const char* file) {
  std::ifstream in(file);
  std::vector<Line> lines;
  std::string text;
  while (std::getline(in, text)) {
    Line fields;
    std::size_t start = 0;
    while (true) {
      const std::size_t tab = text.find('\t', start);
      fields.push_back(Unescaped(text.substr(start, tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    lines.push_back(std::move(fields));
  }
  return lines;
}

lxw_format_alignments Alignment(const std::string& name) {
  if (name == "center") return LXW_ALIGN_CENTER;
  if (name == "right") return LXW_ALIGN_RIGHT;
  if (name == "left") return LXW_ALIGN_LEFT;
  return LXW_ALIGN_NONE;
}

void SetFont(lxw_format* format, const Line& look, std::size_t at) {
  format_set_font_name(format, look[at].c_str());
  format_set_font_size(format, std::atof(look[at + 1].c_str()));
}

// Its scratch files where numbrook-sheet puts its own: in memory.
char kScratch[] = "/dev/shm";

bool Write(const std::vector<Line>& plan, const std::string& file) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = kScratch;
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  if (book == nullptr) return false;
  std::vector<lxw_format*> formats;
  lxw_worksheet* sheet = nullptr;
  std::map<lxw_row_t, double> heights;
  std::vector<const Line*> cells;
  std::vector<lxw_row_t> breaks;
  std::vector<std::string> headers;  // kept alive until the sheet is written
  for (const Line& line : plan) {
    const std::string& kind = line[0];
    if (kind == "default") {
      lxw_format* standard = STAILQ_FIRST(book->formats);
      SetFont(standard, line, 1);
      format_set_font_family(standard, static_cast<uint8_t>(std::atoi(line[3].c_str())));
    } else if (kind == "look") {
      lxw_format* format = workbook_add_format(book);
      SetFont(format, line, 2);
      if (line[4] == "1") format_set_bold(format);
      if (line[5] == "1") format_set_italic(format);
      if (line[6] == "1") format_set_underline(format, LXW_UNDERLINE_SINGLE);
      if (line[7] != "-") format_set_font_color(format, static_cast<lxw_color_t>(std::strtoul(line[7].c_str(), nullptr, 16)));
      if (line[8] != "-") format_set_align(format, Alignment(line[8]));
      if (line[9] == "1") format_set_top(format, LXW_BORDER_THIN);
      if (line[10] != "General") format_set_num_format(format, line[10].c_str());
      format_set_font_family(format, static_cast<uint8_t>(std::atoi(line[11].c_str())));
      formats.push_back(format);
    } else if (kind == "sheet") {
      sheet = workbook_add_worksheet(book, line[1].c_str());
    } else if (kind == "paper") {
      worksheet_set_paper(sheet, static_cast<uint8_t>(std::atoi(line[1].c_str())));
    } else if (kind == "landscape" && line[1] == "1") {
      worksheet_set_landscape(sheet);
    } else if (kind == "fit") {
      worksheet_fit_to_pages(sheet, static_cast<uint16_t>(std::atoi(line[1].c_str())),
                             static_cast<uint16_t>(std::atoi(line[2].c_str())));
    } else if (kind == "margins") {
      worksheet_set_margins(sheet, std::atof(line[1].c_str()), std::atof(line[2].c_str()), std::atof(line[3].c_str()),
                            std::atof(line[4].c_str()));
    } else if (kind == "header" || kind == "footer") {
      lxw_header_footer_options margin{};
      margin.margin = std::atof(line[2].c_str());
      headers.push_back(line[1]);
      if (kind == "header") {
        worksheet_set_header_opt(sheet, headers.back().c_str(), &margin);
      } else {
        worksheet_set_footer_opt(sheet, headers.back().c_str(), &margin);
      }
    } else if (kind == "centered" && line[1] == "1") {
      worksheet_center_horizontally(sheet);
    } else if (kind == "column") {
      lxw_row_col_options hidden{};
      hidden.hidden = line[5] == "1";
      worksheet_set_column_opt(sheet, static_cast<lxw_col_t>(std::atoi(line[1].c_str())),
                               static_cast<lxw_col_t>(std::atoi(line[2].c_str())), std::atof(line[3].c_str()),
                               formats.at(static_cast<std::size_t>(std::atoi(line[4].c_str()))), &hidden);
    } else if (kind == "row") {
      heights[static_cast<lxw_row_t>(std::atoi(line[1].c_str()))] = std::atof(line[2].c_str());
    } else if (kind == "cell") {
      cells.push_back(&line);
    } else if (kind == "break") {
      breaks.push_back(static_cast<lxw_row_t>(std::atoi(line[1].c_str())));
    }
  }
  long written = -1;
  for (const Line* cell : cells) {
    const auto row = static_cast<lxw_row_t>(std::atoi((*cell)[1].c_str()));
    const auto column = static_cast<lxw_col_t>(std::atoi((*cell)[2].c_str()));
    lxw_format* format = formats.at(static_cast<std::size_t>(std::atoi((*cell)[3].c_str())));
    for (; written < static_cast<long>(row); ++written) {
      const auto height = heights.find(static_cast<lxw_row_t>(written + 1));
      if (height != heights.end()) worksheet_set_row(sheet, height->first, height->second, nullptr);
    }
    const std::string& kind = (*cell)[4];
    if (kind == "b") {
      worksheet_write_blank(sheet, row, column, format);
    } else if (kind == "s") {
      worksheet_write_string(sheet, row, column, (*cell)[5].c_str(), format);
    } else {
      worksheet_write_number(sheet, row, column, std::atof((*cell)[5].c_str()), format);
    }
  }
  for (const auto& [row, height] : heights) {
    if (static_cast<long>(row) > written) worksheet_set_row(sheet, row, height, nullptr);
  }
  breaks.push_back(0);
  worksheet_set_h_pagebreaks(sheet, breaks.data());
  return workbook_close(book) == LXW_NO_ERROR;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: xlsx_replay FOLDER ROUNDS PLAN...\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = std::atoi(argv[2]);
  std::vector<std::vector<Line>> plans;
  for (int i = 3; i < argc; ++i) plans.push_back(ReadPlan(argv[i]));
  for (int round = 1; round <= rounds; ++round) {
    for (std::size_t p = 0; p < plans.size(); ++p) {
      const std::string file = folder + "/replay-" + std::to_string(round) + "-" + std::to_string(p) + ".xlsx";
      if (!Write(plans[p], file)) {
        std::fprintf(stderr, "xlsx_replay: could not write %s\n", file.c_str());
        return 1;
      }
    }
  }
  return 0;
}
