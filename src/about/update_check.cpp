#include "about/update_check.h"

#include <QCoreApplication>
#include <QEvent>
#include <QRegularExpression>
#include <QStringDecoder>
#include <optional>

#include "program_identity.h"

namespace numbrook {
namespace {

constexpr int kPageCharacters = 1024;

QString TrimBlanks(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && text.at(first) == u' ') ++first;
  while (last > first && text.at(last - 1) == u' ') --last;
  return text.mid(first, last - first);
}

QByteArray CharsetIn(const QByteArray& text) {
  static const QRegularExpression charset(R"(charset\s*=\s*["']?([A-Za-z0-9._:-]+))",
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = charset.match(QString::fromLatin1(text));
  return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

}  // namespace

QString LocalVersionText() {
  return QString("%1 %2.%3.%4").arg(kProgramTitle).arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

UpdateVerdict JudgePage(const QString& page, const QString& localVersion) {
  const qsizetype open = page.indexOf(QLatin1String("<title>"));
  const qsizetype close = page.indexOf(QLatin1String("</title>"));
  if (open < 0 || close < 0 || open >= close) return UpdateVerdict::NoTitle;
  const QString title = TrimBlanks(page.mid(open + 7, close - open - 7));
  const qsizetype download = title.indexOf(QString::fromUtf8("下载"));
  if (download <= 0) return UpdateVerdict::NoNewVersion;
  // QString orders by UTF-16 code unit; a beginning sorts before the whole.
  return localVersion < title.left(download) ? UpdateVerdict::NewerVersion : UpdateVerdict::NoNewVersion;
}

QString DecodePage(const QByteArray& body, const QByteArray& contentType) {
  QByteArray charset = CharsetIn(contentType);
  if (charset.isEmpty()) {
    if (const std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(body)) {
      QStringDecoder decoder(*bom);
      return decoder.decode(body);
    }
    charset = CharsetIn(body.left(4096));
  }
  // GB18030 holds all of GBK and GB2312, so a page that names one of those
  // still decodes whatever the server really sent.
  const QByteArray lower = charset.toLower();
  if (lower == "gb2312" || lower == "gbk" || lower == "x-gbk") charset = "GB18030";
  QStringDecoder decoder(charset.isEmpty() ? "UTF-8" : charset.constData());
  if (!decoder.isValid()) decoder = QStringDecoder(QStringConverter::Utf8);
  return decoder.decode(body);
}

InputBlocker::InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }

InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

bool InputBlocker::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
      return true;
    default:
      return false;
  }
}

void StartFetch(CurlPageFetch& fetch, const QUrl& address, int timeoutMilliseconds) {
  FetchLimits limits;
  limits.deadlineMilliseconds = timeoutMilliseconds;
  fetch.Start(address, "text/XML", limits);
}

SourceView viewSource(const FetchResult& fetched) {
  SourceView view;
  view.status = fetched.status;
  view.failure = fetched.failure;
  if (fetched.status == FetchResult::Page) view.page = DecodePage(fetched.body, fetched.contentType).left(kPageCharacters);
  return view;
}

}  // namespace numbrook
