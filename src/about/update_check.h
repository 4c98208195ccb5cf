#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace numbrook {

// "Numbrook 1.3.6": the name and version that the download page's title is
// compared with.
QString LocalVersionText();

enum class UpdateVerdict {
  NoTitle,       // no "<title>" before a "</title>": nothing to say
  NoNewVersion,  // the title shows no newer version
  NewerVersion,  // the title's part before "下载" sorts after ours
};

// Judges the first 1024 characters of the download page.
UpdateVerdict JudgePage(const QString& page, const QString& localVersion);

// The page's text, decoded by the charset the response declares, else a
// byte-order mark, else a <meta> charset in the page, else UTF-8.
QString DecodePage(const QByteArray& body, const QByteArray& contentType);

// Fetches the page with a GET and returns its first 1024 characters, or
// nothing when no answer came within the time-out. The HTTP status is not
// looked at: an error page's body counts as the page. User input is held
// off meanwhile, so no second check can start.
std::optional<QString> viewSource(const QUrl& address, int timeoutMilliseconds = 10000);

}  // namespace numbrook
