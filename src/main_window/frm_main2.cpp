#include "main_window/frm_main2.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>
#include <stdexcept>

#include "files/export_error.h"
#include "generation/run_request.h"
#include "sets/class_set.h"
#include "files/file_names.h"
#include "files/sheet_folders.h"
#include "sets/class_set.h"
#include "generation/problem_generator.h"
#include "widgets/desktop.h"
#include "widgets/enter_presses_button.h"
#include "main_window/main_window_table.h"
#include "main_window/numeric_text_box.h"
#include "main_window/window_request.h"
#include "widgets/window_style.h"

namespace numbrook {
namespace {

constexpr int kScrollBlanks = 23;
constexpr int kEnterKey = 13;

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }

NumericField FieldNamed(std::string_view name) {
  if (name == "Text1") return NumericField::ProblemCount;
  if (name == "Text2") return NumericField::PerRow;
  if (name == "Text3") return NumericField::AddRange;
  if (name == "Text5") return NumericField::SheetCount;
  return NumericField::SubRange;
}

QFont NumberFieldFont() {
  QFont font;
  font.setFamilies({"SimSun", "宋体", "Noto Serif CJK SC", "AR PL UMing CN"});
  font.setPointSize(12);
  return font;
}

}  // namespace

frmMain2::frmMain2(Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      desktop_(desktop) {
  QIcon icon;
  for (const char* size : {"16", "32", "48"}) icon.addFile(QString(":/numbrook/icon-%1.png").arg(size));
  setWindowIcon(icon);
  setFont(WindowStyle::DialogFont());
  CreateControls();
  WindowStyle::Apply(this);
  EnterPressesButton::Install(this);
  Form_Load();
}

frmMain2::~frmMain2() = default;

template <typename W>
W* frmMain2::Control(const char* name) const {
  W* control = findChild<W*>(QString::fromLatin1(name));
  if (control == nullptr) throw std::logic_error(std::string("the window table has no ") + name);
  return control;
}

// Places, captions and Tab order come from the window's table; here the
// controls are connected to their handlers.
void frmMain2::CreateControls() {
  BuildFromTable(this, kMainWindowTable, [this](const ControlRow& row, QWidget* parent) -> QWidget* {
    if (row.kind != ControlKind::NumberField) return nullptr;
    auto* field = new NumericTextBox(FieldNamed(row.name), parent);
    field->setFont(NumberFieldFont());
    field->SetCharacterHook([this](int code) { EnterTAB(code); });
    return field;
  });
  Frame1 = Control<QGroupBox>("Frame1");
  Frame2 = Control<QGroupBox>("Frame2");
  Frame3 = Control<QGroupBox>("Frame3");
  Frame4 = Control<QGroupBox>("Frame4");
  Combo1 = Control<QComboBox>("Combo1");
  CheckA = Control<QCheckBox>("CheckA");
  CheckS = Control<QCheckBox>("CheckS");
  CheckAS = Control<QCheckBox>("CheckAS");
  for (std::size_t i = 0; i < Option3.size(); ++i) Option3[i] = Control<QRadioButton>(("Option3_" + std::to_string(i)).c_str());
  Text1 = Control<NumericTextBox>("Text1");
  Text2 = Control<NumericTextBox>("Text2");
  Text3 = Control<NumericTextBox>("Text3");
  Text4 = Control<NumericTextBox>("Text4");
  CheckNewPage = Control<QCheckBox>("CheckNewPage");
  CheckNewPage->setToolTip("每页题目重新计数");
  CheckAdd = Control<QCheckBox>("CheckAdd");
  CheckSub = Control<QCheckBox>("CheckSub");
  for (std::size_t i = 0; i < Option2.size(); ++i) Option2[i] = Control<QRadioButton>(("Option2_" + std::to_string(i)).c_str());
  CheckExp = Control<QCheckBox>("CheckExp");
  Frame5 = Control<QGroupBox>("Frame5");
  Text5 = Control<NumericTextBox>("Text5");
  Control<QLabel>("Label9")->setBuddy(Text5);  // its access key goes to the field
  CheckKey = Control<QCheckBox>("CheckKey");
  CheckDistinct = Control<QCheckBox>("CheckDistinct");
  CheckM = Control<QCheckBox>("CheckM");
  CheckD = Control<QCheckBox>("CheckD");
  Frame6 = Control<QGroupBox>("Frame6");
  Label11 = Control<QLabel>("Label11");
  Label12 = Control<QLabel>("Label12");
  Label13 = Control<QLabel>("Label13");
  Combo2 = Control<QComboBox>("Combo2");
  Combo3 = Control<QComboBox>("Combo3");
  Label11->setBuddy(Combo2);  // 乘法口诀's access key goes to the first table
  Label12->setBuddy(Combo3);  // read out with the last table
  for (std::size_t i = 0; i < Option4.size(); ++i) Option4[i] = Control<QRadioButton>(("Option4_" + std::to_string(i)).c_str());
  Frame7 = Control<QGroupBox>("Frame7");
  CheckTrivial = Control<QCheckBox>("CheckTrivial");
  Frame8 = Control<QGroupBox>("Frame8");
  CheckTwoSided = Control<QCheckBox>("CheckTwoSided");
  CheckLarge = Control<QCheckBox>("CheckLarge");
  Frame9 = Control<QGroupBox>("Frame9");
  Label14 = Control<QLabel>("Label14");
  for (std::size_t i = 0; i < Option5.size(); ++i) Option5[i] = Control<QRadioButton>(("Option5_" + std::to_string(i)).c_str());
  CheckSteps = Control<QCheckBox>("CheckSteps");
  CmdOK = Control<QPushButton>("CmdOK");
  CmdAbout = Control<QPushButton>("CmdAbout");
  CmdExit = Control<QPushButton>("CmdExit");

  for (auto* option : findChildren<QRadioButton*>()) {
    connect(option, &QRadioButton::toggled, this, &frmMain2::KeepOnlySelectedOptionsInTabOrder);
  }
  for (QRadioButton* format : Option2) connect(format, &QRadioButton::toggled, this, &frmMain2::SetEnabledState);
  connect(CmdOK, &QPushButton::clicked, this, &frmMain2::CmdOK_Click);
  connect(CmdAbout, &QPushButton::clicked, this, &frmMain2::CmdAbout_Click);
  connect(CmdExit, &QPushButton::clicked, this, &frmMain2::CmdExit_Click);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(10);
  connect(Timer1, &QTimer::timeout, this, &frmMain2::Timer1_Timer);
  connect(Combo1, &QComboBox::activated, this, &frmMain2::Combo1_Click);
  connect(&run_, &QFutureWatcher<SheetSetResult>::finished, this, &frmMain2::RunFinished);
  connect(Combo2, &QComboBox::activated, this, &frmMain2::Combo2_Click);
  connect(Combo3, &QComboBox::activated, this, &frmMain2::Combo3_Click);
  // What the operations and the brackets make of three terms decides the
  // blank and the other choices that apply.
  for (QCheckBox* operation : {CheckA, CheckS, CheckM, CheckD}) {
    connect(operation, &QCheckBox::toggled, this, &frmMain2::SetEnabledState);
    connect(operation, &QCheckBox::clicked, this, &frmMain2::TwoStepChoice_Click);
  }
  for (QRadioButton* brackets : Option5) connect(brackets, &QRadioButton::clicked, this, &frmMain2::TwoStepChoice_Click);
  for (QRadioButton* blank : Option3) connect(blank, &QRadioButton::toggled, this, &frmMain2::SetEnabledState);
  connect(CheckSteps, &QCheckBox::clicked, this, &frmMain2::CheckSteps_Click);
}

void frmMain2::Form_Load() {
  for (std::string_view item : kTermCountItems) Combo1->addItem(Text(item));
  for (int table = kTablesSetting.lowest; table <= kTablesSetting.highest; ++table) {
    for (QComboBox* end : {Combo2, Combo3}) end->addItem(QString::number(table));
  }
  WriteControls(ControlState{});
  bScrollRight = true;
  Text1->setFocus();
}

// Choosing the term count resets the per-line count and the problem count,
// and offers the third blank and mixed problems only for three terms.
void frmMain2::Combo1_Click() {
  ControlState controls = ReadControls();
  ChooseTermCount(controls, Combo1->currentIndex());
  WriteControls(controls);
}

// Choosing one end of the tables' range moves the other along when the
// range would run backwards.
void frmMain2::Combo2_Click() {
  ControlState controls = ReadControls();
  ChooseTablesFrom(controls, kTablesSetting.lowest + Combo2->currentIndex());
  WriteControls(controls);
}

void frmMain2::Combo3_Click() {
  ControlState controls = ReadControls();
  ChooseTablesTo(controls, kTablesSetting.lowest + Combo3->currentIndex());
  WriteControls(controls);
}

// Ticking or clearing an operation, or choosing brackets: three terms may
// become two steps, which ask for the result.
void frmMain2::TwoStepChoice_Click() {
  ControlState controls = ReadControls();
  ChooseTwoStepControls(controls);
  WriteControls(controls);
}

// Working lines under each problem: two problems a line, as
// numbrook-sheet --steps has them, unless the count is changed again.
void frmMain2::CheckSteps_Click() {
  ControlState controls = ReadControls();
  ChooseSteps(controls, CheckSteps->isChecked());
  WriteControls(controls);
}

// The caption moves right one blank a tick until it has 23 leading blanks,
// then back left until it has none; one tick only turns the direction.
void frmMain2::Timer1_Timer() {
  ShowCounts();
  QString caption = windowTitle();
  if (bScrollRight) {
    caption.prepend(' ');
    if (caption.left(kScrollBlanks) == QString(kScrollBlanks, ' ')) bScrollRight = false;
    setWindowTitle(caption);
  } else if (!caption.startsWith(' ')) {
    bScrollRight = true;
  } else {
    setWindowTitle(caption.mid(1));
  }
}

void frmMain2::EnterTAB(int code) {
  if (code != kEnterKey) return;
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = this;
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier));
}

void frmMain2::KeepOnlySelectedOptionsInTabOrder() {
  auto keep = [](auto& group) {
    for (QRadioButton* option : group) {
      if (option != nullptr) option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
  };
  keep(Option3);
  keep(Option2);
  keep(Option4);
  keep(Option5);
}

ControlState frmMain2::ReadControls() const {
  ControlState c;
  c.combo1Index = Combo1->currentIndex();
  c.checkA = CheckA->isChecked();
  c.checkS = CheckS->isChecked();
  c.checkAS = CheckAS->isChecked();
  for (std::size_t i = 0; i < Option3.size(); ++i) {
    if (Option3[i]->isChecked()) {
      c.option3 = static_cast<BlankPlace>(i);
      break;
    }
  }
  c.text1 = Text1->text().toStdString();
  c.text2 = Text2->text().toStdString();
  c.text3 = Text3->text().toStdString();
  c.text4 = Text4->text().toStdString();
  c.checkAdd = CheckAdd->isChecked();
  c.checkSub = CheckSub->isChecked();
  for (std::size_t i = 0; i < Option2.size(); ++i) {
    if (Option2[i]->isChecked()) c.option2 = static_cast<FileFormat>(i);
  }
  c.checkExp = CheckExp->isChecked();
  c.checkNewPage = CheckNewPage->isChecked();
  c.text5 = Text5->text().toStdString();
  c.checkKey = CheckKey->isChecked();
  c.checkDistinct = CheckDistinct->isChecked();
  c.checkTwoSided = CheckTwoSided->isChecked();
  c.checkLarge = CheckLarge->isChecked();
  c.checkM = CheckM->isChecked();
  c.checkD = CheckD->isChecked();
  c.tablesFrom = kTablesSetting.lowest + Combo2->currentIndex();
  c.tablesTo = kTablesSetting.lowest + Combo3->currentIndex();
  for (std::size_t i = 0; i < Option4.size(); ++i) {
    if (Option4[i]->isChecked()) c.option4 = static_cast<Remainders>(i);
  }
  c.checkTrivial = CheckTrivial->isChecked();
  for (std::size_t i = 0; i < Option5.size(); ++i) {
    if (Option5[i]->isChecked()) c.option5 = static_cast<Brackets>(i);
  }
  c.checkSteps = CheckSteps->isChecked();
  return c;
}

void frmMain2::WriteControls(const ControlState& c) {
  Combo1->setCurrentIndex(c.combo1Index);
  CheckA->setChecked(c.checkA);
  CheckS->setChecked(c.checkS);
  CheckAS->setChecked(c.checkAS);
  Option3[static_cast<std::size_t>(c.option3)]->setChecked(true);
  Text1->setText(QString::fromStdString(c.text1));
  Text2->setText(QString::fromStdString(c.text2));
  Text2->SetLineShape(OffersThreeTermControls(c) ? 3 : 2, AsksForSteps(c));
  Text3->setText(QString::fromStdString(c.text3));
  Text4->setText(QString::fromStdString(c.text4));
  CheckAdd->setChecked(c.checkAdd);
  CheckSub->setChecked(c.checkSub);
  Option2[static_cast<std::size_t>(c.option2)]->setChecked(true);
  CheckExp->setChecked(c.checkExp);
  CheckNewPage->setChecked(c.checkNewPage);
  Text5->setText(QString::fromStdString(c.text5));
  CheckKey->setChecked(c.checkKey);
  CheckDistinct->setChecked(c.checkDistinct);
  CheckTwoSided->setChecked(c.checkTwoSided);
  CheckLarge->setChecked(c.checkLarge);
  CheckM->setChecked(c.checkM);
  CheckD->setChecked(c.checkD);
  Combo2->setCurrentIndex(c.tablesFrom - kTablesSetting.lowest);
  Combo3->setCurrentIndex(c.tablesTo - kTablesSetting.lowest);
  Option4[static_cast<std::size_t>(c.option4)]->setChecked(true);
  CheckTrivial->setChecked(c.checkTrivial);
  Option5[static_cast<std::size_t>(c.option5)]->setChecked(true);
  CheckSteps->setChecked(c.checkSteps);
  SetEnabledState();
}

// Which controls can be used: the third-term ones with three terms only,
// and of those mixing and the blanks other than the result not in two-step
// problems; the tables when multiplication or division is ticked and the
// remainder choice with a division of two terms; the brackets where the
// operations make them, the working lines where the result is asked, the
// column form where they are not written instead; the printing ones with a
// PDF only; during a run none of the settings nor Start.
void frmMain2::SetEnabledState() {
  const ControlState controls = ReadControls();
  const bool threeTerms = OffersThreeTermControls(controls);
  const bool twoSteps = MakesTwoSteps(controls);
  for (std::size_t i = 1; i < Option3.size(); ++i) {
    Option3[i]->setEnabled(!twoSteps && (threeTerms || i != static_cast<std::size_t>(BlankPlace::Third)));
  }
  CheckAS->setEnabled(threeTerms && !twoSteps);
  Label14->setEnabled(OffersBrackets(controls));
  for (QRadioButton* brackets : Option5) brackets->setEnabled(OffersBrackets(controls));
  CheckSteps->setEnabled(OffersSteps(controls));
  CheckExp->setEnabled(OffersColumnForm(controls));
  for (QWidget* tables : std::initializer_list<QWidget*>{Label11, Combo2, Label12, Combo3}) {
    tables->setEnabled(OffersTablesRange(controls));
  }
  Label13->setEnabled(OffersRemainders(controls));
  for (QRadioButton* remainder : Option4) remainder->setEnabled(OffersRemainders(controls));
  for (QCheckBox* printing : {CheckTwoSided, CheckLarge}) printing->setEnabled(OffersPdfControls(controls));
  for (QGroupBox* frame : {Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Frame7, Frame8, Frame9}) {
    frame->setEnabled(!running_);
  }
  CmdOK->setEnabled(!running_);
  KeepOnlySelectedOptionsInTabOrder();
}

void frmMain2::LockForRun() {
  // Disabling Start moves the focus on; it comes back after the run.
  focusBeforeRun_ = isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
  running_ = true;
  SetEnabledState();
  Timer1->start();
  ShowBusyPointer(true);
}

void frmMain2::RestoreAfterRun() {
  running_ = false;
  SetEnabledState();
  ShowBusyPointer(false);  // once enabled: a disabled field would show the arrow
  setWindowTitle(windowTitle().trimmed());
  Timer1->stop();
  if (focusBeforeRun_ != nullptr) focusBeforeRun_->setFocus(Qt::OtherFocusReason);
}

void frmMain2::ShowBusyPointer(bool busy) {
  // A disabled control with a pointer of its own shows the system's arrow,
  // not its window's; during a run the number fields (disabled with their
  // frame) give theirs up so that the busy pointer covers the whole window.
  for (NumericTextBox* field : {Text1, Text2, Text3, Text4, Text5}) {
    if (busy) {
      field->unsetCursor();
    } else {
      field->setCursor(Qt::IBeamCursor);
    }
  }
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
    // Qt renews the pointer only when it crosses into another control; one
    // resting on a field through the run shows the field's own at once.
    QWidget* under = childAt(mapFromGlobal(QCursor::pos()));
    if (under != nullptr && windowHandle() != nullptr) windowHandle()->setCursor(under->cursor());
  }
}

// The counts of problems (出题数量) and of sheets done (份数) as the run left
// them, set only when they change: a tick of Timer1 draws them.
void frmMain2::ShowCounts() {
  for (auto [field, done] : {std::pair{Text1, problemsDone_.load()}, std::pair{Text5, sheetsDone_.load()}}) {
    const QString text = QString::number(done);
    if (done > 0 && field->text() != text) field->setText(text);
  }
}

void frmMain2::CmdOK_Click() {
  // A Start pressed during a run is not kept for later.
  if (running_) return;
  // Alt+Y leaves the focus in its field: each field is checked as if it were
  // left, so the run uses the numbers the fields then show.
  for (NumericTextBox* field : {Text1, Text2, Text3, Text4, Text5}) field->Validate();
  const SetRequest asked = SetRequestFromControls(ReadControls());
  if (!ChoosesAnOperation(asked.run.operations)) {
    desktop_.ShowMessage(this, QMessageBox::Warning, "警告", "请至少选择一种运算：加法、减法、乘法或除法。");
    return;
  }
  SheetSetRequest request;
  request.request = asked.run;
  if (asked.sheets > 1) request.sheets = asked.sheets;
  request.answers = asked.answers;
  request.distinct = asked.distinct;
  problemCount_ = SetUpRun(asked.run).ProblemCount;
  sheetCount_ = asked.sheets;
  stop_ = false;
  problemsDone_ = 0;
  sheetsDone_ = 0;
  StartRun(std::move(request));
  // Locked once the run is under way: the controls are drawn again beside
  // it, not before it. Its end comes through the event loop, after this.
  LockForRun();
  // A two-term run is never a mixed run: the tick is cleared to show it.
  if (!OffersThreeTermControls(ReadControls())) CheckAS->setChecked(false);
}

void frmMain2::StartRun(SheetSetRequest request) {
  try {
    // Kept past a reboot, unlike the temporary folder.
    if (!documents_) documents_ = DocumentsFolder();
    request.folder = SheetFolderIn(*documents_);
  } catch (const ExportError& error) {
    SheetSetResult failed;
    failed.outcome = SheetSetOutcome::Failed;
    failed.error = error.what();
    run_.setFuture(QtConcurrent::run([failed] { return failed; }));
    return;
  }
  run_.setFuture(QtConcurrent::run([this, request] {
    Progress progress;
    progress.yield = [this] { return !stop_.load(); };
    progress.counted = [this](int problems) { problemsDone_.store(problems, std::memory_order_relaxed); };
    progress.sheetsDone = [this](int sheets) { sheetsDone_.store(sheets, std::memory_order_relaxed); };
    return MakeSheetSet(request, progress);
  }));
}

void frmMain2::WaitForRun() {
  if (!running_) return;
  run_.waitForFinished();
  QCoreApplication::sendPostedEvents(&run_);
  if (running_) RunFinished();
}

// Tells how the run ended, once, before the window is usable again; a
// complete run opens what it wrote, unless the window was closed.
void frmMain2::RunFinished() {
  if (!running_) return;
  const SheetSetResult result = run_.result();
  // The fields show the counts the run used.
  Text1->setText(QString::number(problemCount_));
  Text5->setText(QString::number(sheetCount_));
  if (closing_) {
    TellWhatWasKept(result);
    RestoreAfterRun();
    close();
    return;
  }
  const bool failed = ShowFailure(result);
  RestoreAfterRun();
  if (failed) return;
  OpenWritten(result.placed);
  ShowNotices(result);
}

// The message of a run that did not write all it was asked to; false for a
// complete run.
bool frmMain2::ShowFailure(const SheetSetResult& result) {
  switch (result.outcome) {
    case SheetSetOutcome::Written:
      if (result.error.empty()) return false;
      break;  // written, but not all of it could be named
    case SheetSetOutcome::TooFewDifferent:
      desktop_.ShowMessage(this, QMessageBox::Warning, "警告",
                           QString::fromStdString(TooFewDifferentMessage(result.different, problemCount_)));
      return true;
    case SheetSetOutcome::ExcelMissing:
      desktop_.ShowMessage(this, QMessageBox::NoIcon, "Numbrook", QString::fromUtf8(kExcelMissingMessage));
      return true;
    case SheetSetOutcome::Abandoned:
      TellWhatWasKept(result);
      return true;
    case SheetSetOutcome::Failed:
      break;
  }
  QString text = QString::fromStdString(result.error);
  if (!result.placed.empty()) {
    text += QString("\n\n此前已写好的 %1 个文件保留在“%2”中。")
                .arg(result.placed.size())
                .arg(QString::fromStdString(result.placed.front().file.parent_path().string()));
  }
  desktop_.ShowMessage(this, QMessageBox::Critical, "Numbrook", text);
  return true;
}

// What the sheets print otherwise than asked is said once they are open.
void frmMain2::ShowNotices(const SheetSetResult& result) {
  if (result.notices.empty()) return;
  QStringList notices;
  for (const std::string& notice : result.notices) notices << QString::fromStdString(notice);
  desktop_.ShowMessage(this, QMessageBox::Information, "提示", notices.join('\n'));
}

// A run stopped (by closing the window, too) keeps the sheets it had
// finished, each with its key; the user is told where, and nothing is
// opened.
void frmMain2::TellWhatWasKept(const SheetSetResult& result) {
  if (result.placed.empty()) return;
  desktop_.ShowMessage(isVisible() ? this : nullptr, QMessageBox::Information, "Numbrook",
                       QString("运行已停止。已写好的 %1 个文件保留在“%2”中。")
                           .arg(result.placed.size())
                           .arg(QString::fromStdString(result.placed.front().file.parent_path().string())));
}

void frmMain2::OpenWritten(const std::vector<PlacedFile>& placed) {
  if (const std::optional<std::filesystem::path> target = WhatToOpen(placed)) {
    desktop_.Open(this, Desktop::FileUrl(*target));
  }
}

void frmMain2::CmdAbout_Click() {
  if (aboutAction_) aboutAction_(this);
}

void frmMain2::CmdExit_Click() { close(); }

void frmMain2::StopRun() { stop_ = true; }

// Closing during a run stops it at its next problem; the window goes at
// once and closes for good when the run has returned and said what it kept.
void frmMain2::closeEvent(QCloseEvent* event) {
  if (!running_) {
    event->accept();
    return;
  }
  closing_ = true;
  StopRun();
  hide();
  event->ignore();
}

}  // namespace numbrook
