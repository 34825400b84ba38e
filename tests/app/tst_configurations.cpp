// SPDX-License-Identifier: MIT
#include "app/AppState.h"
#include "app/Configurations.h"
#include "common/FileError.h"
#include "language/TextCatalogue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestConfigurations : public QObject {
    Q_OBJECT

    // Every path below `root`, to see that a refused name created nothing anywhere.
    static QStringList tree(const QString& root) {
        QStringList out;
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        out.sort();
        return out;
    }

    // The text index of the refusal createConfiguration reports for `name`; 0 when it creates the folder.
    static int refusalOf(const QString& projects, const QString& name) {
        TextCatalogue texts;
        texts.Build_Default_Texts();
        try {
            Configurations::createConfiguration(projects, name, texts);
        } catch (const FileError& e) {
            for (int index :
                 {Configurations::TextNameRefused, Configurations::TextFolderExists, Configurations::TextNameEmpty}) {
                if (e.message() == texts.Text(index))
                    return index;
            }
            return -1;
        }
        return 0;
    }

private Q_SLOTS:
    void create() {
        QTemporaryDir dir;
        const QString projects = dir.filePath(QStringLiteral("PROJECTS"));
        QVERIFY(QDir().mkpath(projects));
        QCOMPARE(refusalOf(projects, QStringLiteral("Alpha")), 0);
        QVERIFY(QFileInfo(projects + QStringLiteral("/Alpha/bin")).isDir());
        // Only the empty bin folder: no file is copied into a new configuration.
        QCOMPARE(tree(projects + QStringLiteral("/Alpha")), QStringList{projects + QStringLiteral("/Alpha/bin")});
    }

    void refusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("text");
        QTest::newRow("empty") << QString() << 107;
        QTest::newRow("existing folder") << QStringLiteral("Existing") << 106;
        QTest::newRow("file of that name") << QStringLiteral("plain.txt") << 105;
        // Names that would leave PROJECTS or reach a folder other than a new one directly beneath it.
        QTest::newRow("slash") << QStringLiteral("a/b") << 105;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << 105;
        QTest::newRow("dot") << QStringLiteral(".") << 105;
        QTest::newRow("dot dot") << QStringLiteral("..") << 105;
        QTest::newRow("absolute") << QStringLiteral("/abs") << 105;
        QTest::newRow("climbing") << QStringLiteral("../outside") << 105;
        QTest::newRow("trailing slash") << QStringLiteral("Fresh/") << 105;
        QTest::newRow("into existing") << QStringLiteral("Existing/inner") << 105;
        // Names the file system takes but that would not come back from the settings file after a restart.
        QTest::newRow("line feed") << QStringLiteral("Alpha\n") << 105;
        QTest::newRow("carriage return") << QStringLiteral("Al\rpha") << 105;
        QTest::newRow("U+0001") << QStringLiteral("\u0001Alpha") << 105;
        QTest::newRow("tab") << QStringLiteral("Al\tpha") << 105;
        QTest::newRow("DEL") << QStringLiteral("Alpha\u007f") << 105;
        QTest::newRow("unpaired surrogate") << QStringLiteral("Alpha") + QChar(0xD800) << 105;
        QTest::newRow("U+FFFE") << QStringLiteral("Alpha") + QChar(0xFFFE) << 105;
    }

    void refusals() {
        QFETCH(QString, name);
        QFETCH(int, text);
        QTemporaryDir dir;
        const QString projects = dir.filePath(QStringLiteral("PROJECTS"));
        QVERIFY(QDir().mkpath(projects + QStringLiteral("/Existing")));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("abs"))));
        QFile file(projects + QStringLiteral("/plain.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QStringList before = tree(dir.path());

        QCOMPARE(refusalOf(projects, name), text);
        QCOMPARE(tree(dir.path()), before);
    }

    void refusedByFileSystem() {
        QTemporaryDir dir;
        // PROJECTS is missing: one level is created, so the configuration's folder is refused.
        const QString projects = dir.filePath(QStringLiteral("PROJECTS"));
        QCOMPARE(refusalOf(projects, QStringLiteral("Alpha")), 105);
        QVERIFY(!QFileInfo::exists(projects));
    }

    void nameUsedAsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("trailing blanks") << QStringLiteral("Alpha  ");
        QTest::newRow("leading blank") << QStringLiteral(" Beta");
        QTest::newRow("dots inside") << QStringLiteral("v1.2...");
        QTest::newRow("three dots") << QStringLiteral("...");
        QTest::newRow("non-ASCII") << QStringLiteral("K\u00fchlhaus \u2116 3");
    }

    void nameUsedAsTyped() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QCOMPARE(refusalOf(dir.path(), name), 0);
        QCOMPARE(Configurations::listConfigurations(dir.path()), QStringList{name});
    }

    void listing() {
        QTemporaryDir dir;
        const QString projects = dir.filePath(QStringLiteral("PROJECTS"));
        for (const char* sub : {"Alpha", "beta", "Empty by hand", "Alpha/bin", "Alpha/nested"})
            QVERIFY(QDir().mkpath(projects + QLatin1Char('/') + QLatin1String(sub)));
        QFile file(projects + QStringLiteral("/notes.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const QStringList names = Configurations::listConfigurations(projects);
        QCOMPARE(QSet<QString>(names.begin(), names.end()),
                 (QSet<QString>{QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("Empty by hand")}));
        QCOMPARE(names.size(), 3);
        QVERIFY(Configurations::listConfigurations(dir.filePath(QStringLiteral("missing"))).isEmpty());
    }

    void search_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("snc");
        QTest::addColumn<int>("position");
        const QStringList ab{QStringLiteral("alpha"), QStringLiteral("Beta")};
        QTest::newRow("other case") << ab << QStringLiteral("Alpha") << 0;
        QTest::newRow("exact") << ab << QStringLiteral("Beta") << 1;
        QTest::newRow("upper") << ab << QStringLiteral("BETA") << 1;
        QTest::newRow("absent") << ab << QStringLiteral("Gamma") << -1;
        QTest::newRow("prefix is no match") << ab << QStringLiteral("alph") << -1;
        QTest::newRow("nothing active") << ab << QString() << -1;
        QTest::newRow("empty list") << QStringList() << QStringLiteral("alpha") << -1;
        QTest::newRow("first match wins")
            << QStringList{QStringLiteral("x"), QStringLiteral("ALPHA"), QStringLiteral("alpha")}
            << QStringLiteral("Alpha") << 1;
        QTest::newRow("ASCII letters only")
            << QStringList{QStringLiteral("\u00e9t\u00e9")} << QStringLiteral("\u00c9T\u00c9") << -1;
        QTest::newRow("non-letters exact") << QStringList{QStringLiteral("a[1]")} << QStringLiteral("A{1}") << -1;
    }

    void search() {
        QFETCH(QStringList, names);
        QFETCH(QString, snc);
        QFETCH(int, position);
        QCOMPARE(Configurations::Search_Open_Conf(names, snc), position);
    }

    void activeConfiguration() {
        AppState s;
        s.setProgramFolder(QStringLiteral("/opt/tessaro"));
        QCOMPARE(Configurations::activeFolderName(s), QString());
        Configurations::activate(s, QStringLiteral("Alpha"));
        QCOMPARE(s.ActiveConfigPath, QStringLiteral("/opt/tessaro/PROJECTS/Alpha"));
        QCOMPARE(s.ParGenFile(), QStringLiteral("/opt/tessaro/PROJECTS/Alpha/ParGen.xml"));
        QCOMPARE(s.LoRaWANSetAccessFile(), QStringLiteral("/opt/tessaro/PROJECTS/Alpha/LoRaWAN_SetAccess.xml"));
        QCOMPARE(s.OPCUAServerFile(), QStringLiteral("/opt/tessaro/PROJECTS/Alpha/OPC_UA_Server.xml"));
        QCOMPARE(Configurations::activeFolderName(s), QStringLiteral("Alpha"));
        Configurations::deactivate(s);
        QVERIFY(s.ActiveConfigName.isEmpty());
        QVERIFY(s.ActiveConfigPath.isEmpty());
        QCOMPARE(Configurations::activeFolderName(s), QString());
        // No configuration, no file: nothing may be read or written beside the folders.
        QCOMPARE(s.ParGenFile(), QString());
        QCOMPARE(s.OPCUAServerFile(), QString());
    }
};

QTEST_GUILESS_MAIN(TestConfigurations)
#include "tst_configurations.moc"
