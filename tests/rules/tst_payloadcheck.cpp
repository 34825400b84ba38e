// SPDX-License-Identifier: MIT
#include "common/FileError.h"
#include "rules/PayloadCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray NoFile = "(none)";

QByteArray parGen(const QByteArray& payload) {
    return "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_Payload_Size>" + payload +
           "</LoRa_Payload_Size></Par_Gen><!--SW_VERSION = 1.001-->";
}

QByteArray rules(const QByteArray& uplink, const QByteArray& downlink = "") {
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + uplink + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" + downlink +
           "</LoRaWAN_Downlink></LoRaWAN_Set_Access>";
}

QByteArray row(const QByteArray& attributes) {
    return "<row " + attributes + " StartByte=\"0\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"30\"/>";
}

} // namespace

class TestPayloadCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString put(const QString& name, const QByteArray& content) {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        if (content != NoFile) {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
                qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }

private Q_SLOTS:
    void check_data() {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<QList<int>>("failing"); // rows, counted from 1

        const QByteArray ok = row("Enable=\"Y\" NumByte=\"0\"");
        QTest::newRow("no rule file") << NoFile << NoFile << QList<int>{};
        QTest::newRow("no ParGen.xml: payload 0") << NoFile << rules(ok) << QList<int>{1};
        QTest::newRow("payload 0") << parGen("0") << rules(ok) << QList<int>{1};
        QTest::newRow("payload 1") << parGen("1") << rules(ok) << QList<int>{1};
        QTest::newRow("payload 2, 0 bytes") << parGen("2") << rules(ok) << QList<int>{};
        QTest::newRow("payload 2, 1 byte") << parGen("2") << rules(row("Enable=\"Y\" NumByte=\"1\"")) << QList<int>{1};
        QTest::newRow("payload 51, 49 bytes")
            << parGen("51") << rules(row("Enable=\"Y\" NumByte=\"49\"")) << QList<int>{};
        QTest::newRow("payload 51, 50 bytes")
            << parGen("51") << rules(row("Enable=\"Y\" NumByte=\"50\"")) << QList<int>{1};
        QTest::newRow("payload not a number") << parGen("51 ") << rules(ok) << QList<int>{1};
        QTest::newRow("payload under a declaration")
            << "<?xml version=\"1.0\"?>" + parGen("51") << rules(ok) << QList<int>{1};
        QTest::newRow("enabled rule without NumByte") << parGen("51") << rules(row("Enable=\"Y\"")) << QList<int>{1};
        QTest::newRow("NumByte not a number")
            << parGen("51") << rules(row("Enable=\"Y\" NumByte=\"4 \"")) << QList<int>{1};
        QTest::newRow("NumByte negative") << parGen("51") << rules(row("Enable=\"Y\" NumByte=\"-1\"")) << QList<int>{1};
        QTest::newRow("disabled rule is not checked")
            << parGen("51") << rules(row("Enable=\"N\" NumByte=\"500\"")) << QList<int>{};
        QTest::newRow("empty Enable is disabled")
            << parGen("51") << rules(row("Enable=\"\" NumByte=\"500\"")) << QList<int>{};
        // The rows the image builder sends are the rows that are checked.
        QTest::newRow("\" Y\" is checked")
            << parGen("51") << rules(row("Enable=\" Y\" NumByte=\"500\"")) << QList<int>{1};
        QTest::newRow("\"y\" is checked")
            << parGen("51") << rules(row("Enable=\"y\" NumByte=\"500\"")) << QList<int>{1};
        QTest::newRow("no Enable is checked") << parGen("51") << rules(row("NumByte=\"500\"")) << QList<int>{1};
        QTest::newRow("every failing row")
            << parGen("51")
            << rules(ok + row("Enable=\"Y\" NumByte=\"60\"") + "<!-- not a row -->" +
                     row("Enable=\"N\" NumByte=\"60\"") + "<rule Enable=\"Y\" NumByte=\"61\"/>")
            << QList<int>{2, 4};
        QTest::newRow("downlink rules are not checked")
            << parGen("51") << rules(ok, row("Enable=\"Y\" NumByte=\"500\"")) << QList<int>{};
    }
    void check() {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, rules);
        QFETCH(QList<int>, failing);
        const QString p = put("ParGen.xml", parGen);
        const QString r = put("LoRaWAN_SetAccess.xml", rules);
        QList<int> rows;
        for (const PayloadCheck::Failure& f : PayloadCheck::failingRules(p, r))
            rows << f.row;
        QCOMPARE(rows, failing);
        QCOMPARE(Check_Config_LoraWAN(p, r), failing.isEmpty());
    }

    // A file that cannot be read is not reported as an oversized rule: it is an error of its own.
    void brokenFiles_data() {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<QString>("message");
        QTest::newRow("rules not well-formed") << parGen("51") << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink>")
                                               << "LoRaWAN_SetAccess.xml is not valid XML";
        QTest::newRow("rules without uplink")
            << parGen("51") << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            << "LoRaWAN_SetAccess.xml has no element LoRaWAN_Uplink";
        QTest::newRow("rules after a comment")
            << parGen("51") << "<!-- x -->" + rules("") << "LoRaWAN_SetAccess.xml has no element LoRaWAN_Uplink";
        QTest::newRow("ParGen not well-formed")
            << QByteArray("<Par_Gen>") << rules("") << "ParGen.xml is not valid XML";
    }
    void brokenFiles() {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, rules);
        QFETCH(QString, message);
        const QString p = put("ParGen.xml", parGen);
        const QString r = put("LoRaWAN_SetAccess.xml", rules);
        try {
            Check_Config_LoraWAN(p, r);
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestPayloadCheck)
#include "tst_payloadcheck.moc"
