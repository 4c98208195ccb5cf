// What a screen reader learns of both windows through Qt's accessibility
// interface, and the About window's links used by keyboard alone.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include "about/about_window_table.h"
#include "about/frm_about.h"
#include "main_window/frm_main2.h"
#include "main_window/main_window_table.h"
#include "window_support/recording_desktop.h"

namespace numbrook {

class AccessibilityTest : public QObject {
  Q_OBJECT

  RecordingDesktop desktop_;

  static QAccessibleInterface* Accessible(QWidget* window, const char* name) {
    QWidget* control = window->findChild<QWidget*>(name);
    return control != nullptr ? QAccessible::queryAccessibleInterface(control) : nullptr;
  }

  // Every control that Tab reaches has a name made of visible characters,
  // the one its caption shows or its table row gives.
  static void ExpectNamed(QWidget* window, std::span<const ControlRow> rows) {
    for (const ControlRow& row : rows.subspan(1)) {
      QAccessibleInterface* accessible = Accessible(window, row.name);
      QVERIFY2(accessible != nullptr, row.name);
      const QString name = accessible->text(QAccessible::Name);
      QString expected = *row.spoken != '\0' ? Utf8(row.spoken) : Utf8(row.caption).remove('&');
      if (row.kind == ControlKind::Picture || row.kind == ControlKind::Line) continue;
      if (row.kind == ControlKind::DropDown) expected = window->findChild<QComboBox*>(row.name)->currentText();
      if (row.kind == ControlKind::Link && expected.isEmpty()) expected = window->findChild<QLabel*>(row.name)->text();
      QCOMPARE(name, expected);
      QVERIFY2(!name.contains(QChar(0x2060)), row.name);
      if (row.tab != kNoTab) QVERIFY2(accessible->state().focusable, row.name);
    }
  }

 private slots:
  void init() { desktop_ = RecordingDesktop(); }

  void mainWindowControlsAreNamed() {
    frmMain2 window(desktop_);
    window.show();
    ExpectNamed(&window, kMainWindowTable);
    QCOMPARE(Accessible(&window, "Text3")->text(QAccessible::Name), QString("加法范围"));
    QCOMPARE(Accessible(&window, "Text4")->text(QAccessible::Name), QString("减法范围"));
    QCOMPARE(Accessible(&window, "Text1")->role(), QAccessible::EditableText);
  }

  void aboutWindowControlsAreNamedAndLinksAreLinks() {
    frmAbout about(desktop_);
    about.show();
    ExpectNamed(&about, kAboutWindowTable);
    QCOMPARE(Accessible(&about, "lblDisclaimer")->text(QAccessible::Name), Utf8(kDisclaimer));
    for (const char* link : {"lblTitle", "Label1"}) {
      QAccessibleInterface* accessible = Accessible(&about, link);
      QCOMPARE(accessible->role(), QAccessible::Link);
      QVERIFY(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    Accessible(&about, "Label1")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(desktop_.opened, QList<QUrl>{QUrl("mailto:hello@dl.example")});
  }

  // Tab goes from the buttons to the links; Enter or Space opens the one
  // with the focus, and the focus frame shows which.
  void linksByKeyboard() {
    frmAbout about(desktop_);
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"cmdOK", "CmdUpdate", "lblTitle", "Label1", "cmdOK"}));

    QWidget* title = about.findChild<QWidget*>("lblTitle");
    const QImage unfocused = title->grab().toImage();
    about.findChild<QWidget*>("CmdUpdate")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), title);
    QVERIFY(title->grab().toImage() != unfocused);  // the focus frame
    QTest::keyClick(title, Qt::Key_Return);
    QTest::keyClick(title, Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(desktop_.opened, (QList<QUrl>{QUrl("http://dl.example/soft/104372.htm"),
                                           QUrl("http://dl.example/soft/104372.htm"), QUrl("mailto:hello@dl.example")}));
    QVERIFY(desktop_.messages.isEmpty());  // Enter on a link is not the default button's
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::AccessibilityTest)
#include "accessibility_test.moc"
