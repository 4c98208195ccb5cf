#include "about/page_fetch.h"

#include <QEventLoop>
#include <QSslSocket>
#include <QTcpSocket>

#include "program_identity.h"

namespace numbrook {
namespace {

constexpr qint64 kReadChunk = 16 * 1024;
constexpr qint64 kSocketBuffer = 64 * 1024;  // what the socket may hold for us
constexpr qsizetype kChunkLine = 1024;

// The end of the header block: a blank line, however the lines end.
qsizetype HeaderEnd(const QByteArray& bytes, qsizetype* separatorLength) {
  const qsizetype crlf = bytes.indexOf("\r\n\r\n");
  const qsizetype lf = bytes.indexOf("\n\n");
  if (crlf >= 0 && (lf < 0 || crlf < lf)) {
    *separatorLength = 4;
    return crlf;
  }
  *separatorLength = 2;
  return lf;
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

}  // namespace

PageFetch::~PageFetch() { DropSocket(); }

FetchResult PageFetch::Get(const QUrl& address, const QByteArray& contentTypeHeader, const FetchLimits& limits) {
  contentTypeHeader_ = contentTypeHeader;
  limits_ = limits;
  redirectsLeft_ = limits.redirects;
  result_ = FetchResult();
  stage_ = Stage::Headers;
  deadline_.setSingleShot(true);
  deadline_.disconnect();
  connect(&deadline_, &QTimer::timeout, this, [this] {
    Finish(FetchResult::Failed, QStringLiteral("no answer within %1 ms").arg(limits_.deadlineMilliseconds));
  });
  deadline_.start(limits.deadlineMilliseconds);
  Start(address);

  QEventLoop loop;
  connect(this, &PageFetch::ended, &loop, &QEventLoop::quit);
  if (stage_ != Stage::Done) loop.exec();
  return result_;
}

void PageFetch::Cancel() { Finish(FetchResult::Cancelled); }

void PageFetch::Start(const QUrl& address) {
  address_ = address;
  stage_ = Stage::Headers;
  pending_.clear();
  remaining_ = -1;
  result_.body.clear();
  result_.contentType.clear();
  const QString scheme = address.scheme().toLower();
  if ((scheme != "http" && scheme != "https") || address.host().isEmpty()) {
    Finish(FetchResult::Failed, "not an http or https address: " + address.toString());
    return;
  }
  if (scheme == "https" && !QSslSocket::supportsSsl()) {
    Finish(FetchResult::Failed, QStringLiteral("no TLS here for ") + address.toString());
    return;
  }

  QTcpSocket* socket = scheme == "https" ? new QSslSocket(this) : new QTcpSocket(this);
  socket_ = socket;
  socket->setReadBufferSize(kSocketBuffer);
  connect(socket, &QTcpSocket::readyRead, this, &PageFetch::Consume);
  connect(socket, &QTcpSocket::disconnected, this, &PageFetch::Closed);
  connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
    if (error == QAbstractSocket::RemoteHostClosedError) {
      Closed();
    } else {
      Finish(FetchResult::Failed, socket_ != nullptr ? socket_->errorString() : QStringLiteral("socket error"));
    }
  });
  if (auto* tls = qobject_cast<QSslSocket*>(socket)) {
    // Certificate errors are not ignored: the handshake fails, and so does the fetch.
    connect(tls, &QSslSocket::encrypted, this, &PageFetch::SendRequest);
    tls->connectToHostEncrypted(address.host(), static_cast<quint16>(address.port(443)));
  } else {
    connect(socket, &QTcpSocket::connected, this, &PageFetch::SendRequest);
    socket->connectToHost(address.host(), static_cast<quint16>(address.port(80)));
  }
}

void PageFetch::SendRequest() {
  if (socket_ == nullptr) return;
  QByteArray target = address_.path(QUrl::FullyEncoded).toLatin1();
  if (target.isEmpty()) target = "/";
  if (address_.hasQuery()) target += "?" + address_.query(QUrl::FullyEncoded).toLatin1();
  QByteArray host = address_.host(QUrl::FullyEncoded).toLatin1();
  if (host.contains(':')) host = "[" + host + "]";
  if (address_.port() != -1) host += ":" + QByteArray::number(address_.port());
  const QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + host +
                             "\r\nContent-Type: " + contentTypeHeader_ +
                             "\r\nAccept-Encoding: identity\r\nConnection: close\r\nUser-Agent: Numbrook/" +
                             QByteArray(kVersionText) + "\r\n\r\n";
  socket_->write(request);
}

void PageFetch::Consume() {
  while (stage_ != Stage::Done && socket_ != nullptr && socket_->bytesAvailable() > 0) {
    QByteArray data = socket_->read(kReadChunk);
    if (stage_ == Stage::Headers) {
      pending_ += data;
      data.clear();
      if (!TakeHeaders()) continue;
      data = pending_;
      pending_.clear();
    }
    if (stage_ == Stage::Body) {
      TakeBody(data);
    } else if (stage_ != Stage::Done) {
      TakeChunked(data);
    }
  }
}

// Reads the header block once it is all in; false while it is not, or when
// the fetch failed or moved on to a redirect.
bool PageFetch::TakeHeaders() {
  qsizetype separator = 0;
  const qsizetype end = HeaderEnd(pending_, &separator);
  if (end < 0 || end + separator > limits_.headerBytes) {
    if (pending_.size() > limits_.headerBytes) Finish(FetchResult::Failed, QStringLiteral("the headers are too long"));
    return false;
  }
  const QList<QByteArray> lines = pending_.left(end).split('\n');
  pending_.remove(0, end + separator);

  const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
  bool numeric = false;
  const int status = statusLine.size() >= 2 ? statusLine[1].toInt(&numeric) : 0;
  if (!statusLine.first().startsWith("HTTP/1.") || !numeric) {
    Finish(FetchResult::Failed, QStringLiteral("not an HTTP answer"));
    return false;
  }
  if (status >= 100 && status < 200) return TakeHeaders();  // an interim answer; the real one follows

  QByteArray location, transferEncoding, contentEncoding, contentLength;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(':');
    if (colon <= 0) continue;
    const QByteArray name = lines[i].left(colon).trimmed().toLower();
    const QByteArray value = lines[i].mid(colon + 1).trimmed();
    if (name == "location") location = value;
    else if (name == "transfer-encoding") transferEncoding = value.toLower();
    else if (name == "content-encoding") contentEncoding = value.toLower();
    else if (name == "content-length") contentLength = value;
    else if (name == "content-type") result_.contentType = value;
  }

  if (IsRedirect(status) && !location.isEmpty()) {
    if (redirectsLeft_-- <= 0) {
      Finish(FetchResult::Failed, QStringLiteral("too many redirects"));
      return false;
    }
    const QUrl next = address_.resolved(QUrl::fromEncoded(location));
    DropSocket();
    Start(next);
    return false;
  }
  // We asked for the page as it is; a compressed body is not read.
  if (!contentEncoding.isEmpty() && contentEncoding != "identity") {
    Finish(FetchResult::Failed, "a body in the " + QString::fromLatin1(contentEncoding) + " encoding");
    return false;
  }
  if (transferEncoding.contains("chunked")) {
    stage_ = Stage::ChunkSize;
  } else {
    stage_ = Stage::Body;
    if (!contentLength.isEmpty()) {
      bool valid = false;
      remaining_ = contentLength.toLongLong(&valid);
      if (!valid || remaining_ < 0) {
        Finish(FetchResult::Failed, QStringLiteral("a bad Content-Length"));
        return false;
      }
      if (remaining_ == 0) Finish(FetchResult::Page);
    }
  }
  return stage_ != Stage::Done;
}

void PageFetch::TakeBody(QByteArray& data) {
  if (remaining_ >= 0 && data.size() > remaining_) data.truncate(remaining_);
  if (remaining_ >= 0) remaining_ -= data.size();
  result_.body += data.left(limits_.bodyBytes - result_.body.size());
  // Enough for the page's first characters, or all of a page that is shorter.
  if (result_.body.size() >= limits_.bodyBytes || remaining_ == 0) Finish(FetchResult::Page);
}

void PageFetch::TakeChunked(QByteArray& data) {
  pending_ += data;
  while (stage_ != Stage::Done) {
    if (stage_ == Stage::ChunkSize || stage_ == Stage::Trailers) {
      const qsizetype newline = pending_.indexOf('\n');
      if (newline < 0) {
        if (pending_.size() > kChunkLine) Finish(FetchResult::Failed, QStringLiteral("a bad chunk"));
        return;
      }
      const QByteArray line = pending_.left(newline).trimmed();
      pending_.remove(0, newline + 1);
      if (stage_ == Stage::Trailers) {
        if (line.isEmpty()) Finish(FetchResult::Page);
        continue;
      }
      bool valid = false;
      const qint64 size = line.split(';').first().trimmed().toLongLong(&valid, 16);
      if (!valid || size < 0) {
        Finish(FetchResult::Failed, QStringLiteral("a bad chunk"));
        return;
      }
      remaining_ = size;
      stage_ = size == 0 ? Stage::Trailers : Stage::ChunkData;
    } else if (stage_ == Stage::ChunkData) {
      const qsizetype take = static_cast<qsizetype>(std::min<qint64>(remaining_, pending_.size()));
      result_.body += pending_.left(std::min(take, limits_.bodyBytes - result_.body.size()));
      pending_.remove(0, take);
      remaining_ -= take;
      if (result_.body.size() >= limits_.bodyBytes) {
        Finish(FetchResult::Page);
        return;
      }
      if (remaining_ > 0) return;
      stage_ = Stage::ChunkEnd;
    } else {  // ChunkEnd: the line end after a chunk's data
      if (pending_.startsWith("\r\n")) {
        pending_.remove(0, 2);
      } else if (pending_.startsWith('\n')) {
        pending_.remove(0, 1);
      } else if (pending_.size() < 2) {
        return;
      } else {
        Finish(FetchResult::Failed, QStringLiteral("a bad chunk"));
        return;
      }
      stage_ = Stage::ChunkSize;
    }
  }
}

// The server closed the connection: the end of a body that runs to the
// close, and a failure anywhere else.
void PageFetch::Closed() {
  Consume();
  if (stage_ == Stage::Done) return;
  if (stage_ == Stage::Body && remaining_ < 0) {
    Finish(FetchResult::Page);
  } else {
    Finish(FetchResult::Failed, QStringLiteral("the connection closed before the end of the page"));
  }
}

void PageFetch::Finish(FetchResult::Status status, const QString& failure) {
  if (stage_ == Stage::Done) return;
  stage_ = Stage::Done;
  result_.status = status;
  result_.failure = failure;
  if (status != FetchResult::Page) result_.body.clear();
  deadline_.stop();
  DropSocket();
  emit ended();
}

void PageFetch::DropSocket() {
  if (socket_ == nullptr) return;
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
}

}  // namespace numbrook
