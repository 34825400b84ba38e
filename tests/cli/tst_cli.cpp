// SPDX-License-Identifier: MIT
#include "language/TextCatalogue.h"
#include "support/TestFiles.h"

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

using TestSupport::writeFile;

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
        QVERIFY(back.Read_Language_File(path));
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
        QTest::newRow("missing language file")
            << QStringList{"texts", "--language-file", "@DIR@/Missing.lng"} << 1 << "Missing.lng\" does not exist";
        QTest::newRow("language file is a folder")
            << QStringList{"texts", "--language-file", "@DIR@"} << 1 << "cannot read the language file";
        QTest::newRow("output not writable")
            << QStringList{"texts", "--output", "@DIR@/no/such/folder/x.lng"} << 1 << "Cannot write the file";
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
        const Run r = runCli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
