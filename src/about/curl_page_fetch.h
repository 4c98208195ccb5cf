#pragma once

#include <curl/curl.h>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include "about/curl_event_bridge.h"

namespace numbrook {

// The bounds of one fetch: whatever the server does, it ends within the
// deadline and holds at most this much of its answer.
struct FetchLimits {
  int deadlineMilliseconds = 10000;  // from the request to the verdict, name lookup and redirects included
  qsizetype headerBytes = 64 * 1024;  // of each response's header block
  qsizetype bodyBytes = 4 * 1024 + 4;  // 1,024 characters in any encoding, and a byte-order mark
  int redirects = 5;
};

struct FetchResult {
  enum Status { Page, Failed, Cancelled };
  Status status = Failed;
  QByteArray body;         // the page's first bytes, up to FetchLimits::bodyBytes
  QByteArray contentType;  // as the response declared it
  QString failure;         // why it failed, in words for the user
};

// A GET of one page with libcurl, run from the calling thread's event loop
// without a loop of its own; `finished` brings the verdict:
// http and https only, a few redirects but never from https back to http,
// proxies as the environment names them, the body cut once enough of it is
// in. A body cut short, a compressed body, a TLS failure or any other fault
// is a failure. Nothing of it outlives the fetch, not even a name lookup.
class CurlPageFetch : public QObject {
  Q_OBJECT

 public:
  explicit CurlPageFetch(QObject* parent = nullptr);
  ~CurlPageFetch() override;

  // Starts the fetch; a fetch in flight is cancelled first. The verdict
  // comes by `finished`, at the deadline at the latest.
  void Start(const QUrl& address, const QByteArray& contentTypeHeader, const FetchLimits& limits = {});
  bool IsRunning() const { return easy_ != nullptr; }

  // Ends a fetch in flight as Cancelled; does nothing otherwise.
  void Cancel();

 signals:
  void finished(const numbrook::FetchResult& result);

 private:
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static int BeforeRequest(void* self, char*, char*, int, int);
  void Configure(const QUrl& address, const QByteArray& contentTypeHeader);
  void Done(CURLcode result);
  void Finish(FetchResult::Status status, const QString& failure = {});
  QString ReasonOf(CURLcode result) const;
  QString TimeOutReason() const;

  CurlEventBridge bridge_;
  QTimer deadline_;  // ends the fetch when its time is up, whatever libcurl is doing
  CURL* easy_ = nullptr;
  curl_slist* requestHeaders_ = nullptr;
  FetchLimits limits_;
  FetchResult result_;
  qsizetype headerBytes_ = 0;   // of the response now arriving
  bool bodyFull_ = false;       // the body reached its bound and was cut there
  bool bodyRefused_ = false;    // a body in an encoding we did not ask for
  bool wentSecure_ = false;     // some request of this fetch went over https
  bool downgraded_ = false;     // a redirect led from https to http
  char curlError_[CURL_ERROR_SIZE] = {};
};

}  // namespace numbrook
