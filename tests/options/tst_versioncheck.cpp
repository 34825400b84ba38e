// SPDX-License-Identifier: MIT
#include "options/VersionCheck.h"
#include "support/HttpTestServer.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(VersionCheck::Failure)

namespace {

// Marks where a test puts the address of a second server that must never be asked.
const QByteArray Elsewhere = "@ELSEWHERE@";

void pointAt(VersionCheck& check, const QTcpServer& server) {
    check.setServer(QStringLiteral("127.0.0.1"), server.serverPort());
}

} // namespace

class TestVersionCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("newer");
        QTest::newRow("newer") << "VER. 1.002" << 1002 << true;
        QTest::newRow("same as ours") << "VER. 1.001" << 1001 << false;
        QTest::newRow("older") << "VER. 0.999" << 999 << false;
        QTest::newRow("none published, small letters") << "ver. 0.000" << 0 << false;
        QTest::newRow("too short after the blank") << "VER. 2.0" << -1 << false;
        QTest::newRow("no word") << "1.002" << 1002 << true;
        QTest::newRow("empty: the request failed") << "" << -1 << false;
        QTest::newRow("garbage") << "<html>Server Error</html>" << -1 << false;
        QTest::newRow("letter among the digits") << "VER. 1.0x2" << -1 << false;
        QTest::newRow("sign among the digits") << "VER. -.002" << -1 << false;
        QTest::newRow("blanks and line end around") << "  VER. 1.002\r\n" << 1002 << true;
        QTest::newRow("two blanks after the word") << "VER.  1.002" << 1002 << true;
        QTest::newRow("second character is not looked at") << "VER. 1,010" << 1010 << true;
        QTest::newRow("text after the version") << "VER. 9.999 beta" << 9999 << true;
        QTest::newRow("two digits before the point") << "VER. 10.002" << -1 << false;
    }

    void answers() {
        QFETCH(QString, answer);
        QFETCH(int, number);
        QFETCH(bool, newer);
        QCOMPARE(Versions::Conv_Version(answer.toUpper().trimmed()), number);
        QCOMPARE(Versions::Check_Version(answer), newer);
    }

    void request_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("timeLimit");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<VersionCheck::Failure>("failure");

        using F = VersionCheck::Failure;
        const int answer = int(HttpTestServer::Mode::Answer);
        const int full = VersionCheck::TimeLimitMs;
        const QByteArray atLimit = "VER. 1.002" + QByteArray(VersionCheck::BodyLimit - 10, ' ');

        QTest::newRow("newer") << answer << HttpTestServer::ok("VER. 1.002") << full << true << F::None;
        QTest::newRow("equal") << answer << HttpTestServer::ok("VER. 1.001") << full << false << F::None;
        QTest::newRow("not a version") << answer << HttpTestServer::ok("Hello") << full << false << F::None;
        QTest::newRow("body at the limit") << answer << HttpTestServer::ok(atLimit) << full << true << F::None;
        QTest::newRow("body one byte over")
            << answer << HttpTestServer::ok(atLimit + ' ') << full << false << F::TooLarge;
        QTest::newRow("announced length over the limit")
            << int(HttpTestServer::Mode::Answer)
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nVER. 9.999") << full << false
            << F::TooLarge;
        QTest::newRow("404 with a version in its body")
            << answer << QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999") << full << false << F::HttpStatus;
        QTest::newRow("redirect not followed")
            << answer << QByteArray("HTTP/1.0 302 Found\r\nLocation: " + Elsewhere + "\r\n\r\nVER. 9.999") << full
            << false << F::HttpStatus;
        QTest::newRow("accepts and never answers")
            << int(HttpTestServer::Mode::Silent) << QByteArray() << 300 << false << F::TimedOut;
        QTest::newRow("endless body") << int(HttpTestServer::Mode::Endless) << QByteArray() << full << false
                                      << F::TooLarge;
    }

    void request() {
        QFETCH(int, mode);
        QFETCH(QByteArray, response);
        QFETCH(int, timeLimit);
        QFETCH(bool, newer);
        QFETCH(VersionCheck::Failure, failure);

        HttpTestServer server;
        HttpTestServer elsewhere;
        elsewhere.answer(HttpTestServer::ok("VER. 9.999"));
        QVERIFY(server.isListening() && elsewhere.isListening());
        const QByteArray target = "http://127.0.0.1:" + QByteArray::number(elsewhere.serverPort()) +
                                  "/home/download/GetversionSW.asp?nomesw=SWKV210";
        server.mode = HttpTestServer::Mode(mode);
        server.response = response.replace(Elsewhere, target);

        VersionCheck check;
        pointAt(check, server);
        check.setTimeLimit(timeLimit);
        QSignalSpy done(&check, &VersionCheck::finished);
        check.start();
        QVERIFY(check.isRunning());
        QVERIFY(done.wait(3 * VersionCheck::TimeLimitMs));

        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().first().toBool(), newer);
        QCOMPARE(check.failure(), failure);
        QVERIFY(!check.isRunning());
        QCOMPARE(elsewhere.connections, 0);
        // Qt's client may send a GET again on a fresh connection when the server closed the first one
        // early; every request is the one GET.
        QVERIFY(!server.requests.isEmpty());
        for (const QByteArray& head : std::as_const(server.requests))
            QVERIFY2(head.startsWith("GET /home/download/GetversionSW.asp?nomesw=SWKV210 HTTP/1."), head.constData());

        QTest::qWait(50); // nothing arrives after the one report
        QCOMPARE(done.count(), 1);
    }

    void nothingListening() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const quint16 port = closed.serverPort();
        closed.close();

        VersionCheck check;
        check.setServer(QStringLiteral("127.0.0.1"), port);
        QSignalSpy done(&check, &VersionCheck::finished);
        check.start();
        QVERIFY(done.wait(3 * VersionCheck::TimeLimitMs));
        QCOMPARE(done.first().first().toBool(), false);
        QCOMPARE(check.failure(), VersionCheck::Failure::Network);
    }

    void oneRequestAtATimeAndCancelReportsNothing() {
        HttpTestServer server;
        server.mode = HttpTestServer::Mode::Silent;
        VersionCheck check;
        pointAt(check, server);
        check.setTimeLimit(200);
        QSignalSpy done(&check, &VersionCheck::finished);
        check.start();
        check.start();
        QTRY_COMPARE(server.requests.size(), 1);
        check.cancel();
        QVERIFY(!check.isRunning());
        QTest::qWait(400); // past the time limit: the dropped request stays silent
        QCOMPARE(done.count(), 0);
        QCOMPARE(server.connections, 1);

        // The next request runs normally.
        server.answer(HttpTestServer::ok("VER. 1.002"));
        check.setTimeLimit(VersionCheck::TimeLimitMs);
        check.start();
        QVERIFY(done.wait(3 * VersionCheck::TimeLimitMs));
        QCOMPARE(done.first().first().toBool(), true);
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "tst_versioncheck.moc"
