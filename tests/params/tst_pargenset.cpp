// SPDX-License-Identifier: MIT
#include "ParamsTestUtil.h"
#include "common/AwkwardValues.h"
#include "common/FileError.h"
#include "common/NodeFiles.h"
#include "common/ReadFile.h"
#include "language/TextCatalogue.h"
#include "params/LoRaRadio.h"
#include "params/ParGenSet.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace ParGen;
using namespace ParamsTest;

class TestParGenSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void tableMatchesFileOrder() {
        QCOMPARE(int(FieldCount), 43);
        QCOMPARE(QLatin1String(info(Eth_Conn_Device_Name).element), QString("Eth_Conn_Device_Name"));
        QCOMPARE(QLatin1String(info(LoRa_Frequency_SubBand).control), QString("CB_LoRa_FrequencySubBand"));
        QCOMPARE(QLatin1String(info(OPC_UA_Server_Port).element), QString("OPC_UA_Server_Port"));
    }

    // A new configuration saved at once, after the one value without a default was filled in.
    void noFileSavedMatchesGolden() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        ParGenSet set = ParGenSet::load(path);
        QCOMPARE(set, ParGenSet::noFileDefaults());
        QCOMPARE(set.value(LoRa_RF_Band), QString("AS923"));
        QCOMPARE(set.value(LoRa_DataRate), QString("6\t- LoRa: SF7/250kHz 11000 [bit/s]"));
        QCOMPARE(set.value(LoRa_Payload_Size), QString("230"));
        QCOMPARE(set.value(NTP_Poll_Time), QString());
        set.setValue(NTP_Poll_Time, "3600");
        set.save(path);
        QCOMPARE(readFile(path), readFile(goldenDefaultsPath()));
    }

    void load_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("expected");

        const QStringList missing{"Eth_Conn_Device_Name=",
                                  "Eth_Conn_DHCP_Cable=0",
                                  "Eth_Conn_Primary_DNS1=8",
                                  "Eth_Conn_Secondary_DNS3=4",
                                  "LoRa_RF_Band=AS923",
                                  "LoRa_Network_Type=Private",
                                  "LoRa_DataRate=0\t- LoRa: SF12/125kHz 250 [bit/s]",
                                  "LoRa_Transmission_Type=Unconfirmed",
                                  "LoRa_Payload_Size=59",
                                  "LoRa_Activation_Method=Activation by Personalization [ABP]",
                                  "LoRa_FPort=Fixed",
                                  "LoRa_Frequency_SubBand=1",
                                  "LoRa_LNCHECK=5",
                                  "NTP_Poll_Time=",
                                  "OPC_UA_Server_IP4=10",
                                  "OPC_UA_Server_SM4=0",
                                  "OPC_UA_Server_GAT4=1",
                                  "OPC_UA_Server_EN_GAT=0",
                                  "OPC_UA_Server_Port=4840"};
        QTest::newRow("empty root") << QByteArray("<Par_Gen/>") << missing;
        QTest::newRow("root of another name") << QByteArray("<Other><LoRa_RF_Band>EU868</LoRa_RF_Band></Other>")
                                              << QStringList{"LoRa_RF_Band=EU868", "LoRa_Payload_Size=51"};
        QTest::newRow("comment before root")
            << QByteArray("<!-- x --><Par_Gen><Eth_Conn_Device_Name>dev</Eth_Conn_Device_Name>"
                          "<LoRa_RF_Band>EU868</LoRa_RF_Band><OPC_UA_Server_Port>1</OPC_UA_Server_Port></Par_Gen>")
            << missing;
        QTest::newRow("declaration before root")
            << QByteArray("<?xml version=\"1.0\"?><Par_Gen><Eth_Conn_Device_Name>dev</Eth_Conn_Device_Name>"
                          "<LoRa_RF_Band>EU868</LoRa_RF_Band><OPC_UA_Server_Port>1</OPC_UA_Server_Port></Par_Gen>")
            << missing;

        QTest::newRow("flags: only 1 sets")
            << QByteArray("<Par_Gen><Eth_Conn_DHCP_Cable>true</Eth_Conn_DHCP_Cable>"
                          "<Eth_Conn_Enable_DNS>01</Eth_Conn_Enable_DNS><LoRa_Adaptive_DataRate/>"
                          "<OPC_UA_Server_EN_GAT>1</OPC_UA_Server_EN_GAT></Par_Gen>")
            << QStringList{"Eth_Conn_DHCP_Cable=0", "Eth_Conn_Enable_DNS=0", "LoRa_Adaptive_DataRate=0",
                           "OPC_UA_Server_EN_GAT=1"};
        QTest::newRow("Wi-Fi DHCP never read")
            << QByteArray("<Par_Gen><Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi></Par_Gen>")
            << QStringList{"Eth_Conn_DHCP_WiFi=0"};

        QTest::newRow("region in lower case")
            << QByteArray("<Par_Gen><LoRa_RF_Band>eu868</LoRa_RF_Band>"
                          "<LoRa_DataRate>3 -\tlora: sf9/125khz 1760 [BIT/S]</LoRa_DataRate></Par_Gen>")
            << QStringList{"LoRa_RF_Band=EU868", "LoRa_DataRate=3 -\tLoRa: SF9/125kHz 1760 [bit/s]",
                           "LoRa_Payload_Size=115"};
        QTest::newRow("data rate of another region")
            << QByteArray("<Par_Gen><LoRa_RF_Band>US915</LoRa_RF_Band>"
                          "<LoRa_DataRate>5 -\tLoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate></Par_Gen>")
            << QStringList{"LoRa_RF_Band=US915", "LoRa_DataRate=0  -\tLoRa: SF10/125kHz 980 [bit/s]",
                           "LoRa_Payload_Size=11"};
        QTest::newRow("IN865 FSK item under EU868")
            << QByteArray("<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band>"
                          "<LoRa_DataRate>7 -\tFSK: 50kbps 50000 [bit/s]</LoRa_DataRate></Par_Gen>")
            << QStringList{"LoRa_DataRate=0 -\tLoRa: SF12/125kHz 250 [bit/s]", "LoRa_Payload_Size=51"};
        QTest::newRow("data rate kept with its tab")
            << QByteArray("<Par_Gen><LoRa_RF_Band>AU915</LoRa_RF_Band>"
                          "<LoRa_DataRate>8  - LoRa: SF12/500kHz 980 [bit/s]</LoRa_DataRate></Par_Gen>")
            << QStringList{"LoRa_DataRate=8  - LoRa: SF12/500kHz 980 [bit/s]", "LoRa_Payload_Size=33"};
        QTest::newRow("stored payload replaced")
            << QByteArray("<Par_Gen><LoRa_RF_Band>AS923</LoRa_RF_Band>"
                          "<LoRa_DataRate>4\t- LoRa: SF8/125kHz 3125 [bit/s]</LoRa_DataRate>"
                          "<LoRa_Payload_Size>7</LoRa_Payload_Size></Par_Gen>")
            << QStringList{"LoRa_Payload_Size=230"};
        QTest::newRow("unknown region")
            << QByteArray("<Par_Gen><LoRa_RF_Band>CN470</LoRa_RF_Band>"
                          "<LoRa_DataRate>0\t- LoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate></Par_Gen>")
            << QStringList{"LoRa_RF_Band=", "LoRa_DataRate=", "LoRa_Payload_Size=0"};
        QTest::newRow("choices ignore case, keep the item's text")
            << QByteArray("<Par_Gen><LoRa_Network_Type>PUBLIC</LoRa_Network_Type>"
                          "<LoRa_Activation_Method>over-the-air activation [otaa]</LoRa_Activation_Method>"
                          "<LoRa_FPort>variable</LoRa_FPort><LoRa_Frequency_SubBand>8</LoRa_Frequency_SubBand>"
                          "</Par_Gen>")
            << QStringList{"LoRa_Network_Type=Public", "LoRa_Activation_Method=Over-the-Air Activation [OTAA]",
                           "LoRa_FPort=Variable", "LoRa_Frequency_SubBand=8"};
        QTest::newRow("choice matching no item is empty")
            << QByteArray("<Par_Gen><LoRa_Network_Type>Private </LoRa_Network_Type>"
                          "<LoRa_Transmission_Type></LoRa_Transmission_Type>"
                          "<LoRa_Frequency_SubBand>9</LoRa_Frequency_SubBand></Par_Gen>")
            << QStringList{"LoRa_Network_Type=", "LoRa_Transmission_Type=", "LoRa_Frequency_SubBand="};
        QTest::newRow("texts and numbers as stored, one element at a time")
            << QByteArray(
                   "<Par_Gen><Eth_Conn_Device_Name>KV-1</Eth_Conn_Device_Name>"
                   "<Eth_Conn_Primary_DNS1></Eth_Conn_Primary_DNS1><Eth_Conn_Primary_DNS1>9</Eth_Conn_Primary_DNS1>"
                   "<Unknown>1</Unknown><NTP_Poll_Time>abc</NTP_Poll_Time>"
                   "<OPC_UA_Server_GAT1>300</OPC_UA_Server_GAT1></Par_Gen>")
            << QStringList{"Eth_Conn_Device_Name=KV-1", "Eth_Conn_Primary_DNS1=", "Eth_Conn_Primary_DNS2=8",
                           "NTP_Poll_Time=abc",         "OPC_UA_Server_GAT1=300", "OPC_UA_Server_GAT2=168"};
    }

    void load() {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        QVERIFY(writeFile(path, xml));
        const ParGenSet set = ParGenSet::load(path);
        for (const QString& e : expected) {
            const qsizetype eq = e.indexOf('=');
            QCOMPARE(set.value(fieldNamed(e.left(eq))), e.mid(eq + 1));
        }
    }

    // What is saved loads back unchanged (tabs of the data rate included), unknown elements are
    // dropped, and a second save gives the same bytes.
    void saveLoadRoundTrip() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        QVERIFY(writeFile(path, "<Par_Gen><Extra_Element>x</Extra_Element>"
                                "<LoRa_RF_Band>US915</LoRa_RF_Band></Par_Gen><!--SW_VERSION = 0.9-->"));
        ParGenSet set = ParGenSet::load(path);
        apply(set, {"Eth_Conn_Device_Name=Hall <3> & \"east\"", "Eth_Conn_DHCP_Cable=1",
                    "LoRa_DataRate=3  -\tLoRa: SF7/125kHz 5470 [bit/s]", "LoRa_JoinEUI=0011AABB",
                    "NTP_Server_URL=pool.ntp.org", "NTP_Poll_Time=60", "Eth_Conn_Primary_DNS2="});
        set.recomputePayloadSize();
        QCOMPARE(set.value(LoRa_Payload_Size), QString("242"));
        set.save(path);
        const QByteArray first = readFile(path);
        QVERIFY(!first.contains("Extra_Element"));
        QVERIFY(!first.contains("0.9"));
        QVERIFY(first.startsWith("<Par_Gen><Eth_Conn_Device_Name>"));
        QVERIFY(first.endsWith("</Par_Gen><!--SW_VERSION = 1.001-->"));
        QVERIFY(first.contains("<LoRa_DataRate>3  -\tLoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>"));

        const ParGenSet again = ParGenSet::load(path);
        QCOMPARE(again, set);
        again.save(path);
        QCOMPARE(readFile(path), first);
    }

    // Every field kept as typed (the texts and numbers) with every awkward value: it loads back as XML
    // can hold it, and saving what came back gives the same bytes.
    void awkwardValues_data() { AwkwardValues::addRows(); }
    void awkwardValues() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        QList<Field> asTyped;
        for (int f = 0; f < FieldCount; ++f) {
            const Kind kind = info(Field(f)).kind;
            if (f != LoRa_Payload_Size && (kind == Kind::Text || kind == Kind::Number || kind == Kind::Octet))
                asTyped.append(Field(f));
        }
        ParGenSet set = validSet();
        for (Field f : asTyped)
            set.setValue(f, value);
        set.save(path);
        const QByteArray first = readFile(path);

        const ParGenSet back = ParGenSet::load(path);
        for (Field f : asTyped)
            QCOMPARE(back.value(f), expected);
        QCOMPARE(back.value(LoRa_DataRate), validSet().value(LoRa_DataRate));
        back.save(path);
        QCOMPARE(readFile(path), first);
    }

    // Read at once or refused at once with the reason; the editor shows the message.
    void oddFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("endless device") << "zero"
                                        << "not a regular file";
        QTest::newRow("folder") << "dir"
                                << "it is a folder";
        QTest::newRow("far too large") << "large"
                                       << "larger than 16777216 bytes";
        QTest::newRow("document type") << "doctype"
                                       << "document type declaration";
    }
    void oddFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        bool made = false;
        if (kind == "fifo")
            made = NodeFiles::makeFifo(path);
        else if (kind == "zero")
            made = NodeFiles::makeCharDevice(path, NodeFiles::Zero);
        else if (kind == "dir")
            made = QDir().mkdir(path);
        else if (kind == "large")
            made = NodeFiles::makeSparseFile(path, Files::MaxReadSize + 1);
        else if (kind == "doctype")
            made = writeFile(path, "<!DOCTYPE Par_Gen><Par_Gen/>");
        VERIFY_MADE(made);
        try {
            ParGenSet::load(path);
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().startsWith("Cannot read the file " + path + ": ") && e.message().contains(reason),
                     qPrintable(e.message()));
        }
        // Saving over anything but a regular file is refused too.
        if (kind != "large" && kind != "doctype")
            QVERIFY_THROWS_EXCEPTION(FileError, validSet().save(path));
    }

    void wifiFlagAlwaysWrittenClear() {
        ParGenSet set = validSet();
        set.setFlag(Eth_Conn_DHCP_WiFi, true);
        QVERIFY(set.toXml().contains("<Eth_Conn_DHCP_WiFi>0</Eth_Conn_DHCP_WiFi>"));
    }

    void brokenFileThrowsAndStaysUntouched() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        const QByteArray broken("<Par_Gen><LoRa_RF_Band>EU868</Par_Gen>");
        QVERIFY(writeFile(path, broken));
        try {
            ParGenSet::load(path);
            QFAIL("no error for a broken file");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains("ParGen.xml"), qPrintable(e.message()));
        }
        QCOMPARE(readFile(path), broken);
    }

    void saveIntoMissingFolderThrows() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("file"), "x"));
        const QString path = dir.filePath("file/ParGen.xml");
        QVERIFY_THROWS_EXCEPTION(FileError, validSet().save(path));
        QCOMPARE(readFile(dir.filePath("file")), QByteArray("x"));
    }

    // The write fails half-way (file size limit, which holds for root too): the old file stays whole.
    void failedWriteKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ParGen.xml");
        const ParGenSet old = validSet();
        old.save(path);
        const QByteArray before = readFile(path);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        ParGenSet changed = old;
        changed.setValue(NTP_Server_URL, QString(2000, 'n'));
        bool threw = false;
        try {
            changed.save(path);
        } catch (const FileError& e) {
            threw = e.message().contains("ParGen.xml");
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(threw);
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ParGen.xml"});
    }

    // One change (or a few, to show the order) to a valid set per row; the catalogue index of the
    // expected message, or -1 when the check passes.
    void dataCheck_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("text");
        const QString on = "Eth_Conn_Enable_DNS=1";
        QTest::newRow("valid set") << QStringList{} << -1;
        QTest::newRow("DNS on, default servers") << QStringList{on} << -1;
        QTest::newRow("DNS off: octets not looked at")
            << QStringList{"Eth_Conn_Primary_DNS1=", "Eth_Conn_Secondary_DNS4=999"} << -1;
        QTest::newRow("primary DNS 1") << QStringList{on, "Eth_Conn_Primary_DNS1=256"} << 2925;
        QTest::newRow("primary DNS 2") << QStringList{on, "Eth_Conn_Primary_DNS2=-1"} << 2926;
        QTest::newRow("primary DNS 3") << QStringList{on, "Eth_Conn_Primary_DNS3="} << 2927;
        QTest::newRow("primary DNS 4") << QStringList{on, "Eth_Conn_Primary_DNS4=a"} << 2928;
        QTest::newRow("secondary DNS 1") << QStringList{on, "Eth_Conn_Secondary_DNS1=300"} << 2929;
        QTest::newRow("secondary DNS 2") << QStringList{on, "Eth_Conn_Secondary_DNS2=1.5"} << 2930;
        QTest::newRow("secondary DNS 3") << QStringList{on, "Eth_Conn_Secondary_DNS3= 4"} << 2931;
        QTest::newRow("secondary DNS 4") << QStringList{on, "Eth_Conn_Secondary_DNS4=4294967300"} << 2932;
        QTest::newRow("DNS octets 0 and 255 pass")
            << QStringList{on, "Eth_Conn_Primary_DNS1=0", "Eth_Conn_Secondary_DNS4=255"} << -1;
        QTest::newRow("primary before secondary")
            << QStringList{on, "Eth_Conn_Secondary_DNS1=x", "Eth_Conn_Primary_DNS4=x"} << 2928;
        QTest::newRow("DNS before region") << QStringList{on, "Eth_Conn_Primary_DNS1=x", "LoRa_RF_Band="} << 2925;

        QTest::newRow("no region") << QStringList{"LoRa_RF_Band="} << 493;
        QTest::newRow("blank region") << QStringList{"LoRa_RF_Band=  "} << 493;
        QTest::newRow("no network type") << QStringList{"LoRa_Network_Type="} << 494;
        QTest::newRow("no data rate") << QStringList{"LoRa_DataRate="} << 495;
        QTest::newRow("no transmission type") << QStringList{"LoRa_Transmission_Type="} << 496;
        QTest::newRow("region before the other choices")
            << QStringList{"LoRa_Transmission_Type=", "LoRa_DataRate=", "LoRa_RF_Band="} << 493;
        QTest::newRow("payload 0") << QStringList{"LoRa_Payload_Size=0"} << 497;
        QTest::newRow("payload above the limit") << QStringList{"LoRa_Payload_Size=231"} << 497;
        QTest::newRow("payload 1") << QStringList{"LoRa_Payload_Size=1"} << -1;
        QTest::newRow("payload empty") << QStringList{"LoRa_Payload_Size="} << 497;
        QTest::newRow("data rate not of the region")
            << QStringList{"LoRa_RF_Band=EU868"} << 497; // AS923's DR6 under EU868: limit 0
        QTest::newRow("no activation method") << QStringList{"LoRa_Activation_Method="} << 499;
        QTest::newRow("payload before activation")
            << QStringList{"LoRa_Activation_Method=", "LoRa_Payload_Size=0"} << 497;
        QTest::newRow("LNCHECK 4") << QStringList{"LoRa_LNCHECK=4"} << 2935;
        QTest::newRow("LNCHECK 61") << QStringList{"LoRa_LNCHECK=61"} << 2935;
        QTest::newRow("LNCHECK hex digit") << QStringList{"LoRa_LNCHECK=A"} << 2935;
        QTest::newRow("LNCHECK 60") << QStringList{"LoRa_LNCHECK=60"} << -1;
        QTest::newRow("poll time empty") << QStringList{"NTP_Poll_Time="} << 2562;
        QTest::newRow("poll time negative") << QStringList{"NTP_Poll_Time=-1"} << 2562;
        QTest::newRow("poll time too long") << QStringList{"NTP_Poll_Time=10000001"} << 2562;
        QTest::newRow("poll time 0") << QStringList{"NTP_Poll_Time=0"} << -1;
        QTest::newRow("poll time 10000000") << QStringList{"NTP_Poll_Time=10000000"} << -1;
        QTest::newRow("LNCHECK before poll time") << QStringList{"NTP_Poll_Time=", "LoRa_LNCHECK=1"} << 2935;

        QTest::newRow("IP address 1") << QStringList{"OPC_UA_Server_IP1=256"} << 2771;
        QTest::newRow("IP address 4") << QStringList{"OPC_UA_Server_IP4="} << 2774;
        QTest::newRow("IP address checked under DHCP")
            << QStringList{"Eth_Conn_DHCP_Cable=1", "OPC_UA_Server_IP2=x"} << 2772;
        QTest::newRow("subnet mask 1") << QStringList{"OPC_UA_Server_SM1=-5"} << 2775;
        QTest::newRow("subnet mask 4") << QStringList{"OPC_UA_Server_SM4=1000"} << 2778;
        QTest::newRow("gateway off: octets not looked at") << QStringList{"OPC_UA_Server_GAT1=300"} << -1;
        QTest::newRow("gateway 1") << QStringList{"OPC_UA_Server_EN_GAT=1", "OPC_UA_Server_GAT1=300"} << 2779;
        QTest::newRow("gateway 4") << QStringList{"OPC_UA_Server_EN_GAT=1", "OPC_UA_Server_GAT4=300"} << 2782;
        QTest::newRow("mask before gateway")
            << QStringList{"OPC_UA_Server_EN_GAT=1", "OPC_UA_Server_GAT1=x", "OPC_UA_Server_SM3=x"} << 2777;
        QTest::newRow("port 10000") << QStringList{"OPC_UA_Server_Port=10000"} << 2783;
        QTest::newRow("port 65536") << QStringList{"OPC_UA_Server_Port=65536"} << 2783;
        QTest::newRow("port empty") << QStringList{"OPC_UA_Server_Port="} << 2783;
        QTest::newRow("port 0") << QStringList{"OPC_UA_Server_Port=0"} << -1;
        QTest::newRow("port 65535") << QStringList{"OPC_UA_Server_Port=65535"} << -1;
        QTest::newRow("gateway before port")
            << QStringList{"OPC_UA_Server_Port=10000", "OPC_UA_Server_EN_GAT=1", "OPC_UA_Server_GAT2=x"} << 2780;
        QTest::newRow("fields without a rule") << QStringList{"Eth_Conn_Device_Name=" + QString(100, 'x'),
                                                              "NTP_Server_URL=?",
                                                              "LoRa_JoinEUI=zz",
                                                              "LoRa_Device_Address=1",
                                                              "LoRa_Network_Session_Key=g",
                                                              "LoRa_Application_Key=",
                                                              "LoRa_Frequency_SubBand=",
                                                              "LoRa_FPort=",
                                                              "LoRa_Adaptive_DataRate=1"}
                                               << -1;
    }

    void dataCheck() {
        QFETCH(QStringList, changes);
        QFETCH(int, text);
        ParGenSet set = validSet();
        apply(set, changes);
        const std::optional<int> failed = firstFailingRule(set);
        QCOMPARE(failed.value_or(-1), text);

        TextCatalogue texts;
        texts.Build_Default_Texts();
        const std::optional<QString> message = Controllo_Dati(set, texts);
        QCOMPARE(message.has_value(), text >= 0);
        if (text >= 0 && text != 497)
            QCOMPARE(*message, texts.Text(text));
    }

    // The messages as the user reads them, "%d" filled with the limit of the selected pair.
    void dataCheckMessages_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QString>("message");
        QTest::newRow("payload, AS923 DR6")
            << QStringList{"LoRa_Payload_Size=0"} << "Error LoRa!! Payload Size must be between 1 and 230";
        QTest::newRow("payload, US915 DR0")
            << QStringList{"LoRa_RF_Band=US915", "LoRa_DataRate=0  -\tLoRa: SF10/125kHz 980 [bit/s]",
                           "LoRa_Payload_Size=12"}
            << "Error LoRa!! Payload Size must be between 1 and 11";
        QTest::newRow("poll time") << QStringList{"NTP_Poll_Time="}
                                   << "Error NTP!! Poll Time must be between 0 and 10000000 seconds";
        QTest::newRow("port") << QStringList{"OPC_UA_Server_Port=10000"}
                              << "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000";
        QTest::newRow("secondary DNS 4") << QStringList{"Eth_Conn_Enable_DNS=1", "Eth_Conn_Secondary_DNS4="}
                                         << "Error Secondary DNS!! DNS 4 must be between 0 and 255";
    }

    void dataCheckMessages() {
        QFETCH(QStringList, changes);
        QFETCH(QString, message);
        TextCatalogue texts;
        texts.Build_Default_Texts();
        ParGenSet set = validSet();
        apply(set, changes);
        QCOMPARE(Controllo_Dati(set, texts).value_or(QString()), message);
    }

    void visibleRows_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("activation");
        QTest::addColumn<QStringList>("hidden"); // element names of the rows not shown
        const QString abp = choiceItems(LoRa_Activation_Method)[0];
        const QString otaa = choiceItems(LoRa_Activation_Method)[1];
        const QStringList abpKeys{"LoRa_Device_Address", "LoRa_Network_Session_Key", "LoRa_Application_Session_Key"};
        QTest::newRow("AS923, ABP") << "AS923" << abp << QStringList{"LoRa_Frequency_SubBand", "LoRa_Application_Key"};
        QTest::newRow("US915, ABP") << "US915" << abp << QStringList{"LoRa_Application_Key"};
        QTest::newRow("AU915, OTAA") << "AU915" << otaa << abpKeys;
        QTest::newRow("US915-Hybrid, OTAA") << "US915-Hybrid" << otaa << abpKeys;
        QTest::newRow("EU868, no method: as OTAA")
            << "EU868" << QString() << QStringList{"LoRa_Frequency_SubBand"} + abpKeys;
        QTest::newRow("no region") << QString() << abp << QStringList{"LoRa_Frequency_SubBand", "LoRa_Application_Key"};
    }

    void visibleRows() {
        QFETCH(QString, region);
        QFETCH(QString, activation);
        QFETCH(QStringList, hidden);
        ParGenSet set = validSet();
        set.setRegion(region);
        set.setValue(LoRa_Activation_Method, activation);
        const FieldSet shown = ParGen::visibleRows(set);
        QStringList notShown;
        for (int f = 0; f < FieldCount; ++f) {
            if (!shown[f])
                notShown << QLatin1String(info(Field(f)).element);
        }
        hidden.sort();
        notShown.sort();
        QCOMPARE(notShown, hidden);
    }

    void editableFields_data() {
        QTest::addColumn<bool>("dhcp");
        QTest::addColumn<QStringList>("locked"); // element names the user cannot change
        const QStringList always{"Eth_Conn_DHCP_WiFi", "LoRa_Payload_Size"};
        QStringList address;
        for (int f = OPC_UA_Server_IP1; f <= OPC_UA_Server_GAT4; ++f)
            address << QLatin1String(info(Field(f)).element);
        QTest::newRow("static address") << false << always;
        QTest::newRow("address from DHCP") << true << always + address;
    }

    void editableFields() {
        QFETCH(bool, dhcp);
        QFETCH(QStringList, locked);
        ParGenSet set = validSet();
        set.setFlag(Eth_Conn_DHCP_Cable, dhcp);
        const FieldSet editable = ParGen::editableFields(set);
        QStringList notEditable;
        for (int f = 0; f < FieldCount; ++f) {
            if (!editable[f])
                notEditable << QLatin1String(info(Field(f)).element);
        }
        locked.sort();
        notEditable.sort();
        QCOMPARE(notEditable, locked);
    }

    // This model has no Wi-Fi: no way into the set gives its DHCP flag another value.
    void wifiFlagIsFixed() {
        QVERIFY(isFixed(Eth_Conn_DHCP_WiFi));
        ParGenSet set;
        QCOMPARE(set.value(Eth_Conn_DHCP_WiFi), QString("0"));
        set.setFlag(Eth_Conn_DHCP_WiFi, true);
        QVERIFY(!set.flag(Eth_Conn_DHCP_WiFi));
        set.setValue(Eth_Conn_DHCP_WiFi, "1");
        QCOMPARE(set.value(Eth_Conn_DHCP_WiFi), QString("0"));
    }

    void setRegion_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("payload");
        QTest::newRow("US915: DR0") << "US915"
                                    << "0  -\tLoRa: SF10/125kHz 980 [bit/s]"
                                    << "11";
        QTest::newRow("EU868: DR0") << "EU868"
                                    << "0 -\tLoRa: SF12/125kHz 250 [bit/s]"
                                    << "51";
        QTest::newRow("no region") << QString() << QString() << "0";
        QTest::newRow("unknown region") << "Mars" << QString() << "0";
    }

    // A new region starts at its first data rate, whatever was selected before.
    void setRegion() {
        QFETCH(QString, region);
        QFETCH(QString, rate);
        QFETCH(QString, payload);
        ParGenSet set = validSet(); // AS923, DR6
        set.setRegion(region);
        QCOMPARE(set.value(LoRa_RF_Band), region);
        QCOMPARE(set.value(LoRa_DataRate), rate);
        QCOMPARE(set.value(LoRa_Payload_Size), payload);
    }

    void setDataRate_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("payload");
        const QStringList eu = LoRaRadio::dataRateItems("EU868");
        QTest::newRow("listed") << eu[4] << eu[4] << "222";
        QTest::newRow("other case") << eu[7].toUpper() << eu[7] << "222";
        QTest::newRow("another region's item") << LoRaRadio::dataRateItems("AS923")[3] << eu[0] << "51";
        QTest::newRow("tab as blank") << QString(eu[1]).replace('\t', ' ') << eu[0] << "51";
        QTest::newRow("empty") << QString() << eu[0] << "51";
    }

    void setDataRate() {
        QFETCH(QString, rate);
        QFETCH(QString, selected);
        QFETCH(QString, payload);
        ParGenSet set = validSet();
        set.setRegion("EU868");
        set.setDataRate(rate);
        QCOMPARE(set.value(LoRa_DataRate), selected);
        QCOMPARE(set.value(LoRa_Payload_Size), payload);
    }
};

QTEST_GUILESS_MAIN(TestParGenSet)
#include "tst_pargenset.moc"
