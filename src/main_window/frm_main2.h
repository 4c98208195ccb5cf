#pragma once

#include <QFutureWatcher>
#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>

#include "main_window/control_state.h"
#include "sets/class_set.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace numbrook {

class Desktop;
class NumericTextBox;

// The settings window: what to draw, how many, how to export; Start makes
// the worksheet and opens it.
class frmMain2 : public QWidget {
  Q_OBJECT

 public:
  explicit frmMain2(Desktop& desktop, QWidget* parent = nullptr);
  ~frmMain2() override;

  // The About button's action; the About window plugs in here.
  void SetAboutAction(std::function<void(QWidget* parent)> action) { aboutAction_ = std::move(action); }

  // The state of the controls that a run reads.
  ControlState ReadControls() const;

  bool IsRunning() const { return running_; }

  // Blocks until a run in progress has ended and its outcome is shown: for
  // tests and for the program's end.
  void WaitForRun();

 public slots:
  void CmdOK_Click();
  void CmdAbout_Click();
  void CmdExit_Click();
  // Stops a run at its next problem; the sheets finished stay, and the user
  // is told where.
  void StopRun();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void Combo1_Click();
  void Combo2_Click();
  void Combo3_Click();
  void TwoStepChoice_Click();
  void CheckSteps_Click();
  void Timer1_Timer();
  void RunFinished();

 private:
  void CreateControls();
  template <typename W>
  W* Control(const char* name) const;
  void Form_Load();
  void EnterTAB(int code);
  void KeepOnlySelectedOptionsInTabOrder();
  void WriteControls(const ControlState& controls);
  void SetEnabledState();
  void StartRun(SheetSetRequest request);  // on a thread of its own
  void LockForRun();
  void RestoreAfterRun();
  void ShowBusyPointer(bool busy);
  void ShowCounts();
  bool ShowFailure(const SheetSetResult& result);
  void ShowNotices(const SheetSetResult& result);
  void TellWhatWasKept(const SheetSetResult& result);
  void OpenWritten(const std::vector<PlacedFile>& placed);

  Desktop& desktop_;
  std::function<void(QWidget*)> aboutAction_;

  QGroupBox* Frame1;
  QGroupBox* Frame2;
  QGroupBox* Frame3;
  QGroupBox* Frame4;
  QComboBox* Combo1;
  QCheckBox* CheckA;
  QCheckBox* CheckS;
  QCheckBox* CheckAS;
  std::array<QRadioButton*, 5> Option3{};
  NumericTextBox* Text1;
  NumericTextBox* Text2;
  NumericTextBox* Text3;
  NumericTextBox* Text4;
  QCheckBox* CheckNewPage;
  QCheckBox* CheckAdd;
  QCheckBox* CheckSub;
  std::array<QRadioButton*, 3> Option2{};
  QCheckBox* CheckExp;
  QGroupBox* Frame5;
  NumericTextBox* Text5;
  QCheckBox* CheckKey;
  QCheckBox* CheckDistinct;
  QCheckBox* CheckM;
  QCheckBox* CheckD;
  QGroupBox* Frame6;
  QLabel* Label11;
  QLabel* Label12;
  QLabel* Label13;
  QComboBox* Combo2;
  QComboBox* Combo3;
  std::array<QRadioButton*, 3> Option4{};
  QGroupBox* Frame7;
  QCheckBox* CheckTrivial;
  QGroupBox* Frame8;
  QCheckBox* CheckTwoSided;
  QCheckBox* CheckLarge;
  QGroupBox* Frame9;
  QLabel* Label14;
  std::array<QRadioButton*, 3> Option5{};
  QCheckBox* CheckSteps;
  QPushButton* CmdOK;
  QPushButton* CmdAbout;
  QPushButton* CmdExit;
  QTimer* Timer1;

  bool bScrollRight = true;  // the direction of the title scroll
  bool running_ = false;
  QPointer<QWidget> focusBeforeRun_;
  bool closing_ = false;     // the window was closed during a run

  // The run works on a thread of its own; the window reads its counts on
  // each tick of Timer1 and stops it through the flag.
  QFutureWatcher<SheetSetResult> run_;
  std::atomic<bool> stop_ = false;
  std::atomic<int> problemsDone_ = 0;
  std::atomic<int> sheetsDone_ = 0;
  int problemCount_ = 0;  // what the run was asked for
  int sheetCount_ = 1;
  std::optional<std::filesystem::path> documents_;  // asked of the desktop once
};

}  // namespace numbrook
