// The desktop's open of a file, with a stand-in xdg-open on PATH that
// answers as the real one does: an open that fails is reported once, naming
// the file and its folder, and the box's button opens the folder.
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <fstream>

#include "files_support/temp_folder.h"
#include "window_support/scoped_documents.h"
#include "main_window/frm_main2.h"
#include "widgets/desktop.h"

namespace numbrook {

class DesktopOpenTest : public QObject {
  Q_OBJECT

  testing::TempFolder bin_;
  QByteArray path_;

  std::filesystem::path Log() const { return bin_.path() / "opened.log"; }

  // An xdg-open that logs what it was given and ends with the exit code
  // asked for files; folders always open.
  void InstallOpener(int fileExitCode) {
    const std::filesystem::path script = bin_.path() / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> '" << Log().string() << "'\n"
                          << "case \"$1\" in *.TXT) exit " << fileExitCode << ";; esac\nexit 0\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }

  QStringList Opened() const {
    return QString::fromStdString(testing::ReadBytes(Log())).split('\n', Qt::SkipEmptyParts);
  }

 private slots:
  void initTestCase() {
    path_ = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin_.path().string()));
  }
  void cleanupTestCase() { qputenv("PATH", path_); }
  void init() {
    std::filesystem::remove(Log());
    std::filesystem::remove(bin_.path() / "xdg-open");
  }

  void failedOpenIsReportedWithTheFolder_data() {
    QTest::addColumn<int>("exitCode");  // -1: no xdg-open at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("opened") << 0 << "";
    QTest::newRow("no program for the type") << 3 << "没有与这类文件关联的程序";
    QTest::newRow("the program failed") << 4 << "xdg-open 报告失败（退出代码 4）";
    QTest::newRow("no opener") << -1 << "系统没有打开文件的程序 xdg-open";
  }
  void failedOpenIsReportedWithTheFolder() {
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    if (exitCode >= 0) InstallOpener(exitCode);
    testing::TempFolder folder;
    const std::filesystem::path file = folder.path() / "加法运算题目列表.TXT";
    std::ofstream(file) << "1+1=\n";
    QWidget window;
    window.show();
    Desktop desktop;
    desktop.Open(&window, Desktop::FileUrl(file));

    if (reason.isEmpty()) {
      QTRY_COMPARE(Opened().size(), 1);
      QTest::qWait(100);
      QVERIFY(window.findChild<QMessageBox*>("OpenFailure") == nullptr);
      return;
    }
    QTRY_VERIFY(window.findChild<QMessageBox*>("OpenFailure") != nullptr);
    QMessageBox* box = window.findChild<QMessageBox*>("OpenFailure");
    const QString folderText = QString::fromStdString(folder.path().string());
    QVERIFY2(box->text().contains("“加法运算题目列表.TXT”"), qPrintable(box->text()));
    QVERIFY2(box->text().contains(reason), qPrintable(box->text()));
    QVERIFY2(box->text().contains("文件夹“" + folderText + "”"), qPrintable(box->text()));
    QCOMPARE(window.findChildren<QMessageBox*>().size(), 1);
    if (exitCode < 0) return;
    box->findChild<QPushButton*>("OpenFolder")->click();
    QTRY_COMPARE(Opened().size(), 2);
    QCOMPARE(QUrl(Opened()[1]).toLocalFile(), folderText);
    QTRY_VERIFY(window.findChild<QMessageBox*>("OpenFailure") == nullptr);  // the folder opened
  }

  // The settings window's Start, with no program for text files.
  void theWindowTellsOfAFailedOpen() {
    InstallOpener(3);
    // The stand-in first; xdg-user-dir from the system.
    qputenv("PATH", QByteArray::fromStdString(bin_.path().string()) + ":" + path_);
    const testing::ScopedDocuments documents;
    Desktop desktop;
    frmMain2 window(desktop);
    window.show();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option2_0"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>("CmdOK"), Qt::LeftButton);
    QTRY_VERIFY(window.findChild<QMessageBox*>("OpenFailure") != nullptr);
    const QString text = window.findChild<QMessageBox*>("OpenFailure")->text();
    QVERIFY2(text.startsWith("无法打开文件“加法运算题目列表") && text.contains(".TXT”：没有与这类文件关联的程序"),
             qPrintable(text));
    QVERIFY2(text.contains("文件夹“" + QString::fromStdString(documents.Folder().string()) + "”"), qPrintable(text));
    QVERIFY(window.findChild<QPushButton*>("CmdOK")->isEnabled());
    qputenv("PATH", QByteArray::fromStdString(bin_.path().string()));
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::DesktopOpenTest)
#include "desktop_open_test.moc"
