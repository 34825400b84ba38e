// SPDX-License-Identifier: MIT
#include "common/SpecialFiles.h"
#include "language/TextCatalogue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QString P = QStringLiteral("\u00b6");

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TESSARO_CLI), args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsPrintsDefaults() {
        const Run r = runCli({"texts"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        QVERIFY(r.out.startsWith(Bom));
        const QString text = QString::fromUtf8(r.out.mid(3));
        QVERIFY(text.contains("\r\nSTR0018 = Error! Project not Valid\r\n"));
        QVERIFY(text.contains("\r\nSTR0009 = " + P + "None Configuration Opened " + P + "\r\n"));

        // The program reads its own output back into the same catalogue.
        QTemporaryDir dir;
        const QString path = dir.filePath("English.lng");
        QVERIFY(writeFile(path, r.out));
        TextCatalogue back;
        back.fillWithBlanks();
        back.Read_Language_File(path);
        for (int i = 0; i < TextCatalogue::Size; ++i)
            QCOMPARE(back.Text(i), defaultText(i));
    }

    void textsLaysLanguageFileOverDefaults() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Portugues.lng");
        const QString content = "STR0012 = Informa\u00e7\u00e3o\r\nSTR0304 = " + P + "L\u00edngua : " + P + "\r\n";
        QVERIFY(writeFile(path, QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(content)));

        const Run r = runCli({"texts", "--language-file", path});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out.mid(3));
        QVERIFY(text.contains("\r\nSTR0012 = Informa\u00e7\u00e3o\r\n"));
        QVERIFY(text.contains("\r\nSTR0304 = " + P + "L\u00edngua : " + P + "\r\n"));
        QVERIFY(text.contains("\r\nSTR0013 = Options\r\n")); // not in the file: the default

        // --output writes the same bytes to a file.
        const QString outPath = dir.filePath("out.lng");
        QCOMPARE(runCli({"texts", "-l", path, "-o", outPath}).exitCode, 0);
        QFile out(outPath);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), r.out);
    }

    void help_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("program") << QStringList{"--help"} << "texts ";
        QTest::newRow("texts") << QStringList{"texts", "--help"} << "Translators start from this";
    }
    void help() {
        QFETCH(QStringList, args);
        QFETCH(QString, fragment);
        const Run r = runCli(args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QString::fromUtf8(r.out).contains(fragment), r.out.constData());
    }

    void failures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing language file") << QStringList{"texts", "--language-file", "@DIR@/Missing.lng"} << 1
                                               << "Cannot read the file @DIR@/Missing.lng: No such file or directory";
        QTest::newRow("language file is a folder")
            << QStringList{"texts", "--language-file", "@DIR@"} << 1 << "Cannot read the file @DIR@: it is a folder";
        QTest::newRow("output into a missing folder")
            << QStringList{"texts", "--output", "@DIR@/no/such/folder/x.lng"} << 1
            << "Cannot write the file @DIR@/no/such/folder/x.lng: No such file or directory";
        QTest::newRow("unknown command") << QStringList{"build-all"} << 2 << "unknown command \"build-all\"";
        QTest::newRow("no command") << QStringList{} << 2 << "no command given";
        QTest::newRow("unknown option") << QStringList{"texts", "--colour"} << 2 << "Unknown option 'colour'";
        QTest::newRow("option without value")
            << QStringList{"texts", "--language-file"} << 2 << "Missing value after '--language-file'";
        QTest::newRow("extra argument") << QStringList{"texts", "English.lng"} << 2
                                        << "unexpected argument \"English.lng\"";
    }
    void failures() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        args.replaceInStrings("@DIR@", dir.path());
        message.replace("@DIR@", dir.path());
        const Run r = runCli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    // --output: "-" is the standard output; a device or a pipe is written to, never replaced by a file;
    // a folder or a disk device is refused. Every refusal names the file and the reason.
    void outputTargets_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // on stderr after "tessaro-cli texts: "
        QTest::newRow("standard output") << "-" << 0 << QString();
        QTest::newRow("null device") << "null" << 0 << QString();
        QTest::newRow("FIFO") << "fifo" << 0 << QString();
        QTest::newRow("link to a file") << "link" << 0 << QString();
        QTest::newRow("full device") << "full" << 1 << "Cannot write the file @OUT@: No space left on device";
        QTest::newRow("folder") << "dir" << 1 << "Cannot write the file @OUT@: it is a folder";
        QTest::newRow("disk device")
            << "block" << 1
            << "Cannot write the file @OUT@: it is a disk device; no output of this program belongs there";
    }
    void outputTargets() {
        QFETCH(QString, kind);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString out = dir.filePath("out.lng");
        const QString aside = dir.filePath("aside.lng");
        bool made = true;
        if (kind == "-")
            out = "-";
        else if (kind == "null")
            made = SpecialFiles::makeCharDevice(out, SpecialFiles::Null);
        else if (kind == "full")
            made = SpecialFiles::makeCharDevice(out, SpecialFiles::Full);
        else if (kind == "fifo")
            made = SpecialFiles::makeFifo(out);
        else if (kind == "link")
            made = writeFile(aside, "old") && SpecialFiles::makeLink(aside, out);
        else if (kind == "dir")
            made = QDir().mkdir(out);
        else if (kind == "block")
            made = SpecialFiles::makeBlockDevice(out);
        VERIFY_MADE(made);
        const QString kindBefore = SpecialFiles::kindOf(out);

        QProcess p;
        p.start(QStringLiteral(TESSARO_CLI), {"texts", "--output", out});
        QByteArray fromFifo;
        if (kind == "fifo") {
            // Read the pipe as another program would, while the tool writes into it.
            QFile reader(out);
            QVERIFY(reader.open(QIODevice::ReadOnly));
            fromFifo = reader.readAll();
        }
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QCOMPARE(SpecialFiles::kindOf(out), kindBefore);
        if (exitCode != 0) {
            QCOMPARE(err.trimmed(), "tessaro-cli texts: " + QString(message).replace("@OUT@", out));
            return;
        }
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const QByteArray expected = runCli({"texts"}).out;
        QVERIFY(expected.startsWith(Bom));
        if (kind == "-")
            QCOMPARE(p.readAllStandardOutput(), expected);
        else
            QVERIFY(p.readAllStandardOutput().isEmpty());
        if (kind == "fifo")
            QCOMPARE(fromFifo, expected);
        if (kind == "link")
            QCOMPARE(SpecialFiles::contents(aside), expected);
    }

    // A full disk, a full device as the standard output: the message says so and the old file stays whole.
    void fullOutputs() {
        QTemporaryDir dir;
        const QString full = dir.filePath("full");
        VERIFY_MADE(SpecialFiles::makeCharDevice(full, SpecialFiles::Full));
        QProcess p;
        p.setStandardOutputFile(full);
        p.start(QStringLiteral(TESSARO_CLI), {"texts"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(),
                 "tessaro-cli texts: Cannot write the standard output: No space left on device");
        QCOMPARE(SpecialFiles::kindOf(full), QStringLiteral("char"));

        // A tmpfs of one page, mounted in a mount namespace of its own, so nothing outside sees it.
        const QString mount = dir.filePath("small");
        QVERIFY(QDir().mkdir(mount));
        const QString script = QStringLiteral("mount -t tmpfs -o size=4k tessaro-test \"$1\" || exit 99; "
                                              "printf old > \"$1/x.lng\"; "
                                              "\"$2\" texts --output \"$1/x.lng\"; rc=$?; "
                                              "cat \"$1/x.lng\"; ls -A \"$1\" >&2; exit $rc");
        QProcess q;
        q.start("unshare", {"-m", "--propagation", "private", "sh", "-c", script, "sh", mount, TESSARO_CLI});
        if (!q.waitForStarted(10000))
            QSKIP("unshare is not available here");
        QVERIFY(q.waitForFinished(60000));
        const QByteArray out = q.readAllStandardOutput();
        const QString err = QString::fromUtf8(q.readAllStandardError());
        if (q.exitCode() == 99 || err.startsWith("unshare"))
            QSKIP(qPrintable("a tmpfs cannot be mounted in a namespace of its own here: " + err));
        QCOMPARE(q.exitCode(), 1);
        QCOMPARE(out, QByteArray("old"));
        QCOMPARE(err.trimmed(),
                 "tessaro-cli texts: Cannot write the file " + mount + "/x.lng: No space left on device\nx.lng");
    }

    // Language files that are no regular file are refused at once, without reading a device forever.
    void languageFileRefusals_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo"
                              << "it is not a regular file (a device, a pipe or a socket)";
        QTest::newRow("endless device") << "zero"
                                        << "it is not a regular file (a device, a pipe or a socket)";
        QTest::newRow("far too large") << "large"
                                       << "it is larger than 16777216 bytes, far more than any file of this program";
    }
    void languageFileRefusals() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("Deutsch.lng");
        bool made = false;
        if (kind == "fifo")
            made = SpecialFiles::makeFifo(path);
        else if (kind == "zero")
            made = SpecialFiles::makeCharDevice(path, SpecialFiles::Zero);
        else if (kind == "large")
            made = SpecialFiles::makeSparseFile(path, 1 << 30);
        VERIFY_MADE(made);
        const Run r = runCli({"texts", "--language-file", path});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.trimmed(), "tessaro-cli texts: Cannot read the file " + path + ": " + reason);
        QVERIFY(r.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
