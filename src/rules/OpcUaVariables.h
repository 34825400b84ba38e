// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

class TextCatalogue;

// One variable of the converter's OPC UA server as its editor row shows it: the Enable box and the
// cell texts exactly as typed (untrimmed). The row's place in the table is its number (1 up).
struct OpcUaVariable {
    bool enable = true;
    QString type;
    QString position;
    QString length;
    QString name;
    QString readWrite;
    QString mnemonic;

    bool operator==(const OpcUaVariable&) const = default;
};

namespace OpcUaVariables {

// Rows of the editor's table and the largest byte position plus one in the device's data array.
inline constexpr int MaxVariables = 250;
inline constexpr int PositionLimit = 2000;

// Catalogue entries of the data check and the file reading.
inline constexpr int TextPositionError = 5827; // "Error row %d!! Position Must be Between 0 and %d"
inline constexpr int TextDroppedVariables = 5830;

// A type name with the length that choosing it sets, and whether that length is fixed.
struct TypeInfo {
    const char* name;
    int length;
    bool locked;
};

// The 13 type names in the order of the Type list.
const QList<TypeInfo>& types();
// The names alone, in list order (`VarType`).
QStringList VarType();
// The two access names (`RWType`): "Read Only", "Read/Write".
QStringList RWType();
inline constexpr const char* ReadWriteDefault = "Read/Write";

// The entry whose name is exactly `name` (case and blanks count); nothing for any other text.
std::optional<TypeInfo> typeNamed(const QString& name);

// True when the row ends the table: its Type is empty after trimming blanks.
bool endsTable(const OpcUaVariable& row);

// What a variables file holds: every variable in document order (the editor keeps the first
// MaxVariables), and whether the variables list was found at all.
struct FileContents {
    QList<OpcUaVariable> rows;
    bool hasList = false;
};

// Reads OPC_UA_Server.xml: the document's first node is the root, its element
// OPC_UA_Server_Variables holds one child element per variable (comments and texts are not
// variables). Enable exactly "N" unchecks, anything else or nothing checks; other missing attributes
// give empty texts. A file that does not exist gives no variables. Throws FileError when the file
// cannot be read or is not well-formed.
FileContents load(const QString& path);
FileContents parse(const QByteArray& data, const QString& path);

// The file's bytes: root OPC_UA_Server with OPC_UA_Server_Variables and one row per variable up to
// the first row that ends the table, the SW_VERSION comment after the root. Attributes in the order
// Enable, Type, Position, Length, Name, ReadWrite, Mnemonic; Enable "Y"/"N", the rest as given.
QByteArray toXml(const QList<OpcUaVariable>& rows);

// Writes toXml(rows) atomically; throws FileError (the previous file stays whole).
void save(const QString& path, const QList<OpcUaVariable>& rows);

// The Position as the data check reads it: a decimal integer with an optional sign, -1 for any other
// text (blanks included) and for a number too large to hold.
qint64 positionValue(const QString& text);

// The rows the data check refuses, as row numbers (1 up): checked rows with a Type whose Position lies
// outside 0..PositionLimit-1. Rows with an empty Type are passed over, the rows after them still count.
QList<int> failingRows(const QList<OpcUaVariable>& rows);

// The message of the data check for row number `row` (text 5827 with the row and PositionLimit).
QString positionError(int row, const TextCatalogue& texts);

// The editor's data check (`Controllo_dati`) over the table: the message of the first failing row, or
// nothing when every row passes.
std::optional<QString> Controllo_dati(const QList<OpcUaVariable>& rows, const TextCatalogue& texts);

} // namespace OpcUaVariables
