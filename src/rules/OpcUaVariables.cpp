// SPDX-License-Identifier: MIT
#include "OpcUaVariables.h"

#include "common/ReadFile.h"
#include "common/SaveFile.h"
#include "common/TextFormat.h"
#include "common/Xml.h"
#include "common/XmlTree.h"
#include "language/TextCatalogue.h"

#include <QXmlStreamWriter>

namespace OpcUaVariables {

namespace {

const QString kRoot = QStringLiteral("OPC_UA_Server");
const QString kList = QStringLiteral("OPC_UA_Server_Variables");
const QString kRow = QStringLiteral("row");
const QString kVersionComment = QStringLiteral("SW_VERSION = 1.001");

// Attribute names in the order they are written.
const QString kEnable = QStringLiteral("Enable");
const QString kType = QStringLiteral("Type");
const QString kPosition = QStringLiteral("Position");
const QString kLength = QStringLiteral("Length");
const QString kName = QStringLiteral("Name");
const QString kReadWrite = QStringLiteral("ReadWrite");
const QString kMnemonic = QStringLiteral("Mnemonic");

} // namespace

const QList<TypeInfo>& types() {
    static const QList<TypeInfo> list = {
        {"Boolean", 1, true},      {"Signed Byte", 1, true}, {"Byte", 1, true},   {"Int16", 2, true},
        {"UInt16", 2, true},       {"Int32", 4, true},       {"UInt32", 4, true}, {"Int64", 8, true},
        {"UInt64", 8, true},       {"Float", 4, true},       {"Double", 8, true}, {"String", 10, false},
        {"ByteString", 10, false},
    };
    return list;
}

QStringList VarType() {
    QStringList names;
    for (const TypeInfo& t : types())
        names.append(QString::fromLatin1(t.name));
    return names;
}

QStringList RWType() {
    return {QStringLiteral("Read Only"), QString::fromLatin1(ReadWriteDefault)};
}

std::optional<TypeInfo> typeNamed(const QString& name) {
    for (const TypeInfo& t : types())
        if (name == QLatin1String(t.name))
            return t;
    return std::nullopt;
}

bool endsTable(const OpcUaVariable& row) {
    return row.type.trimmed().isEmpty();
}

FileContents parse(const QByteArray& data, const QString& path) {
    const Xml::Tree tree = Xml::parseTree(data, path);
    const Xml::Element list = tree.firstNodeAsRoot().firstChild(kList);
    FileContents contents;
    contents.hasList = !list.isNull();
    const QList<Xml::Element> children = list.children();
    contents.rows.reserve(children.size());
    for (const Xml::Element& e : children) {
        OpcUaVariable v;
        v.enable = e.attribute(kEnable) != QStringLiteral("N");
        v.type = e.attribute(kType, QString());
        v.position = e.attribute(kPosition, QString());
        v.length = e.attribute(kLength, QString());
        v.name = e.attribute(kName, QString());
        v.readWrite = e.attribute(kReadWrite, QString());
        v.mnemonic = e.attribute(kMnemonic, QString());
        contents.rows.append(std::move(v));
    }
    return contents;
}

FileContents load(const QString& path) {
    const std::optional<QByteArray> data = Files::readRegularFileIfExists(path);
    if (!data)
        return {};
    return parse(*data, path);
}

namespace {

QByteArray writeXml(const QList<OpcUaVariable>& rows, const QString& path) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    Xml::prepareWriter(w);
    w.writeStartElement(kRoot);
    w.writeStartElement(kList);
    for (const OpcUaVariable& v : rows) {
        if (endsTable(v))
            break;
        w.writeStartElement(kRow);
        w.writeAttribute(kEnable, v.enable ? QStringLiteral("Y") : QStringLiteral("N"));
        w.writeAttribute(kType, Xml::xmlSafe(v.type));
        w.writeAttribute(kPosition, Xml::xmlSafe(v.position));
        w.writeAttribute(kLength, Xml::xmlSafe(v.length));
        w.writeAttribute(kName, Xml::xmlSafe(v.name));
        w.writeAttribute(kReadWrite, Xml::xmlSafe(v.readWrite));
        w.writeAttribute(kMnemonic, Xml::xmlSafe(v.mnemonic));
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeComment(kVersionComment);
    Xml::checkWriter(w, path);
    return out;
}

} // namespace

QByteArray toXml(const QList<OpcUaVariable>& rows) {
    return writeXml(rows, QStringLiteral("OPC_UA_Server.xml"));
}

void save(const QString& path, const QList<OpcUaVariable>& rows) {
    saveFileOrThrow(path, writeXml(rows, path));
}

qint64 positionValue(const QString& text) {
    const qsizetype start = (text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))) ? 1 : 0;
    if (text.size() == start)
        return -1;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return -1;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok ? n : -1;
}

QList<int> failingRows(const QList<OpcUaVariable>& rows) {
    QList<int> failing;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const OpcUaVariable& v = rows[i];
        if (endsTable(v) || !v.enable)
            continue;
        const qint64 p = positionValue(v.position);
        if (p < 0 || p >= PositionLimit)
            failing.append(int(i + 1));
    }
    return failing;
}

QString positionError(int row, const TextCatalogue& texts) {
    return Texts::withNumbers(texts.Text(TextPositionError), {row, PositionLimit});
}

std::optional<QString> Controllo_dati(const QList<OpcUaVariable>& rows, const TextCatalogue& texts) {
    const QList<int> failing = failingRows(rows);
    if (failing.isEmpty())
        return std::nullopt;
    return positionError(failing.first(), texts);
}

} // namespace OpcUaVariables
