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

#include "export/export_run.h"
#include "generation/problem_generator.h"
#include "widgets/desktop.h"
#include "widgets/enter_presses_button.h"
#include "main_window/numeric_text_box.h"
#include "widgets/window_style.h"

namespace numbrook {
namespace {

constexpr int kScrollBlanks = 23;
constexpr int kEnterKey = 13;

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }

template <typename W, typename... Args>
W* Make(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
  W* widget = new W(std::forward<Args>(args)..., parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* text) {
  QLabel* label = Make<QLabel>(parent, name, QRect(left, top, 0, 0), QString::fromUtf8(text));
  label->adjustSize();
  return label;
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
  setObjectName("frmMain2");
  setWindowTitle("Numbrook");
  QIcon icon;
  for (const char* size : {"16", "32", "48"}) icon.addFile(QString(":/numbrook/icon-%1.png").arg(size));
  setWindowIcon(icon);
  setFont(WindowStyle::DialogFont());
  setFixedSize(351, 259);
  CreateControls();
  WindowStyle::Apply(this);
  EnterPressesButton::Install(this);
  SetTabOrder();
  Form_Load();
}

frmMain2::~frmMain2() = default;

void frmMain2::CreateControls() {
  Frame1 = Make<QGroupBox>(this, "Frame1", {16, 4, 319, 39}, "类型");
  Combo1 = Make<QComboBox>(Frame1, "Combo1", {44, 12, 87, 20});
  CheckA = Make<QCheckBox>(Frame1, "CheckA", {136, 16, 45, 13}, "加法");
  CheckS = Make<QCheckBox>(Frame1, "CheckS", {192, 16, 45, 17}, "减法");
  CheckAS = Make<QCheckBox>(Frame1, "CheckAS", {244, 16, 69, 17}, "混合运算");

  Frame4 = Make<QGroupBox>(this, "Frame4", {16, 46, 319, 39}, "方式");
  const QRect option3Geometry[] = {{6, 12, 73, 25}, {62, 12, 69, 25}, {130, 12, 75, 25}, {200, 12, 69, 25},
                                   {268, 12, 45, 25}};
  for (std::size_t i = 0; i < Option3.size(); ++i) {
    const std::string name = "Option3_" + std::to_string(i);
    Option3[i] = Make<QRadioButton>(Frame4, name.c_str(), option3Geometry[i], Text(kBlankModeCaptions[i]));
    connect(Option3[i], &QRadioButton::toggled, this, &frmMain2::KeepOnlySelectedOptionsInTabOrder);
  }

  Frame3 = Make<QGroupBox>(this, "Frame3", {16, 87, 319, 91});
  MakeLabel(Frame3, "Label1", 16, 16, "出题数量：");
  Text1 = Make<NumericTextBox>(Frame3, "Text1", {76, 10, 49, 25}, NumericField::ProblemCount);
  MakeLabel(Frame3, "Label5", 128, 16, "题");
  MakeLabel(Frame3, "Label3", 166, 16, "每行：");
  Text2 = Make<NumericTextBox>(Frame3, "Text2", {202, 10, 49, 25}, NumericField::PerRow);
  MakeLabel(Frame3, "Label4", 252, 16, "题");
  CheckNewPage = Make<QCheckBox>(Frame3, "CheckNewPage", {268, 12, 49, 21}, "新页");
  CheckNewPage->setToolTip("每页题目重新计数");
  MakeLabel(Frame3, "Label6", 16, 42, "出题范围：");
  Text3 = Make<NumericTextBox>(Frame3, "Text3", {76, 36, 49, 25}, NumericField::AddRange);
  MakeLabel(Frame3, "Label7", 128, 42, "以内加法");
  Text4 = Make<NumericTextBox>(Frame3, "Text4", {202, 36, 49, 25}, NumericField::SubRange);
  MakeLabel(Frame3, "Label8", 252, 42, "以内减法");
  CheckAdd = Make<QCheckBox>(Frame3, "CheckAdd", {76, 64, 105, 21}, "包含进位加法");
  CheckSub = Make<QCheckBox>(Frame3, "CheckSub", {202, 64, 101, 21}, "包含退位减法");
  for (NumericTextBox* field : {Text1, Text2, Text3, Text4}) {
    field->setFont(NumberFieldFont());
    field->SetCharacterHook([this](int code) { EnterTAB(code); });
  }

  Frame2 = Make<QGroupBox>(this, "Frame2", {16, 180, 319, 39}, "导出");
  Option2[0] = Make<QRadioButton>(Frame2, "Option2_0", {46, 10, 69, 25}, "文本文件");
  Option2[1] = Make<QRadioButton>(Frame2, "Option2_1", {122, 10, 77, 25}, "Excel文件");
  for (QRadioButton* option : Option2) {
    connect(option, &QRadioButton::toggled, this, &frmMain2::KeepOnlySelectedOptionsInTabOrder);
  }
  CheckExp = Make<QCheckBox>(Frame2, "CheckExp", {216, 14, 69, 17}, "导出竖式");

  CmdOK = Make<QPushButton>(this, "CmdOK", {44, 223, 69, 29}, "开始(&Y)");
  CmdAbout = Make<QPushButton>(this, "CmdAbout", {145, 223, 69, 29}, "关于(&B)");
  CmdExit = Make<QPushButton>(this, "CmdExit", {246, 223, 69, 29}, "退出(&X)");
  connect(CmdOK, &QPushButton::clicked, this, &frmMain2::CmdOK_Click);
  connect(CmdAbout, &QPushButton::clicked, this, &frmMain2::CmdAbout_Click);
  connect(CmdExit, &QPushButton::clicked, this, &frmMain2::CmdExit_Click);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(10);
  connect(Timer1, &QTimer::timeout, this, &frmMain2::Timer1_Timer);
  connect(Combo1, &QComboBox::activated, this, &frmMain2::Combo1_Click);
}

// Tab visits the controls in this order; disabled ones are skipped, and an
// option group is visited only at its selected button.
void frmMain2::SetTabOrder() {
  const std::vector<QWidget*> order = {Text1,      Text2,      Text3,      Text4,      CmdOK,      CmdAbout,
                                       CmdExit,    Option3[0], Option3[1], Option3[2], Option3[4], CheckSub,
                                       CheckAdd,   Combo1,     Option3[3], Option2[1], Option2[0], CheckA,
                                       CheckS,     CheckAS,    CheckExp,   CheckNewPage};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void frmMain2::Form_Load() {
  for (std::string_view item : kTermCountItems) Combo1->addItem(Text(item));
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

// The caption moves right one blank a tick until it has 23 leading blanks,
// then back left until it has none; one tick only turns the direction.
void frmMain2::Timer1_Timer() {
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
}

ControlState frmMain2::ReadControls() const {
  ControlState c;
  c.combo1Index = Combo1->currentIndex();
  c.checkA = CheckA->isChecked();
  c.checkS = CheckS->isChecked();
  c.checkAS = CheckAS->isChecked();
  for (std::size_t i = 0; i < Option3.size(); ++i) {
    if (Option3[i]->isChecked()) {
      c.option3Index = static_cast<int>(i);
      break;
    }
  }
  c.text1 = Text1->text().toStdString();
  c.text2 = Text2->text().toStdString();
  c.text3 = Text3->text().toStdString();
  c.text4 = Text4->text().toStdString();
  c.checkAdd = CheckAdd->isChecked();
  c.checkSub = CheckSub->isChecked();
  c.option2Index = Option2[kExportText]->isChecked() ? kExportText : kExportExcel;
  c.checkExp = CheckExp->isChecked();
  c.checkNewPage = CheckNewPage->isChecked();
  return c;
}

void frmMain2::WriteControls(const ControlState& c) {
  Combo1->setCurrentIndex(c.combo1Index);
  CheckA->setChecked(c.checkA);
  CheckS->setChecked(c.checkS);
  CheckAS->setChecked(c.checkAS);
  Option3[static_cast<std::size_t>(c.option3Index)]->setChecked(true);
  Text1->setText(QString::fromStdString(c.text1));
  Text2->setText(QString::fromStdString(c.text2));
  Text3->setText(QString::fromStdString(c.text3));
  Text4->setText(QString::fromStdString(c.text4));
  CheckAdd->setChecked(c.checkAdd);
  CheckSub->setChecked(c.checkSub);
  Option2[static_cast<std::size_t>(c.option2Index)]->setChecked(true);
  CheckExp->setChecked(c.checkExp);
  CheckNewPage->setChecked(c.checkNewPage);
  SetEnabledState();
}

// Which controls can be used: the third-term ones with three terms only, and
// during a run none of the settings nor Start.
void frmMain2::SetEnabledState() {
  const bool threeTerms = OffersThreeTermControls(ReadControls());
  Option3[kBlankThird]->setEnabled(threeTerms);
  CheckAS->setEnabled(threeTerms);
  for (QGroupBox* frame : {Frame1, Frame2, Frame3, Frame4}) frame->setEnabled(!running_);
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
  ShowBusyPointer(false);
  running_ = false;
  SetEnabledState();
  setWindowTitle(windowTitle().trimmed());
  Timer1->stop();
  if (focusBeforeRun_ != nullptr) focusBeforeRun_->setFocus(Qt::OtherFocusReason);
}

void frmMain2::ShowBusyPointer(bool busy) {
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
  // The number fields show their own text pointer over the window's.
  for (NumericTextBox* field : {Text1, Text2, Text3, Text4}) field->setCursor(busy ? Qt::WaitCursor : Qt::IBeamCursor);
}

// Lets queued events run: the title scroll, repaints, About and Exit.
bool frmMain2::Yield() {
  QCoreApplication::processEvents();
  return !closing_;
}

void frmMain2::ShowProgress(int count) {
  Text1->setText(QString::number(count));
  Text1->repaint();
}

void frmMain2::CmdOK_Click() {
  if (running_) return;
  LockForRun();
  const RunSetUp setUp = SetUpRun(ReadControls());
  CheckAS->setChecked(setUp.corrected.checkAS);
  const GenerationSettings& settings = setUp.settings;

  Progress progress;
  progress.yield = [this] { return Yield(); };
  progress.counted = [this](int done) { ShowProgress(done); };
  const WarningSink warning = [this](int, const std::string& message) {
    desktop_.ShowMessage(this, QMessageBox::Warning, "警告", QString::fromStdString(message));
  };
  SeededRandom random(SeedFromTimeOfDay());
  if (!GenerateProblems(settings, random, progress, warning, table_)) {
    RestoreAfterRun();  // the window is closing
    return;
  }

  const ExportResult result = RunExport(settings, table_, progress);
  switch (result.outcome) {
    case ExportOutcome::Written:
      RestoreAfterRun();
      desktop_.Open(this, Desktop::FileUrl(result.file));
      break;
    case ExportOutcome::ExcelMissing:
      desktop_.ShowMessage(this, QMessageBox::NoIcon, "Numbrook", QString::fromUtf8(kExcelMissingMessage));
      RestoreAfterRun();
      break;
    case ExportOutcome::Failed:
      desktop_.ShowMessage(this, QMessageBox::Critical, "Numbrook", QString::fromStdString(result.error));
      RestoreAfterRun();
      break;
    case ExportOutcome::Abandoned:
      RestoreAfterRun();  // the window is closing
      break;
  }
}

void frmMain2::CmdAbout_Click() {
  if (aboutAction_) aboutAction_(this);
}

void frmMain2::CmdExit_Click() { close(); }

// Closing during a run ends it at its next yield; the window object stays
// alive until the run has returned.
void frmMain2::closeEvent(QCloseEvent* event) {
  if (running_) closing_ = true;
  event->accept();
}

}  // namespace numbrook
