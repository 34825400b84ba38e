// SPDX-License-Identifier: MIT
#include "ImageTestUtil.h"
#include "common/FileError.h"
#include "common/TextValues.h"
#include "image/ImageBuilder.h"
#include "image/ImageDump.h"
#include "image/LeWriter.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace ImageTest;

namespace {

void copyFixture(const QString& name, const QString& to) {
    const QDir from(fixture(name));
    for (const QString& file : from.entryList({QStringLiteral("*.xml")}, QDir::Files))
        QFile::copy(from.filePath(file), QDir(to).filePath(file));
}

QByteArray uplinkRows(int count, const char* extra = "") {
    QByteArray rows;
    for (int i = 0; i < count; ++i)
        rows += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i) + "\" NumByte=\"1\"" + extra + "/>";
    return rows;
}

QByteArray loRaWANFile(const QByteArray& uplink, const QByteArray& downlink) {
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + uplink + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" + downlink +
           "</LoRaWAN_Downlink></LoRaWAN_Set_Access>";
}

// `count` enabled variables, each named with `nameLength` characters.
QByteArray opcUaFile(int count, int nameLength) {
    QByteArray rows;
    const QByteArray name(nameLength, 'n');
    for (int i = 0; i < count; ++i)
        rows += "<row Enable=\"Y\" Type=\"Byte\" Position=\"0\" Length=\"1\" Name=\"" + name + "\"/>";
    return "<OPC_UA_Server><OPC_UA_Server_Variables>" + rows + "</OPC_UA_Server_Variables></OPC_UA_Server>";
}

quint32 le(const QByteArray& image, qsizetype at, int width) {
    quint32 v = 0;
    for (int i = 0; i < width; ++i)
        v |= quint32(quint8(image[at + i])) << (8 * i);
    return v;
}

} // namespace

class TestImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each fixture folder is built twice: by a fresh builder, and by one that has just built a larger
    // configuration (ten rules, fifteen variables, every key), which must leave no trace.
    void golden_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"no_files", "ntp_only", "network", "dns_gateway", "declaration_first", "lorawan_abp",
                                 "lorawan_otaa", "opcua"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void golden() {
        QFETCH(QString, name);
        QString error;
        const QMap<QString, QByteArray> expected = parseGolden(fixture(name) + "/expected.txt", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(expected.size(), 2);

        // The larger configuration: every key of three ParGen fixtures (the first of a name counts),
        // the ABP rules and the OPC UA variables.
        QTemporaryDir previous;
        QByteArray parGen = "<Par_Gen>";
        for (const char* from : {"lorawan_abp", "dns_gateway", "network"}) {
            const QByteArray file = readAll(fixture(QLatin1String(from)) + "/ParGen.xml");
            const qsizetype begin = file.indexOf("<Par_Gen>") + 9;
            parGen += file.mid(begin, file.indexOf("</Par_Gen>") - begin);
        }
        QVERIFY(writeFile(previous.filePath("ParGen.xml"), parGen + "</Par_Gen>"));
        QVERIFY(QFile::copy(fixture("lorawan_abp/LoRaWAN_SetAccess.xml"), previous.filePath("LoRaWAN_SetAccess.xml")));
        QVERIFY(QFile::copy(fixture("opcua/OPC_UA_Server.xml"), previous.filePath("OPC_UA_Server.xml")));

        ImageBuilder fresh;
        ImageBuilder reused;
        reused.Build_Images(ConfigFiles::inFolder(previous.path()));
        QVERIFY(reused.bank1() != expected["bank1"]);

        for (ImageBuilder* builder : {&fresh, &reused}) {
            builder->Build_Images(ConfigFiles::inFolder(fixture(name)));
            QString diff = firstDifference(builder->bank1(), expected["bank1"]);
            QVERIFY2(diff.isEmpty(), qPrintable("bank1.bin: " + diff));
            diff = firstDifference(builder->bank2(), expected["bank2"]);
            QVERIFY2(diff.isEmpty(), qPrintable("bank2.bin: " + diff));
        }
    }

    // Only the first 256 enabled rows of a list reach its table; the next table is untouched.
    void moreThan256Rules() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("LoRaWAN_SetAccess.xml"),
                          loRaWANFile("<row Enable=\"N\" StartByte=\"999\"/>" + uplinkRows(300),
                                      "<row Enable=\"Y\" StartByte=\"7\" NumByte=\"3\"/>")));
        ImageBuilder b;
        b.Build_Images(ConfigFiles::inFolder(dir.path()));
        const QByteArray image = b.bank2();
        QCOMPARE(le(image, 80, 2), 256u);
        QCOMPARE(le(image, 82, 2), 1u);
        QCOMPARE(le(image, 1024, 2), 0u);              // entry 0: the second row (the first is off)
        QCOMPARE(le(image, 1024 + 255 * 12, 2), 255u); // entry 255: the 256th enabled row
        QCOMPARE(le(image, 4096, 2), 7u);              // downlink entry 0
        QCOMPARE(le(image, 4096 + 2, 2), 3u);
    }

    // bank2.bin may fill its 131072 bytes exactly; one byte more and the build is refused.
    void bank2Limit_data() {
        QTest::addColumn<int>("nameLength"); // of the thirteenth variable
        QTest::addColumn<bool>("fits");
        // 8192 + 16 + 1 + 13 * 16 + 13 * (9434 + 1) = 131072
        QTest::newRow("exactly full") << 9434 << true;
        QTest::newRow("one byte over") << 9435 << false;
    }
    void bank2Limit() {
        QFETCH(int, nameLength);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("OPC_UA_Server.xml"), opcUaFile(12, 9434)));
        QByteArray file = readAll(dir.filePath("OPC_UA_Server.xml"));
        file.replace("</OPC_UA_Server_Variables>",
                     "<row Enable=\"Y\" Name=\"" + QByteArray(nameLength, 'x') + "\"/></OPC_UA_Server_Variables>");
        QVERIFY(writeFile(dir.filePath("OPC_UA_Server.xml"), file));

        ImageBuilder b;
        if (fits) {
            b.Build_Images(ConfigFiles::inFolder(dir.path()));
            QCOMPARE(b.bank2().size(), Image::BufferSize);
            QVERIFY(b.bank2().endsWith(QByteArray(nameLength, 'x') + '\0'));
            return;
        }
        try {
            b.Build_Images(ConfigFiles::inFolder(dir.path()));
            QFAIL("an image past 131072 bytes was built");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains("131073 bytes") && e.message().contains("OPC_UA_Server.xml"),
                     qPrintable(e.message()));
        }
        QVERIFY(b.bank1().isEmpty());
        QVERIFY(b.bank2().isEmpty());
        QVERIFY_THROWS_EXCEPTION(FileError, b.Save_Images(dir.filePath("bin")));
        QVERIFY(!QFileInfo::exists(dir.filePath("bin")));
    }

    void brokenFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("ParGen not well-formed")
            << "ParGen.xml" << QByteArray("<Par_Gen><x></Par_Gen>") << "ParGen.xml is not valid XML";
        QTest::newRow("ParGen is a folder") << "ParGen.xml" << QByteArray() << "it is a folder";
        QTest::newRow("rules not well-formed")
            << "LoRaWAN_SetAccess.xml" << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink>")
            << "LoRaWAN_SetAccess.xml is not valid XML";
        QTest::newRow("rules without uplink")
            << "LoRaWAN_SetAccess.xml" << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            << "has no element LoRaWAN_Uplink";
        QTest::newRow("rules without downlink")
            << "LoRaWAN_SetAccess.xml" << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink/></LoRaWAN_Set_Access>")
            << "has no element LoRaWAN_Downlink";
        QTest::newRow("rules after a comment")
            << "LoRaWAN_SetAccess.xml" << QByteArray("<!--x-->") + loRaWANFile(uplinkRows(1), "")
            << "stands before its root element";
        QTest::newRow("variables not well-formed")
            << "OPC_UA_Server.xml" << QByteArray("<OPC_UA_Server><row Enable=\"Y></OPC_UA_Server>")
            << "OPC_UA_Server.xml is not valid XML";
        QTest::newRow("variables under another root")
            << "OPC_UA_Server.xml" << QByteArray("<OPC_UA><OPC_UA_Server_Variables/></OPC_UA>")
            << "has no element OPC_UA_Server";
        QTest::newRow("variables without their list")
            << "OPC_UA_Server.xml" << QByteArray("<OPC_UA_Server><row/></OPC_UA_Server>")
            << "has no element OPC_UA_Server_Variables";
    }
    void brokenFiles() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        copyFixture(QStringLiteral("lorawan_abp"), dir.path());
        QFile::copy(fixture("opcua/OPC_UA_Server.xml"), dir.filePath("OPC_UA_Server.xml"));
        QFile::remove(dir.filePath(file));
        if (content.isEmpty())
            QVERIFY(QDir(dir.path()).mkdir(file));
        else
            QVERIFY(writeFile(dir.filePath(file), content));

        ImageBuilder b;
        try {
            b.Build_Images(ConfigFiles::inFolder(dir.path()));
            QFAIL("the build went on");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            QVERIFY2(e.message().contains(file), qPrintable(e.message()));
        }
        QVERIFY(b.bank1().isEmpty());
        QVERIFY(b.bank2().isEmpty());
    }

    void saveCreatesMissingBin() {
        QTemporaryDir dir;
        ImageBuilder b;
        b.Build_Images(ConfigFiles::inFolder(fixture("opcua")));
        const QString bin = dir.filePath("bin");
        b.Save_Images(bin);
        QCOMPARE(readAll(bin + "/bank1.bin"), b.bank1());
        QCOMPARE(readAll(bin + "/bank2.bin"), b.bank2());
        QCOMPARE(QDir(bin).entryList(QDir::Files | QDir::Hidden), QStringList({"bank1.bin", "bank2.bin"}));

        // Nothing but the folder itself is created.
        QVERIFY_THROWS_EXCEPTION(FileError, b.Save_Images(dir.filePath("no/such/bin")));
        QVERIFY(!QFileInfo::exists(dir.filePath("no")));
    }

    // Whatever fails, the folder never ends with a new bank1.bin beside an old bank2.bin.
    void saveFailureKeepsOldImages_data() {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("named");
        QTest::newRow("bin cannot be written") << "bin"
                                               << "bank1.bin";
        QTest::newRow("bank2.bin cannot be replaced") << "bin/bank2.bin"
                                                      << "bank2.bin";
        QTest::newRow("bank1.bin cannot be replaced") << "bin/bank1.bin"
                                                      << "bank1.bin";
    }
    void saveFailureKeepsOldImages() {
        QFETCH(QString, blocked);
        QFETCH(QString, named);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("bin"));
        QVERIFY(writeFile(dir.filePath("bin/bank1.bin"), "old one"));
        QVERIFY(writeFile(dir.filePath("bin/bank2.bin"), "old two"));

        ImageBuilder b;
        b.Build_Images(ConfigFiles::inFolder(fixture("lorawan_abp")));
        {
            const Immutable guard(dir.filePath(blocked));
            if (!guard.ok())
                QSKIP("the file system does not let this test make a file immutable");
            try {
                b.Save_Images(dir.filePath("bin"));
                QFAIL("the save reported success");
            } catch (const FileError& e) {
                QVERIFY2(e.message().contains(named), qPrintable(e.message()));
            }
        }
        QCOMPARE(readAll(dir.filePath("bin/bank1.bin")), QByteArray("old one"));
        QCOMPARE(readAll(dir.filePath("bin/bank2.bin")), QByteArray("old two"));
    }

    void saveRefusesWhatIsNoFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("bank2.bin is a FIFO") << "fifo";
        QTest::newRow("bank1.bin is a folder") << "folder";
        QTest::newRow("bin is a file") << "bin file";
    }
    void saveRefusesWhatIsNoFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString bin = dir.filePath("bin");
        if (kind == "bin file") {
            QVERIFY(writeFile(bin, "x"));
        } else {
            QVERIFY(QDir(dir.path()).mkdir("bin"));
            if (kind == "fifo") {
                QVERIFY(writeFile(bin + "/bank1.bin", "old one"));
                QCOMPARE(::mkfifo(QFile::encodeName(bin + "/bank2.bin").constData(), 0600), 0);
            } else {
                QVERIFY(QDir(bin).mkdir("bank1.bin"));
            }
        }
        ImageBuilder b;
        b.Build_Images(ConfigFiles::inFolder(fixture("no_files")));
        QVERIFY_THROWS_EXCEPTION(FileError, b.Save_Images(bin));
        if (kind == "fifo") {
            QVERIFY(!QFileInfo(bin + "/bank2.bin").isFile());
            QCOMPARE(readAll(bin + "/bank1.bin"), QByteArray("old one"));
        } else if (kind == "folder") {
            QVERIFY(QFileInfo(bin + "/bank1.bin").isDir());
            QVERIFY(!QFileInfo::exists(bin + "/bank2.bin"));
        } else {
            QCOMPARE(readAll(bin), QByteArray("x"));
        }
    }

    void saveWithoutBuild() {
        QTemporaryDir dir;
        ImageBuilder b;
        QVERIFY_THROWS_EXCEPTION(FileError, b.Save_Images(dir.filePath("bin")));
        QVERIFY(!QFileInfo::exists(dir.filePath("bin")));
    }

    // What the builder writes reads back without a single inconsistency.
    void dumpOfBuiltImagesIsSound() {
        for (const char* name : {"no_files", "network", "lorawan_abp", "lorawan_otaa", "opcua"}) {
            ImageBuilder b;
            b.Build_Images(ConfigFiles::inFolder(fixture(QLatin1String(name))));
            const ImageDump::Dump d = ImageDump::decode(b.bank1(), b.bank2());
            QVERIFY2(d.problems.isEmpty(), qPrintable(QLatin1String(name) + ": " + d.problems.join("; ")));
        }
    }

    // Each kind of damage is named; `bank` 1 or 2, the bytes put at `offset` (-1: cut that many bytes).
    void dumpFindsInconsistencies_data() {
        QTest::addColumn<int>("bank");
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const auto u32 = [](quint32 v) {
            QByteArray b;
            for (int i = 0; i < 4; ++i)
                b.append(char(v >> (8 * i)));
            return b;
        };
        QTest::newRow("bank1 short") << 1 << qsizetype(-1) << QByteArray(1, 0) << "bank1.bin is 2047 bytes";
        QTest::newRow("checksum") << 1 << qsizetype(0x7FC) << QByteArray("\x01")
                                  << "the checksum at 0x7FC is 3585, but bytes 0 to 0x7FB add up to 3620";
        QTest::newRow("section address") << 1 << qsizetype(0x620) << u32(0x82010)
                                         << "OPC_UA_Section_Address is 0x00082010; it must be 0x00082000";
        QTest::newRow("device name unterminated")
            << 1 << qsizetype(0x533) << QByteArray("x") << "the device name has no terminating zero byte";
        QTest::newRow("bank1 gap") << 1 << qsizetype(0x7FB) << QByteArray("\x01")
                                   << "bank1.bin: 1 byte(s) outside the fields are not zero, the first at offset 0x7FB";
        QTest::newRow("parameter padding")
            << 2 << qsizetype(86) << QByteArray("\x01")
            << "LoRaWAN section: 1 byte(s) outside the fields are not zero, the first at offset 0x56";
        QTest::newRow("unused rule entry")
            << 2 << qsizetype(1024 + 15 * 12 + 8) << QByteArray("\x01\x02")
            << "LoRaWAN section: 2 byte(s) outside the fields are not zero, the first at offset 0x4BC";
        QTest::newRow("uplink count") << 2 << qsizetype(80) << QByteArray("\x2C\x01")
                                      << "Uplink_Count is 300; a table holds 256 entries";
        QTest::newRow("table address") << 2 << qsizetype(76) << u32(0x81004)
                                       << "Downlink_Table_Address is 0x00081004; it must be 0x00081000";
        QTest::newRow("name outside the file")
            << 2 << qsizetype(0x2010 + 12) << u32(0x90000)
            << "Add_Name of variable 0 is 0x00090000, outside the string area 0x00082100 to 0x0008211E";
        QTest::newRow("NTP into the records")
            << 2 << qsizetype(0x2008) << u32(0x82010) << "Add_NTP is 0x00082010, outside the string area";
        QTest::newRow("variables table address")
            << 2 << qsizetype(0x2004) << u32(0x82000) << "Add_Num_Var is 0x00082000; it must be 0x00082010";
        QTest::newRow("last name unterminated")
            << 2 << qsizetype(-1) << QByteArray(1, 0)
            << "the string of Add_Name of variable 14 at 0x0008211D has no terminating zero byte";
        QTest::newRow("too many variables") << 2 << qsizetype(0x2002) << QByteArray("\xFF\xFF")
                                            << "Num_Var is 65535, but the file ends before the string area";
        QTest::newRow("bank2 short") << 2 << qsizetype(-1) << QByteArray(8479 - 8200, 0)
                                     << "bank2.bin is 8200 bytes; it must hold 8209 to 131072 bytes";
    }
    void dumpFindsInconsistencies() {
        QFETCH(int, bank);
        QFETCH(qsizetype, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        ImageBuilder b;
        b.Build_Images(ConfigFiles::inFolder(fixture("opcua")));
        QByteArray images[2] = {b.bank1(), b.bank2()};
        QByteArray& image = images[bank - 1];
        if (offset < 0)
            image.chop(bytes.size());
        else
            image.replace(offset, bytes.size(), bytes);
        const ImageDump::Dump d = ImageDump::decode(images[0], images[1]);
        QVERIFY2(d.problems.join("\n").contains(problem), qPrintable(d.problems.join("\n")));
    }

    // How every number of the configuration files is read before it reaches the device.
    void integers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value"); // -1 << 40: not a number
        const qint64 none = qint64(-1) << 40;
        QTest::newRow("plain") << "300" << qint64(300);
        QTest::newRow("plus") << "+7" << qint64(7);
        QTest::newRow("leading zeros") << "0000000000000000000012" << qint64(12);
        QTest::newRow("largest") << "2147483647" << qint64(2147483647);
        QTest::newRow("one past the largest") << "2147483648" << none;
        QTest::newRow("smallest") << "-2147483648" << qint64(-2147483648LL);
        QTest::newRow("one below the smallest") << "-2147483649" << none;
        QTest::newRow("many digits") << QString(400, u'9') << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("sign only") << "-" << none;
        QTest::newRow("blank after") << "5 " << none;
        QTest::newRow("blank before") << " 5" << none;
        QTest::newRow("hex") << "0x10" << none;
        QTest::newRow("non-ASCII digit") << QStringLiteral("\u0663") << none;
        QTest::newRow("two signs") << "+-1" << none;
    }
    void integers() {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        const std::optional<qint32> n = Values::toInt32(text);
        if (value == qint64(-1) << 40)
            QVERIFY(!n);
        else
            QCOMPARE(qint64(n.value_or(-99)), value);
    }

    // A write that would pass the buffer's end writes nothing at all.
    void writerStopsAtTheEnd_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<bool>("fits");
        QTest::newRow("u8 on the last byte") << 0 << qsizetype(7) << true;
        QTest::newRow("u8 past the end") << 0 << qsizetype(8) << false;
        QTest::newRow("u16 across the end") << 1 << qsizetype(7) << false;
        QTest::newRow("u32 ending on the last byte") << 2 << qsizetype(4) << true;
        QTest::newRow("u32 across the end") << 2 << qsizetype(5) << false;
        QTest::newRow("negative offset") << 2 << qsizetype(-1) << false;
        QTest::newRow("huge offset") << 2 << std::numeric_limits<qsizetype>::max() - 1 << false;
        QTest::newRow("bytes across the end") << 3 << qsizetype(6) << false;
        QTest::newRow("string and zero fit") << 4 << qsizetype(5) << true;
        QTest::newRow("string fits, its zero does not") << 4 << qsizetype(6) << false;
    }
    void writerStopsAtTheEnd() {
        QFETCH(int, op);
        QFETCH(qsizetype, offset);
        QFETCH(bool, fits);
        std::array<quint8, 8> buffer;
        buffer.fill(0xEE);
        Image::LeWriter w(buffer);
        bool ok = false;
        switch (op) {
        case 0:
            ok = w.u8(offset, 0x11);
            break;
        case 1:
            ok = w.u16(offset, 0x2211);
            break;
        case 2:
            ok = w.u32(offset, 0x44332211);
            break;
        case 3:
            ok = w.bytes(offset, QByteArrayView("\x11\x22\x33", 3));
            break;
        case 4:
            ok = w.zeroTerminated(offset, u"\u0111\u0122") == 3;
            break;
        }
        QCOMPARE(ok, fits);
        QCOMPARE(w.failed(), !fits);
        if (!fits)
            QVERIFY(std::all_of(buffer.begin(), buffer.end(), [](quint8 v) { return v == 0xEE; }));
        else
            QCOMPARE(buffer[size_t(offset)], quint8(0x11));
    }
};

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
