// Numbrook: the settings window, and from it the worksheets.
#include <QApplication>
#include <QScreen>
#include <cstdio>

#include "about/frm_about.h"
#include "app/command_line.h"
#include "cli/process_setup.h"
#include "widgets/desktop.h"
#include "main_window/frm_main2.h"
#include "main_window/qt_translation.h"
#include "program_identity.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = numbrook::HandleCommandLine(argc, argv)) return *status;
  numbrook::ExplainMissingDisplayOnFatal();
  // A class set keeps its files open until they are placed; a sheet past
  // the file size limit is a failure to report, not a reason to end; a
  // workbook's compressor reuses the heap instead of fresh mappings.
  numbrook::KeepTheHeap();
  numbrook::RaiseOpenFileLimit();
  numbrook::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Numbrook");
  QApplication::setApplicationVersion(numbrook::kVersionText);
  QApplication::setDesktopFileName(numbrook::kDesktopId);
  if (!numbrook::InstallQtChineseTranslation(app)) {
    std::fputs("numbrook: Qt's Chinese texts are not installed (Debian package qt6-translations-l10n); "
               "Qt's own buttons and menus stay in English.\n", stderr);
  }

  numbrook::Desktop desktop;
  numbrook::frmMain2 window(desktop);
  window.SetAboutAction([&desktop](QWidget* parent) {
    numbrook::frmAbout about(desktop, parent);
    about.exec();
  });
  window.move(window.screen()->availableGeometry().center() - window.rect().center());
  window.show();
  return QApplication::exec();
}
