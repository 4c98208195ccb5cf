// The settings window driven as a person would: keys, clicks and focus.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "files_support/temp_folder.h"
#include "window_support/scoped_documents.h"
#include "widgets/desktop.h"
#include "main_window/frm_main2.h"
#include "main_window/numeric_text_box.h"
#include "main_window/window_request.h"

namespace numbrook {

// Records message boxes and opened files instead of showing them.
class RecordingDesktop : public Desktop {
 public:
  struct Message {
    QMessageBox::Icon icon;
    QString title, text;
  };
  void ShowMessage(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text) override {
    messages.push_back({icon, title, text});
  }
  void Open(QWidget*, const QUrl& target) override { opened.push_back(target); }
  std::vector<Message> messages;
  std::vector<QUrl> opened;
};

class FrmMain2Test : public QObject {
  Q_OBJECT

 private:
  RecordingDesktop desktop_;
  std::unique_ptr<frmMain2> window_;

  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
  }
  QLineEdit* Field(const char* name) { return Find<QLineEdit>(name); }

  // The sheets' folder stands for /proc, where no file can be made, even by root.
  static void MakeUnwritable(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder.parent_path());
    std::filesystem::create_directory_symlink("/proc", folder);
  }

  // Types into a field as a person would, then leaves it with Tab.
  void TypeAndLeave(const char* name, const QString& text) {
    QLineEdit* field = Field(name);
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }

 private slots:
  void init() {
    desktop_ = RecordingDesktop();
    window_ = std::make_unique<frmMain2>(desktop_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void firstDisplayShowsTheStartUpValues() {
    QCOMPARE(window_->windowTitle(), QString("Numbrook"));
    QCOMPARE(window_->size(), QSize(500, 454));
    QCOMPARE(Find<QComboBox>("Combo1")->currentText(), QString("二个数"));
    QVERIFY(Find<QRadioButton>("Option3_0")->isChecked());
    QVERIFY(!Find<QRadioButton>("Option3_3")->isEnabled());
    QVERIFY(!Find<QCheckBox>("CheckAS")->isEnabled());
    QVERIFY(!Find<QCheckBox>("CheckAS")->isChecked());
    QVERIFY(Find<QCheckBox>("CheckA")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckS")->isChecked());
    QVERIFY(Find<QRadioButton>("Option2_1")->isChecked());
    QVERIFY(Find<QCheckBox>("CheckNewPage")->isChecked());
    QVERIFY(Find<QCheckBox>("CheckAdd")->isChecked());
    QVERIFY(Find<QCheckBox>("CheckSub")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckExp")->isChecked());
    QCOMPARE(Field("Text1")->text(), QString("100"));
    QCOMPARE(Field("Text2")->text(), QString("4"));
    QCOMPARE(Field("Text3")->text(), QString("20"));
    QCOMPARE(Field("Text4")->text(), QString("10"));
    QCOMPARE(QApplication::focusWidget(), Field("Text1"));
    QCOMPARE(Field("Text1")->toolTip(), QString("不可超过1000"));
    QCOMPARE(Find<QCheckBox>("CheckNewPage")->toolTip(), QString("每页题目重新计数"));
    QCOMPARE(Find<QPushButton>("CmdOK")->geometry(), QRect(44, 223, 69, 29));
    QCOMPARE(Field("Text5")->text(), QString("1"));
    QVERIFY(!Find<QCheckBox>("CheckKey")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckDistinct")->isChecked());
    QVERIFY(!Find<QRadioButton>("Option2_2")->isChecked());
    for (const char* printing : {"CheckTwoSided", "CheckLarge"}) {
      QVERIFY2(!Find<QCheckBox>(printing)->isChecked() && !Find<QCheckBox>(printing)->isEnabled(), printing);
    }
    QVERIFY(!Find<QCheckBox>("CheckM")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckD")->isChecked());
    QCOMPARE(Find<QComboBox>("Combo2")->currentText(), QString("1"));
    QCOMPARE(Find<QComboBox>("Combo3")->currentText(), QString("9"));
    QVERIFY(Find<QRadioButton>("Option4_0")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckTrivial")->isChecked());
    // The tables and the remainder wait for 乘法 or 除法.
    for (const char* name : {"Combo2", "Combo3", "Option4_0", "Option4_1", "Option4_2"}) {
      QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
    }
    QVERIFY(Find<QCheckBox>("CheckTrivial")->isEnabled());
    // Brackets and working lines wait for three terms.
    QVERIFY(Find<QRadioButton>("Option5_0")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckSteps")->isChecked());
    for (const char* name : {"Option5_0", "Option5_1", "Option5_2", "CheckSteps"}) {
      QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
    }
  }

  void termCountCouplingBothWays() {
    QComboBox* combo = Find<QComboBox>("Combo1");
    TypeAndLeave("Text1", "250");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(Field("Text2")->text(), QString("3"));
    QCOMPARE(Field("Text1")->text(), QString("100"));
    QVERIFY(Find<QRadioButton>("Option3_3")->isEnabled());
    QVERIFY(Find<QCheckBox>("CheckAS")->isEnabled());

    Find<QCheckBox>("CheckAS")->setChecked(true);
    QTest::mouseClick(Find<QRadioButton>("Option3_3"), Qt::LeftButton);
    QVERIFY(Find<QRadioButton>("Option3_3")->isChecked());
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), 0);
    QVERIFY(Find<QRadioButton>("Option3_0")->isChecked());
    QVERIFY(!Find<QRadioButton>("Option3_3")->isEnabled());
    QCOMPARE(Field("Text2")->text(), QString("4"));
    QVERIFY(!Find<QCheckBox>("CheckAS")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckAS")->isEnabled());
  }

  void tabVisitsTheControlsInOrder() {
    const QStringList expected = {"Text1",     "Text2",    "Text3",    "Text4",    "CmdOK",     "CmdAbout",
                                  "CmdExit",   "Option3_0", "CheckSub", "CheckAdd", "Combo1",    "Option2_1",
                                  "CheckA",    "CheckS",   "CheckExp", "CheckNewPage", "Text5",
                                  "CheckKey",  "CheckDistinct", "CheckM", "CheckD", "CheckTrivial", "Text1"};
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
  }

  void keyFilterLetsThroughDigitsBackspaceAndMinusOnly() {
    QLineEdit* field = Field("Text2");
    field->setFocus(Qt::TabFocusReason);
    field->clear();
    QTest::keyClicks(field, "1a .+2-");
    QCOMPARE(field->text(), QString("12-"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QString("12"));
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Delete);
    QCOMPARE(field->text(), QString("2"));
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, '7');
    QCOMPARE(field->text(), QString("72"));
    field->selectAll();
    for (Qt::Key key : {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Z, Qt::Key_A}) {
      QTest::keyClick(field, key, Qt::ControlModifier);
    }
    QCOMPARE(field->text(), QString("72"));
    QCOMPARE(field->selectedText(), QString("72"));  // Ctrl+A changed nothing either
  }

  void enterMovesOnWithoutStartingARun() {
    QTest::keyClick(Field("Text1"), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), Field("Text2"));
    Field("Text4")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Field("Text4"), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString("CmdOK"));
    QTest::qWait(50);
    QVERIFY(desktop_.opened.empty());
    QCOMPARE(Field("Text1")->text(), QString("100"));
  }

  void leavingAFieldReplacesAValueOutOfItsRange() {
    const struct { const char* field; const char* typed; const char* shown; } cases[] = {
        {"Text1", "0", "1000"},   {"Text1", "", "1000"},  {"Text1", "-5", "1000"}, {"Text1", "1001", "1000"},
        {"Text1", "1000", "1000"}, {"Text1", "1", "1"},   {"Text1", "12-3", "12-3"}, {"Text1", "007", "007"},
        {"Text2", "11", "4"},     {"Text2", "0", "4"},    {"Text2", "10", "10"},   {"Text2", "12-3", "4"},
        {"Text3", "100", "20"},   {"Text3", "99", "99"},  {"Text4", "100", "10"},  {"Text4", "0", "10"},
        {"Text5", "0", "1"},      {"Text5", "1001", "1"}, {"Text5", "", "1"},      {"Text5", "1000", "1000"},
        {"Text5", "3", "3"},      {"Text5", "4x0", "40"},
    };
    for (const auto& c : cases) {
      TypeAndLeave(c.field, c.typed);
      QCOMPARE(Field(c.field)->text(), QString(c.shown));
    }
  }

  void pastedTextIsCheckedWhenTheFocusLeaves() {
    QLineEdit* field = Field("Text3");
    field->setFocus(Qt::TabFocusReason);
    field->setText("abc");  // as the context menu's paste would leave it
    QCOMPARE(field->text(), QString("abc"));
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(field->text(), QString("20"));
  }

  void titleScrollTicks() {
    QTimer* timer = window_->findChild<QTimer*>("Timer1");
    QVERIFY(!timer->isActive());
    for (int i = 0; i < 23; ++i) QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(window_->windowTitle(), QString(23, ' ') + "Numbrook");
    for (int i = 0; i < 23; ++i) QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(window_->windowTitle(), QString("Numbrook"));
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(window_->windowTitle(), QString("Numbrook"));
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(window_->windowTitle(), QString(" Numbrook"));
  }

  void startWritesTheSheetAndHandsItToTheDesktop() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "7");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    const QString file = desktop_.opened[0].toLocalFile();
    QVERIFY(file.startsWith(QString::fromStdString(documents.Folder().string()) + "/加法运算题目列表"));
    QVERIFY(file.endsWith(".TXT"));
    QVERIFY(QFileInfo(file).size() > 100);
    QVERIFY(desktop_.messages.empty());
    QCOMPARE(Field("Text1")->text(), QString("7"));
    QVERIFY(Find<QPushButton>("CmdOK")->isEnabled());
    QVERIFY(Find<QWidget>("Frame3")->isEnabled());
    QVERIFY(!window_->findChild<QTimer*>("Timer1")->isActive());
    QVERIFY(!window_->windowTitle().startsWith(' '));
  }

  void clickingStartRightAfterTypingUsesTheReplacement() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    QLineEdit* field = Field("Text1");
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, "5000");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    QCOMPARE(field->text(), QString("1000"));
    QVERIFY(QFileInfo(desktop_.opened[0].toLocalFile()).size() > 20000);
  }

  void sumsPastASmallRangeAreDrawnAgainWithoutAWarningBox() {
    const testing::ScopedDocuments documents;
    QComboBox* combo = Find<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    TypeAndLeave("Text3", "5");
    QTest::mouseClick(Find<QCheckBox>("CheckAdd"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    QVERIFY(desktop_.messages.empty());
  }

  void unwritableFolderIsReportedAndNothingOpened() {
    const testing::ScopedDocuments documents;
    MakeUnwritable(documents.Folder());
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.messages.size(), std::size_t{1});
    QVERIFY2(desktop_.messages[0].text.contains(QString::fromStdString(documents.Folder().string()) + "/加法运算题目列表"),
             qPrintable(desktop_.messages[0].text));
    QVERIFY(desktop_.opened.empty());
    QVERIFY(Find<QPushButton>("CmdOK")->isEnabled());
  }

  void folderThatCannotBeMadeIsReported() {
    const testing::ScopedDocuments documents("/proc");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.messages.size(), std::size_t{1});
    QVERIFY2(desktop_.messages[0].text.contains("无法建立文件夹“/proc/Numbrook”"), qPrintable(desktop_.messages[0].text));
    QVERIFY(desktop_.opened.empty());
    QVERIFY(Find<QPushButton>("CmdOK")->isEnabled());
  }

  // A folder where nothing can be written is a failure that names it, not a
  // spreadsheet writer that is missing.
  void unwritableFolderForASpreadsheetNamesTheFolder() {
    const testing::ScopedDocuments documents;
    MakeUnwritable(documents.Folder());
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.messages.size(), std::size_t{1});
    QCOMPARE(desktop_.messages[0].icon, QMessageBox::Critical);
    QVERIFY2(desktop_.messages[0].text.contains("文件夹“" + QString::fromStdString(documents.Folder().string()) + "”"),
             qPrintable(desktop_.messages[0].text));
    QVERIFY(!desktop_.messages[0].text.contains("EXCEL"));
    QVERIFY(desktop_.opened.empty());
    QVERIFY(Find<QWidget>("Frame1")->isEnabled());
  }

  // The path reaches the desktop's open byte for byte, in UTF-8 or not.
  void fileUrlKeepsThePathsBytes() {
    const std::string utf8 = "/tmp/加法运算题目列表2026年12月07日.TXT";
    QCOMPARE(Desktop::FileUrl(utf8).toLocalFile(), QString::fromStdString(utf8));
    const std::string gbk = "/tmp/\xbc\xd3\xb7\xa8 1.TXT";  // 加法 in GBK: not UTF-8
    const QUrl url = Desktop::FileUrl(gbk);
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), QByteArray("file:///tmp/%BC%D3%B7%A8%201.TXT"));
    QCOMPARE(QByteArray::fromPercentEncoding(url.toEncoded().mid(7)), QByteArray::fromStdString(gbk));
  }

  void altBRunsTheAboutAction() {
    QWidget* shownOver = nullptr;
    window_->SetAboutAction([&](QWidget* parent) { shownOver = parent; });
    QTest::keyClick(window_.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(shownOver, static_cast<QWidget*>(window_.get()));
  }

  void enterOrKeypadEnterPressesTheFocusedButton() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "5");
    Find<QPushButton>("CmdOK")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    window_->WaitForRun();
    QCOMPARE(desktop_.opened.size(), std::size_t{1});

    int aboutShown = 0;
    window_->SetAboutAction([&](QWidget*) { ++aboutShown; });
    Find<QPushButton>("CmdAbout")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(aboutShown, 1);

    Find<QPushButton>("CmdExit")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!window_->isVisible());
  }

  // After a run, whatever its end, the focus is where it was at Start.
  void focusReturnsAfterARun_data() {
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<bool>("text");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("focused");
    QTest::newRow("written, started by mouse") << false << true << false << "CmdOK";
    QTest::newRow("written, Alt+Y in a field") << false << true << true << "Text2";
    QTest::newRow("spreadsheet not written") << true << false << false << "CmdOK";
    QTest::newRow("text not written, Alt+Y") << true << true << true << "Text3";
  }
  void focusReturnsAfterARun() {
    QFETCH(bool, unwritable);
    QFETCH(bool, text);
    QFETCH(bool, byKey);
    QFETCH(QString, focused);
    const testing::ScopedDocuments documents;
    if (unwritable) MakeUnwritable(documents.Folder());
    if (text) QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "20");
    if (byKey) {
      Field(qPrintable(focused))->setFocus(Qt::TabFocusReason);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::AltModifier);
    } else {
      QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    }
    QTRY_COMPARE(desktop_.opened.size() + desktop_.messages.size(), std::size_t{1});
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
  }

  // The access key presses Start at once, not after a press animation; a
  // second Start during the run is not kept for after it.
  void altYStartsTheRunAtOnce() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "1000");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::AltModifier);
    QVERIFY(window_->IsRunning());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::AltModifier);
    window_->WaitForRun();
    QTest::qWait(50);
    QVERIFY(!window_->IsRunning());
    QCOMPARE(desktop_.opened.size(), std::size_t{1});
  }

  void busyPointerCoversTheNumberFieldsDuringARun() {
    const testing::ScopedDocuments documents;
    QMap<QString, Qt::CursorShape> during;
    TypeAndLeave("Text1", "1000");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) during[name] = Field(name)->cursor().shape();
    during["window"] = window_->cursor().shape();
    window_->WaitForRun();
    QCOMPARE(during.size(), 5);
    for (auto shape = during.cbegin(); shape != during.cend(); ++shape) {
      QVERIFY2(shape.value() == Qt::WaitCursor, qPrintable(shape.key()));
    }
    QCOMPARE(Field("Text1")->cursor().shape(), Qt::IBeamCursor);
    QCOMPARE(window_->cursor().shape(), Qt::ArrowCursor);
  }

  // The new controls by their access keys: Alt+N to the count of sheets,
  // Alt+K and Alt+D tick and clear, Alt+P chooses the PDF.
  void accessKeysReachTheSetRowAndThePdfChoice() {
    QTest::keyClick(window_.get(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), Field("Text5"));
    for (const char* name : {"CheckKey", "CheckDistinct"}) {
      const Qt::Key key = QString(name) == "CheckKey" ? Qt::Key_K : Qt::Key_D;
      QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
      QTRY_VERIFY2(Find<QCheckBox>(name)->isChecked(), name);
      QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
      QTRY_VERIFY2(!Find<QCheckBox>(name)->isChecked(), name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option2_2")->isChecked());
    QVERIFY(!Find<QRadioButton>("Option2_1")->isChecked());
  }

  void setRowIsLockedDuringARun() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "1000");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QVERIFY(!Find<QWidget>("Frame5")->isEnabled());
    window_->WaitForRun();
    QVERIFY(Find<QWidget>("Frame5")->isEnabled());
  }

  void pdfChoiceWritesAPdf() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_2"), Qt::LeftButton);
    TypeAndLeave("Text1", "12");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    const QString file = desktop_.opened[0].toLocalFile();
    QVERIFY2(file.endsWith(".PDF"), qPrintable(file));
    QVERIFY(testing::ReadBytes(file.toStdString()).starts_with("%PDF-"));
    QVERIFY(desktop_.messages.empty());
  }

  // Three sheets, each with its key: six files, and the folder is opened.
  void classSetWithKeysWritesEveryFileAndOpensTheFolder() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    TypeAndLeave("Text1", "9");
    TypeAndLeave("Text5", "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckKey")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::AltModifier);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    QVERIFY(desktop_.messages.empty());
    QCOMPARE(desktop_.opened[0].toLocalFile(), QString::fromStdString(documents.Folder().string()));
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(documents.Folder())) {
      names << QString::fromStdString(entry.path().filename().string());
    }
    names.sort();
    QCOMPARE(names.size(), 6);
    for (int k = 1; k <= 3; ++k) {
      QVERIFY2(names[2 * k - 2].endsWith(QString("-%1.TXT").arg(k)), qPrintable(names.join(" ")));
      QVERIFY2(names[2 * k - 1].endsWith(QString("-%1答案.TXT").arg(k)), qPrintable(names.join(" ")));
    }
    QCOMPARE(Field("Text5")->text(), QString("3"));
    QCOMPARE(Field("Text1")->text(), QString("9"));
  }

  // Large type by its access key, offered once the PDF is chosen: ten
  // problems a line do not fit, the sheet is opened and the message says
  // how many a line hold.
  void largeTypeSaysFewerProblemsALineAfterOpening() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_2"), Qt::LeftButton);
    QVERIFY(Find<QCheckBox>("CheckLarge")->isEnabled());
    TypeAndLeave("Text1", "12");
    TypeAndLeave("Text2", "10");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckLarge")->isChecked());
    QVERIFY(SetRequestFromControls(window_->ReadControls()).run.largeType);
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    QCOMPARE(desktop_.messages.size(), std::size_t{1});
    QCOMPARE(desktop_.messages[0].icon, QMessageBox::Information);
    QCOMPARE(desktop_.messages[0].text, QString("每行最多能排 3 题，已按每行 3 题排版"));
    // Back to a workbook: the printing choices are not offered and not asked for.
    QTest::mouseClick(Find<QRadioButton>("Option2_1"), Qt::LeftButton);
    QVERIFY(!Find<QCheckBox>("CheckLarge")->isEnabled());
    QVERIFY(!SetRequestFromControls(window_->ReadControls()).run.largeType);
  }

  // A PDF set is one pupil file and one key file; the pupils' file is opened.
  void pdfClassSetIsOneFileOpenedItself() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_2"), Qt::LeftButton);
    TypeAndLeave("Text1", "9");
    TypeAndLeave("Text5", "3");
    QTest::mouseClick(Find<QCheckBox>("CheckKey"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    QVERIFY(desktop_.messages.empty());
    const QString opened = desktop_.opened[0].toLocalFile();
    QVERIFY2(opened.endsWith(".PDF") && !opened.contains("答案"), qPrintable(opened));
    QVERIFY(testing::ReadBytes(opened.toStdString()).starts_with("%PDF-"));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(documents.Folder()), std::filesystem::directory_iterator()), 2);
  }

  // Additions within 3 give only a few different problems: the message
  // says how many, and nothing is written.
  void distinctProblemsThatCannotBeHadAreRefusedWithTheCount() {
    const testing::ScopedDocuments documents;
    TypeAndLeave("Text3", "3");
    TypeAndLeave("Text1", "50");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckDistinct")->isChecked());
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    window_->WaitForRun();
    QCOMPARE(desktop_.messages.size(), std::size_t{1});
    QCOMPARE(desktop_.messages[0].title, QString("警告"));
    const QRegularExpression expected("^这些设置只能出 ([0-9]+) 道不同的题目，少于要求的 50 道；请扩大范围或减少题目数量。$");
    const QRegularExpressionMatch match = expected.match(desktop_.messages[0].text);
    QVERIFY2(match.hasMatch(), qPrintable(desktop_.messages[0].text));
    QVERIFY(match.captured(1).toInt() > 0 && match.captured(1).toInt() < 50);
    QVERIFY(desktop_.opened.empty());
    QVERIFY(std::filesystem::is_empty(documents.Folder()));
    QVERIFY(Find<QPushButton>("CmdOK")->isEnabled());
  }

  // 乘法 and 除法 by their access keys; the tables follow either, the
  // remainder choice 除法 of two terms; 三个数 keeps both, as two steps.
  void timesTableControlsAreOfferedWhereTheyApply() {
    QTest::keyClick(window_.get(), Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckM")->isChecked());
    QVERIFY(Find<QComboBox>("Combo2")->isEnabled());
    QVERIFY(Find<QComboBox>("Combo3")->isEnabled());
    QVERIFY(!Find<QRadioButton>("Option4_1")->isEnabled());
    QTest::keyClick(window_.get(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckD")->isChecked());
    QVERIFY(Find<QRadioButton>("Option4_1")->isEnabled());
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option4_1")->isChecked());
    QTest::keyClick(window_.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>("Combo2"));
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckTrivial")->isChecked());

    QComboBox* combo = Find<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    for (const char* name : {"CheckM", "CheckD"}) {
      QVERIFY2(Find<QCheckBox>(name)->isChecked() && Find<QCheckBox>(name)->isEnabled(), name);
    }
    QVERIFY(Find<QWidget>("Combo2")->isEnabled());
    QVERIFY(!Find<QWidget>("Option4_1")->isEnabled());
    QVERIFY(Find<QCheckBox>("CheckTrivial")->isEnabled());
  }

  // Three terms with 乘法 are two steps: the result is asked, so the other
  // blanks, mixing and the column form give way, and the brackets and the
  // working lines come, each by its access key; the working lines put two
  // problems on a line. A sheet of them from Start.
  void twoStepControlsAreOfferedWhereTheyApply() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    QComboBox* combo = Find<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::mouseClick(Find<QRadioButton>("Option3_1"), Qt::LeftButton);
    QVERIFY(Find<QRadioButton>("Option3_1")->isChecked());
    QVERIFY2(!Find<QRadioButton>("Option5_1")->isEnabled(), "additions alone make no brackets");
    QTest::keyClick(window_.get(), Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckM")->isChecked());
    QVERIFY(Find<QRadioButton>("Option3_0")->isChecked());
    for (const char* name : {"Option3_1", "Option3_2", "Option3_3", "Option3_4", "CheckAS", "CheckExp"}) {
      QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
    }
    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option5_1")->isChecked());
    QTest::keyClick(window_.get(), Qt::Key_W, Qt::AltModifier);
    QTRY_VERIFY(Find<QCheckBox>("CheckSteps")->isChecked());
    QCOMPARE(Field("Text2")->text(), QString("2"));
    QTest::keyClick(window_.get(), Qt::Key_J, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option5_2")->isChecked());
    QTest::keyClick(window_.get(), Qt::Key_G, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option5_0")->isChecked());
    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(Find<QRadioButton>("Option5_1")->isChecked());
    TypeAndLeave("Text1", "6");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    const QString file = desktop_.opened[0].toLocalFile();
    QVERIFY2(QFileInfo(file).fileName().startsWith("混合运算题目列表"), qPrintable(file));
    const QString text = QString::fromStdString(testing::ReadBytes(file.toStdString()));
    QVERIFY2(text.contains("【说明：三个数,混合运算,计算题, 20以内含进位加法,乘法口诀1~9,带括号,脱式计算　编号 "),
             qPrintable(text));
    QCOMPARE(text.count("("), 6);
    QCOMPARE(text.count("= ____________"), 12);
  }

  // The range never runs backwards: the other end follows the one chosen.
  void tablesRangeEndsFollowEachOther() {
    Find<QCheckBox>("CheckM")->setChecked(true);
    QComboBox* from = Find<QComboBox>("Combo2");
    QComboBox* to = Find<QComboBox>("Combo3");
    to->setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(to, Qt::Key_Up);
    QCOMPARE(to->currentText(), QString("4"));
    from->setFocus();
    for (int i = 0; i < 6; ++i) QTest::keyClick(from, Qt::Key_Down);
    QCOMPARE(from->currentText(), QString("7"));
    QCOMPARE(to->currentText(), QString("7"));
    to->setFocus();
    QTest::keyClick(to, Qt::Key_Up);
    QCOMPARE(to->currentText(), QString("6"));
    QCOMPARE(from->currentText(), QString("6"));
  }

  // A sheet of divisions with remainders, from the window.
  void startWritesADivisionSheet() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QRadioButton>("Option2_0"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>("CheckA"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>("CheckD"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>("Option4_1"), Qt::LeftButton);
    TypeAndLeave("Text1", "8");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_COMPARE(desktop_.opened.size(), std::size_t{1});
    const QString file = desktop_.opened[0].toLocalFile();
    QVERIFY2(QFileInfo(file).fileName().startsWith("除法运算题目列表"), qPrintable(file));
    const QString text = QString::fromStdString(testing::ReadBytes(file.toStdString()));
    QVERIFY2(text.contains("【说明：二个数,除法运算,计算题,乘法口诀1~9,有余数除法　编号 "), qPrintable(text));
    QCOMPARE(text.count("÷"), 8);
    QCOMPARE(text.count("……"), 8);
  }

  // A run needs an operation: with none ticked Start says so and writes
  // nothing, as numbrook-sheet refuses --no-add alone.
  void startWithoutAnOperationIsRefused() {
    const testing::ScopedDocuments documents;
    QTest::mouseClick(Find<QCheckBox>("CheckA"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QVERIFY(!window_->IsRunning());
    QCOMPARE(desktop_.messages.size(), std::size_t{1});
    QCOMPARE(desktop_.messages[0].text, QString("请至少选择一种运算：加法、减法、乘法或除法。"));
    QVERIFY(desktop_.opened.empty());
    QVERIFY(!std::filesystem::exists(documents.Folder()) || std::filesystem::is_empty(documents.Folder()));
    QVERIFY(Find<QPushButton>("CmdOK")->isEnabled());
  }

  // Exit during a run: the window goes at once, the run stops at its next
  // problem, nothing is opened, and what was kept is said.
  void closingDuringARunEndsItCleanly() {
    const testing::ScopedDocuments documents;
    TypeAndLeave("Text1", "1000");
    TypeAndLeave("Text5", "1000");
    QTest::mouseClick(Find<QPushButton>("CmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Find<QLineEdit>("Text5")->text().startsWith("1000"));  // the sheets are being counted
    QTRY_VERIFY(Find<QLineEdit>("Text5")->text().toInt() >= 2);
    QTest::mouseClick(Find<QPushButton>("CmdExit"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    window_->WaitForRun();
    QVERIFY(!window_->IsRunning());
    QVERIFY(desktop_.opened.empty());
    const std::size_t kept = static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(documents.Folder()), std::filesystem::directory_iterator()));
    QVERIFY(kept > 0 && kept < 1000);
    QCOMPARE(desktop_.messages.size(), std::size_t{1});
    QCOMPARE(desktop_.messages[0].text, QString("运行已停止。已写好的 %1 个文件保留在“%2”中。")
                                            .arg(kept)
                                            .arg(QString::fromStdString(documents.Folder().string())));
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::FrmMain2Test)
#include "frm_main2_test.moc"
