#pragma once

#include <QMessageBox>
#include <QUrl>

#include <filesystem>

class QWidget;

namespace numbrook {

// The window's way to the desktop: modal message boxes and the desktop's
// "open" for files and addresses. Tests hand in a recorder instead.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // A modal box with an OK button; returns when the user has closed it.
  virtual void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);
  // Opens a file or an address with the program the desktop associates with
  // it, without waiting. A file or folder that the desktop's opener could
  // not open is reported over the parent when the opener answers: the box
  // names the file and its folder and offers to open the folder.
  virtual void Open(QWidget* parent, const QUrl& target);

  // A file: URL that carries the path's bytes as they are, whatever their
  // encoding, to the desktop's open.
  static QUrl FileUrl(const std::filesystem::path& file);

  // How long the opener is watched for a failure. An opener that is still
  // running then has started the file's program (some run it in their own
  // process), and its later exit says nothing about the open.
  static constexpr int kOpenAnswerMilliseconds = 20000;
};

}  // namespace numbrook
