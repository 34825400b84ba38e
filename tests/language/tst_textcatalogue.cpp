// SPDX-License-Identifier: MIT
#include "common/FileError.h"
#include "common/NodeFiles.h"
#include "language/TextCatalogue.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using Changes = QMap<int, QString>;
using Files = QMap<QString, QString>; // language name -> content

namespace {

const QString P = QStringLiteral("\u00b6"); // pilcrow

QByteArray utf8WithBom(const QString& s) {
    return QByteArray("\xEF\xBB\xBF") + s.toUtf8();
}

using TestSupport::writeFile;

// Every entry equals its default, except those named in `changes`.
void compareWithDefaults(const TextCatalogue& c, const Changes& changes) {
    QCOMPARE(c.count(), TextCatalogue::Size);
    for (int i = 0; i < TextCatalogue::Size; ++i) {
        const QString expected = changes.value(i, defaultText(i));
        if (c.Text(i) != expected)
            QFAIL(qPrintable(QStringLiteral("entry %1: \"%2\", expected \"%3\"").arg(i).arg(c.Text(i), expected)));
    }
}

} // namespace

class TestTextCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void catalogueHoldsExactly6400Entries() {
        TextCatalogue c;
        QCOMPARE(c.count(), 0);
        QVERIFY(c.Text(0).isEmpty());
        c.Build_Default_Texts();
        QCOMPARE(c.count(), 6400);
        for (int i = 0; i < TextCatalogue::Size; ++i)
            QCOMPARE(c.Text(i), defaultText(i));
        QVERIFY(c.Text(-1).isEmpty());
        QVERIFY(c.Text(6400).isEmpty());
        // A second build starts again from scratch.
        c.Build_Default_Texts();
        QCOMPARE(c.count(), 6400);
    }

    void defaultTexts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("begin") << 0 << "Begin";
        QTest::newRow("step 5") << 5 << "Step 5";
        QTest::newRow("step 8") << 8 << "Step 8";
        QTest::newRow("trailing blank 9") << 9 << "None Configuration Opened ";
        QTest::newRow("trailing blank 11") << 11 << "Opened Configuration of the Converter : ";
        QTest::newRow("not valid") << 18 << "Error! Project not Valid";
        QTest::newRow("payload message") << 30
                                         << "Error in configuration, Num. Byte not conformed with Max Payload Size";
        QTest::newRow("opc button") << 76 << "OPC UA Access";
        QTest::newRow("typo kept") << 202 << "List of Avaliable Configurations";
        QTest::newRow("trailing blank 304") << 304 << "Selected Language : ";
        QTest::newRow("blanks both ends 306") << 306 << " / ";
        QTest::newRow("blanks both ends 317") << 317 << " to ";
        QTest::newRow("panel caption lora") << 406 << "LoRaWAN";
        QTest::newRow("printf placeholder") << 497 << "Error LoRa!! Payload Size must be between 1 and %d";
        QTest::newRow("update octet lower case") << 1023 << "Insert third byte of IP Address";
        QTest::newRow("paste refused") << 1102 << "Error!!! Copy a valid row before Paste it";
        QTest::newRow("inner quotes")
            << 1242 << "Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section";
        QTest::newRow("trailing blank 1243") << 1243 << "Error row ";
        QTest::newRow("ntp caption") << 2557 << "NTP (Network Time Protocol)";
        QTest::newRow("gateway octet 3") << 2761 << "Insert Third byte of Default Gateway";
        QTest::newRow("gateway error 4") << 2782 << "Error OPC UA Server!! GATEWAY IP 4 must be between 0 and 255";
        QTest::newRow("ethernet caption") << 2906 << "Ethernet Connection";
        QTest::newRow("secondary dns octet 2") << 2922 << "Insert Second byte of Secondary DNS";
        QTest::newRow("secondary dns error 3") << 2931 << "Error Secondary DNS!! DNS 3 must be between 0 and 255";
        QTest::newRow("opc r/w") << 5829 << "R/W";
        QTest::newRow("empty 2592") << 2592 << "";
        QTest::newRow("unused in block 27") << 27 << " ";
        QTest::newRow("unused in block 2763") << 2763 << " ";
        QTest::newRow("gap 86") << 86 << " ";
        QTest::newRow("gap 1256") << 1256 << " ";
        QTest::newRow("last 6399") << 6399 << " ";
    }
    void defaultTexts() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QCOMPARE(defaultText(index), text);
        TextCatalogue c;
        c.Build_Default_Texts();
        QCOMPARE(c.Text(index), text);
    }

    void languageLines_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Changes>("changes");
        QTest::newRow("blank before =") << QStringList{"STR0012 = Info"} << Changes{{12, "Info"}};
        QTest::newRow("no blank before =") << QStringList{"STR0012=Info"} << Changes{{1, "Info"}};
        QTest::newRow("lower-case str") << QStringList{"str0012 = Info"} << Changes{};
        QTest::newRow("heading and no =") << QStringList{"[Deutsch]", "; STR0012 = Info", "STR0012 Info"} << Changes{};
        QTest::newRow("blanks and tabs around line")
            << QStringList{" \t STR0013 = Optionen \t "} << Changes{{13, "Optionen"}};
        QTest::newRow("blanks around number") << QStringList{"STR  13   = Optionen"} << Changes{{13, "Optionen"}};
        QTest::newRow("short index") << QStringList{"STR7 = Schritt 7"} << Changes{{7, "Schritt 7"}};
        QTest::newRow("plus sign") << QStringList{"STR+013 = Optionen"} << Changes{{13, "Optionen"}};
        QTest::newRow("hex prefix") << QStringList{"STR0x0D = Optionen", "STR$0D = Optionen"} << Changes{};
        QTest::newRow("inner blank") << QStringList{"STR00 13 = Optionen"} << Changes{};
        QTest::newRow("= in text") << QStringList{"STR0013 = a = b"} << Changes{{13, "a = b"}};
        QTest::newRow("nothing before =") << QStringList{"STR=x", "STR =x", "STR0 =x"} << Changes{{0, "x"}};
        QTest::newRow("pilcrows keep trailing blank")
            << QStringList{"STR0304 = " + P + "Ausgew\u00e4hlte Sprache : " + P}
            << Changes{{304, "Ausgew\u00e4hlte Sprache : "}};
        QTest::newRow("pilcrows keep both ends")
            << QStringList{"STR0306 = " + P + " von " + P} << Changes{{306, " von "}};
        QTest::newRow("text ends at second pilcrow")
            << QStringList{"STR0013 = Opt" + P + "ionen" + P + "x"} << Changes{{13, "Opt"}};
        QTest::newRow("comment") << QStringList{"STR0305 = Seite /#/ page label, keep the blank"}
                                 << Changes{{305, "Seite"}};
        QTest::newRow("comment after pilcrows")
            << QStringList{"STR0305 = " + P + "Seite " + P + " /#/ note"} << Changes{{305, "Seite "}};
        QTest::newRow("index 6400 and negative")
            << QStringList{"STR6400 = x", "STR-001 = x", "STR-0 = x", "STR99999999999999999999 = x"} << Changes{};
        QTest::newRow("last index") << QStringList{"STR6399 = z"} << Changes{{6399, "z"}};
        QTest::newRow("empty text") << QStringList{"STR0010 = ", "STR0010 =", "STR0010 =   \t"} << Changes{};
        QTest::newRow("only a comment") << QStringList{"STR0010 = /#/ to be translated", "STR0010 = /#/"} << Changes{};
        QTest::newRow("two pilcrows give the empty text") << QStringList{"STR0010 = " + P + P} << Changes{{10, ""}};
        QTest::newRow("second line wins")
            << QStringList{"STR0015 = Neu", "STR0015 = Neue Konfiguration"} << Changes{{15, "Neue Konfiguration"}};
        QTest::newRow("skipped line keeps earlier one")
            << QStringList{"STR0015 = Neu", "STR0015 = "} << Changes{{15, "Neu"}};
    }
    void languageLines() {
        QFETCH(QStringList, lines);
        QFETCH(Changes, changes);
        QTemporaryDir dir;
        const QString path = dir.filePath("Deutsch.lng");
        QVERIFY(writeFile(path, utf8WithBom(lines.join("\r\n") + "\r\n")));
        TextCatalogue c;
        c.Build_Default_Texts();
        c.Read_Language_File(path);
        compareWithDefaults(c, changes);
    }

    void encodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Changes>("changes");
        const QString line =
            QStringLiteral("STR0012 = Caf\u00e9 \u20ac \u0159\r\nSTR0304 = \u00b6S\u00e9lection : \u00b6\r\n");
        const Changes expected{{12, QStringLiteral("Caf\u00e9 \u20ac \u0159")},
                               {304, QStringLiteral("S\u00e9lection : ")}};
        QTest::newRow("utf-8 bom") << utf8WithBom(line) << expected;
        QByteArray le("\xFF\xFE");
        le += QStringEncoder(QStringConverter::Utf16LE).encode(line);
        QTest::newRow("utf-16 le bom") << le << expected;
        QByteArray be("\xFE\xFF");
        be += QStringEncoder(QStringConverter::Utf16BE).encode(line);
        QTest::newRow("utf-16 be bom") << be << expected;
#ifndef Q_OS_WIN
        // Without a byte-order mark the file is Windows-1252, where 0x80 is the euro sign and 0xB6 the pilcrow.
        QTest::newRow("windows-1252") << QByteArray(
                                             "STR0012 = Caf\xE9 \x80 \x9C\r\nSTR0304 = \xB6S\xE9lection : \xB6\r\n")
                                      << Changes{{12, QStringLiteral("Caf\u00e9 \u20ac \u0153")},
                                                 {304, QStringLiteral("S\u00e9lection : ")}};
        QTest::newRow("utf-8 without bom is not utf-8")
            << QByteArray("STR0012 = Caf\xC3\xA9") << Changes{{12, QStringLiteral("Caf\u00c3\u00a9")}};
#endif
    }
    void encodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(Changes, changes);
        QTemporaryDir dir;
        const QString path = dir.filePath("x.lng");
        QVERIFY(writeFile(path, bytes));
        TextCatalogue c;
        c.Build_Default_Texts();
        c.Read_Language_File(path);
        compareWithDefaults(c, changes);
    }

    void lineEnds_data() {
        QTest::addColumn<QString>("separator");
        QTest::newRow("cr lf") << "\r\n";
        QTest::newRow("lf") << "\n";
        QTest::newRow("cr") << "\r";
        QTest::newRow("cr lf with blank lines") << "\r\n\r\n";
    }
    void lineEnds() {
        QFETCH(QString, separator);
        const QString content = QStringList{"STR0012 = A", "STR0013 = B", "STR0014 = C"}.join(separator);
        const Changes expected{{12, "A"}, {13, "B"}, {14, "C"}};
        QTemporaryDir dir;
        const QString path8 = dir.filePath("a.lng");
        const QString path16 = dir.filePath("b.lng");
        QVERIFY(writeFile(path8, utf8WithBom(content)));
        QVERIFY(writeFile(path16, QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(content)));
        for (const QString& path : {path8, path16}) {
            TextCatalogue c;
            c.Build_Default_Texts();
            c.Read_Language_File(path);
            compareWithDefaults(c, expected);
        }
    }

    // Refused whole, at once and with the reason: the catalogue stays as it was.
    void unreadableFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing"
                                 << "No such file or directory";
        QTest::newRow("folder") << "folder"
                                << "it is a folder";
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("endless device") << "zero"
                                        << "not a regular file";
        QTest::newRow("far too large") << "large"
                                       << "larger than";
    }
    void unreadableFile() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("Deutsch.lng");
        bool made = true;
        if (kind == "folder")
            made = QDir().mkdir(path);
        else if (kind == "fifo")
            made = NodeFiles::makeFifo(path);
        else if (kind == "zero")
            made = NodeFiles::makeCharDevice(path, NodeFiles::Zero);
        else if (kind == "large")
            made = NodeFiles::makeSparseFile(path, 64 * 1024 * 1024);
        VERIFY_MADE(made);
        QVERIFY(writeFile(dir.filePath("good.lng"), "STR0012 = Info\r\n"));

        TextCatalogue c;
        c.Build_Default_Texts();
        c.Read_Language_File(dir.filePath("good.lng"));
        try {
            c.Read_Language_File(path);
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().startsWith("Cannot read the file " + path + ": ") && e.message().contains(reason),
                     qPrintable(e.message()));
        }
        compareWithDefaults(c, {{12, "Info"}});

        TextCatalogue empty;
        QVERIFY_THROWS_EXCEPTION(FileError, empty.Read_Language_File(path));
        QCOMPARE(empty.count(), 0);

        // The language chosen by that name: a missing file falls back to English without a word; one
        // that is there but cannot be read says why, after the default texts are in place.
        QString name = "Deutsch";
        TextCatalogue loaded;
        if (kind == "missing") {
            loaded.Load_Language(dir.path(), name);
            QCOMPARE(name, QStringLiteral("English"));
        } else {
            QVERIFY_THROWS_EXCEPTION(FileError, loaded.Load_Language(dir.path(), name));
            QCOMPARE(name, QStringLiteral("Deutsch"));
        }
        compareWithDefaults(loaded, {});
    }

    void fileOverUnbuiltCatalogue() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Deutsch.lng");
        QVERIFY(writeFile(path, "STR6399 = last\r\n"));
        TextCatalogue c;
        c.Read_Language_File(path);
        QCOMPARE(c.count(), 6400);
        QCOMPARE(c.Text(6399), QStringLiteral("last"));
        QCOMPARE(c.Text(18), QStringLiteral(" "));
    }

    void loadLanguage_data() {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expectedLanguage");
        QTest::addColumn<Changes>("changes");
        const QString german = "STR0012 = Information (de)\r\nSTR0013 = Optionen\r\n";
        const QString english = "STR0012 = About\r\n";
        QTest::newRow("language present") << Files{{"Deutsch", german}, {"English", english}} << "Deutsch"
                                          << "Deutsch" << Changes{{12, "Information (de)"}, {13, "Optionen"}};
        QTest::newRow("missing, English.lng overrides entry by entry") << Files{{"English", english}} << "Deutsch"
                                                                       << "English" << Changes{{12, "About"}};
        QTest::newRow("missing, no English.lng") << Files{} << "Deutsch"
                                                 << "English" << Changes{};
        QTest::newRow("English with its file") << Files{{"English", english}} << "English"
                                               << "English" << Changes{{12, "About"}};
        QTest::newRow("empty name") << Files{{"English", english}} << ""
                                    << "English" << Changes{{12, "About"}};
        // A name that is no plain file name is never followed out of the folder, even to a file that is there.
        const Files outside{{"English", english}, {"../outside/evil", german}, {"inner/Deutsch", german}};
        QTest::newRow("climbing out") << outside << "../outside/evil"
                                      << "English" << Changes{{12, "About"}};
        QTest::newRow("into a sub-folder") << outside << "inner/Deutsch"
                                           << "English" << Changes{{12, "About"}};
        QTest::newRow("absolute") << outside << "@DIR@/inner/Deutsch"
                                  << "English" << Changes{{12, "About"}};
    }
    void loadLanguage() {
        QFETCH(Files, files);
        QFETCH(QString, language);
        QFETCH(QString, expectedLanguage);
        QFETCH(Changes, changes);
        QTemporaryDir top;
        // The language folder sits one level down, so that a name can try to climb out of it.
        const QString folder = top.filePath("LANGUAGE");
        QVERIFY(QDir().mkpath(folder));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString path = folder + '/' + it.key() + ".lng";
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(writeFile(path, utf8WithBom(it.value())));
        }
        TextCatalogue c;
        QString name = QString(language).replace("@DIR@", folder);
        c.Load_Language(folder, name);
        QCOMPARE(name, expectedLanguage);
        compareWithDefaults(c, changes);
    }

    void loadLanguageRebuildsWholeCatalogue() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("Deutsch.lng"), "STR0012 = Info\r\nSTR0013 = Optionen\r\n"));
        QVERIFY(writeFile(dir.filePath("Italiano.lng"), "STR0012 = Informazioni\r\n"));
        TextCatalogue c;
        QString name = "Deutsch";
        c.Load_Language(dir.path(), name);
        name = "Italiano";
        c.Load_Language(dir.path(), name);
        compareWithDefaults(c, {{12, "Informazioni"}});
    }

    void languageFileFormat() {
        TextCatalogue c;
        c.Build_Default_Texts();
        const QString file = c.toLanguageFile();
        QVERIFY(file.startsWith("STR0000 = Begin\r\n"));
        QVERIFY(file.contains("\r\nSTR0018 = Error! Project not Valid\r\n"));
        QVERIFY(file.contains("\r\nSTR0009 = " + P + "None Configuration Opened " + P + "\r\n"));
        QVERIFY(file.contains("\r\nSTR0306 = " + P + " / " + P + "\r\n"));
        QVERIFY(file.contains("\r\nSTR2592 = " + P + P + "\r\n"));
        QVERIFY(!file.contains("STR0027")); // a single blank is not written
        QVERIFY(!file.contains("STR6399"));
        QVERIFY(file.contains("\r\nSTR5829 = R/W\r\n"));
        QVERIFY(file.endsWith("\r\n"));
    }

    void roundTrip_data() {
        QTest::addColumn<QStringList>("lines"); // laid over the defaults before writing
        QTest::newRow("defaults") << QStringList{};
        QTest::newRow("translated") << QStringList{
            "STR0012 = Informa\u00e7\u00e3o",      "STR0013 = " + P + "  two leading" + P,
            "STR0014 = " + P + "tab at end\t" + P, "STR0015 = a = b",
            "STR0027 = " + P + " " + P + "x",      "STR0028 = " + P + P,
            "STR6399 = \u65e5\u672c\u8a9e"};
    }
    void roundTrip() {
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        TextCatalogue source;
        source.Build_Default_Texts();
        if (!lines.isEmpty()) {
            QVERIFY(writeFile(dir.filePath("in.lng"), utf8WithBom(lines.join("\n"))));
            source.Read_Language_File(dir.filePath("in.lng"));
        }
        QVERIFY(writeFile(dir.filePath("out.lng"), utf8WithBom(source.toLanguageFile())));
        TextCatalogue blanks;
        blanks.fillWithBlanks();
        blanks.Read_Language_File(dir.filePath("out.lng"));
        // Every entry comes back, the single blanks because the base is all blanks.
        for (int i = 0; i < TextCatalogue::Size; ++i)
            QCOMPARE(blanks.Text(i), source.Text(i));
    }
};

QTEST_GUILESS_MAIN(TestTextCatalogue)
#include "tst_textcatalogue.moc"
