// SPDX-License-Identifier: MIT
#include "RulesTestUtil.h"
#include "common/FileError.h"
#include "language/TextCatalogue.h"
#include "rules/OpcUaTable.h"
#include "rules/OpcUaVariables.h"
#include "rules/RuleTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace OpcUaVariables;
using RulesTest::dump;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QString fixture(const char* name) {
    return QStringLiteral(TESSARO_FIXTURES "/rules/") + QLatin1String(name);
}

// "Y|type|position|length|name|rw|mnemonic": one row as a line of a table of cases.
QString describe(const OpcUaVariable& v) {
    return QStringList{v.enable ? "Y" : "N", v.type, v.position, v.length, v.name, v.readWrite, v.mnemonic}.join('|');
}

QStringList describe(const QList<OpcUaVariable>& rows) {
    QStringList out;
    for (const OpcUaVariable& v : rows)
        out.append(describe(v));
    return out;
}

OpcUaVariable row(bool enable, const QString& type, const QString& position, const QString& length = {},
                  const QString& name = {}, const QString& rw = {}, const QString& mnemonic = {}) {
    return {enable, type, position, length, name, rw, mnemonic};
}

// The rows of the hand-written golden file, followed by a row that ends the table and one that the
// end hides.
QList<OpcUaVariable> goldenRows() {
    return {row(true, "Float", "0", "4", "Temperature", "Read Only", "Boiler <in> & \"out\""),
            row(false, " String ", "5000", "32", QStringLiteral("T\u00fcr\tA")), row(true, "  ", "7"),
            row(true, "Int16", "9", "2", "hidden")};
}

} // namespace

class TestOpcUaVariables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void writesGoldenBytes_data() {
        QTest::addColumn<QList<OpcUaVariable>>("rows");
        QTest::addColumn<QString>("golden");
        QTest::newRow("two rows, end of table") << goldenRows() << fixture("opcua_two_rows.xml");
        QTest::newRow("no rows") << QList<OpcUaVariable>{} << fixture("opcua_empty.xml");
        QTest::newRow("first row ends it")
            << QList<OpcUaVariable>{row(true, "", "1"), row(true, "Byte", "2")} << fixture("opcua_empty.xml");
    }
    void writesGoldenBytes() {
        QFETCH(QList<OpcUaVariable>, rows);
        QFETCH(QString, golden);
        QTemporaryDir dir;
        const QString path = dir.filePath("OPC_UA_Server.xml");
        save(path, rows);
        const QByteArray first = readFile(path);
        QCOMPARE(first, readFile(golden));
        save(path, rows);
        QCOMPARE(readFile(path), first);
    }

    // Reading the golden file gives back what was written, up to the row that ends the table.
    void roundTrip() {
        const FileContents read = load(fixture("opcua_two_rows.xml"));
        QVERIFY(read.hasList);
        QCOMPARE(describe(read.rows), describe(goldenRows().mid(0, 2)));
    }

    void reads_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("hasList");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("missing attributes are empty, Enable checked")
            << QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables><row Type=\"Byte\"/></OPC_UA_Server_Variables>"
                          "</OPC_UA_Server>")
            << true << QStringList{"Y|Byte|||||"};
        QTest::newRow("only N unchecks")
            << QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables><row Enable=\"N\"/><row Enable=\"n\"/>"
                          "<row Enable=\" N\"/><row Enable=\"\"/><row Enable=\"No\"/></OPC_UA_Server_Variables>"
                          "</OPC_UA_Server>")
            << true << QStringList{"N||||||", "Y||||||", "Y||||||", "Y||||||", "Y||||||"};
        QTest::newRow("values untrimmed, entities and line breaks kept")
            << QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables><row Enable=\"Y\" Type=\" Int16 \" "
                          "Position=\" 5\" Length=\"7 \" Name=\"a&#10;b&#9;c\" ReadWrite=\"Read Only\" "
                          "Mnemonic=\"&lt;&amp;&gt;\"/></OPC_UA_Server_Variables></OPC_UA_Server>")
            << true << QStringList{"Y| Int16 | 5|7 |a\nb\tc|Read Only|<&>"};
        QTest::newRow("any element name counts, comments and texts do not")
            << QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables>\n  <!-- <row Type=\"Byte\"/> -->\n"
                          "  <row Type=\"Byte\"/>text<var Type=\"Float\"><inner Type=\"x\"/></var>"
                          "</OPC_UA_Server_Variables></OPC_UA_Server>")
            << true << QStringList{"Y|Byte|||||", "Y|Float|||||"};
        QTest::newRow("root of another name")
            << QByteArray("<Other><OPC_UA_Server_Variables><row Type=\"Byte\"/></OPC_UA_Server_Variables></Other>")
            << true << QStringList{"Y|Byte|||||"};
        QTest::newRow("no variables list")
            << QByteArray("<OPC_UA_Server><row Type=\"Byte\"/></OPC_UA_Server>") << false << QStringList{};
        QTest::newRow("list nested deeper is not found")
            << QByteArray("<OPC_UA_Server><x><OPC_UA_Server_Variables><row/></OPC_UA_Server_Variables></x>"
                          "</OPC_UA_Server>")
            << false << QStringList{};
        QTest::newRow("comment before the root")
            << QByteArray("<!--x--><OPC_UA_Server><OPC_UA_Server_Variables><row/></OPC_UA_Server_Variables>"
                          "</OPC_UA_Server>")
            << false << QStringList{};
        QTest::newRow("second list ignored")
            << QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables><row Type=\"Byte\"/></OPC_UA_Server_Variables>"
                          "<OPC_UA_Server_Variables><row Type=\"Float\"/></OPC_UA_Server_Variables></OPC_UA_Server>")
            << true << QStringList{"Y|Byte|||||"};
    }
    void reads() {
        QFETCH(QByteArray, xml);
        QFETCH(bool, hasList);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        const QString path = dir.filePath("OPC_UA_Server.xml");
        QVERIFY(writeFile(path, xml));
        const FileContents read = load(path);
        QCOMPARE(read.hasList, hasList);
        QCOMPARE(describe(read.rows), rows);
    }

    void missingFileHasNoVariables() {
        QTemporaryDir dir;
        const FileContents read = load(dir.filePath("OPC_UA_Server.xml"));
        QVERIFY(read.rows.isEmpty());
        QVERIFY(!read.hasList);
    }

    void notWellFormedNamesFileAndPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath("OPC_UA_Server.xml");
        QVERIFY(writeFile(path, "<OPC_UA_Server><OPC_UA_Server_Variables>\n<row Type=\"Byte\">"
                                "</OPC_UA_Server_Variables></OPC_UA_Server>"));
        try {
            load(path);
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("OPC_UA_Server.xml")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("line 2")), qPrintable(e.message()));
        }
    }

    // Characters an XML file cannot hold are dropped on writing, so every file written reads back.
    void unwritableCharactersDropped() {
        const QList<OpcUaVariable> rows{row(true, "Byte", "1", "1",
                                            QStringLiteral("a\x01"
                                                           "b\uFFFE"
                                                           "c")),
                                        row(true, "Byte", "2", "1", QString(QChar(0xD800)) + "d")};
        const FileContents read = parse(toXml(rows), "mem");
        QCOMPARE(describe(read.rows), (QStringList{"Y|Byte|1|1|abc||", "Y|Byte|2|1|d||"}));
    }

    void typeNamesExact_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("length"); // -1: not a type name
        QTest::addColumn<bool>("locked");
        QTest::newRow("Signed Byte") << "Signed Byte" << 1 << true;
        QTest::newRow("UInt16") << "UInt16" << 2 << true;
        QTest::newRow("Float") << "Float" << 4 << true;
        QTest::newRow("Double") << "Double" << 8 << true;
        QTest::newRow("ByteString") << "ByteString" << 10 << false;
        QTest::newRow("lower case") << "float" << -1 << false;
        QTest::newRow("blank after") << "Float " << -1 << false;
        QTest::newRow("empty") << "" << -1 << false;
    }
    void typeNamesExact() {
        QFETCH(QString, name);
        QFETCH(int, length);
        QFETCH(bool, locked);
        const std::optional<TypeInfo> t = typeNamed(name);
        QCOMPARE(t.has_value(), length >= 0);
        if (t) {
            QCOMPARE(t->length, length);
            QCOMPARE(t->locked, locked);
        }
    }

    void positionCheck_data() {
        QTest::addColumn<QList<OpcUaVariable>>("rows");
        QTest::addColumn<QList<int>>("failing");

        QTest::newRow("bounds") << QList<OpcUaVariable>{row(true, "Byte", "0"), row(true, "Byte", "1999"),
                                                        row(true, "Byte", "2000"), row(true, "Byte", "-1")}
                                << QList<int>{3, 4};
        QTest::newRow("not a number counts as -1")
            << QList<OpcUaVariable>{row(true, "Byte", ""),     row(true, "Byte", "abc"),
                                    row(true, "Byte", " 5"),   row(true, "Byte", "5 "),
                                    row(true, "Byte", "0x10"), row(true, "Byte", "99999999999999999999"),
                                    row(true, "Byte", "+5"),   row(true, "Byte", "-")}
            << QList<int>{1, 2, 3, 4, 5, 6, 8};
        QTest::newRow("unchecked rows not checked")
            << QList<OpcUaVariable>{row(false, "Byte", "5000"), row(true, "Byte", "10")} << QList<int>{};
        QTest::newRow("empty Type passed over, later rows checked")
            << QList<OpcUaVariable>{row(true, "Byte", "1"), row(true, "  ", "5000"), row(true, "Float", "2000")}
            << QList<int>{3};
        QTest::newRow("unknown type still checked")
            << QList<OpcUaVariable>{row(true, "Decimal", "2500")} << QList<int>{1};
    }
    void positionCheck() {
        QFETCH(QList<OpcUaVariable>, rows);
        QFETCH(QList<int>, failing);
        QCOMPARE(failingRows(rows), failing);

        TextCatalogue texts;
        texts.Build_Default_Texts();
        const std::optional<QString> message = Controllo_dati(rows, texts);
        if (failing.isEmpty())
            QVERIFY(!message);
        else
            QCOMPARE(message.value_or("(none)"),
                     QStringLiteral("Error row %1!! Position Must be Between 0 and 2000").arg(failing.first()));
    }

    // Types chosen one after the other in row 1 (a leading "rw=" presets the R/W cell instead):
    // the row's cells as the grid holds them afterwards.
    void varSetLength_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("row");
        QTest::newRow("Float") << QStringList{"Float"} << "[x]|||!4||Read/Write|";
        QTest::newRow("Float then String: unlocked") << QStringList{"Float", "String"} << "[x]|||10||Read/Write|";
        QTest::newRow("Boolean") << QStringList{"Boolean"} << "[x]|||!1||Read/Write|";
        QTest::newRow("UInt64") << QStringList{"UInt64"} << "[x]|||!8||Read/Write|";
        QTest::newRow("ByteString then Int16") << QStringList{"ByteString", "Int16"} << "[x]|||!2||Read/Write|";
        QTest::newRow("unknown name leaves Length and lock")
            << QStringList{"Double", "double", "", " Float"} << "[x]|||!8||Read/Write|";
        QTest::newRow("unknown name still fills R/W") << QStringList{"Decimal"} << "[x]|||||Read/Write|";
        QTest::newRow("R/W kept") << QStringList{"rw=Read Only", "Byte"} << "[x]|||!1||Read Only|";
        QTest::newRow("blank R/W is not empty") << QStringList{"rw= ", "Byte"} << "[x]|||!1|| |";
    }
    void varSetLength() {
        QFETCH(QStringList, steps);
        QFETCH(QString, row);
        RuleTable grid;
        TextCatalogue texts;
        OpcUaTable::Init_Table(grid, texts);
        for (const QString& step : steps) {
            if (step.startsWith("rw="))
                grid.setCellText(1, OpcUaTable::ColReadWrite, step.mid(3));
            else
                OpcUaTable::VarSetLength(grid, step, 1);
        }
        QCOMPARE(dump(grid).first(), row);
        QCOMPARE(dump(grid).at(1), QString("[x]||||||"));
    }

    // A stored variable shown in the grid: the stored Length and R/W win, the lock follows the type.
    void fillRow_data() {
        QTest::addColumn<QByteArray>("attributes");
        QTest::addColumn<QString>("row");
        QTest::newRow("Int16 with Length 7") << QByteArray("Enable=\"Y\" Type=\"Int16\" Position=\"4\" Length=\"7\" "
                                                           "Name=\"a\" ReadWrite=\"Read Only\" Mnemonic=\"m\"")
                                             << "[x]|Int16|4|!7|a|Read Only|m";
        QTest::newRow("missing Length and R/W stay empty") << QByteArray("Type=\"Float\"") << "[x]|Float||!|||";
        QTest::newRow("String keeps its Length, unlocked")
            << QByteArray("Type=\"String\" Length=\"32\"") << "[x]|String||32|||";
        QTest::newRow("Enable n is checked")
            << QByteArray("Enable=\"n\" Type=\"Byte\" Length=\"1\"") << "[x]|Byte||!1|||";
        QTest::newRow("Enable N is not") << QByteArray("Enable=\"N\" Type=\"Byte\" Length=\"1\"") << "[ ]|Byte||!1|||";
        QTest::newRow("unknown type: nothing locked")
            << QByteArray("Type=\"int16\" Length=\"2\" ReadWrite=\"rw\"") << "[x]|int16||2||rw|";
    }
    void fillRow() {
        QFETCH(QByteArray, attributes);
        QFETCH(QString, row);
        const QByteArray xml = "<OPC_UA_Server><OPC_UA_Server_Variables><row " + attributes +
                               "/></OPC_UA_Server_Variables></OPC_UA_Server>";
        RuleTable grid;
        TextCatalogue texts;
        OpcUaTable::Init_Table(grid, texts);
        OpcUaTable::fill(grid, parse(xml, "mem").rows);
        QCOMPARE(dump(grid).first(), row);
        // What is shown is what is saved again.
        QCOMPARE(describe(OpcUaTable::variableAt(grid, 1)), describe(parse(xml, "mem").rows.first()));
    }
};

QTEST_GUILESS_MAIN(TestOpcUaVariables)
#include "tst_opcuavariables.moc"
