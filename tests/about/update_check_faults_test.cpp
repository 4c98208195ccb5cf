// The update check against hostile and broken servers, proxies and name
// lookups on the loopback addresses: every fault ends in one verdict within
// the deadline, with bounded memory, and nothing of the check runs on after
// it. Names under numbrook.test never leave this process (see getaddrinfo).
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>

#include "about/frm_about.h"
#include "window_support/recording_desktop.h"

// The name lookups of this process, libcurl's resolver thread among them,
// come here first: "slow.numbrook.test" hangs until the test lets it go,
// "dual.numbrook.test" gives ::1 before 127.0.0.1, other numbrook.test
// names are unknown, and every other name goes to the C library.
namespace lookup {
std::mutex mutex;
std::condition_variable released;
bool letGo = false;
std::atomic<bool> slowStarted{false}, slowFinished{false};
}  // namespace lookup

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
  using Real = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
  static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getaddrinfo"));
  const std::string name = node != nullptr ? node : "";
  if (name == "slow.numbrook.test") {
    lookup::slowStarted = true;
    std::unique_lock<std::mutex> lock(lookup::mutex);
    lookup::released.wait_for(lock, std::chrono::seconds(30), [] { return lookup::letGo; });
    lookup::slowFinished = true;
    return EAI_NONAME;
  }
  if (name == "dual.numbrook.test") {
    addrinfo* dead = nullptr;
    addrinfo* live = nullptr;
    if (real("::1", service, hints, &dead) != 0) return EAI_FAIL;
    if (real("127.0.0.1", service, hints, &live) != 0) return EAI_FAIL;
    addrinfo* last = dead;
    while (last->ai_next != nullptr) last = last->ai_next;
    last->ai_next = live;
    *result = dead;
    return 0;
  }
  if (name.ends_with(".numbrook.test")) return EAI_NONAME;
  return real(node, service, hints, result);
}

namespace numbrook {

// Serves each connection with a behaviour, once its request is in.
class HostileServer : public QTcpServer {
 public:
  using Behaviour = std::function<void(QTcpSocket*)>;
  explicit HostileServer(Behaviour behaviour) : behaviour_(std::move(behaviour)) {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = nextPendingConnection()) {
        connections << socket;
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          QByteArray& request = requests_[socket];
          request += socket->readAll();
          if (!request.contains("\r\n\r\n") || request.contains("\x01")) return;
          request += "\x01";  // served
          ++served;
          requestLines << request.left(request.indexOf("\r\n"));
          behaviour_(socket);
        });
      }
    });
  }
  QString Address(const QString& path = "/soft/104372.htm") const {
    return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
  }
  int served = 0;
  QList<QByteArray> requestLines;
  QList<QPointer<QTcpSocket>> connections;

 private:
  Behaviour behaviour_;
  QHash<QTcpSocket*, QByteArray> requests_;
};

// Writes the bytes that make() gives, again and again, while the peer reads:
// an endless answer, up to a gigabyte. *sent counts what went out.
void Flood(QTcpSocket* socket, std::function<QByteArray()> make, qint64* sent) {
  auto more = [socket, make, sent] {
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024 &&
           *sent < (qint64(1) << 30)) {
      const QByteArray chunk = make();
      *sent += chunk.size();
      socket->write(chunk);
    }
  };
  QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
  more();
}

// What a reader that stops at its bound lets a flood send: the chunks in
// flight and the loopback's socket buffers, far below the gigabyte.
constexpr qint64 kFloodBound = 64 * 1024 * 1024;

// A listener on [::1]:port whose queue is full: a connection attempt to it
// hears nothing, like an IPv6 address that goes nowhere.
class DeadIpv6Port {
 public:
  explicit DeadIpv6Port(quint16 port) : listener_(socket(AF_INET6, SOCK_STREAM, 0)) {
    const int on = 1;
    setsockopt(listener_, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    address.sin6_port = htons(port);
    bound = bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(listener_, 0) == 0;
    for (int& filler : fillers_) {  // never accepted
      filler = socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK, 0);
      connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
  }
  ~DeadIpv6Port() {
    for (int filler : fillers_) close(filler);
    close(listener_);
  }
  bool bound = false;

 private:
  int listener_;
  int fillers_[3] = {};
};

QByteArray Page(const char* title) {
  return QByteArray("<html><head><title>") + title + "</title></head><body>";
}

// Resets the connection (RST) instead of closing it.
void Reset(QTcpSocket* socket) {
  const linger hard{1, 0};
  setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  socket->abort();
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class UpdateCheckFaultsTest : public QObject {
  Q_OBJECT

  RecordingDesktop desktop_;
  qint64 elapsed_ = 0;

  // Clicks 检查更新 against the server and returns once the check is over.
  void Check(HostileServer& server, int timeout = 10000, const QString& path = "/soft/104372.htm") {
    Check(QUrl(server.Address(path)), timeout);
  }
  void Check(const QUrl& address, int timeout = 10000) {
    frmAbout about(desktop_, nullptr, address, timeout);
    about.show();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!about.IsChecking(), 30000);
    elapsed_ = timer.elapsed();
    QVERIFY(about.isVisible());
    QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
  }
  // The network message, then why: "无法读取“ADDRESS”：REASON。"
  void ExpectNetworkMessage(const QString& reason = {}) {
    QCOMPARE(desktop_.messages.size(), 1);
    QVERIFY2(desktop_.messages[0].startsWith("请检测网络是否正常...！\n\n无法读取“"), qPrintable(desktop_.messages[0]));
    if (!reason.isEmpty()) QVERIFY2(desktop_.messages[0].endsWith("”：" + reason + "。"), qPrintable(desktop_.messages[0]));
    QVERIFY(desktop_.opened.isEmpty());
  }
  void ExpectOpened() {
    QVERIFY2(desktop_.messages.isEmpty(), qPrintable(desktop_.messages.join(" ")));
    QCOMPARE(desktop_.opened.size(), 1);
  }
  // After the verdict the client has let go: the server sees the
  // connection end, so nothing goes on reading.
  void ExpectLetGo(HostileServer& server) {
    for (const QPointer<QTcpSocket>& socket : server.connections) {
      if (socket != nullptr) QTRY_VERIFY(socket->state() == QAbstractSocket::UnconnectedState);
    }
  }

 private slots:
  void init() {
    desktop_ = RecordingDesktop();
    for (const char* proxy : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
      qunsetenv(proxy);
  }

  void anEndlessBodyIsJudgedByItsFirstCharacters() {
    const long before = PeakKilobytes();
    qint64 sent = 0;
    HostileServer server([&sent](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" + Page("Numbrook 1.4.0 下载"));
      Flood(socket, [] { return QByteArray(64 * 1024, 'x'); }, &sent);
    });
    Check(server);
    ExpectOpened();  // not the deadline's message: the reader stopped at its bound
    ExpectLetGo(server);
    QVERIFY2(sent < kFloodBound, qPrintable(QString::number(sent)));
    QVERIFY2(PeakKilobytes() - before < 64 * 1024, qPrintable(QString::number(PeakKilobytes() - before)));
  }

  void anEndlessHeaderIsAFailureWithBoundedMemory() {
    const long before = PeakKilobytes();
    qint64 sent = 0;
    HostileServer server([&sent](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\n");
      Flood(socket, [] { return QByteArray("X-Flood: ") + QByteArray(1000, 'a') + "\r\n"; }, &sent);
    });
    Check(server, 60000);
    ExpectNetworkMessage();
    ExpectLetGo(server);
    QVERIFY2(sent < kFloodBound, qPrintable(QString::number(sent)));
    QVERIFY2(PeakKilobytes() - before < 64 * 1024, qPrintable(QString::number(PeakKilobytes() - before)));
  }

  void aTrickleOfHeadersMeetsTheDeadline() {
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\n");
      auto* tick = new QTimer(socket);
      QObject::connect(tick, &QTimer::timeout, socket, [socket] { socket->write("X-Slow: 1\r\n"); });
      tick->start(50);
    });
    Check(server, 800);
    ExpectNetworkMessage();
    // Ended by the deadline, not before it; the trickle itself never ends.
    QVERIFY2(elapsed_ >= 750, qPrintable(QString::number(elapsed_)));
    ExpectLetGo(server);
  }

  void aRedirectLoopEndsInTheMessage() {
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 302 Found\r\nLocation: /soft/104372.htm\r\nContent-Length: 0\r\n\r\n");
    });
    Check(server);
    ExpectNetworkMessage();
    QCOMPARE(server.served, 6);  // the first request and five redirects
  }

  void redirectsAreFollowedToThePage() {
    HostileServer server([](QTcpSocket* socket) {
      static int step = 0;
      const QByteArray answers[] = {
          "HTTP/1.1 301 Moved\r\nLocation: /second\r\nContent-Length: 0\r\n\r\n",
          "HTTP/1.1 307 Again\r\nLocation: /third\r\nContent-Length: 0\r\n\r\n",
          "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n" +
              Page("Numbrook 1.3.7 下载"),
      };
      socket->write(answers[step++ % 3]);
      socket->disconnectFromHost();
    });
    Check(server);
    ExpectOpened();
  }

  void redirectsToOtherSchemesEndInTheMessage_data() {
    QTest::addColumn<QByteArray>("location");
    QTest::newRow("file") << QByteArray("file:///etc/passwd");
    QTest::newRow("data") << QByteArray("data:text/html,<title>Numbrook 9.9.9 下载</title>");
    QTest::newRow("ftp") << QByteArray("ftp://127.0.0.1/soft/104372.htm");
  }
  void redirectsToOtherSchemesEndInTheMessage() {
    QFETCH(QByteArray, location);
    HostileServer server([location](QTcpSocket* socket) {
      socket->write("HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n");
    });
    Check(server);
    ExpectNetworkMessage();
  }

  void aTlsFailureEndsInTheMessage() {
    // A redirect to https on a port that does not speak TLS.
    HostileServer plain([](QTcpSocket* socket) { socket->write("HTTP/1.1 200 OK\r\n\r\nnot TLS at all\r\n"); });
    const QByteArray https = QString("https://127.0.0.1:%1/soft/104372.htm").arg(plain.serverPort()).toLatin1();
    HostileServer server([https](QTcpSocket* socket) {
      socket->write("HTTP/1.1 302 Found\r\nLocation: " + https + "\r\nContent-Length: 0\r\n\r\n");
    });
    Check(server, 3000);
    ExpectNetworkMessage();
  }

  void aCompressedBodyIsNotOpened() {
    // A gzip bomb's first bytes: the body is refused before anything is inflated.
    qint64 sent = 0;
    HostileServer server([&sent](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Type: text/html\r\n\r\n");
      Flood(socket, [] { return QByteArray::fromHex("1f8b0800000000000003") + QByteArray(64 * 1024, '\0'); }, &sent);
    });
    Check(server);
    ExpectNetworkMessage();
  }

  void aBodyCutShortIsNeverJudged_data() {
    QTest::addColumn<QByteArray>("length");
    QTest::addColumn<bool>("reset");
    QTest::newRow("reset") << QByteArray("Content-Length: 5000\r\n") << true;
    QTest::newRow("closed") << QByteArray("Content-Length: 5000\r\n") << false;
    QTest::newRow("reset without a length") << QByteArray() << true;
    QTest::newRow("conflicting lengths") << QByteArray("Content-Length: 64\r\nContent-Length: 5000\r\n") << false;
  }
  void aBodyCutShortIsNeverJudged() {
    QFETCH(QByteArray, length);
    QFETCH(bool, reset);
    HostileServer server([length, reset](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\n" + length + "Content-Type: text/html; charset=utf-8\r\n\r\n" +
                    Page("Numbrook 9.9.9 下载"));
      socket->flush();
      QTimer::singleShot(50, socket, [socket, reset] { reset ? Reset(socket) : socket->disconnectFromHost(); });
    });
    Check(server);
    ExpectNetworkMessage();
  }

  // A header folded onto a second line still counts whole.
  void aFoldedContentTypeStillNamesTheCharset() {
    HostileServer server([](QTcpSocket* socket) {
      QStringEncoder gbk("GB18030");
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html;\r\n charset=GBK\r\nConnection: close\r\n\r\n" +
                    QByteArray(gbk.encode(QString("<title>Numbrook 1.3.7 下载</title>"))));
      socket->disconnectFromHost();
    });
    Check(server);
    ExpectOpened();  // "下载" read as GBK
  }

  void aChunkedPageIsReadAndACutOneIsNot() {
    HostileServer whole([](QTcpSocket* socket) {
      const QByteArray page = Page("Numbrook 1.3.7 下载");
      socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" +
                    QByteArray::number(10, 16) + "\r\n" + page.left(10) + "\r\n" +
                    QByteArray::number(page.size() - 10, 16) + "\r\n" + page.mid(10) + "\r\n0\r\n\r\n");
    });
    Check(whole);
    ExpectOpened();

    desktop_ = RecordingDesktop();
    HostileServer cut([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n" + Page("Numbrook 9.9.9 下载"));
      socket->disconnectFromHost();
    });
    Check(cut);
    ExpectNetworkMessage();
  }

  // Closing the window during a check cancels it: no message, no browser.
  void closingTheWindowCancelsTheCheck() {
    HostileServer silent([](QTcpSocket*) {});
    {
      frmAbout about(desktop_, nullptr, QUrl(silent.Address()), 60000);
      about.show();
      // Closed once the request is in, long before the deadline.
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, &about, [&] {
        if (silent.served > 0) about.close();
      });
      poll.start(10);
      QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
      QTRY_VERIFY(!about.isVisible());
      QVERIFY(!about.IsChecking());
    }
    QVERIFY(desktop_.messages.isEmpty());
    QVERIFY(desktop_.opened.isEmpty());
    ExpectLetGo(silent);
  }

  // The window closes while the name lookup hangs: the check ends at once
  // and leaves the lookup to finish on its own.
  void closingDuringANameLookupDoesNotWaitForIt() {
    lookup::letGo = false;
    {
      frmAbout about(desktop_, nullptr, QUrl("http://slow.numbrook.test/soft/104372.htm"), 60000);
      about.show();
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, &about, [&] {
        if (lookup::slowStarted) about.close();
      });
      poll.start(10);
      QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
      QTRY_VERIFY(!about.isVisible());
      QVERIFY(!about.IsChecking());
      QVERIFY(lookup::slowStarted);
      QVERIFY(!lookup::slowFinished);  // the check ended first
    }
    {
      std::lock_guard<std::mutex> lock(lookup::mutex);
      lookup::letGo = true;
    }
    lookup::released.notify_all();
    QTRY_VERIFY(lookup::slowFinished);
    QTest::qWait(50);  // the abandoned lookup's thread cleans up after itself
    QVERIFY(desktop_.messages.isEmpty());
    QVERIFY(desktop_.opened.isEmpty());
  }

  // A name whose first address is IPv6 that answers nothing: the IPv4
  // address behind it is tried while the first attempt still hangs.
  void aDeadIpv6AddressFallsBackToIpv4() {
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n" +
                    Page("Numbrook 1.3.7 下载"));
      socket->disconnectFromHost();
    });
    DeadIpv6Port dead(server.serverPort());
    QVERIFY(dead.bound);
    Check(QUrl(QString("http://dual.numbrook.test:%1/soft/104372.htm").arg(server.serverPort())));
    ExpectOpened();  // before the deadline, which would have given the message
  }

  // An ordinary proxy serves a plain GET and refuses CONNECT; the proxy
  // variables of the environment choose it, and no_proxy passes it by.
  void proxiesComeFromTheEnvironment_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("noProxy");
    QTest::addColumn<QString>("address");  // {direct}: the page server itself
    QTest::addColumn<QByteArray>("proxySaw");
    QTest::addColumn<bool>("opened");
    QTest::newRow("http through a plain GET")
        << QByteArray("http_proxy") << QByteArray() << "http://www.numbrook.test/soft/104372.htm"
        << QByteArray("GET http://www.numbrook.test/soft/104372.htm HTTP/1.1") << true;
    QTest::newRow("https tunnels through https_proxy")
        << QByteArray("https_proxy") << QByteArray() << "https://www.numbrook.test/soft/104372.htm"
        << QByteArray("CONNECT www.numbrook.test:443 HTTP/1.1") << false;
    QTest::newRow("no_proxy goes direct")
        << QByteArray("http_proxy") << QByteArray("127.0.0.1") << "{direct}" << QByteArray() << true;
  }
  void proxiesComeFromTheEnvironment() {
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, noProxy);
    QFETCH(QString, address);
    QFETCH(QByteArray, proxySaw);
    QFETCH(bool, opened);
    const QByteArray page = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n" +
                            Page("Numbrook 1.3.7 下载");
    HostileServer proxy([&proxy, page](QTcpSocket* socket) {
      socket->write(proxy.requestLines.last().startsWith("CONNECT ")
                        ? QByteArray("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
                        : page);
      socket->disconnectFromHost();
    });
    HostileServer direct([page](QTcpSocket* socket) {
      socket->write(page);
      socket->disconnectFromHost();
    });
    qputenv(variable, QString("http://127.0.0.1:%1").arg(proxy.serverPort()).toLatin1());
    if (!noProxy.isEmpty()) qputenv("no_proxy", noProxy);
    Check(QUrl(address.replace("{direct}", direct.Address())));
    if (opened) {
      ExpectOpened();
    } else {
      ExpectNetworkMessage();
    }
    QCOMPARE(proxy.requestLines, proxySaw.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{proxySaw});
  }

  // A proxy that asks for a login never reached the page: its answer is a
  // failure that says so, for a plain GET and for a tunnel alike.
  void aProxyThatWantsALoginIsAFailureThatSaysSo_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("address");
    QTest::newRow("plain GET") << QByteArray("http_proxy") << "http://www.numbrook.test/soft/104372.htm";
    QTest::newRow("CONNECT") << QByteArray("https_proxy") << "https://www.numbrook.test/soft/104372.htm";
  }
  void aProxyThatWantsALoginIsAFailureThatSaysSo() {
    QFETCH(QByteArray, variable);
    QFETCH(QString, address);
    HostileServer proxy([](QTcpSocket* socket) {
      const QByteArray page = Page("Numbrook 0.0.1 下载");  // a title that would say "no new version"
      socket->write("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"school\"\r\n"
                    "Content-Type: text/html; charset=utf-8\r\nContent-Length: " +
                    QByteArray::number(page.size()) + "\r\n\r\n" + page);
      socket->disconnectFromHost();
    });
    qputenv(variable, QString("http://127.0.0.1:%1").arg(proxy.serverPort()).toLatin1());
    Check(QUrl(address));
    qunsetenv(variable);
    ExpectNetworkMessage("代理服务器要求登录（HTTP 407），没有连到下载页");
  }

  // A server that says nothing: the message is shown at the deadline, not
  // after it (the timers of a check are precise, not coarse).
  void aSilentServerEndsTheCheckAtTheDeadline() {
    HostileServer silent([](QTcpSocket*) {});
    Check(silent, 10000);
    ExpectNetworkMessage("10 秒内没有得到下载页");
    QVERIFY2(elapsed_ >= 9950 && elapsed_ <= 10100, qPrintable(QString::number(elapsed_)));
  }

  // Answers without a body on a connection kept open are over at their
  // headers: an empty page, so no title and no message.
  void aBodilessAnswerOnAKeptConnectionEndsAtItsHeaders_data() {
    QTest::addColumn<QByteArray>("status");
    QTest::newRow("204") << QByteArray("204 No Content");
    QTest::newRow("304") << QByteArray("304 Not Modified");
  }
  void aBodilessAnswerOnAKeptConnectionEndsAtItsHeaders() {
    QFETCH(QByteArray, status);
    HostileServer server([status](QTcpSocket* socket) {
      socket->write("HTTP/1.1 " + status + "\r\nETag: \"1.3.6\"\r\nConnection: keep-alive\r\n\r\n");
    });
    Check(server);
    QVERIFY2(desktop_.messages.isEmpty(), qPrintable(desktop_.messages.join(" ")));  // the deadline's message
    QVERIFY(desktop_.opened.isEmpty());
    ExpectLetGo(server);
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::UpdateCheckFaultsTest)
#include "update_check_faults_test.moc"
