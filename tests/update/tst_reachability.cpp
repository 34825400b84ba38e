// SPDX-License-Identifier: MIT
#include "FakeEchoClient.h"
#include "support/SystemTestUtil.h"
#include "update/DeviceAddress.h"
#include "update/IcmpEchoClient.h"
#include "update/ReachabilityCheck.h"

#include <QTest>

using Kind = EchoResult::Kind;
Q_DECLARE_METATYPE(QList<EchoResult>)

namespace {

// Exit statuses of the namespace children.
constexpr int ChildOk = 0;
constexpr int ChildWrongResult = 1;
constexpr int ChildSetupFailed = 2;

int expectKind(const EchoResult& r, Kind kind) {
    return r.kind == kind ? ChildOk : ChildWrongResult;
}

} // namespace

class TestReachability : public QObject {
    Q_OBJECT

    static void checkChild(int status) {
        if (status == SystemTest::NoNamespace)
            QSKIP("network namespaces are not permitted here (unshare -n refused)");
        QCOMPARE(status, ChildOk);
    }

private Q_SLOTS:
    void sendPing_data() {
        QTest::addColumn<QList<EchoResult>>("script");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("pingRes");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<bool>("runsFullTime"); // until more than 5000 ms have passed
        const EchoResult reply = FakeEchoClient::reply();
        const EchoResult silence = FakeEchoClient::silence();
        QTest::newRow("answers every time: ends after the second reply")
            << QList<EchoResult>{reply} << true << 1 << 2 << false;
        QTest::newRow("answers only the first time") << QList<EchoResult>{reply, silence} << false << 2 << -1 << true;
        QTest::newRow("silent, then answers twice")
            << QList<EchoResult>{silence, reply, reply} << true << 1 << 3 << false;
        QTest::newRow("reply without data counts as none")
            << QList<EchoResult>{FakeEchoClient::reply(0)} << false << 2 << -1 << true;
        QList<EchoResult> lateReply(12, silence); // 12 silent attempts end at 4920 ms
        lateReply << reply << silence;
        QTest::newRow("one late reply is not enough") << lateReply << false << 2 << 14 << true;
        QTest::newRow("bad address: ends at once, status untouched")
            << QList<EchoResult>{FakeEchoClient::error(Kind::BadAddress)} << false << 0 << 1 << false;
        QTest::newRow("error after a silent attempt keeps its status")
            << QList<EchoResult>{silence, FakeEchoClient::error(Kind::Failed)} << false << 2 << 2 << false;
        QTest::newRow("no permission") << QList<EchoResult>{FakeEchoClient::error(Kind::NoPermission)} << false << 0
                                       << 1 << false;
    }

    void sendPing() {
        QFETCH(QList<EchoResult>, script);
        QFETCH(bool, answered);
        QFETCH(int, pingRes);
        QFETCH(int, attempts);
        QFETCH(bool, runsFullTime);
        FakeEchoClient client;
        client.script = script;
        ReachabilityCheck check(client);
        client.attach(check);
        check.ping_res = 2; // left from an earlier check: every check starts afresh

        QCOMPARE(check.Send_Ping(QStringLiteral("10.1.2.3")), answered);
        QCOMPARE(check.ping_res, pingRes);
        if (attempts > 0)
            QCOMPARE(client.asked.size(), attempts);
        QCOMPARE(client.asked.first(), QStringLiteral("10.1.2.3"));
        if (runsFullTime) {
            QVERIFY2(client.clock > ReachabilityCheck::CheckMs, qPrintable(QString::number(client.clock)));
            // Not one attempt more than the bound allows.
            QVERIFY(client.clock <=
                    ReachabilityCheck::CheckMs + ReachabilityCheck::AttemptMs + 2 * ReachabilityCheck::PauseMs);
        } else {
            QVERIFY(client.clock < 1000);
        }
        const EchoResult last = script.at(qMin(client.asked.size(), script.size()) - 1);
        QCOMPARE(check.lastError.kind, last.isError() ? last.kind : Kind::Reply);
    }

    // Each attempt pauses at least once, so a quick "no reply" does not turn into a busy loop.
    void everyAttemptPauses() {
        FakeEchoClient client;
        client.script = {FakeEchoClient::reply(0)};
        ReachabilityCheck check(client);
        client.attach(check);
        int pauses = 0;
        check.sleep = [&](int ms) {
            QCOMPARE(ms, ReachabilityCheck::PauseMs);
            client.clock += ms;
            ++pauses;
        };
        check.Send_Ping(QStringLiteral("10.1.2.3"));
        QCOMPARE(pauses, client.asked.size());
    }

    void malformedAddress_data() {
        QTest::addColumn<QString>("address");
        for (const char* a : {"", "localhost", "192.168.2", "192.168.2.205.1", "192.168..205", "256.1.1.1", "1.2.3.-4",
                              "+1.2.3.4", " 1.2.3.4", "1.2.3.4 ", "0x7f.0.0.1", "1.2.3.0004", "1,2.3.4"})
            QTest::newRow(a) << QString::fromLatin1(a);
        QTest::newRow("full-width digit") << QStringLiteral("\uFF11.2.3.4");
    }

    void malformedAddress() {
        QFETCH(QString, address);
        QVERIFY(!DeviceAddress::parseDottedIPv4(address));
        IcmpEchoClient client;
        const EchoResult r = client.echo(address);
        QCOMPARE(r.kind, Kind::BadAddress);
        QVERIFY(r.error.contains(address));
    }

    void dottedAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<quint32>("value");
        QTest::newRow("loopback") << QStringLiteral("127.0.0.1") << quint32(0x7F000001);
        QTest::newRow("limits") << QStringLiteral("0.255.0.255") << quint32(0x00FF00FF);
        QTest::newRow("leading zeros are decimal") << QStringLiteral("010.001.000.099") << quint32(0x0A010063);
    }

    void dottedAddress() {
        QFETCH(QString, address);
        QFETCH(quint32, value);
        QCOMPARE(DeviceAddress::parseDottedIPv4(address), std::optional<quint32>(value));
    }

    void loopbackAnswers() {
        IcmpEchoClient client;
        const EchoResult r = client.echo(QStringLiteral("127.0.0.1"));
        if (r.kind == Kind::NoPermission)
            QSKIP(qPrintable(QStringLiteral("no ICMP socket here: ") + r.error));
        QCOMPARE(r.kind, Kind::Reply);
        QCOMPARE(r.bytes, client.payloadSize);

        ReachabilityCheck check(client);
        QVERIFY(check.Send_Ping(QStringLiteral("127.0.0.1")));
        QCOMPARE(check.ping_res, int(ReachabilityCheck::Answered));
    }

    // 127.0.0.1 in a namespace that ignores echo requests stays silent for the whole timeout.
    void silentAddressGivesNoReply() {
        checkChild(SystemTest::inOwnNetNamespace([] {
            IcmpEchoClient client;
            if (client.echo(QStringLiteral("127.0.0.1")).kind != Kind::Reply)
                return ChildSetupFailed; // the namespace's loopback has to work first
            if (!SystemTest::writeNamespaceSysctl("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1"))
                return ChildSetupFailed;
            return expectKind(client.echo(QStringLiteral("127.0.0.1")), Kind::NoReply);
        }));
    }

    // Where ping_group_range admits us, the unprivileged datagram socket does the work alone.
    void datagramSocketWithoutRawPermission() {
        checkChild(SystemTest::inOwnNetNamespace([] {
            if (!SystemTest::writeNamespaceSysctl("/proc/sys/net/ipv4/ping_group_range", "0 2147483647"))
                return ChildSetupFailed;
            SystemTest::DropCapability noRaw(CAP_NET_RAW);
            if (!noRaw.active())
                return ChildSetupFailed;
            IcmpEchoClient client;
            const EchoResult r = client.echo(QStringLiteral("127.0.0.1"));
            return r.kind == Kind::Reply && r.bytes == client.payloadSize ? ChildOk : ChildWrongResult;
        }));
    }

    // Neither socket may be opened: the check says so instead of blaming the address.
    void noSocketPermission() {
        checkChild(SystemTest::inOwnNetNamespace([] {
            if (!SystemTest::writeNamespaceSysctl("/proc/sys/net/ipv4/ping_group_range", "1 0"))
                return ChildSetupFailed;
            SystemTest::DropCapability noRaw(CAP_NET_RAW);
            if (!noRaw.active())
                return ChildSetupFailed;
            IcmpEchoClient client;
            ReachabilityCheck check(client);
            if (check.Send_Ping(QStringLiteral("127.0.0.1")) || check.ping_res != 0)
                return ChildWrongResult;
            return expectKind(check.lastError, Kind::NoPermission);
        }));
    }
};

QTEST_GUILESS_MAIN(TestReachability)
#include "tst_reachability.moc"
