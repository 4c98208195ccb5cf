#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include "about/curl_page_fetch.h"

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

// What the fetch of the download page gave: its first 1024 characters, a
// failure, or nothing because the check was cancelled.
struct SourceView {
  FetchResult::Status status = FetchResult::Failed;
  QString page;
};

// Fetches the page with a GET, within the deadline, and decodes its first
// 1024 characters. The HTTP status is not looked at: an error page's body
// counts as the page. Clicks and keys are held off meanwhile, so no second
// check can start; closing the window still can, and cancels the fetch.
SourceView viewSource(CurlPageFetch& fetch, const QUrl& address, int timeoutMilliseconds = 10000);

}  // namespace numbrook
