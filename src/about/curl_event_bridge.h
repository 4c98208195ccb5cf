#pragma once

#include <curl/curl.h>

#include <QHash>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace numbrook {

// Runs libcurl's multi interface from the Qt event loop: a read and a write
// notifier for each socket libcurl watches, and one timer for its timeouts.
// Transfers end through transferDone, emitted outside libcurl's callbacks.
class CurlEventBridge : public QObject {
  Q_OBJECT

 public:
  explicit CurlEventBridge(QObject* parent = nullptr);
  ~CurlEventBridge() override;

  void Add(CURL* easy);
  // Takes the transfer out; its sockets stop being watched.
  void Remove(CURL* easy);

 signals:
  void transferDone(CURL* easy, CURLcode result);

 private:
  struct Notifiers {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
  };

  static int OnSocket(CURL* easy, curl_socket_t socket, int what, void* self, void* socketData);
  static int OnTimer(CURLM* multi, long milliseconds, void* self);
  void Watch(curl_socket_t socket, int what);
  void Unwatch(curl_socket_t socket);
  void Act(curl_socket_t socket, int events);
  void ReportDone();

  CURLM* multi_;
  QTimer timer_;
  QHash<curl_socket_t, Notifiers> watches_;
};

}  // namespace numbrook
