// SPDX-License-Identifier: MIT
#include "common/NodeFiles.h"
#include "language/TextCatalogue.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the good configuration in `dir`/cfg: consistent files as the editors write them, with
// an overlap, a run beyond the last byte and a repeated variable name (warnings, not errors).
QString goodConfiguration(const QTemporaryDir& dir) {
    const QString to = dir.filePath("cfg");
    QDir().mkpath(to);
    const QDir from(QStringLiteral(TESSARO_FIXTURES "/cli/good"));
    for (const QString& file : from.entryList(QDir::Files))
        QFile::copy(from.filePath(file), QDir(to).filePath(file));
    return to;
}

const QString Text30 = QStringLiteral("Error in configuration, Num. Byte not conformed with Max Payload Size");

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
        QTest::newRow("build") << QStringList{"build", "--help"}
                               << "Usage: tessaro-cli build [--out DIR] CONFIG_FOLDER";
        QTest::newRow("check") << QStringList{"check", "-h"} << "Usage: tessaro-cli check CONFIG_FOLDER";
        QTest::newRow("dump") << QStringList{"dump", "--help"}
                              << "Usage: tessaro-cli dump [--json] CONFIG_FOLDER | BANK1 BANK2";
    }

    // A good configuration: built, checked, and read back from its images with every value typed.
    void buildCheckDump() {
        QTemporaryDir dir;
        const QString cfg = goodConfiguration(dir);

        Run r = runCli({"build", cfg});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("%1  2048 bytes\n%2  8303 bytes\n")
                                               .arg(QDir::toNativeSeparators(cfg + "/bin/bank1.bin"),
                                                    QDir::toNativeSeparators(cfg + "/bin/bank2.bin")));

        r = runCli({"check", cfg});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QString::fromUtf8(r.out),
                 "warning: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row 1: the rule's run (bytes 0 to 9) overlaps the "
                 "run of row 2 (bytes 8 to 11)\n"
                 "warning: LoRaWAN_SetAccess.xml, LoRaWAN_Downlink row 1: the rule's run (bytes 1530 to 1541) ends "
                 "beyond byte 1536\n"
                 "warning: OPC_UA_Server.xml, OPC_UA_Server_Variables row 3: the name \"Temperature\" is also the "
                 "name of row 1\n"
                 "0 error(s), 3 warning(s)\n");

        r = runCli({"dump", cfg});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QString text = QString::fromUtf8(r.out);
        for (const char* line :
             {"  Device_Name              = \"KV210-Halle-3\"\n", "  IP_Address               = 192.168.0.77\n",
              "  Region                   = 5 (EU868)\n", "  NTP                      = \"pool.ntp.org\"\n"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);

        r = runCli({"dump", "--json", cfg + "/bin/bank1.bin", cfg + "/bin/bank2.bin"});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject bank1 = json["bank1"].toObject();
        QCOMPARE(bank1["Device_Name"].toString(), "KV210-Halle-3");
        QCOMPARE(bank1["IP_Address"].toString(), "192.168.0.77");
        QCOMPARE(bank1["Gateway"].toString(), "255.255.255.255");
        QCOMPARE(bank1["Secondary_DNS"].toString(), "0.0.0.0");
        const QJsonObject lora = json["bank2"]["lorawan"].toObject();
        QCOMPARE(lora["Region"].toInt(), 5);
        QCOMPARE(lora["Device_Address"].toString(), "260B1234");
        QCOMPARE(lora["Network_Session_Key"].toString(), "000102030405060708090A0B0C0D0E0F");
        QCOMPARE(lora["Max_Payload_Size"].toInt(), 51);
        QCOMPARE(lora["Port_Field_Flag"].toInt(), 1);
        const QJsonArray uplink = lora["uplink"].toArray();
        QCOMPARE(uplink.size(), 2);
        QCOMPARE(uplink[0].toObject(),
                 QJsonObject({{"StartByte", 0}, {"NumByte", 10}, {"Trigger_Flags", 5}, {"FPort", 5}, {"Time", 600}}));
        QCOMPARE(uplink[1]["FPort"].toInt(), 6);
        QCOMPARE(lora["downlink"][0]["StartByte"].toInt(), 1530);
        const QJsonObject opc = json["bank2"]["opcua"].toObject();
        QCOMPARE(opc["NTP"].toString(), "pool.ntp.org");
        QCOMPARE(opc["NTP_Time"].toInt(), 3600);
        QCOMPARE(opc["Port"].toInt(), 4840);
        const QJsonArray variables = opc["variables"].toArray();
        QCOMPARE(variables.size(), 3);
        QCOMPARE(variables[1]["Type"].toString(), "UInt16");
        QCOMPARE(variables[1]["Name"].toString(), "Setpoint");
        QCOMPARE(variables[1]["Options"].toInt(), 1);
        QCOMPARE(variables[2]["Name"].toString(), "Temperature");
        QCOMPARE(json["problems"].toArray().size(), 0);

        // --out writes the same images elsewhere, creating the folder.
        r = runCli({"build", "--out", dir.filePath("elsewhere"), cfg});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(readFile(dir.filePath("elsewhere/bank1.bin")), readFile(cfg + "/bin/bank1.bin"));
        QCOMPARE(readFile(dir.filePath("elsewhere/bank2.bin")), readFile(cfg + "/bin/bank2.bin"));
    }

    // What goes wrong: the exit status, the stream the message goes to, and that nothing is written.
    void commandFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file"); // replaced in the good configuration before the run
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("edits"); // file, text, its replacement; ...
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        const QByteArray tooLong =
            "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"49\"/>"
            "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"50\"/></LoRaWAN_Uplink>"
            "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>";
        const QByteArray broken = "<OPC_UA_Server><OPC_UA_Server_Variables>";
        QTest::newRow("build: payload check fails")
            << QStringList{"build", "@CFG@"} << "LoRaWAN_SetAccess.xml" << tooLong << QStringList() << 1 << ""
            << "tessaro-cli build: " + Text30 + "\ntessaro-cli build: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row(s) 2;";
        QTest::newRow("check: payload check fails")
            << QStringList{"check", "@CFG@"} << "LoRaWAN_SetAccess.xml" << tooLong << QStringList() << 1
            << "error: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row 2: " + Text30 +
                   " (Num. Byte 50; Max Payload Size 51 allows 0 to 49)\n"
            << "";
        QTest::newRow("build: broken file")
            << QStringList{"build", "@CFG@"} << "OPC_UA_Server.xml" << broken << QStringList() << 1 << ""
            << "OPC_UA_Server.xml is not valid XML";
        QTest::newRow("check: broken file") << QStringList{"check", "@CFG@"} << "OPC_UA_Server.xml" << broken
                                            << QStringList() << 1 << "OPC_UA_Server.xml is not valid XML"
                                            << "";
        QTest::newRow("check: communication parameters")
            << QStringList{"check", "@CFG@"} << "ParGen.xml"
            << QByteArray("<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_LNCHECK>61</LoRa_LNCHECK>"
                          "<NTP_Poll_Time>1</NTP_Poll_Time><OPC_UA_Server_IP4>256</OPC_UA_Server_IP4></Par_Gen>")
            << QStringList() << 1
            << "error: ParGen.xml: Error LoRa!! LNCHECK must be between 5 and 60 minutes\n"
               "error: ParGen.xml: Error OPC UA Server!! IP Address 4 must be between 0 and 255\n"
            << "";
        // Time 29 on a timer rule and position 2000: each editor's data check fails on row 2.
        QTest::newRow("check: rules and variables")
            << QStringList{"check", "@CFG@"} << "" << QByteArray()
            << QStringList{"LoRaWAN_SetAccess.xml",
                           "OnTimer=\"N\" Time=\"30\" FPort=\"6\"",
                           "OnTimer=\"Y\" Time=\"29\" FPort=\"6\"",
                           "OPC_UA_Server.xml",
                           "Position=\"4\" Length=\"2\"",
                           "Position=\"2000\" Length=\"2\""}
            << 1
            << "error: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row 2: Error row 2!! [LoraWAN Uplink] Time (s) must be "
               "between 30 and 86400\n"
               "error: OPC_UA_Server.xml, OPC_UA_Server_Variables row 2: Error row 2!! Position Must be Between 0 "
               "and 2000\n"
            << "";
        QTest::newRow("build: no such folder")
            << QStringList{"build", "@DIR@/none"} << "" << QByteArray() << QStringList() << 1 << ""
            << "the configuration folder \"@DIR@/none\" does not exist";
        QTest::newRow("dump: no images") << QStringList{"dump", "@CFG@"} << "" << QByteArray() << QStringList() << 1
                                         << ""
                                         << "bank1.bin: No such file or directory";
        QTest::newRow("dump: a folder for an image")
            << QStringList{"dump", "@CFG@", "@CFG@"} << "" << QByteArray() << QStringList() << 1 << ""
            << "it is a folder";
        QTest::newRow("build: no folder given")
            << QStringList{"build"} << "" << QByteArray() << QStringList() << 2 << ""
            << "tessaro-cli build: missing argument";
        QTest::newRow("check: two folders")
            << QStringList{"check", "a", "b"} << "" << QByteArray() << QStringList() << 2 << ""
            << "tessaro-cli check: unexpected argument \"b\"";
        QTest::newRow("dump: three files")
            << QStringList{"dump", "a", "b", "c"} << "" << QByteArray() << QStringList() << 2 << ""
            << "unexpected argument \"c\"";
        QTest::newRow("build: --out without a folder")
            << QStringList{"build", "--out"} << "" << QByteArray() << QStringList() << 2 << ""
            << "Missing value after '--out'";
    }
    void commandFailures() {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, edits);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString cfg = goodConfiguration(dir);
        if (!file.isEmpty())
            QVERIFY(writeFile(cfg + "/" + file, content));
        for (qsizetype i = 0; i + 2 < edits.size(); i += 3) {
            QByteArray bytes = readFile(cfg + "/" + edits[i]);
            QVERIFY2(bytes.contains(edits[i + 1].toUtf8()), qPrintable(edits[i + 1]));
            QVERIFY(writeFile(cfg + "/" + edits[i], bytes.replace(edits[i + 1].toUtf8(), edits[i + 2].toUtf8())));
        }
        args.replaceInStrings("@CFG@", cfg).replaceInStrings("@DIR@", dir.path());
        err.replace("@DIR@", dir.path());

        const Run r = runCli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.out).contains(out), r.out.constData());
        QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.contains(err), qPrintable(r.err));
        QVERIFY2(!QFileInfo::exists(cfg + "/bin"), "an image was written");
    }

    // An image that does not hold together: one line per inconsistency on stderr, and exit 1.
    void dumpReportsInconsistency() {
        QTemporaryDir dir;
        const QString cfg = goodConfiguration(dir);
        QCOMPARE(runCli({"build", cfg}).exitCode, 0);
        QByteArray bank1 = readFile(cfg + "/bin/bank1.bin");
        bank1[0x100] = 1; // a byte outside every field: the checksum no longer matches either
        QVERIFY(writeFile(cfg + "/bin/bank1.bin", bank1));

        const Run r = runCli({"dump", "--json", cfg});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err,
                 "tessaro-cli dump: bank1.bin: the checksum at 0x7FC is 4627, but bytes 0 to 0x7FB add up to 4628\n"
                 "tessaro-cli dump: bank1.bin: 1 byte(s) outside the fields are not zero, the first at offset 0x100\n");
        QCOMPARE(QJsonDocument::fromJson(r.out)["problems"].toArray().size(), 2);
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
            made = NodeFiles::makeCharDevice(out, NodeFiles::Null);
        else if (kind == "full")
            made = NodeFiles::makeCharDevice(out, NodeFiles::Full);
        else if (kind == "fifo")
            made = NodeFiles::makeFifo(out);
        else if (kind == "link")
            made = writeFile(aside, "old") && NodeFiles::makeLink(aside, out);
        else if (kind == "dir")
            made = QDir().mkdir(out);
        else if (kind == "block")
            made = NodeFiles::makeBlockDevice(out);
        VERIFY_MADE(made);
        const QString kindBefore = NodeFiles::kindOf(out);

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
        QCOMPARE(NodeFiles::kindOf(out), kindBefore);
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
            QCOMPARE(NodeFiles::contents(aside), expected);
    }

    // A full disk, a full device as the standard output: the message says so and the old file stays whole.
    void fullOutputs() {
        QTemporaryDir dir;
        const QString full = dir.filePath("full");
        VERIFY_MADE(NodeFiles::makeCharDevice(full, NodeFiles::Full));
        QProcess p;
        p.setStandardOutputFile(full);
        p.start(QStringLiteral(TESSARO_CLI), {"texts"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(),
                 "tessaro-cli texts: Cannot write the standard output: No space left on device");
        QCOMPARE(NodeFiles::kindOf(full), QStringLiteral("char"));

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
            made = NodeFiles::makeFifo(path);
        else if (kind == "zero")
            made = NodeFiles::makeCharDevice(path, NodeFiles::Zero);
        else if (kind == "large")
            made = NodeFiles::makeSparseFile(path, 1 << 30);
        VERIFY_MADE(made);
        const Run r = runCli({"texts", "--language-file", path});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.trimmed(), "tessaro-cli texts: Cannot read the file " + path + ": " + reason);
        QVERIFY(r.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
