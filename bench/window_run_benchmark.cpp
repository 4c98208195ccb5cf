// A 1000-problem run from the settings window on a real X server (a private
// Xvfb with openbox), from Alt+Y, typed on the server's keyboard, to the file in place, beside numbrook-sheet
// making the same sheet.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>

#include "cli/process_setup.h"
#include "main_window/frm_main2.h"
#include "window_support/recording_desktop.h"
#include "window_support/x_session.h"

namespace {

constexpr int kRepeats = 21;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double WindowRun(numbrook::testing::XSession& session, numbrook::frmMain2& window, numbrook::RecordingDesktop& desktop) {
  const qsizetype before = desktop.opened.size();
  window.findChild<QLineEdit*>("Text1")->setText("1000");
  QElapsedTimer clock;
  clock.start();
  session.PressAltWith('y');
  // Waits for events as the program's loop does: a loop that polls would
  // take a core from the run.
  while (desktop.opened.size() == before && clock.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  const double seconds = clock.nsecsElapsed() / 1e9;
  if (desktop.opened.size() != before + 1) qFatal("the run did not hand a file to the desktop: %s", qPrintable(desktop.messages.join(" / ")));
  return seconds;
}

double SheetRun(const QString& format, const QString& file) {
  QElapsedTimer clock;
  clock.start();
  QProcess sheet;
  sheet.start(NUMBROOK_SHEET_PROGRAM, {"--count", "1000", "--format", format, "--output", file});
  if (!sheet.waitForFinished(60000) || sheet.exitCode() != 0) qFatal("numbrook-sheet failed");
  return clock.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  numbrook::testing::XSession session;
  if (session.DisplayName().empty()) {
    std::fprintf(stderr, "window_run_benchmark: %s\n", session.Missing().c_str());
    return 1;
  }
  qputenv("DISPLAY", session.DisplayName().c_str());
  qputenv("QT_QPA_PLATFORM", "xcb");
  QTemporaryDir folder;
  qputenv("TMPDIR", folder.path().toUtf8());
  // The window writes into the documents folder: that of a home of its own.
  qputenv("HOME", folder.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (folder.path() + "/.config").toUtf8());
  numbrook::KeepTheHeap();  // as the program's main does
  QApplication app(argc, argv);
  numbrook::RecordingDesktop desktop;
  numbrook::frmMain2 window(desktop);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 3000)) {
    window.hide();  // see the window test: openbox now and then misses the first map
    window.show();
  }
  if (!QTest::qWaitForWindowExposed(&window, 10000)) qFatal("the window was not shown");
  QTest::qWait(300);
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window, 5000)) qFatal("the window did not become active: Alt+Y would not reach it");

  std::printf("1000 problems, median of %d runs (s)\n%-6s %10s %14s\n", kRepeats, "format", "window", "numbrook-sheet");
  for (const char* format : {"text", "excel"}) {
    window.findChild<QRadioButton*>(std::string_view(format) == "text" ? "Option2_0" : "Option2_1")->setChecked(true);
    std::vector<double> windowTimes, sheetTimes;
    for (int i = 0; i < kRepeats; ++i) {
      windowTimes.push_back(WindowRun(session, window, desktop));
      sheetTimes.push_back(SheetRun(format, folder.filePath(QString("sheet-%1").arg(i))));
    }
    std::printf("%-6s %10.3f %14.3f\n", format, Median(windowTimes), Median(sheetTimes));
  }
  return 0;
}
