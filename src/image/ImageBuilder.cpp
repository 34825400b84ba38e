// SPDX-License-Identifier: MIT
#include "ImageBuilder.h"

#include "LeWriter.h"
#include "RuleFiles.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "common/SaveFile.h"
#include "common/TextValues.h"
#include "common/XmlTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

using namespace Image;

namespace {

const Field& G(General::Id id) {
    return General::Fields[id];
}
const Field& L(LoRaWANParam::Id id) {
    return LoRaWANParam::Fields[id];
}

// A hex key: padded on the left with "0" up to `digits`, then read a pair at a time from the left;
// a pair that is not two ASCII hex digits gives 0, and pairs beyond the field are dropped.
QByteArray hexKey(const QString& text, int digits) {
    const QString padded = text.size() < digits ? QString(digits - text.size(), u'0') + text : text;
    const auto nibble = [](QChar c) -> int {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };
    QByteArray out(digits / 2, '\0');
    for (int i = 0; i < digits / 2; ++i) {
        const int hi = nibble(padded[2 * i]);
        const int lo = nibble(padded[2 * i + 1]);
        if (hi >= 0 && lo >= 0)
            out[i] = char(hi * 16 + lo);
    }
    return out;
}

// One ParGen.xml key as the builder reads it: looked up by name under the root, on its own.
class Keys {
public:
    explicit Keys(Xml::Element root)
        : m_root(std::move(root)) {}

    std::optional<QString> text(QStringView name) const { return m_root.childText(name); }
    bool isOne(QStringView name) const { return text(name) == QStringLiteral("1"); }
    quint32 integer(QStringView name, qint32 fallback) const {
        const std::optional<QString> t = text(name);
        return quint32(t ? Values::toInt32(*t).value_or(fallback) : fallback);
    }
    // Trimmed and upper-cased, for the keys compared as keywords.
    QString keyword(QStringView name) const {
        return Values::asciiUpper(Values::trimControls(text(name).value_or(QString())));
    }
    QByteArray hex(QStringView name, int digits) const { return hexKey(text(name).value_or(QString()), digits); }
    // Four one-byte integer keys `prefix`1 .. `prefix`4.
    QByteArray quad(const QString& prefix, std::array<qint32, 4> fallback) const {
        QByteArray out(4, '\0');
        for (int i = 0; i < 4; ++i)
            out[i] = char(integer(QString(prefix + QString::number(i + 1)), fallback[size_t(i)]));
        return out;
    }

private:
    Xml::Element m_root;
};

FileError writeError(const QString& path, const QString& reason) {
    return FileError(QStringLiteral("Cannot write the file %1: %2").arg(Files::shown(path), reason));
}

// Opens `file` and writes all of `data` without committing; throws naming the file on failure.
void stage(QSaveFile& file, const QByteArray& data) {
    if (!file.open(QIODevice::WriteOnly))
        throw writeError(file.fileName(), file.errorString());
    QString reason;
    if (!writeAll(file, data, &reason) || !file.flush()) {
        if (reason.isEmpty())
            reason = file.errorString();
        file.cancelWriting();
        throw writeError(file.fileName(), reason);
    }
}

} // namespace

ConfigFiles ConfigFiles::inFolder(const QString& configFolder) {
    const QDir dir(configFolder);
    return {dir.filePath(QStringLiteral("ParGen.xml")), dir.filePath(QStringLiteral("LoRaWAN_SetAccess.xml")),
            dir.filePath(QStringLiteral("OPC_UA_Server.xml"))};
}

ImageBuilder::ImageBuilder()
    : m_bank1(std::make_unique<Buffer>())
    , m_bank2(std::make_unique<Buffer>()) {
    reset();
}

ImageBuilder::~ImageBuilder() = default;

void ImageBuilder::Build_Images(const ConfigFiles& files) {
    try {
        build(files);
    } catch (...) {
        m_count1 = 0;
        m_count2 = 0;
        throw;
    }
}

void ImageBuilder::build(const ConfigFiles& files) {
    reset();
    readParGen(files.parGen);

    LeWriter general(m_general);
    general.put(0, G(General::LoRaWAN_Section_Address), Bank2Address);
    general.put(0, G(General::OPC_UA_Section_Address), OpcUaSectionAddress);

    readOpcUa(files.opcUa, OpcUaSectionAddress);
    layOutOpcUa(OpcUaSectionAddress, files);
    readLoRaWAN(files.loRaWAN, Bank2Address);

    finishGeneralBlock();
    qsizetype count = serialiseLoRaWAN(0);
    count = serialiseOpcUa(count);
    m_count2 = count;
}

void ImageBuilder::reset() {
    m_general.fill(0);
    LeWriter g(m_general);
    g.put(0, G(General::Fixed_000), 250000);
    g.put(0, G(General::Fixed_004), 250000);
    g.put(0, G(General::Fixed_00C), 9600);
    g.putBytes(0, G(General::IP_Address), QByteArrayView("\xC0\xA8\x02\xCD", 4)); // 192.168.2.205
    g.putBytes(0, G(General::Subnet_Mask), QByteArrayView("\xFF\xFF\xFF\x00", 4));
    g.putBytes(0, G(General::Gateway), QByteArrayView("\xFF\xFF\xFF\xFF", 4)); // no gateway
    g.put(0, G(General::Fixed_034), 10000);
    g.put(0, G(General::Fixed_036), 10001);
    g.put(0, G(General::Fixed_038), 10001);
    for (int id = General::Data_Bits_1; id <= General::Data_Bits_8; ++id)
        g.put(0, G(General::Id(id)), 8);

    m_loRaWAN.fill(0);
    LeWriter l(m_loRaWAN);
    l.put(0, L(LoRaWANParam::Data_Rate), 6);
    l.put(0, L(LoRaWANParam::Max_Payload_Size), 1);
    l.put(0, L(LoRaWANParam::Transmit_Interval), 1);
    l.put(0, L(LoRaWANParam::Link_Check_Interval), 5);

    m_opcUa = TOPC_UA_Server2();

    m_bank1->fill(0);
    m_bank2->fill(0);
    m_count1 = 0;
    m_count2 = 0;
}

void ImageBuilder::readParGen(const QString& path) {
    const std::optional<Xml::Tree> tree = Xml::loadTree(path);
    if (!tree)
        return;
    const Keys keys(tree->firstNodeAsRoot());
    LeWriter g(m_general);
    LeWriter l(m_loRaWAN);

    g.putText(0, G(General::Format_Version), u"1.001");
    g.putText(0, G(General::Device_Name), keys.text(u"Eth_Conn_Device_Name").value_or(QString()));
    g.put(0, G(General::Address_Flags),
          (keys.isOne(u"Eth_Conn_DHCP_Cable") ? 1 : 0) | (keys.isOne(u"Eth_Conn_DHCP_WiFi") ? 2 : 0));
    if (keys.isOne(u"Eth_Conn_Enable_DNS")) {
        g.putBytes(0, G(General::Primary_DNS), keys.quad(QStringLiteral("Eth_Conn_Primary_DNS"), {8, 8, 8, 8}));
        g.putBytes(0, G(General::Secondary_DNS), keys.quad(QStringLiteral("Eth_Conn_Secondary_DNS"), {8, 8, 4, 4}));
    }

    quint32 region = 0;
    const QString band = keys.keyword(u"LoRa_RF_Band");
    for (const TypeName& r : RegionCodes)
        if (band == QLatin1String(r.name))
            region = r.code;
    l.put(0, L(LoRaWANParam::Region), region);
    l.put(0, L(LoRaWANParam::Network_Type), keys.keyword(u"LoRa_Network_Type") == u"PUBLIC" ? 1 : 0);
    l.put(0, L(LoRaWANParam::Adaptive_Data_Rate), keys.integer(u"LoRa_Adaptive_DataRate", 0));
    quint32 dataRate = 0;
    if (const std::optional<QString> rate = keys.text(u"LoRa_DataRate")) {
        const qsizetype dash = rate->indexOf(u'-');
        if (dash >= 0)
            dataRate = quint32(Values::toInt32(Values::trimControls(QStringView(*rate).left(dash))).value_or(0));
    }
    l.put(0, L(LoRaWANParam::Data_Rate), dataRate);
    l.put(0, L(LoRaWANParam::Confirmed_Uplinks), keys.text(u"LoRa_Transmission_Type") == u"Confirmed" ? 1 : 0);
    l.put(0, L(LoRaWANParam::Max_Payload_Size), keys.integer(u"LoRa_Payload_Size", 1));
    l.putBytes(0, L(LoRaWANParam::JoinEUI), keys.hex(u"LoRa_JoinEUI", 16));
    l.put(0, L(LoRaWANParam::Transmit_Interval), keys.integer(u"LoRa_Transmit_Interval", 1));
    const bool otaa = keys.keyword(u"LoRa_Activation_Method") == u"OVER-THE-AIR ACTIVATION [OTAA]";
    l.put(0, L(LoRaWANParam::Activation_Method), otaa ? 1 : 0);
    if (otaa) {
        l.putBytes(0, L(LoRaWANParam::Application_Key), keys.hex(u"LoRa_Application_Key", 32));
    } else {
        l.putBytes(0, L(LoRaWANParam::Device_Address), keys.hex(u"LoRa_Device_Address", 8));
        l.putBytes(0, L(LoRaWANParam::Network_Session_Key), keys.hex(u"LoRa_Network_Session_Key", 32));
        l.putBytes(0, L(LoRaWANParam::Application_Session_Key), keys.hex(u"LoRa_Application_Session_Key", 32));
    }
    if (keys.keyword(u"LoRa_FPort") == u"VARIABLE")
        l.put(0, L(LoRaWANParam::Port_Field_Flag), 1);
    l.put(0, L(LoRaWANParam::Frequency_Sub_Band), keys.integer(u"LoRa_Frequency_SubBand", 1));
    l.put(0, L(LoRaWANParam::Link_Check_Interval), keys.integer(u"LoRa_LNCHECK", 5));

    // Serial line values the firmware expects in every parameter block.
    g.put(0, G(General::Serial_Speed), 19200);
    g.put(0, G(General::Serial_Parity), 0);
    g.put(0, G(General::Serial_Stop_Bits), 1);
    g.put(0, G(General::Data_Bits_6), 8);

    m_opcUa.NTP = keys.text(u"NTP_Server_URL").value_or(QString());
    m_opcUa.NTP_Time = keys.integer(u"NTP_Poll_Time", 1000);

    g.putBytes(0, G(General::IP_Address), keys.quad(QStringLiteral("OPC_UA_Server_IP"), {192, 168, 0, 5}));
    g.putBytes(0, G(General::Subnet_Mask), keys.quad(QStringLiteral("OPC_UA_Server_SM"), {255, 255, 255, 0}));
    g.putBytes(0, G(General::Gateway), keys.quad(QStringLiteral("OPC_UA_Server_GAT"), {192, 168, 0, 1}));
    if (!keys.isOne(u"OPC_UA_Server_EN_GAT"))
        g.putBytes(0, G(General::Gateway), QByteArrayView("\xFF\xFF\xFF\xFF", 4));
    m_opcUa.Port = quint16(keys.integer(u"OPC_UA_Server_Port", 4840));
}

void ImageBuilder::readOpcUa(const QString& path, quint32 sectionAddress) {
    Q_UNUSED(sectionAddress); // the addresses are laid out afterwards, also without a file
    const std::optional<QList<RuleFiles::OpcUaVariable>> variables = RuleFiles::readOpcUa(path);
    if (!variables)
        return;
    m_opcUa.Variables.reserve(variables->size());
    for (const RuleFiles::OpcUaVariable& v : *variables) {
        TOPC_UA_Var2 var;
        var.VarType = v.varType;
        var.Position = v.position;
        var.Length = v.length;
        var.Options = v.writable ? 1 : 0;
        var.Name = v.name;
        m_opcUa.Variables.append(var);
    }
}

void ImageBuilder::layOutOpcUa(quint32 sectionAddress, const ConfigFiles& files) {
    // Worked out in 64 bits first: a hand-edited file may ask for more than the image holds.
    const qint64 n = m_opcUa.Variables.size();
    const qint64 empty = sectionAddress + OpcUaHeaderSize + OpcUaVarSize * n; // E, the empty string
    qint64 next = empty + 1;
    if (!m_opcUa.NTP.isEmpty())
        next += m_opcUa.NTP.size() + 1;
    for (const TOPC_UA_Var2& v : std::as_const(m_opcUa.Variables))
        if (!v.Name.isEmpty())
            next += v.Name.size() + 1;
    const qint64 bank2Size = LoRaWANSectionSize + (next - sectionAddress);
    if (bank2Size > BufferSize) {
        throw FileError(QStringLiteral("Cannot build the device images: bank2.bin would be %1 bytes, more than the "
                                       "%2 bytes the converter takes. Reduce the OPC UA variables or their names "
                                       "in %3 (%4 enabled variables), or the NTP server name in %5.")
                            .arg(bank2Size)
                            .arg(BufferSize)
                            .arg(Files::shown(files.opcUa))
                            .arg(n)
                            .arg(Files::shown(files.parGen)));
    }

    m_opcUa.Num_Var = quint16(n);
    m_opcUa.Add_Num_Var = sectionAddress + quint32(OpcUaHeaderSize);
    quint32 at = quint32(empty) + 1;
    if (m_opcUa.NTP.isEmpty()) {
        m_opcUa.Add_NTP = quint32(empty);
    } else {
        m_opcUa.Add_NTP = at;
        at += quint32(m_opcUa.NTP.size()) + 1;
    }
    for (TOPC_UA_Var2& v : m_opcUa.Variables) {
        if (v.Name.isEmpty()) {
            v.Add_Name = quint32(empty);
        } else {
            v.Add_Name = at;
            at += quint32(v.Name.size()) + 1;
        }
    }
}

void ImageBuilder::readLoRaWAN(const QString& path, quint32 imageAddress) {
    LeWriter l(m_loRaWAN);
    l.put(0, L(LoRaWANParam::Uplink_Table_Address), imageAddress + quint32(UplinkTableOffset));
    l.put(0, L(LoRaWANParam::Downlink_Table_Address), imageAddress + quint32(DownlinkTableOffset));
    l.put(0, L(LoRaWANParam::Uplink_Count), 0);
    l.put(0, L(LoRaWANParam::Downlink_Count), 0);

    const bool variablePort = LeReader(m_loRaWAN).get(0, L(LoRaWANParam::Port_Field_Flag)) == 1;
    const std::optional<RuleFiles::LoRaWANLists> lists = RuleFiles::readLoRaWAN(path, variablePort);
    if (!lists)
        return;

    // Only the first 256 enabled rules of a list fit its table; the rest are left out.
    const auto fill = [&](const QList<RuleFiles::LoRaWANRule>& rules, qsizetype table, LoRaWANParam::Id countField) {
        const int count = int(qMin<qsizetype>(rules.size(), RuleTableEntries));
        for (int i = 0; i < count; ++i) {
            const RuleFiles::LoRaWANRule& r = rules[i];
            const qsizetype entry = table + i * RuleSize;
            l.put(entry, Rule::Fields[Rule::StartByte], r.startByte);
            l.put(entry, Rule::Fields[Rule::NumByte], r.numByte);
            l.put(entry, Rule::Fields[Rule::Trigger_Flags], r.triggers);
            l.put(entry, Rule::Fields[Rule::FPort], r.fPort);
            l.put(entry, Rule::Fields[Rule::Time], r.time);
        }
        l.put(0, L(countField), quint32(count));
    };
    fill(lists->uplink, UplinkTableOffset, LoRaWANParam::Uplink_Count);
    fill(lists->downlink, DownlinkTableOffset, LoRaWANParam::Downlink_Count);
}

void ImageBuilder::finishGeneralBlock() {
    quint32 sum = 0;
    for (qsizetype i = 0; i < ChecksumCoveredBytes; ++i)
        sum += m_general[size_t(i)];
    LeWriter(m_general).put(0, G(General::Checksum), sum);
    LeWriter bank1(*m_bank1);
    bank1.bytes(0, QByteArrayView(m_general.data(), m_general.size()));
    m_count1 = GeneralBlockSize;
}

qsizetype ImageBuilder::serialiseLoRaWAN(qsizetype count) {
    LeWriter out(*m_bank2);
    if (!out.bytes(count, QByteArrayView(m_loRaWAN.data(), m_loRaWAN.size())))
        throw FileError(QStringLiteral("Cannot build the device images: the LoRaWAN section does not fit."));
    return count + LoRaWANSectionSize;
}

qsizetype ImageBuilder::serialiseOpcUa(qsizetype count) {
    LeWriter out(*m_bank2);
    const TOPC_UA_Server2& s = m_opcUa;
    using namespace OpcUaHeader;
    out.put(count, Fields[Port], s.Port);
    out.put(count, Fields[Num_Var], s.Num_Var);
    out.put(count, Fields[Add_Num_Var], s.Add_Num_Var);
    out.put(count, Fields[Add_NTP], s.Add_NTP);
    out.put(count, Fields[NTP_Time], s.NTP_Time);
    qsizetype at = count + OpcUaHeaderSize;
    for (const TOPC_UA_Var2& v : s.Variables) {
        out.put(at, OpcUaVar::Fields[OpcUaVar::VarType], v.VarType);
        out.put(at, OpcUaVar::Fields[OpcUaVar::Position], v.Position);
        out.put(at, OpcUaVar::Fields[OpcUaVar::Length], v.Length);
        out.put(at, OpcUaVar::Fields[OpcUaVar::Options], v.Options);
        out.put(at, OpcUaVar::Fields[OpcUaVar::Add_Name], v.Add_Name);
        at += OpcUaVarSize;
    }
    at += out.zeroTerminated(at, u""); // the empty string every empty name points at
    if (!s.NTP.isEmpty())
        at += out.zeroTerminated(at, s.NTP);
    for (const TOPC_UA_Var2& v : s.Variables)
        if (!v.Name.isEmpty())
            at += out.zeroTerminated(at, v.Name);
    if (out.failed()) {
        // layOutOpcUa refuses such a build first; never save a cut image.
        m_count2 = 0;
        throw FileError(QStringLiteral("Cannot build the device images: the OPC UA section does not fit."));
    }
    return at;
}

QByteArray ImageBuilder::bank1() const {
    return QByteArray(reinterpret_cast<const char*>(m_bank1->data()), m_count1);
}

QByteArray ImageBuilder::bank2() const {
    return QByteArray(reinterpret_cast<const char*>(m_bank2->data()), m_count2);
}

void ImageBuilder::Save_Images(const QString& folder) const {
    if (m_count1 == 0 || m_count2 == 0)
        throw FileError(QStringLiteral("No device image has been built."));

    const QFileInfo dir(folder);
    if (!dir.exists()) {
        if (!QDir().mkdir(folder))
            throw FileError(QStringLiteral("Cannot create the folder %1.").arg(Files::shown(folder)));
    } else if (!dir.isDir()) {
        throw FileError(
            QStringLiteral("Cannot write the device images into %1: it is not a folder.").arg(Files::shown(folder)));
    }

    const QDir target(folder);
    const QString path1 = target.filePath(QStringLiteral("bank1.bin"));
    const QString path2 = target.filePath(QStringLiteral("bank2.bin"));
    // Saving replaces whatever stands at the path: never turn a device, pipe or folder into a file.
    for (const QString& path : {path1, path2}) {
        const QFileInfo info(path);
        if (info.exists() && !info.isFile())
            throw writeError(path, QStringLiteral("it is not a regular file"));
    }

    // The old bank1.bin, to put back should bank2.bin fail after bank1.bin was replaced.
    std::optional<QByteArray> old1;
    bool old1Known = true;
    try {
        old1 = Files::readRegularFileIfExists(path1, BufferSize);
    } catch (const FileError&) {
        old1Known = false;
    }

    QSaveFile file1(path1);
    QSaveFile file2(path2);
    stage(file1, bank1());
    stage(file2, bank2());
    if (!file1.commit())
        throw writeError(path1, file1.errorString()); // file2 is dropped unwritten
    if (!file2.commit()) {
        const QString reason = file2.errorString();
        bool restored = false;
        if (old1Known && old1)
            restored = saveFileAtomically(path1, *old1, nullptr);
        else
            restored = QFile::remove(path1);
        throw writeError(
            path2,
            reason + (restored ? QString()
                               : QStringLiteral(" (and %1 could not be put back as it was)").arg(Files::shown(path1))));
    }
}
