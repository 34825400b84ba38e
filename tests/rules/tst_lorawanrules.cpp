// SPDX-License-Identifier: MIT
#include "RulesTestUtil.h"
#include "common/FileError.h"
#include "language/TextCatalogue.h"
#include "rules/LoRaWANSetAccess.h"
#include "rules/RuleTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace LoRaWAN;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// Rules written as "Enable|StartByte|...": the data columns in order.
QList<Rule> rules(const QStringList& rows) {
    QList<Rule> out;
    for (const QString& r : rows)
        out.append(r.split(QLatin1Char('|')));
    return out;
}

const QString kGolden = QStringLiteral(TESSARO_FIXTURES "/rules/lorawan_small.xml");

RuleLists goldenRules() {
    return {rules({"Y|0|10|Y|N|Y|60|2|Tank level", "N| 12 |4|N|Y|N|||a<b & \"c\""}), rules({"Y|100|2|5|Setpoint"})};
}

} // namespace

class TestLoRaWANRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_texts.Build_Default_Texts(); }

    void writesGoldenBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("LoRaWAN_SetAccess.xml");
        saveRules(path, goldenRules());
        QCOMPARE(readAll(path), readAll(kGolden));
        saveRules(path, goldenRules());
        QCOMPARE(readAll(path), readAll(kGolden));
        QCOMPARE(parseRules(readAll(kGolden), kGolden).uplink, goldenRules().uplink);
        QCOMPARE(parseRules(readAll(kGolden), kGolden).downlink, goldenRules().downlink);
    }

    void valuesRoundTrip() {
        const RuleLists in{rules({"Y|\t5 |7|N|N|N||  |line\nbreak \"&' <>", "Y|1|2|N|N|N|||\u00e8\U0001F600"}), {}};
        const RuleLists out = parseRules(toXml(in), "mem");
        QCOMPARE(out.uplink, in.uplink);
        QCOMPARE(out.downlink, QList<Rule>());
    }

    void read_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");

        QTest::newRow("missing attributes take their defaults")
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row/><row StartByte=\"3\" OnCMD=\"Y\"/>"
                          "</LoRaWAN_Uplink><LoRaWAN_Downlink><row Enable=\"N\"/></LoRaWAN_Downlink>"
                          "</LoRaWAN_Set_Access>")
            << QStringList{"Y|||N|N|N|||", "Y|3||N|Y|N|||"} << QStringList{"N||||"};
        QTest::newRow("a comment in a list is not a rule")
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row StartByte=\"1\"/><!-- spare -->"
                          "<row StartByte=\"2\"/></LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            << QStringList{"Y|1||N|N|N|||", "Y|2||N|N|N|||"} << QStringList();
        QTest::newRow("any element is a rule, whatever its name")
            << QByteArray("<X><LoRaWAN_Uplink><rule StartByte=\"9\"/></LoRaWAN_Uplink></X>")
            << QStringList{"Y|9||N|N|N|||"} << QStringList();
        QTest::newRow("missing lists read as empty")
            << QByteArray("<LoRaWAN_Set_Access/><!--SW_VERSION = 1.001-->") << QStringList() << QStringList();
        QTest::newRow("only the first node is the root")
            << QByteArray("<!--x--><LoRaWAN_Set_Access><LoRaWAN_Uplink><row/></LoRaWAN_Uplink></LoRaWAN_Set_Access>")
            << QStringList() << QStringList();
        QTest::newRow("values are kept untrimmed")
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Downlink><row Enable=\" Y\" StartByte=\" 1 \" "
                          "Mnemonic=\"  \"/></LoRaWAN_Downlink></LoRaWAN_Set_Access>")
            << QStringList() << QStringList{" Y| 1 |||  "};
    }

    void read() {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        const RuleLists got = parseRules(xml, "LoRaWAN_SetAccess.xml");
        QCOMPARE(got.uplink, rules(uplink));
        QCOMPARE(got.downlink, rules(downlink));
    }

    void brokenFileNamesItself() {
        QTemporaryDir dir;
        const QString path = dir.filePath("LoRaWAN_SetAccess.xml");
        QVERIFY(writeAll(path, "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"));
        try {
            loadRules(path);
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        }
        QVERIFY(!loadRules(dir.filePath("none.xml")));
    }

    void settings_data() {
        QTest::addColumn<QByteArray>("pargen"); // empty: no file
        QTest::addColumn<int>("payload");
        QTest::addColumn<bool>("fixed");

        const auto file = [](const char* payload, const char* port) {
            QByteArray x = "<Par_Gen>";
            if (payload)
                x += QByteArray("<LoRa_Payload_Size>") + payload + "</LoRa_Payload_Size>";
            if (port)
                x += QByteArray("<LoRa_FPort>") + port + "</LoRa_FPort>";
            return x + "</Par_Gen><!--SW_VERSION = 1.001-->";
        };
        QTest::newRow("no file") << QByteArray() << 0 << true;
        QTest::newRow("Variable") << file("51", "Variable") << 51 << false;
        QTest::newRow(" variable ") << file("51", " variable ") << 51 << false;
        QTest::newRow("Fixed") << file("242", "Fixed") << 242 << true;
        QTest::newRow("another value") << file("242", "Variable2") << 242 << true;
        QTest::newRow("no elements") << file(nullptr, nullptr) << 0 << true;
        QTest::newRow("payload not a number") << file("5x", "Variable") << 0 << false;
        QTest::newRow("payload with blanks") << file(" 51", "Fixed") << 0 << true;
        QTest::newRow("payload beyond int") << file("99999999999", "Fixed") << 0 << true;
    }

    void settings() {
        QFETCH(QByteArray, pargen);
        QFETCH(int, payload);
        QFETCH(bool, fixed);
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        if (!pargen.isEmpty())
            QVERIFY(writeAll(path, pargen));
        const Settings s = readSettings(path);
        QCOMPARE(s.MaxPayloadSize, payload);
        QCOMPARE(s.FPortFixed, fixed);
    }

    void check_data() {
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");
        QTest::addColumn<int>("payload");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("first"); // empty: passes
        QTest::addColumn<int>("count");     // failing rules in all

        const QString up = "Error row %1!! [LoraWAN Uplink] ";
        const QString down = "Error row %1!! [LoraWAN Downlink] ";
        QTest::newRow("payload 51, 49 bytes pass")
            << QStringList{"Y|0|49|N|N|N|||"} << QStringList() << 51 << true << "" << 0;
        QTest::newRow("payload 51, 50 bytes fail") << QStringList{"Y|0|50|N|N|N|||"} << QStringList() << 51 << true
                                                   << up.arg(1) + "Number Byte must be between 0 and 49" << 1;
        QTest::newRow("no payload size: bound -2") << QStringList{"Y|0|0|N|N|N|||"} << QStringList() << 0 << true
                                                   << up.arg(1) + "Number Byte must be between 0 and -2" << 1;
        QTest::newRow("start byte 1536 passes, 1537 fails")
            << QStringList{"Y|1536|1|N|N|N|||", "Y|1537|1|N|N|N|||"} << QStringList() << 51 << true
            << up.arg(2) + "Start Byte must be between 0 and 1536" << 1;
        QTest::newRow("start byte not a number") << QStringList{"Y|1 |1|N|N|N|||"} << QStringList() << 51 << true
                                                 << up.arg(1) + "Start Byte must be between 0 and 1536" << 1;
        QTest::newRow("time 29 with On Timer") << QStringList{"Y|0|1|N|N|Y|29||"} << QStringList() << 51 << true
                                               << up.arg(1) + "Time (s) must be between 30 and 86400" << 1;
        QTest::newRow("time 86400 with On Timer")
            << QStringList{"Y|0|1|N|N|Y|86400||"} << QStringList() << 51 << true << "" << 0;
        QTest::newRow("time ignored without On Timer")
            << QStringList{"Y|0|1|Y|Y| N|29||"} << QStringList() << 51 << true << "" << 0;
        QTest::newRow("a disabled rule is not checked")
            << QStringList{"N|5000|900|N|N|Y|1|0|"} << QStringList() << 51 << true << "" << 0;
        QTest::newRow("Enable is trimmed, not folded")
            << QStringList{" Y |5000|1|N|N|N|||", "y|5000|1|N|N|N|||"} << QStringList() << 51 << true
            << up.arg(1) + "Start Byte must be between 0 and 1536" << 1;
        QTest::newRow("the table ends at the first blank Start Byte")
            << QStringList{"Y|0|1|N|N|N|||", "Y| |1|N|N|N|||", "Y|5000|1|N|N|N|||"} << QStringList{"Y|7000|1||"} << 51
            << true << down.arg(1) + "Start Byte must be between 0 and 1536" << 1;
        QTest::newRow("FPort checked when shown") << QStringList{"Y|0|1|N|N|N||0|"} << QStringList() << 51 << false
                                                  << up.arg(1) + "FPort must be between 1 and 223" << 1;
        QTest::newRow("FPort 1 and 223 pass") << QStringList{"Y|0|1|N|N|N||1|", "Y|0|1|N|N|N||223|"}
                                              << QStringList{"Y|0|1|223|"} << 51 << false << "" << 0;
        QTest::newRow("FPort hidden: not checked")
            << QStringList{"Y|0|1|N|N|N||999|"} << QStringList{"Y|0|1|x|"} << 51 << true << "" << 0;
        QTest::newRow("downlink rules and their texts")
            << QStringList() << QStringList{"Y|0|1|5|", "Y|0|60|5|", "Y|0|1|224|"} << 51 << false
            << down.arg(2) + "Number Byte must be between 0 and 49" << 2;
        QTest::newRow("uplink first, every failing rule counted")
            << QStringList{"Y|0|1|N|N|N|||", "Y|-1|99|N|N|Y|0||"} << QStringList{"Y|0|99||"} << 51 << true
            << up.arg(2) + "Start Byte must be between 0 and 1536" << 2;
    }

    void check() {
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(int, payload);
        QFETCH(bool, fixed);
        QFETCH(QString, first);
        QFETCH(int, count);
        const RuleLists lists{rules(uplink), rules(downlink)};
        const Settings settings{payload, fixed};
        QCOMPARE(Controllo_dati(lists, settings, m_texts).value_or(QString()), first);
        const QList<Failure> all = failures(lists, settings);
        QCOMPARE(all.size(), count);
        if (count > 0)
            QCOMPARE(message(all.first(), m_texts), first);
    }

    void tableGlue() {
        RuleTable table;
        table.setShape(5, UplinkColumns);
        QCOMPARE(fillTable(table, rules({"N|1|2|N|N|N|||a", "Y||2|N|N|N|||b", "Y|3|2|N|N|N|||c", "Y|4|2|N|N|N|||d",
                                         "Y|5|2|N|N|N|||e", "Y|6|2|N|N|N|||f"})),
                 2);
        QCOMPARE(table.cellText(4, 0), "3");
        QCOMPARE(table.cellText(4, Up_Mnemonic), "d");
        // The rules end before the blank Start Byte of row 2.
        QCOMPARE(tableRules(table, Direction::Uplink), rules({"N|1|2|N|N|N|||a"}));

        fillTable(table, rules({"N|1|2|N|N|N|||a"}));
        QCOMPARE(RulesTest::dump(table), (QStringList{"N|1|2|N|N|N|||a", "Y||||||||", "Y||||||||", "Y||||||||"}));
    }

    void notShown() {
        QCOMPARE(notShownWarning(0, 0, 223, m_texts), QString());
        QCOMPARE(notShownWarning(33, 1, 223, m_texts),
                 "Warning!! 33 rules of the LoRaWAN Uplink list are not shown: the table holds 223 rules. They will "
                 "be dropped if you press OK.\nWarning!! 1 rules of the LoRaWAN Downlink list are not shown: the "
                 "table holds 223 rules. They will be dropped if you press OK.");
    }

    void checkFilesOfAConfiguration() {
        QTemporaryDir dir;
        const QString pargen = dir.filePath("ParGen.xml");
        const QString rulesFile = dir.filePath("LoRaWAN_SetAccess.xml");
        QCOMPARE(checkFiles(pargen, rulesFile, m_texts), QStringList());
        saveRules(rulesFile, {rules({"Y|0|1|N|N|N|||", "Y|0|50|N|N|N|||"}), rules({"Y|2000|1||"})});
        QVERIFY(writeAll(pargen, "<Par_Gen><LoRa_Payload_Size>51</LoRa_Payload_Size></Par_Gen>"));
        QCOMPARE(checkFiles(pargen, rulesFile, m_texts),
                 (QStringList{"Error row 2!! [LoraWAN Uplink] Number Byte must be between 0 and 49",
                              "Error row 1!! [LoraWAN Downlink] Start Byte must be between 0 and 1536"}));
    }

private:
    TextCatalogue m_texts;
};

QTEST_GUILESS_MAIN(TestLoRaWANRules)
#include "tst_lorawanrules.moc"
