#include "about/frm_about.h"

#include <QCloseEvent>
#include <QLabel>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "about/about_window_table.h"
#include "about/curl_page_fetch.h"
#include "widgets/link_label.h"
#include "about/program_links.h"
#include "about/update_check.h"
#include "widgets/desktop.h"
#include "widgets/enter_presses_button.h"
#include "widgets/window_style.h"
#include "program_identity.h"

namespace numbrook {
namespace {

// Qt breaks a line between any two Chinese characters; the word joiner
// (U+2060) between the characters of each part leaves only the blanks as
// places to break, so the second part starts the second line.
QString BreakOnlyAtBlanks(const QString& text) {
  QString joined;
  for (qsizetype i = 0; i < text.size(); ++i) {
    joined += text.at(i);
    const bool next = i + 1 < text.size();
    if (next && !text.at(i).isSpace() && !text.at(i + 1).isSpace() && !text.at(i).isHighSurrogate()) {
      joined += QChar(0x2060);
    }
  }
  return joined;
}

void SetTextColour(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(Desktop& desktop, QWidget* parent, QUrl downloadPage, int updateTimeoutMilliseconds)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      desktop_(desktop),
      downloadPage_(downloadPage.isEmpty() ? QUrl(kDownloadPage) : downloadPage),
      updateTimeout_(updateTimeoutMilliseconds) {
  setModal(true);
  setFont(WindowStyle::DialogFont());
  BuildFromTable(this, kAboutWindowTable, [](const ControlRow& row, QWidget* parent) -> QWidget* {
    if (row.kind != ControlKind::FixedLabel) return nullptr;
    // Shown with its breaks held to the blanks, read out as written.
    auto* label = static_cast<QLabel*>(MakeStandardControl(row, parent));
    label->setText(BreakOnlyAtBlanks(Utf8(row.caption)));
    label->setAccessibleName(Utf8(row.caption));
    return label;
  });
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, Qt::white);
  setPalette(background);
  if (parent != nullptr) setWindowIcon(parent->windowIcon());

  auto* lblDisclaimer = findChild<QLabel*>("lblDisclaimer");
  QFont disclaimerFont;
  disclaimerFont.setFamilies({"SimSun", "宋体", "Noto Serif CJK SC", "AR PL UMing CN"});
  disclaimerFont.setPointSizeF(10.5);
  disclaimerFont.setBold(true);
  lblDisclaimer->setFont(disclaimerFont);
  SetTextColour(lblDisclaimer, QColor(255, 255, 128));

  fetch_ = new CurlPageFetch(this);
  connect(fetch_, &CurlPageFetch::finished, this, &frmAbout::UpdateChecked);

  cmdOK = findChild<QPushButton*>("cmdOK");
  CmdUpdate = findChild<QPushButton*>("CmdUpdate");
  CmdUpdate->setDefault(true);
  lblTitle = findChild<LinkLabel*>("lblTitle");
  Label1 = findChild<LinkLabel*>("Label1");
  for (LinkLabel* link : {lblTitle, Label1}) SetTextColour(link, QColor(0, 128, 128));

  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(CmdUpdate, &QPushButton::clicked, this, &frmAbout::CmdUpdate_Click);
  connect(lblTitle, &LinkLabel::clicked, this, &frmAbout::lblTitle_Click);
  connect(Label1, &LinkLabel::clicked, this, &frmAbout::Label1_Click);
  WindowStyle::Apply(this);
  EnterPressesButton::Install(this);
  Form_Load();
  cmdOK->setFocus();
  // Centred on the screen, not over the main window.
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  move(screen->availableGeometry().center() - rect().center());
}

void frmAbout::Form_Load() {
  setWindowTitle(QString::fromUtf8("关于 ") + LocalVersionText());
  lblTitle->setText(downloadPage_.toString());
}

void frmAbout::cmdOK_Click() { done(QDialog::Accepted); }

void frmAbout::closeEvent(QCloseEvent* event) {
  // The close box closes the window, unlike Esc, and cancels a check in
  // flight: no message and no browser come after the window has gone.
  fetch_->Cancel();
  event->accept();
  done(QDialog::Accepted);
}

void frmAbout::Label1_Click() { desktop_.Open(this, QUrl("mailto:" + Label1->text())); }

void frmAbout::lblTitle_Click() { desktop_.Open(this, QUrl(lblTitle->text())); }

// The check runs while the window's events go on; the user's clicks and
// keys are held off until the page or its failure is in.
void frmAbout::CmdUpdate_Click() {
  if (IsChecking()) return;
  setCursor(Qt::WaitCursor);
  blocker_ = std::make_unique<InputBlocker>();
  StartFetch(*fetch_, downloadPage_, updateTimeout_);
}

void frmAbout::UpdateChecked(const FetchResult& fetched) {
  blocker_.reset();
  unsetCursor();
  const SourceView view = viewSource(fetched);
  auto tell = [this](const QString& text) { desktop_.ShowMessage(this, QMessageBox::Information, "提示", text); };
  switch (view.status) {
    case FetchResult::Cancelled:
      return;
    case FetchResult::Failed:
      tell("请检测网络是否正常...！\n\n无法读取“" + downloadPage_.toString() + "”：" + view.failure + "。");
      return;
    case FetchResult::Page:
      break;
  }
  switch (JudgePage(view.page, LocalVersionText())) {
    case UpdateVerdict::NoTitle:
      break;
    case UpdateVerdict::NoNewVersion:
      tell("未找到新的版本...！");
      break;
    case UpdateVerdict::NewerVersion:
      desktop_.Open(this, downloadPage_);
      break;
  }
}

}  // namespace numbrook
