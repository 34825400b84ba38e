// SPDX-License-Identifier: MIT
#include "app/ProcessLauncher.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>

class TestLauncher : public QObject {
    Q_OBJECT

    TestSupport::TempFolder m_dir;

    QString script(const QString& name, const QByteArray& body) {
        const QString path = m_dir.path(name);
        if (!TestSupport::writeFile(path, "#!/bin/sh\n" + body + "\n") ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return QString();
        return path;
    }

    static bool alive(qint64 pid) { return ::kill(pid_t(pid), 0) == 0; }

private Q_SLOTS:
    // Starting a program never makes QProcess complain about its own set-up.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("QProcess"))); }

    void programThatEnds() {
        const QString path = script(QStringLiteral("ends.sh"), "printf '%s|' \"$@\" > \"$0.args\"; exit 3");
        // A bound far beyond the script's run: the wait has to end with the program, not with the bound.
        const LaunchResult r = Start_Program(path, QStringLiteral("-a \"two words\" last"), false, 120000);
        QCOMPARE(r.state, LaunchResult::State::Ended);
        QVERIFY(r.pid > 0);
        QCOMPARE(r.exitCode, 3);
        QVERIFY(!r.crashed);
        QCOMPARE(TestSupport::readFile(path + QStringLiteral(".args")), QByteArray("-a|two words|last|"));
    }

    void programStillRunningIsLeftRunning_data() {
        QTest::addColumn<int>("boundMs");
        QTest::newRow("bound after the start") << 200;
        // A bound shorter than any process start: the program started all the same and is left running.
        QTest::newRow("bound before the start") << 1;
    }

    void programStillRunningIsLeftRunning() {
        QFETCH(int, boundMs);
        const QString path = script(QStringLiteral("sleeps.sh"), "exec sleep 60");
        const LaunchResult r = Start_Program(path, QString(), true, boundMs);
        QCOMPARE(r.state, LaunchResult::State::StillRunning);
        QVERIFY(r.pid > 0);
        // Still there after the call returned and any temporary object would have been destroyed.
        QCoreApplication::processEvents();
        QVERIFY(alive(r.pid));
        ::kill(pid_t(r.pid), SIGKILL);
        // The launcher's process object notices the end through the event loop and reaps the child.
        QTRY_VERIFY(!alive(r.pid));
    }

    void programThatCannotStart_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/Flashvane.exe");
        QTest::newRow("not executable") << QStringLiteral("plain.txt");
        QTest::newRow("empty name") << QString();
    }

    void programThatCannotStart() {
        QFETCH(QString, program);
        if (program == QLatin1String("plain.txt")) {
            program = m_dir.path(program);
            QVERIFY(TestSupport::writeFile(program, "data"));
            QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner));
        }
        // With a bound of two minutes, a launcher that did not return at once would hit the test timeout.
        const LaunchResult r = Start_Program(program, QString(), false, 120000);
        QCOMPARE(r.state, LaunchResult::State::NotStarted);
        QCOMPARE(r.pid, qint64(0));
        QVERIFY(!r.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
