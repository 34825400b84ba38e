// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// Reads bank1.bin and bank2.bin back into named fields through the layout tables the builder writes
// with, and checks them: sizes, checksum, section and table addresses, counts, zero padding, and that
// every string address points into the string area at a terminated string. What a device was given.
namespace ImageDump {

struct Field {
    QString name;
    QJsonValue value;
    QString note;         // a reading of the value for people: a region, a type name, the trigger names
    bool address = false; // shown in hex
    bool text = false;    // shown in quotes
};

struct Record {
    QList<Field> fields;
    QJsonObject toJson() const;
};

struct Dump {
    qsizetype bank1Size = 0;
    qsizetype bank2Size = 0;
    Record general;
    Record loRaWAN;
    QList<Record> uplink;   // the used entries
    QList<Record> downlink; // the used entries
    Record opcUa;           // the header and the NTP name read through its address
    QList<Record> variables;
    QStringList problems; // one line per inconsistency; empty when the images are sound

    QJsonObject toJson() const;
    QString toText() const;
};

Dump decode(const QByteArray& bank1, const QByteArray& bank2);

} // namespace ImageDump
