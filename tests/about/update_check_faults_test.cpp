// The update check against hostile and broken servers on 127.0.0.1: every
// fault ends in one verdict within the deadline, with bounded memory, and
// nothing of the check runs on after it.
#include <sys/resource.h>
#include <sys/socket.h>

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <functional>

#include "about/frm_about.h"
#include "window_support/recording_desktop.h"

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
          behaviour_(socket);
        });
      }
    });
  }
  QString Address(const QString& path = "/soft/104372.htm") const {
    return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
  }
  int served = 0;
  QList<QPointer<QTcpSocket>> connections;

 private:
  Behaviour behaviour_;
  QHash<QTcpSocket*, QByteArray> requests_;
};

// Writes the bytes that make() gives, again and again, while the peer reads:
// an endless answer, up to a gigabyte.
void Flood(QTcpSocket* socket, std::function<QByteArray()> make) {
  auto* sent = new qint64(0);
  auto more = [socket, make, sent] {
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024 &&
           *sent < (qint64(1) << 30)) {
      const QByteArray chunk = make();
      *sent += chunk.size();
      socket->write(chunk);
    }
  };
  QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
  QObject::connect(socket, &QObject::destroyed, [sent] { delete sent; });
  more();
}

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
    frmAbout about(desktop_, nullptr, QUrl(server.Address(path)), timeout);
    about.show();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
    elapsed_ = timer.elapsed();
    QVERIFY(about.isVisible());
    QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
  }
  void ExpectNetworkMessage() {
    QCOMPARE(desktop_.messages, QStringList{"请检测网络是否正常...！"});
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
  void init() { desktop_ = RecordingDesktop(); }

  void anEndlessBodyIsJudgedByItsFirstCharacters() {
    const long before = PeakKilobytes();
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" + Page("Numbrook 1.4.0 下载"));
      Flood(socket, [] { return QByteArray(64 * 1024, 'x'); });
    });
    Check(server);
    ExpectOpened();
    QVERIFY2(elapsed_ < 3000, qPrintable(QString::number(elapsed_)));
    ExpectLetGo(server);
    QVERIFY2(PeakKilobytes() - before < 64 * 1024, qPrintable(QString::number(PeakKilobytes() - before)));
  }

  void anEndlessHeaderIsAFailureWithBoundedMemory() {
    const long before = PeakKilobytes();
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\n");
      Flood(socket, [] { return QByteArray("X-Flood: ") + QByteArray(1000, 'a') + "\r\n"; });
    });
    Check(server);
    ExpectNetworkMessage();
    QVERIFY2(elapsed_ < 3000, qPrintable(QString::number(elapsed_)));
    ExpectLetGo(server);
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
    QVERIFY2(elapsed_ >= 700 && elapsed_ < 2000, qPrintable(QString::number(elapsed_)));
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
    HostileServer server([](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Type: text/html\r\n\r\n");
      Flood(socket, [] { return QByteArray::fromHex("1f8b0800000000000003") + QByteArray(64 * 1024, '\0'); });
    });
    Check(server);
    ExpectNetworkMessage();
  }

  void aBodyCutShortIsNeverJudged_data() {
    QTest::addColumn<bool>("reset");
    QTest::newRow("reset") << true;
    QTest::newRow("closed") << false;
  }
  void aBodyCutShortIsNeverJudged() {
    QFETCH(bool, reset);
    HostileServer server([reset](QTcpSocket* socket) {
      socket->write("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" +
                    Page("Numbrook 9.9.9 下载"));
      socket->flush();
      QTimer::singleShot(50, socket, [socket, reset] { reset ? Reset(socket) : socket->disconnectFromHost(); });
    });
    Check(server);
    ExpectNetworkMessage();
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
      frmAbout about(desktop_, nullptr, QUrl(silent.Address()), 10000);
      about.show();
      QTimer::singleShot(200, &about, [&about] { about.close(); });
      QElapsedTimer timer;
      timer.start();
      QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
      QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
      QVERIFY(!about.isVisible());
    }
    QTest::qWait(300);
    QVERIFY(desktop_.messages.isEmpty());
    QVERIFY(desktop_.opened.isEmpty());
    ExpectLetGo(silent);
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::UpdateCheckFaultsTest)
#include "update_check_faults_test.moc"
