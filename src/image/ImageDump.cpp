// SPDX-License-Identifier: MIT
#include "ImageDump.h"

#include "ImageLayout.h"
#include "LeWriter.h"
#include "RuleFiles.h"

#include <QJsonArray>
#include <span>
#include <vector>

using namespace Image;

namespace ImageDump {

namespace {

QString hex32(quint32 v) {
    return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(8, u'0');
}

QString hexOffset(qsizetype v) {
    return QStringLiteral("0x") + QString::number(v, 16).toUpper();
}

QString latin1(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

// Control characters would garble a terminal: shown as \xNN.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'"' || c == u'\\')
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

bool isAddressField(const char* name) {
    const QLatin1String n(name);
    return (n.endsWith(QLatin1String("_Address")) && n != QLatin1String("Device_Address") &&
            n != QLatin1String("IP_Address")) ||
           n.startsWith(QLatin1String("Add_")) || n == QLatin1String("Checksum");
}

// A record decoded by its table from `base` in `reader`; marks the bytes it covers in `covered`.
Record decodeRecord(const LeReader& reader, qsizetype base, std::span<const Image::Field> table,
                    std::vector<bool>* covered = nullptr) {
    Record record;
    for (const Image::Field& f : table) {
        const qsizetype at = base + f.offset;
        Field out;
        out.name = QLatin1String(f.name);
        out.address = isAddressField(f.name);
        switch (f.type) {
        case FieldType::U8:
        case FieldType::U16:
        case FieldType::U32:
            out.value = double(reader.get(base, f));
            break;
        case FieldType::Quad: {
            const QByteArray b = reader.bytes(at, 4);
            out.value = b.size() == 4 ? QStringLiteral("%1.%2.%3.%4")
                                            .arg(quint8(b[0]))
                                            .arg(quint8(b[1]))
                                            .arg(quint8(b[2]))
                                            .arg(quint8(b[3]))
                                      : QString();
            break;
        }
        case FieldType::Hex:
            out.value = QString::fromLatin1(reader.bytes(at, f.width).toHex().toUpper());
            break;
        case FieldType::Text: {
            const QByteArray b = reader.bytes(at, f.width);
            const qsizetype zero = b.indexOf('\0');
            out.value = latin1(zero < 0 ? b : b.left(zero));
            out.text = true;
            break;
        }
        }
        if (covered)
            for (qsizetype i = at; i < at + f.width && i < qsizetype(covered->size()); ++i)
                (*covered)[size_t(i)] = true;
        record.fields.append(out);
    }
    return record;
}

quint32 number(const Record& r, const char* name) {
    for (const Field& f : r.fields)
        if (f.name == QLatin1String(name))
            return quint32(f.value.toDouble());
    return 0;
}

void setNote(Record& r, const char* name, const QString& note) {
    for (Field& f : r.fields)
        if (f.name == QLatin1String(name))
            f.note = note;
}

// Bytes of `reader` in [from, to) that are not covered and not zero.
void checkZeros(const LeReader& reader, const std::vector<bool>& covered, qsizetype from, qsizetype to,
                const QString& what, QStringList& problems) {
    qsizetype count = 0;
    qsizetype first = -1;
    for (qsizetype i = from; i < to && i < reader.size(); ++i) {
        if (!covered[size_t(i)] && reader.u8(i) != 0) {
            if (first < 0)
                first = i;
            ++count;
        }
    }
    if (count > 0)
        problems << QStringLiteral("%1: %2 byte(s) outside the fields are not zero, the first at offset %3")
                        .arg(what)
                        .arg(count)
                        .arg(hexOffset(first));
}

QString triggerNames(quint32 flags) {
    QStringList names;
    if (flags & 1)
        names << QStringLiteral("OnChange");
    if (flags & 2)
        names << QStringLiteral("OnCMD");
    if (flags & 4)
        names << QStringLiteral("OnTimer");
    return names.join(u' ');
}

void decodeBank1(const QByteArray& bank1, Dump& d) {
    const LeReader r(std::span(reinterpret_cast<const quint8*>(bank1.constData()), size_t(bank1.size())));
    d.bank1Size = bank1.size();
    if (bank1.size() != GeneralBlockSize)
        d.problems << QStringLiteral("bank1.bin is %1 bytes; the general parameter block is %2 bytes")
                          .arg(bank1.size())
                          .arg(GeneralBlockSize);
    std::vector<bool> covered(size_t(qMax<qsizetype>(bank1.size(), GeneralBlockSize)), false);
    d.general = decodeRecord(r, 0, General::Fields, &covered);
    if (bank1.size() < GeneralBlockSize)
        return;

    quint32 sum = 0;
    for (qsizetype i = 0; i < ChecksumCoveredBytes; ++i)
        sum += r.u8(i);
    const quint32 stored = r.get(0, General::Fields[General::Checksum]);
    if (sum != stored)
        d.problems << QStringLiteral("bank1.bin: the checksum at 0x7FC is %1, but bytes 0 to 0x7FB add up to %2")
                          .arg(stored)
                          .arg(sum);
    const auto address = [&](General::Id id, quint32 expected) {
        const quint32 v = r.get(0, General::Fields[id]);
        if (v != expected)
            d.problems << QStringLiteral("bank1.bin: %1 is %2; it must be %3")
                              .arg(QLatin1String(General::Fields[id].name), hex32(v), hex32(expected));
    };
    address(General::OPC_UA_Section_Address, OpcUaSectionAddress);
    address(General::LoRaWAN_Section_Address, Bank2Address);
    const Image::Field& name = General::Fields[General::Device_Name];
    if (r.u8(name.offset + name.width - 1) != 0)
        d.problems << QStringLiteral("bank1.bin: the device name has no terminating zero byte");
    checkZeros(r, covered, 0, GeneralBlockSize, QStringLiteral("bank1.bin"), d.problems);
}

// The zero-terminated string at device address `address`, which must lie in the string area
// [areaStart, areaEnd) of the OPC UA section; nothing (and a problem) otherwise.
std::optional<QString> stringAt(const LeReader& r, quint32 address, quint32 areaStart, quint32 areaEnd,
                                const QString& what, QStringList& problems) {
    if (address < areaStart || address >= areaEnd) {
        problems << QStringLiteral("bank2.bin: %1 is %2, outside the string area %3 to %4")
                        .arg(what, hex32(address), hex32(areaStart), hex32(areaEnd - 1));
        return std::nullopt;
    }
    const qsizetype from = qsizetype(address - Bank2Address);
    const qsizetype end = qsizetype(areaEnd - Bank2Address);
    for (qsizetype i = from; i < end; ++i)
        if (r.u8(i) == 0)
            return latin1(r.bytes(from, i - from));
    problems
        << QStringLiteral("bank2.bin: the string of %1 at %2 has no terminating zero byte").arg(what, hex32(address));
    return std::nullopt;
}

void decodeBank2(const QByteArray& bank2, Dump& d) {
    const LeReader r(std::span(reinterpret_cast<const quint8*>(bank2.constData()), size_t(bank2.size())));
    d.bank2Size = bank2.size();
    constexpr qsizetype smallest = LoRaWANSectionSize + OpcUaHeaderSize + 1;
    if (bank2.size() < smallest || bank2.size() > BufferSize)
        d.problems << QStringLiteral("bank2.bin is %1 bytes; it must hold %2 to %3 bytes")
                          .arg(bank2.size())
                          .arg(smallest)
                          .arg(BufferSize);

    // LoRaWAN section.
    std::vector<bool> covered(size_t(LoRaWANSectionSize), false);
    d.loRaWAN = decodeRecord(r, 0, LoRaWANParam::Fields, &covered);
    for (const TypeName& region : RegionCodes)
        if (region.code == number(d.loRaWAN, "Region"))
            setNote(d.loRaWAN, "Region", QLatin1String(region.name));
    setNote(d.loRaWAN, "Network_Type",
            number(d.loRaWAN, "Network_Type") == 1 ? QStringLiteral("Public") : QStringLiteral("Private"));
    setNote(d.loRaWAN, "Confirmed_Uplinks",
            number(d.loRaWAN, "Confirmed_Uplinks") == 1 ? QStringLiteral("Confirmed") : QStringLiteral("Unconfirmed"));
    setNote(d.loRaWAN, "Activation_Method",
            number(d.loRaWAN, "Activation_Method") == 1 ? QStringLiteral("OTAA") : QStringLiteral("ABP"));
    setNote(d.loRaWAN, "Port_Field_Flag",
            number(d.loRaWAN, "Port_Field_Flag") == 1 ? QStringLiteral("Variable") : QStringLiteral("Fixed"));
    if (bank2.size() < LoRaWANSectionSize)
        return;
    const auto table = [&](const char* addressField, const char* countField, qsizetype offset, QList<Record>& out,
                           const char* what) {
        const quint32 address = number(d.loRaWAN, addressField);
        if (address != Bank2Address + quint32(offset))
            d.problems << QStringLiteral("bank2.bin: %1 is %2; it must be %3")
                              .arg(QLatin1String(addressField), hex32(address), hex32(Bank2Address + quint32(offset)));
        quint32 count = number(d.loRaWAN, countField);
        if (count > quint32(RuleTableEntries)) {
            d.problems << QStringLiteral("bank2.bin: %1 is %2; a table holds %3 entries")
                              .arg(QLatin1String(countField))
                              .arg(count)
                              .arg(RuleTableEntries);
            count = RuleTableEntries;
        }
        for (quint32 i = 0; i < count; ++i) {
            Record entry = decodeRecord(r, offset + qsizetype(i) * RuleSize, Rule::Fields, &covered);
            if (QLatin1String(what) == QLatin1String("uplink"))
                setNote(entry, "Trigger_Flags", triggerNames(number(entry, "Trigger_Flags")));
            out.append(entry);
        }
    };
    table("Uplink_Table_Address", "Uplink_Count", UplinkTableOffset, d.uplink, "uplink");
    table("Downlink_Table_Address", "Downlink_Count", DownlinkTableOffset, d.downlink, "downlink");
    checkZeros(r, covered, 0, LoRaWANSectionSize, QStringLiteral("bank2.bin, LoRaWAN section"), d.problems);

    // OPC UA section.
    if (bank2.size() < LoRaWANSectionSize + OpcUaHeaderSize)
        return;
    const qsizetype s = LoRaWANSectionSize;
    d.opcUa = decodeRecord(r, s, OpcUaHeader::Fields);
    const quint32 n = number(d.opcUa, "Num_Var");
    const quint32 addNumVar = number(d.opcUa, "Add_Num_Var");
    if (addNumVar != OpcUaSectionAddress + quint32(OpcUaHeaderSize))
        d.problems << QStringLiteral("bank2.bin: Add_Num_Var is %1; it must be %2")
                          .arg(hex32(addNumVar), hex32(OpcUaSectionAddress + quint32(OpcUaHeaderSize)));
    const qsizetype areaOffset = s + OpcUaHeaderSize + qsizetype(n) * OpcUaVarSize; // E as a file offset
    if (areaOffset >= bank2.size()) {
        d.problems << QStringLiteral("bank2.bin: Num_Var is %1, but the file ends before the string area").arg(n);
        return;
    }
    const quint32 areaStart = Bank2Address + quint32(areaOffset);
    const quint32 areaEnd = Bank2Address + quint32(bank2.size());
    if (r.u8(areaOffset) != 0)
        d.problems << QStringLiteral("bank2.bin: the string area does not start with the empty string");
    if (r.u8(bank2.size() - 1) != 0)
        d.problems << QStringLiteral("bank2.bin: the file does not end with a zero byte");

    Field ntp{QStringLiteral("NTP"), QString(), QString(), false, true};
    if (const auto text =
            stringAt(r, number(d.opcUa, "Add_NTP"), areaStart, areaEnd, QStringLiteral("Add_NTP"), d.problems))
        ntp.value = *text;
    d.opcUa.fields.append(ntp);

    for (quint32 i = 0; i < n; ++i) {
        Record v = decodeRecord(r, s + OpcUaHeaderSize + qsizetype(i) * OpcUaVarSize, OpcUaVar::Fields);
        const QString type = RuleFiles::typeName(number(v, "VarType"));
        setNote(v, "Options", number(v, "Options") & 1 ? QStringLiteral("Read/Write") : QStringLiteral("Read Only"));
        v.fields.append({QStringLiteral("Type"), type, QString(), false, true});
        Field name{QStringLiteral("Name"), QString(), QString(), false, true};
        if (const auto text = stringAt(r, number(v, "Add_Name"), areaStart, areaEnd,
                                       QStringLiteral("Add_Name of variable %1").arg(i), d.problems))
            name.value = *text;
        v.fields.append(name);
        d.variables.append(v);
    }
}

QString valueText(const Field& f) {
    QString text;
    if (f.text)
        text = quoted(f.value.toString());
    else if (f.value.isString())
        text = f.value.toString();
    else if (f.address)
        text = hex32(quint32(f.value.toDouble()));
    else
        text = QString::number(qint64(f.value.toDouble()));
    if (!f.note.isEmpty())
        text += QStringLiteral(" (") + f.note + u')';
    return text;
}

void appendBlock(QString& out, const Record& r) {
    for (const Field& f : r.fields)
        out += QStringLiteral("  %1 = %2\n").arg(f.name, -24).arg(valueText(f));
}

void appendLines(QString& out, const QList<Record>& records) {
    for (qsizetype i = 0; i < records.size(); ++i) {
        QStringList parts;
        for (const Field& f : records[i].fields)
            parts << f.name + u'=' + valueText(f);
        out += QStringLiteral("  [%1] ").arg(i) + parts.join(u' ') + u'\n';
    }
}

QJsonArray jsonArray(const QList<Record>& records) {
    QJsonArray a;
    for (const Record& r : records)
        a.append(r.toJson());
    return a;
}

} // namespace

QJsonObject Record::toJson() const {
    QJsonObject o;
    for (const Field& f : fields)
        o.insert(f.name, f.value);
    return o;
}

QJsonObject Dump::toJson() const {
    QJsonObject bank1 = general.toJson();
    bank1.insert(QStringLiteral("size"), double(bank1Size));
    QJsonObject lora = loRaWAN.toJson();
    lora.insert(QStringLiteral("uplink"), jsonArray(uplink));
    lora.insert(QStringLiteral("downlink"), jsonArray(downlink));
    QJsonObject opc = opcUa.toJson();
    opc.insert(QStringLiteral("variables"), jsonArray(variables));
    QJsonObject bank2;
    bank2.insert(QStringLiteral("size"), double(bank2Size));
    bank2.insert(QStringLiteral("lorawan"), lora);
    bank2.insert(QStringLiteral("opcua"), opc);
    QJsonObject o;
    o.insert(QStringLiteral("bank1"), bank1);
    o.insert(QStringLiteral("bank2"), bank2);
    o.insert(QStringLiteral("problems"), QJsonArray::fromStringList(problems));
    return o;
}

QString Dump::toText() const {
    QString out;
    out += QStringLiteral("bank1.bin: general parameter block, %1 bytes\n").arg(bank1Size);
    appendBlock(out, general);
    out += QStringLiteral("\nbank2.bin: %1 bytes\nLoRaWAN settings\n").arg(bank2Size);
    appendBlock(out, loRaWAN);
    out += QStringLiteral("Uplink rules: %1\n").arg(uplink.size());
    appendLines(out, uplink);
    out += QStringLiteral("Downlink rules: %1\n").arg(downlink.size());
    appendLines(out, downlink);
    out += QStringLiteral("OPC UA server\n");
    appendBlock(out, opcUa);
    out += QStringLiteral("Variables: %1\n").arg(variables.size());
    appendLines(out, variables);
    return out;
}

Dump decode(const QByteArray& bank1, const QByteArray& bank2) {
    Dump d;
    decodeBank1(bank1, d);
    decodeBank2(bank2, d);
    return d;
}

} // namespace ImageDump
