// The pointer that a real X server (Xvfb with openbox) shows over every
// control of the settings window during a run and after it, read back with
// XFixes: what the user sees, not what Qt was asked for.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "files_support/temp_folder.h"
#include "main_window/frm_main2.h"
#include "main_window/main_window_table.h"
#include "window_support/recording_desktop.h"
#include "window_support/scoped_documents.h"
#include "window_support/x_session.h"

namespace numbrook {
namespace {

using Pointer = testing::XSession::Pointer;
testing::XSession* session = nullptr;

// Lets the window and the X server catch up until the pointer shown passes
// the test, for up to two seconds; returns the last pointer seen.
template <typename Test>
Pointer PointerWhen(Test test) {
  Pointer shown;
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    shown = session->PointerShown();
    if (test(shown)) break;
    QThread::msleep(5);
  } while (clock.elapsed() < 2000);
  return shown;
}

Pointer PointerNamed(const QStringList& names) {
  return PointerWhen([&](const Pointer& p) { return names.contains(QString::fromStdString(p.name)); });
}

bool CursorThemeInstalled() {
  std::error_code error;
  for (const auto& theme : std::filesystem::directory_iterator("/usr/share/icons", error)) {
    if (std::filesystem::exists(theme.path() / "cursors" / "left_ptr", error)) return true;
  }
  return false;
}

// Puts the pointer on a point of the control that no other control covers.
bool PointAt(QWidget* control) {
  for (int y = control->height() / 2; y >= 1; --y) {
    for (int x = control->width() / 2; x >= 1; --x) {
      const QPoint global = control->mapToGlobal(QPoint(x, y));
      if (QApplication::widgetAt(global) != control) continue;
      QCursor::setPos(global);
      return QTest::qWaitFor([&] { return QCursor::pos() == global; });
    }
  }
  return false;
}

}  // namespace

class BusyPointerXTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (session->DisplayName().empty()) QSKIP(qPrintable("no X server: " + QString::fromStdString(session->Missing())));
    // The names X reports come from the cursor theme; without one every
    // pointer is a nameless core cursor and no pointer can be told apart.
    if (!CursorThemeInstalled()) QSKIP("no cursor theme in /usr/share/icons (Debian package dmz-cursor-theme)");
  }

  // During a run every control shows the window's own busy pointer, the one
  // over its bare background; after the run each shows its usual one again.
  void busyPointerOverEveryControlDuringARun() {
    RecordingDesktop desktop;
    frmMain2 window(desktop);
    window.move(200, 200);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 3000)) {
      // openbox now and then leaves a window mapped right after its start
      // unmanaged and unmapped; showing it again has it managed.
      window.hide();
      window.show();
    }
    QVERIFY(QTest::qWaitForWindowExposed(&window, 10000));
    QTest::qWait(300);  // the window manager places and frames the window
    window.findChild<QRadioButton*>("Option2_0")->setChecked(true);  // text: no spreadsheet needed
    // Each with its key in column form: a set that lasts some seconds.
    window.findChild<QCheckBox*>("CheckKey")->setChecked(true);
    window.findChild<QCheckBox*>("CheckExp")->setChecked(true);
    const testing::ScopedDocuments documents;
    const QPoint background = window.mapToGlobal(QPoint(20, 240));  // left of Start
    QCOMPARE(QApplication::widgetAt(background), &window);

    std::vector<Pointer> busyImages;  // gathered in the first run
    for (const ControlRow& row : std::span(kMainWindowTable).subspan(1)) {
      QWidget* control = window.findChild<QWidget*>(row.name);
      QVERIFY2(PointAt(control), row.name);
      const bool field = row.kind == ControlKind::NumberField;
      const QStringList usual = field ? QStringList{"xterm", "ibeam", "text"} : QStringList{"left_ptr", "default"};
      const Pointer idle = PointerNamed(usual);
      QVERIFY2(usual.contains(QString::fromStdString(idle.name)), row.name);

      // The busy pointer is animated: every image it shows over the bare
      // window, then the one over the control must be among them.
      Pointer shown, atRest;
      const auto busy = [&](Pointer p) {
        if (p.name == "watch" || p.name == "wait") return true;
        p.name.clear();
        return std::find(busyImages.begin(), busyImages.end(), p) != busyImages.end();
      };
      QTimer::singleShot(0, &window, [&] {
        atRest = PointerWhen(busy);  // the pointer has not moved since Start
        const bool gather = busyImages.empty();
        QCursor::setPos(background);
        PointerNamed({"watch", "wait"});
        QElapsedTimer clock;
        clock.start();
        while (gather && clock.elapsed() < 1500) {
          QCoreApplication::processEvents();
          Pointer p = session->PointerShown();
          p.name.clear();
          if (std::find(busyImages.begin(), busyImages.end(), p) == busyImages.end()) busyImages.push_back(p);
          QThread::msleep(2);
        }
        PointAt(control);
        shown = PointerWhen([&](Pointer p) {
          p.name.clear();
          return std::find(busyImages.begin(), busyImages.end(), p) != busyImages.end();
        });
      });
      // A set long enough to measure in, stopped once measured.
      window.findChild<QLineEdit*>("Text1")->setText("1000");
      window.findChild<QLineEdit*>("Text5")->setText("1000");
      window.CmdOK_Click();
      QTest::qWait(0);
      window.StopRun();
      window.WaitForRun();
      Pointer idleImage = idle;
      idleImage.name.clear();
      QVERIFY2(std::find(busyImages.begin(), busyImages.end(), idleImage) == busyImages.end(), row.name);
      QVERIFY2(busy(atRest), qPrintable(QString("%1 at rest: %2").arg(row.name, QString::fromStdString(atRest.name))));
      shown.name.clear();
      QVERIFY2(std::find(busyImages.begin(), busyImages.end(), shown) != busyImages.end(), row.name);
      const Pointer after = PointerNamed(usual);
      QVERIFY2(usual.contains(QString::fromStdString(after.name)), qPrintable(QString("%1 after the run: %2").arg(row.name, QString::fromStdString(after.name))));
    }
    QVERIFY(desktop.opened.empty());
    for (const auto& message : desktop.messages) QVERIFY2(message.startsWith("运行已停止。"), qPrintable(message));
  }
};

}  // namespace numbrook

int main(int argc, char** argv) {
  numbrook::testing::XSession session;
  numbrook::session = &session;
  if (!session.DisplayName().empty()) {
    qputenv("DISPLAY", session.DisplayName().c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication app(argc, argv);
  numbrook::BusyPointerXTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "busy_pointer_x_test.moc"
