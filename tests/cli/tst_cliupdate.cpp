// SPDX-License-Identifier: MIT
// tessaro-cli update: the whole update without windows, against 127.0.0.1 and an updater stand-in.
#include "common/XmlTree.h"
#include "support/SystemTestUtil.h"
#include "update/IcmpEchoClient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/prctl.h>

namespace {

const QFile::Permissions Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

struct Run {
    int status = -1;
    QStringList lines; // standard error, line by line
};

Run runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TESSARO_CLI), args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.lines = QString::fromUtf8(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    return r;
}

bool writeFile(const QString& path, const QByteArray& data, QFile::Permissions permissions = {}) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return false;
    f.close();
    return !permissions || f.setPermissions(permissions);
}

// A program folder with a configuration and an updater stand-in that copies the script it finds into
// a folder of its own and ends with the given status.
struct Env {
    QTemporaryDir program;
    QTemporaryDir record;
    QString config = program.filePath(QStringLiteral("PROJECTS/Plant"));

    Env() { QDir().mkpath(config); }

    void updater(int status) {
        writeFile(program.filePath(QStringLiteral("Flashvane.exe")),
                  "#!/bin/sh\ncp \"${0%/*}/Flashvane.xml\" '" + QFile::encodeName(found()) + "'\nexit " +
                      QByteArray::number(status) + "\n",
                  Executable);
    }
    QString found() const { return record.filePath(QStringLiteral("found.xml")); }
    QString script() const { return program.filePath(QStringLiteral("Flashvane.xml")); }

    QStringList args(const QStringList& more) const {
        return QStringList{QStringLiteral("update"), config, QStringLiteral("--program-folder"), program.path()} + more;
    }
};

QString line(const QString& text) {
    return QStringLiteral("tessaro-cli update: ") + text;
}

// Runs the tool in a child inside a network namespace of its own, after `setUp` there; its standard
// error goes to `errFile`. CAP_NET_RAW leaves the child for good when `noRaw` is set.
int runCliInNamespace(const QStringList& args, const QString& errFile, const std::function<bool()>& setUp, bool noRaw) {
    QList<QByteArray> bytes{QByteArray(TESSARO_CLI)};
    for (const QString& a : args)
        bytes << QFile::encodeName(a);
    const QByteArray err = QFile::encodeName(errFile);
    return SystemTest::inOwnNetNamespace([&] {
        if (!setUp())
            return 90;
        if (noRaw && ::prctl(PR_CAPBSET_DROP, CAP_NET_RAW, 0, 0, 0) != 0)
            return 91;
        const int fd = ::open(err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::dup2(fd, 2) < 0)
            return 92;
        std::vector<char*> argv;
        for (QByteArray& b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        return 93;
    });
}

} // namespace

class TestCliUpdate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scriptOnly_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("operations");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("defaults: firmware + configuration, read back") << QStringList() << 3 << "1";
        QTest::newRow("configuration, no read back")
            << QStringList{"--option", "configuration", "--no-read-back"} << 2 << "0";
        QTest::newRow("firmware") << QStringList{"--option", "firmware"} << 1 << "1";
    }

    void scriptOnly() {
        QFETCH(QStringList, options);
        QFETCH(int, operations);
        QFETCH(QString, readBack);
        Env env;
        env.updater(0);
        const Run r = runCli(env.args(QStringList{"--address", "10.1.2.3", "--script-only"} + options));
        const QString bin = QDir::toNativeSeparators(env.config + QStringLiteral("/bin/"));
        QCOMPARE(r.lines, (QStringList{line("payload check passed"),
                                       line("images written: " + bin + "bank1.bin, " + bin + "bank2.bin"),
                                       line("script written: " + QDir::toNativeSeparators(env.script()))}));
        QCOMPARE(r.status, 0);
        QVERIFY(QFile::exists(env.config + QStringLiteral("/bin/bank1.bin")));
        QVERIFY(QFile::exists(env.config + QStringLiteral("/bin/bank2.bin")));
        QVERIFY(!QFile::exists(env.found())); // no updater

        const Xml::Element root = Xml::loadExistingTree(env.script()).firstNodeAsRoot();
        QCOMPARE(root.childText(u"IP_Address_Dev").value_or(QString()), QStringLiteral("10.1.2.3"));
        const QList<Xml::Element> ops = root.firstChild(u"Operations").children();
        QCOMPARE(ops.size(), operations);
        for (const Xml::Element& op : ops)
            QCOMPARE(op.childText(u"Ope_Read_Back").value_or(QString()), readBack);
        if (operations > 1)
            QCOMPARE(ops.last().childText(u"Ope_FileName").value_or(QString()), bin + QStringLiteral("bank2.bin"));
    }

    void updaterStatus_data() {
        QTest::addColumn<int>("updater"); // its exit status; -1: no updater
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("last");
        QTest::newRow("updater ends with 0") << 0 << 0 << "ended with status 0";
        QTest::newRow("updater ends with 3") << 3 << 1 << "ended with status 3";
        QTest::newRow("updater missing") << -1 << 1 << "cannot be started: the file does not exist";
    }

    void updaterStatus() {
        QFETCH(int, updater);
        QFETCH(int, status);
        QFETCH(QString, last);
        if (IcmpEchoClient().echo(QStringLiteral("127.0.0.1")).kind == EchoResult::Kind::NoPermission)
            QSKIP("no ICMP socket may be opened here");
        Env env;
        if (updater >= 0)
            env.updater(updater);
        const Run r = runCli(env.args({"--address", "127.0.0.1"}));
        QCOMPARE(r.status, status);
        QVERIFY2(r.lines.contains(line("reachability check passed: 127.0.0.1 answers")),
                 qPrintable(r.lines.join('\n')));
        QVERIFY2(r.lines.last().contains(last), qPrintable(r.lines.last()));
        QCOMPARE(QFile::exists(env.found()), updater >= 0);
        if (updater >= 0) // the updater found the complete script
            QCOMPARE(Xml::loadExistingTree(env.found()).firstNodeAsRoot().firstChild(u"Operations").children().size(),
                     3);
    }

    // The device stays silent, or no ICMP socket may be opened: the command stops before the script.
    void reachabilityFails_data() {
        QTest::addColumn<QString>("setting"); // namespace sysctl written before the run
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("noRaw");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent device") << "/proc/sys/net/ipv4/icmp_echo_ignore_all" << QByteArray("1") << false
                                       << "reachability check failed: 127.0.0.1 does not answer (Device Not Found!)";
        QTest::newRow("no ICMP socket allowed")
            << "/proc/sys/net/ipv4/ping_group_range" << QByteArray("1 0") << true << "net.ipv4.ping_group_range";
    }

    void reachabilityFails() {
        QFETCH(QString, setting);
        QFETCH(QByteArray, value);
        QFETCH(bool, noRaw);
        QFETCH(QString, message);
        Env env;
        env.updater(0);
        const QString err = env.record.filePath(QStringLiteral("stderr.txt"));
        const QByteArray path = setting.toLatin1();
        const int status = runCliInNamespace(
            env.args({"--address", "127.0.0.1"}), err,
            [&] { return SystemTest::writeNamespaceSysctl(path.constData(), value); }, noRaw);
        if (status == SystemTest::NoNamespace)
            QSKIP("network namespaces are not permitted here (unshare -n refused)");
        QFile f(err);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(status, 1);
        QVERIFY2(!lines.isEmpty() && lines.last().startsWith(line(QString())) && lines.last().contains(message),
                 qPrintable(lines.join('\n')));
        QVERIFY(QFile::exists(env.config + QStringLiteral("/bin/bank2.bin")));
        QVERIFY(!QFile::exists(env.script()));
        QVERIFY(!QFile::exists(env.found()));
    }

    // Every enabled uplink rule of this fixture is too long for its payload: nothing is written.
    void payloadCheckFails() {
        Env env;
        env.updater(0);
        const QDir from(QStringLiteral(TESSARO_FIXTURES "/image/lorawan_otaa"));
        for (const QString& file : from.entryList({QStringLiteral("*.xml")}, QDir::Files))
            QVERIFY(QFile::copy(from.filePath(file), QDir(env.config).filePath(file)));
        const Run r = runCli(env.args({"--address", "127.0.0.1"}));
        QCOMPARE(r.status, 1);
        QCOMPARE(r.lines.size(), 1);
        QVERIFY2(r.lines.first().startsWith(line("payload check failed: Error in configuration")),
                 qPrintable(r.lines.first()));
        QVERIFY(!QFile::exists(env.config + QStringLiteral("/bin/bank1.bin")));
        QVERIFY(!QFile::exists(env.script()));
    }

    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("no address") << QStringList() << 2 << "--address is missing";
        QTest::newRow("host name") << QStringList{"--address", "converter.local"} << 2 << "is not an IPv4 address";
        QTest::newRow("three parts") << QStringList{"--address", "10.1.2"} << 2 << "is not an IPv4 address";
        QTest::newRow("unknown option") << QStringList{"--address", "10.1.2.3", "--option", "all"} << 2
                                        << "unknown --option \"all\"";
        QTest::newRow("missing program folder")
            << QStringList{"--address", "10.1.2.3", "--program-folder", "/nonexistent/tessaro"} << 1
            << "the program folder";
    }

    void usage() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        Env env;
        const Run r = runCli(env.args(args));
        QCOMPARE(r.status, status);
        QVERIFY2(!r.lines.isEmpty() && r.lines.first().contains(message), qPrintable(r.lines.join('\n')));
        QVERIFY(!QFile::exists(env.config + QStringLiteral("/bin/bank1.bin")));
    }
};

QTEST_GUILESS_MAIN(TestCliUpdate)
#include "tst_cliupdate.moc"
