#include "about/curl_page_fetch.h"

#include <curl/header.h>


#include "program_identity.h"

namespace numbrook {
namespace {

bool StartsWithNoCase(const QByteArray& text, const char* prefix) {
  return text.left(qsizetype(qstrlen(prefix))).toLower() == prefix;
}

}  // namespace

CurlPageFetch::CurlPageFetch(QObject* parent) : QObject(parent), bridge_(nullptr) {
  connect(&bridge_, &CurlEventBridge::transferDone, this, [this](CURL* easy, CURLcode result) {
    if (easy == easy_) Done(result);
  });
  deadline_.setSingleShot(true);
  deadline_.setTimerType(Qt::PreciseTimer);
  connect(&deadline_, &QTimer::timeout, this, [this] {
    if (easy_ != nullptr) Finish(FetchResult::Failed, TimeOutReason());
  });
}

CurlPageFetch::~CurlPageFetch() { Cancel(); }

void CurlPageFetch::Start(const QUrl& address, const QByteArray& contentTypeHeader, const FetchLimits& limits) {
  Cancel();
  limits_ = limits;
  result_ = FetchResult();
  headerBytes_ = 0;
  bodyFull_ = bodyRefused_ = wentSecure_ = downgraded_ = false;
  curlError_[0] = '\0';
  const QString scheme = address.scheme().toLower();
  const auto failNow = [this](const QString& reason) {
    result_.failure = reason;
    // Told from the event loop, as every verdict is.
    QTimer::singleShot(0, this, [this, result = result_] { emit finished(result); });
  };
  if ((scheme != "http" && scheme != "https") || address.host().isEmpty()) {
    failNow("“" + address.toString() + "”不是 http 或 https 地址");
    return;
  }
  easy_ = curl_easy_init();
  if (easy_ == nullptr) {
    failNow(QStringLiteral("无法开始网络传输（内存不足）"));
    return;
  }
  Configure(address, contentTypeHeader);
  deadline_.start(limits_.deadlineMilliseconds);
  bridge_.Add(easy_);
}

void CurlPageFetch::Configure(const QUrl& address, const QByteArray& contentTypeHeader) {
  requestHeaders_ = curl_slist_append(nullptr, ("Content-Type: " + contentTypeHeader).constData());
  // We read the page as it is and refuse a compressed one (OnBody).
  requestHeaders_ = curl_slist_append(requestHeaders_, "Accept-Encoding: identity");
  const QByteArray url = address.toEncoded();
  const QByteArray agent = QByteArray("Numbrook/") + kVersionText;
  curl_easy_setopt(easy_, CURLOPT_URL, url.constData());  // libcurl copies strings
  curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, requestHeaders_);
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent.constData());
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, long(limits_.redirects));
  // Our own timer ends the fetch at the deadline; libcurl's is a spare.
  curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, long(limits_.deadlineMilliseconds) + 1000);
  // Each fetch lets go of its connections at once.
  curl_easy_setopt(easy_, CURLOPT_FORBID_REUSE, 1L);
  // Ending a transfer does not wait for a name lookup still running in
  // libcurl's resolver thread.
  curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, curlError_);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlPageFetch::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlPageFetch::OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &CurlPageFetch::BeforeRequest);
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
}

// Each request of the fetch, its redirects included, passes here just before
// it is sent.
int CurlPageFetch::BeforeRequest(void* self, char*, char*, int, int) {
  auto* fetch = static_cast<CurlPageFetch*>(self);
  char* url = nullptr;
  curl_easy_getinfo(fetch->easy_, CURLINFO_EFFECTIVE_URL, &url);
  const bool secure = url != nullptr && StartsWithNoCase(url, "https:");
  if (fetch->wentSecure_ && !secure) {
    fetch->downgraded_ = true;
    return CURL_PREREQFUNC_ABORT;
  }
  fetch->wentSecure_ = fetch->wentSecure_ || secure;
  return CURL_PREREQFUNC_OK;
}

size_t CurlPageFetch::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* fetch = static_cast<CurlPageFetch*>(self);
  const size_t bytes = size * count;
  if (StartsWithNoCase(QByteArray::fromRawData(data, qsizetype(bytes)), "http/")) fetch->headerBytes_ = 0;
  fetch->headerBytes_ += qsizetype(bytes);
  return fetch->headerBytes_ > fetch->limits_.headerBytes ? 0 : bytes;  // 0 ends the transfer
}

size_t CurlPageFetch::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* fetch = static_cast<CurlPageFetch*>(self);
  QByteArray& body = fetch->result_.body;
  if (body.isEmpty()) {
    curl_header* encoding = nullptr;
    if (curl_easy_header(fetch->easy_, "Content-Encoding", 0, CURLH_HEADER, -1, &encoding) == CURLHE_OK &&
        QByteArray(encoding->value).trimmed().toLower() != "identity") {
      fetch->bodyRefused_ = true;
      return 0;
    }
  }
  const size_t bytes = size * count;
  const qsizetype room = fetch->limits_.bodyBytes - body.size();
  body.append(data, std::min(room, qsizetype(bytes)));
  if (body.size() < fetch->limits_.bodyBytes) return bytes;
  // Enough for the page's first characters: ending the transfer here is the
  // way to stop reading.
  fetch->bodyFull_ = true;
  return 0;
}

void CurlPageFetch::Done(CURLcode result) {
  // A proxy that wants a login answers for the page it never asked for.
  long code = 0, connectCode = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
  curl_easy_getinfo(easy_, CURLINFO_HTTP_CONNECTCODE, &connectCode);
  if (code == 407 || connectCode == 407) {
    Finish(FetchResult::Failed, QStringLiteral("代理服务器要求登录（HTTP 407），没有连到下载页"));
    return;
  }
  if (result == CURLE_OK || (result == CURLE_WRITE_ERROR && bodyFull_)) {
    // The headers API gives a folded header whole.
    curl_header* contentType = nullptr;
    if (curl_easy_header(easy_, "Content-Type", 0, CURLH_HEADER, -1, &contentType) == CURLHE_OK)
      result_.contentType = contentType->value;
    Finish(FetchResult::Page);
  } else if (downgraded_) {
    Finish(FetchResult::Failed, QStringLiteral("下载页从 https 被转到不加密的 http，已拒绝"));
  } else if (bodyRefused_) {
    Finish(FetchResult::Failed, QStringLiteral("服务器发来的是压缩过的网页"));
  } else if (result == CURLE_WRITE_ERROR) {
    Finish(FetchResult::Failed, QStringLiteral("服务器的回应头过长"));
  } else {
    Finish(FetchResult::Failed, ReasonOf(result));
  }
}

QString CurlPageFetch::TimeOutReason() const {
  return QString("%1 秒内没有得到下载页").arg(limits_.deadlineMilliseconds / 1000.0);
}

// libcurl's reasons in the user's words; its own are English.
QString CurlPageFetch::ReasonOf(CURLcode result) const {
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST: return QStringLiteral("找不到下载页的服务器");
    case CURLE_COULDNT_RESOLVE_PROXY: return QStringLiteral("找不到代理服务器");
    case CURLE_COULDNT_CONNECT: return QStringLiteral("无法连接到服务器");
    case CURLE_OPERATION_TIMEDOUT: return TimeOutReason();
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return QStringLiteral("无法建立安全连接（TLS）");
    case CURLE_TOO_MANY_REDIRECTS: return QStringLiteral("转向次数过多");
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE: return QStringLiteral("连接中途断开");
    case CURLE_UNSUPPORTED_PROTOCOL: return QStringLiteral("地址不是 http 或 https");
    case CURLE_OUT_OF_MEMORY: return QStringLiteral("内存不足");
    default: break;
  }
  return QString("网络出错（libcurl 错误 %1：%2）").arg(static_cast<int>(result)).arg(QString::fromUtf8(curlError_[0] != '\0' ? curlError_ : curl_easy_strerror(result)));
}

void CurlPageFetch::Cancel() {
  if (easy_ != nullptr) Finish(FetchResult::Cancelled);
}

void CurlPageFetch::Finish(FetchResult::Status status, const QString& failure) {
  deadline_.stop();
  result_.status = status;
  result_.failure = failure;
  if (status != FetchResult::Page) result_.body.clear();
  bridge_.Remove(easy_);
  curl_easy_cleanup(easy_);
  easy_ = nullptr;
  curl_slist_free_all(requestHeaders_);
  requestHeaders_ = nullptr;
  emit finished(result_);
}

}  // namespace numbrook
