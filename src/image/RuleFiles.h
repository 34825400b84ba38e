// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <optional>

// The two rule files as the image builder reads them: LoRaWAN_SetAccess.xml (uplink and downlink
// rules) and OPC_UA_Server.xml (server variables). Only the rows the device gets are returned, each
// with the values it gets at their stored widths, and with its row number in the file (the n-th child
// element of the list, counted from 1), so the configuration check can name it.
namespace RuleFiles {

struct LoRaWANRule {
    int row = 0;
    quint16 startByte = 0;
    quint16 numByte = 0;
    quint8 triggers = 0; // bit 0 OnChange, bit 1 OnCMD, bit 2 OnTimer; 0 for downlink rules
    quint8 fPort = 2;
    quint32 time = 0; // seconds; 0 for downlink rules
};

struct LoRaWANLists {
    // Every enabled row in file order, more than the device's 256 included.
    QList<LoRaWANRule> uplink;
    QList<LoRaWANRule> downlink;
};

// Nothing when the file does not exist. `variablePort`: each rule carries its own FPort (else 2).
// Throws FileError when the file cannot be read, is not well-formed, or its root (the document's first
// node) lacks LoRaWAN_Uplink or LoRaWAN_Downlink.
std::optional<LoRaWANLists> readLoRaWAN(const QString& path, bool variablePort);

struct OpcUaVariable {
    int row = 0;
    quint32 varType = 0;
    quint16 position = 0;
    quint16 length = 0;
    bool writable = false;
    QString name;
};

// The enabled variables in file order; nothing when the file does not exist. Throws FileError when the
// file cannot be read, is not well-formed, or lacks OPC_UA_Server or OPC_UA_Server_Variables.
std::optional<QList<OpcUaVariable>> readOpcUa(const QString& path);

// VarType code of an exact type name; 0 for anything else.
quint32 typeCode(QStringView typeName);
// Name of a VarType code; empty for the codes no name gives.
QString typeName(quint32 code);

} // namespace RuleFiles
