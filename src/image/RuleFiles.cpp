// SPDX-License-Identifier: MIT
#include "RuleFiles.h"

#include "ImageLayout.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "common/TextValues.h"
#include "common/XmlTree.h"

namespace RuleFiles {

namespace {

FileError lacks(const QString& path, const char* element) {
    return FileError(QStringLiteral("The file %1 has no element %2.").arg(Files::shown(path), QLatin1String(element)));
}

quint32 intAttribute(const Xml::Element& row, QStringView name, qint32 fallback) {
    const std::optional<QString> text = row.attribute(name);
    return quint32(text ? Values::toInt32(*text).value_or(fallback) : fallback);
}

// A row counts unless its Enable, trimmed and upper-cased, is something other than "Y".
bool ruleEnabled(const Xml::Element& row) {
    const std::optional<QString> enable = row.attribute(u"Enable");
    return !enable || Values::isYes(*enable);
}

bool flagSet(const Xml::Element& row, QStringView name) {
    const std::optional<QString> text = row.attribute(name);
    return text && Values::asciiUpper(*text) == u"Y";
}

QList<LoRaWANRule> readRules(const Xml::Element& list, bool uplink, bool variablePort) {
    QList<LoRaWANRule> rules;
    int row = 0;
    for (Xml::Element e = list.firstChild(); !e.isNull(); e = e.nextSibling()) {
        ++row;
        if (!ruleEnabled(e))
            continue;
        LoRaWANRule r;
        r.row = row;
        r.startByte = quint16(intAttribute(e, u"StartByte", 0));
        r.numByte = quint16(intAttribute(e, u"NumByte", 0));
        if (uplink) {
            r.triggers = quint8((flagSet(e, u"OnChange") ? 1 : 0) | (flagSet(e, u"OnCMD") ? 2 : 0) |
                                (flagSet(e, u"OnTimer") ? 4 : 0));
            r.time = intAttribute(e, u"Time", 30);
        }
        r.fPort = variablePort ? quint8(intAttribute(e, u"FPort", 2)) : 2;
        rules.append(r);
    }
    return rules;
}

} // namespace

std::optional<LoRaWANLists> readLoRaWAN(const QString& path, bool variablePort) {
    const std::optional<Xml::Tree> tree = Xml::loadTree(path);
    if (!tree)
        return std::nullopt;
    const Xml::Element root = tree->firstNodeAsRoot();
    if (root.isNull() && !tree->rootElement().isNull())
        throw FileError(
            QStringLiteral("The file %1 has no element LoRaWAN_Uplink where it is looked for: a declaration, "
                           "comment or processing instruction stands before its root element.")
                .arg(Files::shown(path)));
    const Xml::Element uplink = root.firstChild(u"LoRaWAN_Uplink");
    if (uplink.isNull())
        throw lacks(path, "LoRaWAN_Uplink");
    const Xml::Element downlink = root.firstChild(u"LoRaWAN_Downlink");
    if (downlink.isNull())
        throw lacks(path, "LoRaWAN_Downlink");
    LoRaWANLists lists;
    lists.uplink = readRules(uplink, true, variablePort);
    lists.downlink = readRules(downlink, false, variablePort);
    return lists;
}

std::optional<QList<OpcUaVariable>> readOpcUa(const QString& path) {
    const std::optional<Xml::Tree> tree = Xml::loadTree(path);
    if (!tree)
        return std::nullopt;
    // This file's root is found by its name, whatever stands before it.
    const Xml::Element root = tree->rootElement();
    if (root.isNull() || root.name() != u"OPC_UA_Server")
        throw lacks(path, "OPC_UA_Server");
    const Xml::Element list = root.firstChild(u"OPC_UA_Server_Variables");
    if (list.isNull())
        throw lacks(path, "OPC_UA_Server_Variables");

    QList<OpcUaVariable> variables;
    int row = 0;
    for (Xml::Element e = list.firstChild(); !e.isNull(); e = e.nextSibling()) {
        ++row;
        if (e.attribute(u"Enable") != QStringLiteral("Y"))
            continue;
        OpcUaVariable v;
        v.row = row;
        v.varType = typeCode(e.attribute(u"Type").value_or(QString()));
        v.position = quint16(intAttribute(e, u"Position", 0));
        const std::optional<QString> length = e.attribute(u"Length");
        v.length = length ? quint16(Values::toInt32(*length).value_or(1)) : 0;
        v.writable = e.attribute(u"ReadWrite") == QStringLiteral("Read/Write");
        v.name = e.attribute(u"Name").value_or(QString());
        variables.append(v);
    }
    return variables;
}

quint32 typeCode(QStringView name) {
    for (const Image::TypeName& t : Image::TypeNames)
        if (name == QLatin1String(t.name))
            return t.code;
    return 0;
}

QString typeName(quint32 code) {
    for (const Image::TypeName& t : Image::TypeNames)
        if (t.code == code)
            return QLatin1String(t.name);
    return {};
}

} // namespace RuleFiles
