#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

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

 public slots:
  void CmdOK_Click();
  void CmdAbout_Click();
  void CmdExit_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void Combo1_Click();
  void Combo2_Click();
  void Combo3_Click();
  void Timer1_Timer();

 private:
  void CreateControls();
  template <typename W>
  W* Control(const char* name) const;
  void Form_Load();
  void EnterTAB(int code);
  void KeepOnlySelectedOptionsInTabOrder();
  void WriteControls(const ControlState& controls);
  void SetEnabledState();
  void LockForRun();
  void RestoreAfterRun();
  void ShowBusyPointer(bool busy);
  bool Yield();
  void ShowProgress(NumericTextBox* field, int count);
  void ShowOutcome(const SheetSetResult& result, int problemCount);
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
  QPushButton* CmdOK;
  QPushButton* CmdAbout;
  QPushButton* CmdExit;
  QTimer* Timer1;

  bool bScrollRight = true;  // the direction of the title scroll
  bool running_ = false;
  QElapsedTimer progressFrame_;  // since the count was last drawn
  QPointer<QWidget> focusBeforeRun_;
  bool closing_ = false;     // the window was closed during a run
};

}  // namespace numbrook
