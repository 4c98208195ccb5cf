#include "widgets/desktop.h"

#include <QDesktopServices>

namespace numbrook {

void Desktop::ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

void Desktop::Open(QWidget* /*parent*/, const QUrl& target) { QDesktopServices::openUrl(target); }

QUrl Desktop::FileUrl(const std::filesystem::path& file) {
  const QByteArray bytes(file.native().data(), static_cast<qsizetype>(file.native().size()));
  return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

}  // namespace numbrook
