#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>
#include <vector>

#include "widgets/desktop.h"

namespace numbrook {

// Records the message boxes and the desktop's opens instead of showing them.
class RecordingDesktop : public Desktop {
 public:
  void ShowMessage(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text) override {
    icons.push_back(icon);
    titles << title;
    messages << text;
  }
  void Open(QWidget*, const QUrl& target) override { opened << target; }
  std::vector<QMessageBox::Icon> icons;
  QStringList titles, messages;
  QList<QUrl> opened;
};

}  // namespace numbrook
