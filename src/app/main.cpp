// Numbrook: the settings window, and from it the worksheets.
#include <QApplication>
#include <QScreen>

#include "about/frm_about.h"
#include "main_window/desktop.h"
#include "main_window/frm_main2.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Numbrook");
  QApplication::setDesktopFileName("numbrook");

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
