// numbrook-sheet: makes the same worksheets as the window, without one.
#include <clocale>
#include <cstdio>
#include <iostream>

#include "cli/process_setup.h"
#include "cli/sheet_options.h"
#include "cli/sheet_run.h"
#include "program_identity.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  numbrook::SetUpSheetProcess();
  numbrook::SheetOptions options;
  try {
    options = numbrook::ParseSheetOptions({argv + 1, argv + argc});
  } catch (const std::invalid_argument& error) {
    std::fprintf(numbrook::UserMessages(), "numbrook-sheet: %s\n用 numbrook-sheet --help 查看所有选项。\n", error.what());
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
