#include "about/curl_page_fetch.h"

#include <curl/header.h>

#include <QEventLoop>

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
}

CurlPageFetch::~CurlPageFetch() { Cancel(); }

FetchResult CurlPageFetch::Get(const QUrl& address, const QByteArray& contentTypeHeader, const FetchLimits& limits) {
  Cancel();
  limits_ = limits;
  result_ = FetchResult();
  headerBytes_ = 0;
  bodyFull_ = bodyRefused_ = wentSecure_ = downgraded_ = false;
  curlError_[0] = '\0';
  const QString scheme = address.scheme().toLower();
  if ((scheme != "http" && scheme != "https") || address.host().isEmpty()) {
    result_.failure = "not an http or https address: " + address.toString();
    return result_;
  }
  easy_ = curl_easy_init();
  if (easy_ == nullptr) {
    result_.failure = QStringLiteral("libcurl could not start a transfer");
    return result_;
  }
  Configure(address, contentTypeHeader);
  QEventLoop loop;
  connect(this, &CurlPageFetch::ended, &loop, &QEventLoop::quit);
  bridge_.Add(easy_);
  if (easy_ != nullptr) loop.exec();
  return result_;
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
  curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, long(limits_.deadlineMilliseconds));
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
  if (result == CURLE_OK || (result == CURLE_WRITE_ERROR && bodyFull_)) {
    // The headers API gives a folded header whole.
    curl_header* contentType = nullptr;
    if (curl_easy_header(easy_, "Content-Type", 0, CURLH_HEADER, -1, &contentType) == CURLHE_OK)
      result_.contentType = contentType->value;
    Finish(FetchResult::Page);
  } else if (downgraded_) {
    Finish(FetchResult::Failed, QStringLiteral("a redirect from https to http"));
  } else if (bodyRefused_) {
    Finish(FetchResult::Failed, QStringLiteral("a compressed body"));
  } else if (result == CURLE_WRITE_ERROR) {
    Finish(FetchResult::Failed, QStringLiteral("the headers are too long"));
  } else {
    Finish(FetchResult::Failed, QString::fromUtf8(curlError_[0] != '\0' ? curlError_ : curl_easy_strerror(result)));
  }
}

void CurlPageFetch::Cancel() {
  if (easy_ != nullptr) Finish(FetchResult::Cancelled);
}

void CurlPageFetch::Finish(FetchResult::Status status, const QString& failure) {
  result_.status = status;
  result_.failure = failure;
  if (status != FetchResult::Page) result_.body.clear();
  bridge_.Remove(easy_);
  curl_easy_cleanup(easy_);
  easy_ = nullptr;
  curl_slist_free_all(requestHeaders_);
  requestHeaders_ = nullptr;
  emit ended();
}

}  // namespace numbrook
