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
// failure and its reason, or nothing because the check was cancelled.
struct SourceView {
  FetchResult::Status status = FetchResult::Failed;
  QString page;
  QString failure;
};

// The page as the check reads it: its first 1024 characters, decoded. The
// HTTP status is not looked at: an error page's body counts as the page
// (a proxy's demand for a login is a failure of the fetch).
SourceView viewSource(const FetchResult& fetched);

// Starts the GET of the download page within the deadline; the fetch's
// `finished` brings what viewSource reads.
void StartFetch(CurlPageFetch& fetch, const QUrl& address, int timeoutMilliseconds = 10000);

// Swallows the user's clicks and keys while it lives, so no second check can
// start; closing the window still can, and cancels the check.
class InputBlocker : public QObject {
 public:
  InputBlocker();
  ~InputBlocker() override;

 protected:
  bool eventFilter(QObject*, QEvent* event) override;
};

}  // namespace numbrook
