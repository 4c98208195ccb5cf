// numbrook-sheet: makes the same worksheets as the window, without one.
#include <malloc.h>

#include <clocale>
#include <iostream>

#include "cli/sheet_options.h"
#include "cli/sheet_run.h"
#include "program_identity.h"

namespace {

// A run is short and its peak is a few megabytes: the heap is neither
// handed back to the system after each free nor served by fresh mappings,
// which the compressor's large buffers would otherwise get (and fault in
// again) for every part of a workbook.
void KeepTheHeap() {
  mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

}  // namespace

int main(int argc, char** argv) {
  KeepTheHeap();
  std::setlocale(LC_ALL, "");
  numbrook::SheetOptions options;
  try {
    options = numbrook::ParseSheetOptions({argv + 1, argv + argc});
  } catch (const std::invalid_argument& error) {
    std::cerr << "numbrook-sheet: " << error.what() << "\n" << "用 numbrook-sheet --help 查看所有选项。\n";
    return 2;
  }
  if (options.help) {
    std::cout << numbrook::SheetUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "numbrook-sheet " << numbrook::kVersionText << "\n";
    return 0;
  }

  return numbrook::MakeSheets(options);
}
