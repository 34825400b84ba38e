// SPDX-License-Identifier: MIT
#include "params/LoRaRadio.h"

#include <QTest>

using namespace LoRaRadio;

class TestLoRaRadio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void regionsInOrder() {
        const QStringList expected{"AS923", "AU915", "EU868", "KR920", "IN865", "US915", "US915-Hybrid"};
        QCOMPARE(regions(), expected);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(regionPosition(expected[i]), i);
        QCOMPARE(regionPosition("eu868"), -1);
        QCOMPARE(regionPosition(""), -1);
    }

    void listSizes() {
        const QList<int> sizes{8, 13, 8, 6, 7, 11, 11};
        for (int i = 0; i < regions().size(); ++i)
            QCOMPARE(dataRateItems(regions()[i]).size(), sizes[i]);
        QVERIFY(dataRateItems("").isEmpty());
        QVERIFY(dataRateItems("us915").isEmpty());
    }

    // Every item of every list, in list order, with its payload limit.
    void payloadTable_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("dr");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("limit");
        QTest::newRow("AS923 DR0") << "AS923" << 0 << 0 << "0\t- LoRa: SF12/125kHz 250 [bit/s]" << 59;
        QTest::newRow("AS923 DR1") << "AS923" << 1 << 1 << "1\t- LoRa: SF11/125kHz 440 [bit/s]" << 59;
        QTest::newRow("AS923 DR2") << "AS923" << 2 << 2 << "2\t- LoRa: SF10/125kHz 980 [bit/s]" << 59;
        QTest::newRow("AS923 DR3") << "AS923" << 3 << 3 << "3\t- LoRa: SF9/125kHz 1760 [bit/s]" << 123;
        QTest::newRow("AS923 DR4") << "AS923" << 4 << 4 << "4\t- LoRa: SF8/125kHz 3125 [bit/s]" << 230;
        QTest::newRow("AS923 DR5") << "AS923" << 5 << 5 << "5\t- LoRa: SF7/125kHz 5470 [bit/s]" << 230;
        QTest::newRow("AS923 DR6") << "AS923" << 6 << 6 << "6\t- LoRa: SF7/250kHz 11000 [bit/s]" << 230;
        QTest::newRow("AS923 DR7") << "AS923" << 7 << 7 << "7\t- FSK: 50kbps 50000 [bit/s]" << 230;
        QTest::newRow("AU915 DR0") << "AU915" << 0 << 0 << "0  - LoRa: SF12/125kHz 250 [bit/s]" << 51;
        QTest::newRow("AU915 DR1") << "AU915" << 1 << 1 << "1  - LoRa: SF11/125kHz 440 [bit/s]" << 51;
        QTest::newRow("AU915 DR2") << "AU915" << 2 << 2 << "2  - LoRa: SF10/125kHz 980 [bit/s]" << 51;
        QTest::newRow("AU915 DR3") << "AU915" << 3 << 3 << "3  - LoRa: SF9/125kHz 1760 [bit/s]" << 115;
        QTest::newRow("AU915 DR4") << "AU915" << 4 << 4 << "4  - LoRa: SF8/125kHz 3125 [bit/s]" << 222;
        QTest::newRow("AU915 DR5") << "AU915" << 5 << 5 << "5  - LoRa: SF7/125kHz 5470 [bit/s]" << 222;
        QTest::newRow("AU915 DR6") << "AU915" << 6 << 6 << "6  - LoRa: SF8/500kHz 12500 [bit/s]" << 222;
        QTest::newRow("AU915 DR8") << "AU915" << 7 << 8 << "8  - LoRa: SF12/500kHz 980 [bit/s]" << 33;
        QTest::newRow("AU915 DR9") << "AU915" << 8 << 9 << "9  - LoRa: SF11/500kHz 1760 [bit/s]" << 109;
        QTest::newRow("AU915 DR10") << "AU915" << 9 << 10 << "10 - LoRa: SF10/500kHz 3900 [bit/s]" << 222;
        QTest::newRow("AU915 DR11") << "AU915" << 10 << 11 << "11 - LoRa: SF9/500kHz 7000 [bit/s]" << 222;
        QTest::newRow("AU915 DR12") << "AU915" << 11 << 12 << "12 - LoRa: SF8/500kHz 12500 [bit/s]" << 222;
        QTest::newRow("AU915 DR13") << "AU915" << 12 << 13 << "13 - LoRa: SF7/500kHz 21900 [bit/s]" << 222;
        QTest::newRow("EU868 DR0") << "EU868" << 0 << 0 << "0 -\tLoRa: SF12/125kHz 250 [bit/s]" << 51;
        QTest::newRow("EU868 DR1") << "EU868" << 1 << 1 << "1 -\tLoRa: SF11/125kHz 440 [bit/s]" << 51;
        QTest::newRow("EU868 DR2") << "EU868" << 2 << 2 << "2 -\tLoRa: SF10/125kHz 980 [bit/s]" << 51;
        QTest::newRow("EU868 DR3") << "EU868" << 3 << 3 << "3 -\tLoRa: SF9/125kHz 1760 [bit/s]" << 115;
        QTest::newRow("EU868 DR4") << "EU868" << 4 << 4 << "4 -\tLoRa: SF8/125kHz 3125 [bit/s]" << 222;
        QTest::newRow("EU868 DR5") << "EU868" << 5 << 5 << "5 -\tLoRa: SF7/125kHz 5470 [bit/s]" << 222;
        QTest::newRow("EU868 DR6") << "EU868" << 6 << 6 << "6 - LoRa: SF7/250kHz 11000 [bit/s]" << 222;
        QTest::newRow("EU868 DR7") << "EU868" << 7 << 7 << "7 - FSK: 50kbps 50000 [bit/s]" << 222;
        QTest::newRow("KR920 DR0") << "KR920" << 0 << 0 << "0 - LoRa: SF12/125kHz 250 [bit/s]" << 51;
        QTest::newRow("KR920 DR1") << "KR920" << 1 << 1 << "1 -\tLoRa: SF11/125kHz 440 [bit/s]" << 51;
        QTest::newRow("KR920 DR2") << "KR920" << 2 << 2 << "2 -\tLoRa: SF10/125kHz 980 [bit/s]" << 51;
        QTest::newRow("KR920 DR3") << "KR920" << 3 << 3 << "3 -\tLoRa: SF9/125kHz 1760 [bit/s]" << 115;
        QTest::newRow("KR920 DR4") << "KR920" << 4 << 4 << "4 -\tLoRa: SF8/125kHz 3125 [bit/s]" << 222;
        QTest::newRow("KR920 DR5") << "KR920" << 5 << 5 << "5 -\tLoRa: SF7/125kHz 5470 [bit/s]" << 222;
        QTest::newRow("IN865 DR0") << "IN865" << 0 << 0 << "0 - LoRa: SF12/125kHz 250 [bit/s]" << 51;
        QTest::newRow("IN865 DR1") << "IN865" << 1 << 1 << "1 -\tLoRa: SF11/125kHz 440 [bit/s]" << 51;
        QTest::newRow("IN865 DR2") << "IN865" << 2 << 2 << "2 -\tLoRa: SF10/125kHz 980 [bit/s]" << 51;
        QTest::newRow("IN865 DR3") << "IN865" << 3 << 3 << "3 -\tLoRa: SF9/125kHz 1760 [bit/s]" << 115;
        QTest::newRow("IN865 DR4") << "IN865" << 4 << 4 << "4 -\tLoRa: SF8/125kHz 3125 [bit/s]" << 222;
        QTest::newRow("IN865 DR5") << "IN865" << 5 << 5 << "5 -\tLoRa: SF7/125kHz 5470 [bit/s]" << 222;
        QTest::newRow("IN865 DR7") << "IN865" << 6 << 7 << "7 -\tFSK: 50kbps 50000 [bit/s]" << 222;
        QTest::newRow("US915 DR0") << "US915" << 0 << 0 << "0  -\tLoRa: SF10/125kHz 980 [bit/s]" << 11;
        QTest::newRow("US915 DR1") << "US915" << 1 << 1 << "1  -\tLoRa: SF9/125kHz 1760 [bit/s]" << 53;
        QTest::newRow("US915 DR2") << "US915" << 2 << 2 << "2  -\tLoRa: SF8/125kHz 3125 [bit/s]" << 125;
        QTest::newRow("US915 DR3") << "US915" << 3 << 3 << "3  -\tLoRa: SF7/125kHz 5470 [bit/s]" << 242;
        QTest::newRow("US915 DR4") << "US915" << 4 << 4 << "4  -\tLoRa: SF8/500kHz 12500 [bit/s]" << 242;
        QTest::newRow("US915 DR8") << "US915" << 5 << 8 << "8  -\tLoRa: SF12/500kHz 980 [bit/s]" << 33;
        QTest::newRow("US915 DR9") << "US915" << 6 << 9 << "9  -\tLoRa: SF11/500kHz 1760 [bit/s]" << 109;
        QTest::newRow("US915 DR10") << "US915" << 7 << 10 << "10 - LoRa: SF10/500kHz 3900 [bit/s]" << 222;
        QTest::newRow("US915 DR11") << "US915" << 8 << 11 << "11 - LoRa: SF9/500kHz 7000 [bit/s]" << 222;
        QTest::newRow("US915 DR12") << "US915" << 9 << 12 << "12 - LoRa: SF8/500kHz 12500 [bit/s]" << 222;
        QTest::newRow("US915 DR13") << "US915" << 10 << 13 << "13 - LoRa: SF7/500kHz 21900 [bit/s]" << 222;
        QTest::newRow("US915-Hybrid DR0") << "US915-Hybrid" << 0 << 0 << "0  - LoRa: SF10/125kHz 980 [bit/s]" << 11;
        QTest::newRow("US915-Hybrid DR1") << "US915-Hybrid" << 1 << 1 << "1  - LoRa: SF9/125kHz 1760 [bit/s]" << 53;
        QTest::newRow("US915-Hybrid DR2") << "US915-Hybrid" << 2 << 2 << "2  - LoRa: SF8/125kHz 3125 [bit/s]" << 125;
        QTest::newRow("US915-Hybrid DR3") << "US915-Hybrid" << 3 << 3 << "3  - LoRa: SF7/125kHz 5470 [bit/s]" << 242;
        QTest::newRow("US915-Hybrid DR4") << "US915-Hybrid" << 4 << 4 << "4  - LoRa: SF8/500kHz 12500 [bit/s]" << 242;
        QTest::newRow("US915-Hybrid DR8") << "US915-Hybrid" << 5 << 8 << "8  - LoRa: SF12/500kHz 980 [bit/s]" << 33;
        QTest::newRow("US915-Hybrid DR9") << "US915-Hybrid" << 6 << 9 << "9  - LoRa: SF11/500kHz 1760 [bit/s]" << 109;
        QTest::newRow("US915-Hybrid DR10") << "US915-Hybrid" << 7 << 10 << "10 - LoRa: SF10/500kHz 3900 [bit/s]" << 222;
        QTest::newRow("US915-Hybrid DR11") << "US915-Hybrid" << 8 << 11 << "11 - LoRa: SF9/500kHz 7000 [bit/s]" << 222;
        QTest::newRow("US915-Hybrid DR12") << "US915-Hybrid" << 9 << 12 << "12 - LoRa: SF8/500kHz 12500 [bit/s]" << 222;
        QTest::newRow("US915-Hybrid DR13")
            << "US915-Hybrid" << 10 << 13 << "13 - LoRa: SF7/500kHz 21900 [bit/s]" << 222;
    }

    void payloadTable() {
        QFETCH(QString, region);
        QFETCH(int, position);
        QFETCH(int, dr);
        QFETCH(QString, item);
        QFETCH(int, limit);
        QCOMPARE(Find_Max_PayLoad(region, item), limit);
        const QStringList items = dataRateItems(region);
        QVERIFY(position < items.size());
        QCOMPARE(items[position], item);
        // A reader of the number takes the text before the first "-", blanks and tabs removed.
        QString number = item.left(item.indexOf('-'));
        number.remove(' ').remove('\t');
        QCOMPARE(number, QString::number(dr));
    }

    // The lookup is exact: letter case, blanks and tabs all count.
    void lookupIsExact_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("item");
        QTest::newRow("region in lower case") << "eu868"
                                              << "0 -\tLoRa: SF12/125kHz 250 [bit/s]";
        QTest::newRow("tab written as blank") << "EU868"
                                              << "0 - LoRa: SF12/125kHz 250 [bit/s]";
        QTest::newRow("item of another region") << "EU868"
                                                << "7 -\tFSK: 50kbps 50000 [bit/s]";
        QTest::newRow("one blank instead of two") << "US915-Hybrid"
                                                  << "0 - LoRa: SF10/125kHz 980 [bit/s]";
        QTest::newRow("trailing blank") << "AS923"
                                        << "0\t- LoRa: SF12/125kHz 250 [bit/s] ";
        QTest::newRow("item in lower case") << "AS923"
                                            << "0\t- lora: sf12/125khz 250 [bit/s]";
        QTest::newRow("no region") << ""
                                   << "0\t- LoRa: SF12/125kHz 250 [bit/s]";
        QTest::newRow("no data rate") << "AS923"
                                      << "";
    }

    void lookupIsExact() {
        QFETCH(QString, region);
        QFETCH(QString, item);
        QCOMPARE(Find_Max_PayLoad(region, item), 0);
    }

    void subBand() {
        const QList<bool> applies{false, true, false, false, false, true, true};
        for (int i = 0; i < applies.size(); ++i)
            QCOMPARE(subBandApplies(i), applies[i]);
        QVERIFY(!subBandApplies(-1));
        QVERIFY(!subBandApplies(7));
    }
};

QTEST_GUILESS_MAIN(TestLoRaRadio)
#include "tst_loraradio.moc"
