#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QTcpSocket;

namespace numbrook {

// The bounds of one fetch: whatever the server does, it ends within the
// deadline and holds at most this much of its answer.
struct FetchLimits {
  int deadlineMilliseconds = 10000;  // from the request to the verdict, headers included
  qsizetype headerBytes = 64 * 1024;
  qsizetype bodyBytes = 4 * 1024 + 4;  // 1,024 characters in any encoding, and a byte-order mark
  int redirects = 5;
};

struct FetchResult {
  enum Status { Page, Failed, Cancelled };
  Status status = Failed;
  QByteArray body;         // the page's first bytes, up to FetchLimits::bodyBytes
  QByteArray contentType;  // as the response declared it
  QString failure;         // why it failed, for the log and the tests
};

// An HTTP/1.1 GET of one page over a socket of our own, on the calling
// thread: the body is read as it arrives and the connection closed once
// enough of it is in; redirects to http and https are followed a few times;
// a body cut short, a compressed body, a TLS failure or any other fault is a
// failure. Nothing of it outlives the fetch.
class PageFetch : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~PageFetch() override;

  // Runs the fetch to its verdict, letting events run meanwhile.
  FetchResult Get(const QUrl& address, const QByteArray& contentTypeHeader, const FetchLimits& limits = {});

  // Ends a fetch in flight as Cancelled; does nothing otherwise.
  void Cancel();

 signals:
  void ended();

 private:
  enum class Stage { Headers, Body, ChunkSize, ChunkData, ChunkEnd, Trailers, Done };

  void Start(const QUrl& address);
  void SendRequest();
  void Consume();
  void Closed();
  bool TakeHeaders();
  void TakeBody(QByteArray& data);
  void TakeChunked(QByteArray& data);
  void Finish(FetchResult::Status status, const QString& failure = {});
  void DropSocket();

  QByteArray contentTypeHeader_;
  FetchLimits limits_;
  QUrl address_;
  QPointer<QTcpSocket> socket_;
  QTimer deadline_;
  FetchResult result_;
  Stage stage_ = Stage::Done;
  QByteArray pending_;      // bytes read but not yet taken (headers, chunk lines)
  qint64 remaining_ = -1;   // body or chunk bytes still to come; -1 until the connection closes
  int redirectsLeft_ = 0;
};

}  // namespace numbrook
