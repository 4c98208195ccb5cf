#pragma once

#include <QDialog>
#include <QUrl>
#include <memory>

#include "about/curl_page_fetch.h"
#include "about/update_check.h"

class QPushButton;

namespace numbrook {

class Desktop;
class LinkLabel;

// The About window: a picture, the program's name and version, the
// download page and the maker's address, and the update check.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  frmAbout(Desktop& desktop, QWidget* parent = nullptr, QUrl downloadPage = QUrl(),
           int updateTimeoutMilliseconds = 10000);

 public slots:
  void cmdOK_Click();
  void Label1_Click();
  void lblTitle_Click();
  void CmdUpdate_Click();

 public:
  // Whether an update check is waiting for its page.
  bool IsChecking() const { return blocker_ != nullptr; }

 protected:
  // Esc runs the update check: it is the window's cancel button.
  void reject() override { CmdUpdate_Click(); }
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void UpdateChecked(const FetchResult& fetched);

  Desktop& desktop_;
  QUrl downloadPage_;
  int updateTimeout_;
  LinkLabel* lblTitle;
  LinkLabel* Label1;
  QPushButton* cmdOK;
  QPushButton* CmdUpdate;
  CurlPageFetch* fetch_;  // the update check's connection; lives as long as the window
  std::unique_ptr<InputBlocker> blocker_;  // while a check waits for its page
};

}  // namespace numbrook
