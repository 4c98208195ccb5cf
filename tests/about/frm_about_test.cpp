// The About window and its update check against a local web server.
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <cmath>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "about/frm_about.h"
#include "program_identity.h"
#include "about/update_check.h"
#include "window_support/recording_desktop.h"

namespace numbrook {

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

// Our own name and version as the build has it, and a newer one.
QString Ours() { return QString("Numbrook ") + kVersionText; }
QString Newer() { return QString("Numbrook %1.0.0").arg(kVersionMajor + 1); }

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
    QTRY_VERIFY_WITH_TIMEOUT(!about.IsChecking(), 20000);
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
    QCOMPARE(desktop_.messages.size(), 1);
    // A failure says why after the network message.
    const QString shown = desktop_.messages[0];
    QVERIFY2(shown == QString::fromUtf8(text) || shown.startsWith(QString::fromUtf8(text) + "\n\n无法读取“"), qPrintable(shown));
    QCOMPARE(desktop_.titles, QStringList{"提示"});
    QCOMPARE(desktop_.icons[0], QMessageBox::Information);
    QVERIFY(desktop_.opened.isEmpty());
  }
  void ExpectNothing() {
    QVERIFY(desktop_.messages.isEmpty());
    QVERIFY(desktop_.opened.isEmpty());
  }

 private slots:
  void init() {
    desktop_ = RecordingDesktop();
    // The local server is reached directly, whatever proxy the machine names.
    qputenv("no_proxy", "127.0.0.1");
  }

  void windowShowsNameVersionAndLinks() {
    frmAbout about(desktop_);
    about.show();
    QCOMPARE(about.windowTitle(), QString("关于 Numbrook ") + kVersionText);
    QCOMPARE(about.size(), QSize(354, 283));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QString("http://dl.example/soft/104372.htm"));
    QCOMPARE(about.findChild<QLabel*>("Label1")->text(), QString("hello@dl.example"));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(about.findChild<QLabel*>("Picture")->pixmap().size(), QSize(353, 265));
    QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QString("确    定"));
    QTest::mouseClick(about.findChild<QLabel*>("Label1"), Qt::LeftButton);
    QTest::mouseClick(about.findChild<QLabel*>("lblTitle"), Qt::LeftButton);
    QCOMPARE(desktop_.opened,
             (QList<QUrl>{QUrl("mailto:hello@dl.example"), QUrl("http://dl.example/soft/104372.htm")}));
  }

  void linksFitTheirLabelsInTheWindowsFont() {
    frmAbout about(desktop_);
    about.show();
    const QLabel* title = about.findChild<QLabel*>("lblTitle");
    const QLabel* mail = about.findChild<QLabel*>("Label1");
    QCOMPARE(title->font(), about.font());
    QCOMPARE(QRect(title->x(), title->y(), title->width(), 12), QRect(6, 266, 196, 12));
    QVERIFY(title->fontMetrics().horizontalAdvance(title->text()) <= title->width());
    QCOMPARE(mail->pos(), QPoint(226, 266));
    QVERIFY(mail->fontMetrics().horizontalAdvance(mail->text()) <= mail->width());
    for (const QLabel* link : {title, mail}) {
      QVERIFY(about.rect().contains(link->geometry()));
      QVERIFY(link->height() >= link->fontMetrics().height());  // no letter cut
    }
  }

  // Only a left press released over the link opens it.
  void linksOpenOnlyOnALeftClickReleasedOverThem() {
    frmAbout about(desktop_);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QLabel* title = about.findChild<QLabel*>("lblTitle");
    const QPoint inside(10, 6), outside(10, 40);
    QTest::mouseClick(title, Qt::RightButton, {}, inside);
    QTest::mouseClick(title, Qt::MiddleButton, {}, inside);
    QTest::mousePress(title, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(title, Qt::LeftButton, {}, outside);
    QTest::mousePress(title, Qt::RightButton, {}, inside);
    QTest::mouseRelease(title, Qt::LeftButton, {}, inside);  // a release without a left press
    QVERIFY(desktop_.opened.isEmpty());
    QTest::mouseClick(title, Qt::LeftButton, {}, inside);
    QCOMPARE(desktop_.opened, QList<QUrl>{QUrl("http://dl.example/soft/104372.htm")});
  }

  void opensCentredOnTheScreen() {
    QWidget parent;
    parent.setGeometry(10, 10, 200, 150);
    parent.show();
    frmAbout about(desktop_, &parent);
    about.show();
    const QPoint screenCentre = about.screen()->availableGeometry().center();
    // The window manager's frame may shift the window by its border width.
    QVERIFY2((about.geometry().center() - screenCentre).manhattanLength() <= 8,
             qPrintable(QString("%1,%2").arg(about.geometry().center().x()).arg(about.geometry().center().y())));
  }

  // The greeting's second part starts the second line, and the greeting
  // stands out from the picture behind it.
  void disclaimerBreaksAtTheBlanksAndIsReadable() {
    frmAbout about(desktop_);
    about.show();
    const QLabel* disclaimer = about.findChild<QLabel*>("lblDisclaimer");
    QString shown = disclaimer->text();
    shown.remove(QChar(0x2060));
    QCOMPARE(shown, QString("希望Ovip、Tazu小朋友少看电视，多锻炼           聪明快乐,健康成长"));

    const auto lines = [&](const QString& text) {
      QTextLayout layout(text, disclaimer->font());
      layout.setTextOption(QTextOption(Qt::AlignLeft | Qt::AlignTop));
      QTextOption option;
      option.setWrapMode(QTextOption::WordWrap);
      layout.setTextOption(option);
      layout.beginLayout();
      QStringList result;
      qreal y = 0;
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(disclaimer->contentsRect().width());
        line.setPosition(QPointF(0, y));
        y += line.height();
        result << text.mid(line.textStart(), line.textLength()).remove(QChar(0x2060)).trimmed();
      }
      layout.endLayout();
      return result;
    };
    QCOMPARE(lines(disclaimer->text()),
             (QStringList{"希望Ovip、Tazu小朋友少看电视，多锻炼", "聪明快乐,健康成长"}));
    QVERIFY(lines(shown)[1] != "聪明快乐,健康成长");  // plain text would break inside 快乐

    // WCAG contrast against the brightest pixel behind the first two lines.
    const QImage picture = about.findChild<QLabel*>("Picture")->pixmap().toImage();
    const auto luminance = [](QColor c) {
      const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
      return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const QRect behind = disclaimer->geometry().intersected(QRect(0, 0, 300, 2 * disclaimer->fontMetrics().height()));
    double brightest = 0;
    for (int y = behind.top(); y <= behind.bottom(); ++y) {
      for (int x = behind.left(); x <= behind.right(); ++x) brightest = std::max(brightest, luminance(picture.pixelColor(x, y)));
    }
    const double text = luminance(disclaimer->palette().color(QPalette::WindowText));
    const double contrast = (text + 0.05) / (brightest + 0.05);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
  }

  void enterPressesTheFocusedButton() {
    PageServer server(Response(Page(Ours() + "下载")));
    frmAbout about(desktop_, nullptr, server.Address());
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    about.findChild<QPushButton*>("CmdUpdate")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(!about.IsChecking());
    QCOMPARE(desktop_.messages, QStringList{"未找到新的版本...！"});
    about.findChild<QPushButton*>("cmdOK")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!about.isVisible());
  }

  void okClosesAndEscChecksInstead() {
    PageServer server(Response(Page(Ours() + "下载")));
    frmAbout about(desktop_, nullptr, server.Address());
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QTRY_VERIFY(!about.IsChecking());
    QVERIFY(about.isVisible());
    QCOMPARE(desktop_.messages, QStringList{"未找到新的版本...！"});
    QTest::keyClick(about.findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QVERIFY(!about.isVisible());
  }

  void newerVersionOpensThePage() {
    Check(Response(Page("  " + Newer() + " 下载 ")));
    ExpectOpened();
  }
  void sameVersionWithABlankBeforeDownloadOpensThePage() {
    Check(Response(Page(Ours() + " 下载")));
    ExpectOpened();
  }
  void sameVersionWithoutTheBlankFindsNothingNew() {
    Check(Response(Page(Ours() + "下载")));
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
                            QByteArray(gbk.encode(QString("<title>" + Ours() + "下载</title>")));
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
    QTRY_VERIFY(!about.IsChecking());
    ExpectMessage("请检测网络是否正常...！");
    QVERIFY2(desktop_.messages[0].endsWith("：无法连接到服务器。"), qPrintable(desktop_.messages[0]));
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
    QCOMPARE(LocalVersionText(), Ours());
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::FrmAboutTest)
#include "frm_about_test.moc"
