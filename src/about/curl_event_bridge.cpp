#include "about/curl_event_bridge.h"

#include <QSocketNotifier>

namespace numbrook {
namespace {

// A notifier that may be told to go while it is emitting: it is switched off
// at once and deleted when control is back in the event loop.
void Retire(QSocketNotifier*& notifier) {
  if (notifier == nullptr) return;
  notifier->setEnabled(false);
  notifier->deleteLater();
  notifier = nullptr;
}

CURLM* NewMulti() {
  // Once per process, before the first handle.
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)initialised;
  return curl_multi_init();
}

}  // namespace

CurlEventBridge::CurlEventBridge(QObject* parent) : QObject(parent), multi_(NewMulti()) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);  // libcurl's timeouts to the millisecond, not 5 % late
  connect(&timer_, &QTimer::timeout, this, [this] { Act(CURL_SOCKET_TIMEOUT, 0); });
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlEventBridge::OnSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlEventBridge::OnTimer);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
}

CurlEventBridge::~CurlEventBridge() {
  // The owner has removed its transfers; this closes the cached connections.
  curl_multi_cleanup(multi_);
  for (Notifiers& watch : watches_) {
    Retire(watch.read);
    Retire(watch.write);
  }
}

void CurlEventBridge::Add(CURL* easy) { curl_multi_add_handle(multi_, easy); }

void CurlEventBridge::Remove(CURL* easy) { curl_multi_remove_handle(multi_, easy); }

int CurlEventBridge::OnSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
  auto* bridge = static_cast<CurlEventBridge*>(self);
  if (what == CURL_POLL_REMOVE) {
    bridge->Unwatch(socket);
  } else {
    bridge->Watch(socket, what);
  }
  return 0;
}

int CurlEventBridge::OnTimer(CURLM*, long milliseconds, void* self) {
  auto* bridge = static_cast<CurlEventBridge*>(self);
  if (milliseconds < 0) {
    bridge->timer_.stop();
  } else {
    bridge->timer_.start(static_cast<int>(milliseconds));
  }
  return 0;
}

void CurlEventBridge::Watch(curl_socket_t socket, int what) {
  Notifiers& watch = watches_[socket];
  const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
  const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
  if (wantRead && watch.read == nullptr) {
    watch.read = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(watch.read, &QSocketNotifier::activated, this, [this, socket] { Act(socket, CURL_CSELECT_IN); });
  } else if (!wantRead) {
    Retire(watch.read);
  }
  if (wantWrite && watch.write == nullptr) {
    watch.write = new QSocketNotifier(socket, QSocketNotifier::Write, this);
    connect(watch.write, &QSocketNotifier::activated, this, [this, socket] { Act(socket, CURL_CSELECT_OUT); });
  } else if (!wantWrite) {
    Retire(watch.write);
  }
}

void CurlEventBridge::Unwatch(curl_socket_t socket) {
  auto found = watches_.find(socket);
  if (found == watches_.end()) return;
  Retire(found->read);
  Retire(found->write);
  watches_.erase(found);
}

void CurlEventBridge::Act(curl_socket_t socket, int events) {
  int running = 0;
  curl_multi_socket_action(multi_, socket, events, &running);
  ReportDone();
}

void CurlEventBridge::ReportDone() {
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
    if (message->msg == CURLMSG_DONE) emit transferDone(message->easy_handle, message->data.result);
  }
}

}  // namespace numbrook
