#include "widgets/desktop.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace numbrook {
namespace {

// xdg-open's exit codes that mean something to the user.
constexpr int kNoSuchFile = 2;
constexpr int kNoProgramForType = 3;

QString WhyNotOpened(QProcess::ProcessError error, QProcess::ExitStatus status, int exitCode) {
  if (error == QProcess::FailedToStart) return "系统没有打开文件的程序 xdg-open";
  if (status == QProcess::CrashExit) return "打开文件的程序 xdg-open 意外退出";
  if (exitCode == kNoProgramForType) return "没有与这类文件关联的程序";
  if (exitCode == kNoSuchFile) return "文件不存在";
  return QString("打开文件的程序 xdg-open 报告失败（退出代码 %1）").arg(exitCode);
}

// The path as the user reads it; a name that is not UTF-8 shows its bytes
// as well as they go.
QString Shown(const std::filesystem::path& path) { return QString::fromLocal8Bit(path.native().c_str()); }

}  // namespace

void Desktop::ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

// Files go through xdg-open, watched for its answer, since Qt's open on
// this platform only says whether the opener started. Addresses (the web
// page, mail) keep Qt's open, which picks the mail program for "mailto:".
void Desktop::Open(QWidget* parent, const QUrl& target) {
  if (!target.isLocalFile()) {
    QDesktopServices::openUrl(target);
    return;
  }
  const std::filesystem::path file(QByteArray::fromPercentEncoding(target.path(QUrl::FullyEncoded).toLatin1()).toStdString());
  // Without a parent: a process object that is destroyed kills its process,
  // and the file's program must outlive the window.
  auto* opener = new QProcess;
  auto* deadline = new QTimer(opener);
  deadline->setSingleShot(true);
  const QPointer<QWidget> over(parent);
  const auto stopWatching = [opener, deadline] {
    deadline->stop();
    QObject::disconnect(opener, nullptr, nullptr, nullptr);
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
  };
  const auto failed = [this, over, file, stopWatching](const QString& reason) {
    stopWatching();
    const std::filesystem::path folder = file.parent_path();
    const bool isFolder = std::filesystem::is_directory(file);
    const QString text = isFolder ? QString("无法打开文件夹“%1”：%2。").arg(Shown(file), reason)
                                  : QString("无法打开文件“%1”：%2。\n文件已保存在文件夹“%3”中。")
                                        .arg(Shown(file.filename()), reason, Shown(folder));
    auto* box = new QMessageBox(QMessageBox::Warning, "Numbrook", text, QMessageBox::Ok, over.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName("OpenFailure");
    if (!isFolder) {
      QPushButton* showFolder = box->addButton("打开文件夹(&F)", QMessageBox::ActionRole);
      showFolder->setObjectName("OpenFolder");
      QObject::connect(showFolder, &QPushButton::clicked, [this, over, folder] { Open(over.data(), FileUrl(folder)); });
    }
    box->open();
  };
  QObject::connect(opener, &QProcess::errorOccurred, [opener, failed](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      failed(WhyNotOpened(error, QProcess::NormalExit, 0));
      opener->deleteLater();
    }
  });
  QObject::connect(opener, &QProcess::finished, [opener, failed, stopWatching](int exitCode, QProcess::ExitStatus status) {
    if (status == QProcess::NormalExit && exitCode == 0) {
      stopWatching();
    } else {
      failed(WhyNotOpened(QProcess::UnknownError, status, exitCode));
    }
    opener->deleteLater();
  });
  QObject::connect(deadline, &QTimer::timeout, stopWatching);
  opener->setProcessChannelMode(QProcess::ForwardedChannels);
  opener->setStandardInputFile(QProcess::nullDevice());
  opener->start("xdg-open", {QString::fromLatin1(target.toEncoded())});
  deadline->start(kOpenAnswerMilliseconds);
}

QUrl Desktop::FileUrl(const std::filesystem::path& file) {
  const QByteArray bytes(file.native().data(), static_cast<qsizetype>(file.native().size()));
  return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

}  // namespace numbrook
