// The About window and its update check against a local web server.
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "about/frm_about.h"
#include "about/update_check.h"
#include "main_window/desktop.h"

namespace numbrook {

class RecordingDesktop : public Desktop {
 public:
  void ShowMessage(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text) override {
    icons.push_back(icon);
    titles << title;
    messages << text;
  }
  void Open(QWidget*, const QUrl& target) override { opened << target; }
  std::vector<QMessageBox::Icon> icons;
  QStringList titles, messages;
  QList<QUrl> opened;
};

// Answers every request on 127.0.0.1 with one canned response, or never.
class PageServer : public QTcpServer {
 public:
  explicit PageServer(QByteArray response) : response_(std::move(response)) {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          request += socket->readAll();
          if (!request.contains("\r\n\r\n") || response_.isEmpty()) return;
          socket->write(response_);
          socket->disconnectFromHost();
        });
      }
    });
  }
  QUrl Address() const { return QUrl(QString("http://127.0.0.1:%1/soft/104372.htm").arg(serverPort())); }
  QByteArray request;

 private:
  QByteArray response_;
};

QByteArray Response(const QByteArray& body, const QByteArray& contentType = "text/html; charset=utf-8",
                    const QByteArray& status = "200 OK") {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + contentType +
         "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray Page(const QString& title) {
  return ("<html><head><title>" + title + "</title></head><body>Numbrook</body></html>").toUtf8();
}

class FrmAboutTest : public QObject {
  Q_OBJECT

  RecordingDesktop desktop_;

  // Runs the update check against a response and returns what the user saw.
  void Check(const QByteArray& response, int timeout = 10000) {
    PageServer server(response);
    frmAbout about(desktop_, nullptr, server.Address(), timeout);
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
    QVERIFY(about.isVisible());
    QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
    if (!server.request.isEmpty()) {
      QVERIFY(server.request.startsWith("GET /soft/104372.htm HTTP/1.1\r\n"));
      QVERIFY(server.request.contains("Content-Type: text/XML\r\n"));
    }
  }

  void ExpectOpened() {
    QCOMPARE(desktop_.messages, QStringList());
    QCOMPARE(desktop_.opened.size(), 1);
    QCOMPARE(desktop_.opened[0].path(), QString("/soft/104372.htm"));
  }
  void ExpectMessage(const char* text) {
    QCOMPARE(desktop_.messages, QStringList{QString::fromUtf8(text)});
    QCOMPARE(desktop_.titles, QStringList{"提示"});
    QCOMPARE(desktop_.icons[0], QMessageBox::Information);
    QVERIFY(desktop_.opened.isEmpty());
  }
  void ExpectNothing() {
    QVERIFY(desktop_.messages.isEmpty());
    QVERIFY(desktop_.opened.isEmpty());
  }

 private slots:
  void init() { desktop_ = RecordingDesktop(); }

  void windowShowsNameVersionAndLinks() {
    frmAbout about(desktop_);
    about.show();
    QCOMPARE(about.windowTitle(), QString("关于 Numbrook 1.3.6"));
    QCOMPARE(about.size(), QSize(354, 283));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QString("http://download.example.com/soft/104372.htm"));
    QCOMPARE(about.findChild<QLabel*>("Label1")->text(), QString("numbrook@example.com"));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(about.findChild<QLabel*>("Picture")->pixmap().size(), QSize(353, 265));
    QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QString("确    定"));
    QTest::mouseClick(about.findChild<QLabel*>("Label1"), Qt::LeftButton);
    QTest::mouseClick(about.findChild<QLabel*>("lblTitle"), Qt::LeftButton);
    QCOMPARE(desktop_.opened,
             (QList<QUrl>{QUrl("mailto:numbrook@example.com"), QUrl("http://download.example.com/soft/104372.htm")}));
  }

  void okClosesAndEscChecksInstead() {
    PageServer server(Response(Page("Numbrook 1.3.6下载")));
    frmAbout about(desktop_, nullptr, server.Address());
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(about.isVisible());
    QCOMPARE(desktop_.messages, QStringList{"未找到新的版本...！"});
    QTest::keyClick(about.findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QVERIFY(!about.isVisible());
  }

  void newerVersionOpensThePage() {
    Check(Response(Page("  Numbrook 1.3.7 下载 ")));
    ExpectOpened();
  }
  void sameVersionWithABlankBeforeDownloadOpensThePage() {
    Check(Response(Page("Numbrook 1.3.6 下载")));
    ExpectOpened();
  }
  void sameVersionWithoutTheBlankFindsNothingNew() {
    Check(Response(Page("Numbrook 1.3.6下载")));
    ExpectMessage("未找到新的版本...！");
  }
  void titleStartingWithDownloadFindsNothingNew() {
    Check(Response(Page("下载 Numbrook 9.9.9")));
    ExpectMessage("未找到新的版本...！");
  }
  void titleWithoutDownloadFindsNothingNew() {
    Check(Response(Page("Numbrook 9.9.9")));
    ExpectMessage("未找到新的版本...！");
  }
  void capitalTitleTagIsNotFound() {
    Check(Response("<HTML><TITLE>Numbrook 9.9.9 下载</TITLE></HTML>"));
    ExpectNothing();
  }
  void titleBeyondTheFirst1024CharactersIsNotFound() {
    Check(Response(QByteArray(1020, ' ') + Page("Numbrook 9.9.9 下载")));
    ExpectNothing();
  }
  void closingTagBeforeTheOpeningOneSaysNothing() {
    Check(Response("</title><title>Numbrook 9.9.9 下载"));
    ExpectNothing();
  }
  void gbkPageIsDecodedByItsDeclaredCharset() {
    QStringDecoder check("GB18030");
    QVERIFY(check.isValid());
    QStringEncoder gbk("GB18030");
    const QByteArray body = gbk.encode(QString("<title>Numbrook 1.4.0 下载</title>"));
    Check(Response(body, "text/html; charset=GBK"));
    ExpectOpened();
  }
  void gb2312PageNamedOnlyInItsMetaTag() {
    QStringEncoder gbk("GB18030");
    const QByteArray body = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">" +
                            QByteArray(gbk.encode(QString("<title>Numbrook 1.3.6下载</title>")));
    Check(Response(body, "text/html"));
    ExpectMessage("未找到新的版本...！");
  }
  void errorPageBodyIsTakenAsThePage() {
    Check(Response(Page("Numbrook 2.0.0 下载"), "text/html", "500 Internal Server Error"));
    ExpectOpened();
  }
  void refusedConnectionAsksToCheckTheNetwork() {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    frmAbout about(desktop_, nullptr, QUrl(QString("http://127.0.0.1:%1/soft/104372.htm").arg(port)));
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>("CmdUpdate"), Qt::LeftButton);
    ExpectMessage("请检测网络是否正常...！");
    QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
  }
  void serverThatNeverAnswersTimesOut() {
    QElapsedTimer timer;
    timer.start();
    Check(QByteArray(), 400);
    ExpectMessage("请检测网络是否正常...！");
    QVERIFY(timer.elapsed() < 5000);
  }

  void judgingComparesByCodeUnit() {
    QCOMPARE(JudgePage("<title>Numbrook 1.3.10下载</title>", "Numbrook 1.3.6"), UpdateVerdict::NoNewVersion);
    QCOMPARE(JudgePage("<title>Numbrook 1.3.60下载</title>", "Numbrook 1.3.6"), UpdateVerdict::NewerVersion);
    QCOMPARE(JudgePage("<title>numbrook 1.0下载</title>", "Numbrook 1.3.6"), UpdateVerdict::NewerVersion);
    QCOMPARE(JudgePage("", "Numbrook 1.3.6"), UpdateVerdict::NoTitle);
    QCOMPARE(LocalVersionText(), QString("Numbrook 1.3.6"));
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::FrmAboutTest)
#include "frm_about_test.moc"
