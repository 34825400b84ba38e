// SPDX-License-Identifier: MIT
#include "ParGenSet.h"

#include "LoRaRadio.h"
#include "ParGenTexts.h"
#include "common/SaveFile.h"
#include "common/TextFormat.h"
#include "common/Xml.h"
#include "common/XmlTree.h"
#include "language/TextCatalogue.h"

#include <QXmlStreamWriter>

namespace ParGen {

namespace {

// File order; the data-rate default of a file without the element and the payload size are worked
// out from the region (see load), so their entries here are only placeholders.
// clang-format off
const FieldInfo kFields[FieldCount] = {
    {"Eth_Conn_Device_Name",         "E_EthConn_Device_Name",          Kind::Text,   "",      ""},
    {"Eth_Conn_DHCP_Cable",          "CB_EthConn_En_DHCP_Cable",       Kind::Flag,   "0",     "0"},
    {"Eth_Conn_DHCP_WiFi",           "CB_EthConn_En_DHCP_WiFi",        Kind::Flag,   "0",     "0"},
    {"Eth_Conn_Enable_DNS",          "CB_EthConn_Enable_DNS",          Kind::Flag,   "0",     "0"},
    {"Eth_Conn_Primary_DNS1",        "E_EthConn_Pri_DNS_IP1",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Primary_DNS2",        "E_EthConn_Pri_DNS_IP2",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Primary_DNS3",        "E_EthConn_Pri_DNS_IP3",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Primary_DNS4",        "E_EthConn_Pri_DNS_IP4",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Secondary_DNS1",      "E_EthConn_Sec_DNS_IP1",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Secondary_DNS2",      "E_EthConn_Sec_DNS_IP2",          Kind::Octet,  "8",     "8"},
    {"Eth_Conn_Secondary_DNS3",      "E_EthConn_Sec_DNS_IP3",          Kind::Octet,  "4",     "4"},
    {"Eth_Conn_Secondary_DNS4",      "E_EthConn_Sec_DNS_IP4",          Kind::Octet,  "4",     "4"},
    {"LoRa_RF_Band",                 "CB_LoRa_RF_Band",                Kind::Choice, "AS923", "AS923"},
    {"LoRa_Network_Type",            "CB_LoRa_Network_Type",           Kind::Choice, "Private", "Private"},
    {"LoRa_Adaptive_DataRate",       "CB_LoRa_Adaptive_DataRate",      Kind::Flag,   "0",     "0"},
    {"LoRa_DataRate",                "CB_LoRa_DataRate",               Kind::Choice, "6\t- LoRa: SF7/250kHz 11000 [bit/s]", ""},
    {"LoRa_Transmission_Type",       "CB_LoRa_Transmission_Type",      Kind::Choice, "Unconfirmed", "Unconfirmed"},
    {"LoRa_Payload_Size",            "E_LoRa_Payload_Size",            Kind::Number, "",      ""},
    {"LoRa_Activation_Method",       "CB_LoRa_Activation_Method",      Kind::Choice, "Activation by Personalization [ABP]", "Activation by Personalization [ABP]"},
    {"LoRa_Device_Address",          "E_LoRa_Device_Address",          Kind::Text,   "",      ""},
    {"LoRa_JoinEUI",                 "E_LoRa_JoinEUI",                 Kind::Text,   "",      ""},
    {"LoRa_Network_Session_Key",     "E_LoRa_Network_Session_Key",     Kind::Text,   "",      ""},
    {"LoRa_Application_Session_Key", "E_LoRa_Application_Session_Key", Kind::Text,   "",      ""},
    {"LoRa_Application_Key",         "E_LoRa_Application_Key",         Kind::Text,   "",      ""},
    {"LoRa_FPort",                   "CB_LoRa_FPort",                  Kind::Choice, "Fixed", "Fixed"},
    {"LoRa_Frequency_SubBand",       "CB_LoRa_FrequencySubBand",       Kind::Choice, "1",     "1"},
    {"LoRa_LNCHECK",                 "E_LoRa_LNCHECK",                 Kind::Number, "5",     "5"},
    {"NTP_Server_URL",               "E_NTP_Server_URL",               Kind::Text,   "",      ""},
    {"NTP_Poll_Time",                "E_NTP_Poll_Time",                Kind::Number, "",      ""},
    {"OPC_UA_Server_IP1",            "E_OPC_UA_Server_IP1",            Kind::Octet,  "192",   "192"},
    {"OPC_UA_Server_IP2",            "E_OPC_UA_Server_IP2",            Kind::Octet,  "168",   "168"},
    {"OPC_UA_Server_IP3",            "E_OPC_UA_Server_IP3",            Kind::Octet,  "0",     "0"},
    {"OPC_UA_Server_IP4",            "E_OPC_UA_Server_IP4",            Kind::Octet,  "10",    "10"},
    {"OPC_UA_Server_SM1",            "E_OPC_UA_Server_SM1",            Kind::Octet,  "255",   "255"},
    {"OPC_UA_Server_SM2",            "E_OPC_UA_Server_SM2",            Kind::Octet,  "255",   "255"},
    {"OPC_UA_Server_SM3",            "E_OPC_UA_Server_SM3",            Kind::Octet,  "255",   "255"},
    {"OPC_UA_Server_SM4",            "E_OPC_UA_Server_SM4",            Kind::Octet,  "0",     "0"},
    {"OPC_UA_Server_GAT1",           "E_OPC_UA_Server_GAT1",           Kind::Octet,  "192",   "192"},
    {"OPC_UA_Server_GAT2",           "E_OPC_UA_Server_GAT2",           Kind::Octet,  "168",   "168"},
    {"OPC_UA_Server_GAT3",           "E_OPC_UA_Server_GAT3",           Kind::Octet,  "0",     "0"},
    {"OPC_UA_Server_GAT4",           "E_OPC_UA_Server_GAT4",           Kind::Octet,  "1",     "1"},
    {"OPC_UA_Server_EN_GAT",         "CB_OPC_UA_Server_En_GAT",        Kind::Flag,   "0",     "0"},
    {"OPC_UA_Server_Port",           "E_OPC_UA_Server_Port",           Kind::Number, "4840",  "4840"},
};
// clang-format on

const QString kVersionComment = QStringLiteral("SW_VERSION = 1.001");

// The item of `items` equal to `text` ignoring case; empty when there is none.
QString matchItem(const QStringList& items, const QString& text) {
    for (const QString& item : items)
        if (item.compare(text, Qt::CaseInsensitive) == 0)
            return item;
    return QString();
}

} // namespace

const FieldInfo& info(Field field) {
    return kFields[field];
}

QStringList choiceItems(Field field) {
    switch (field) {
    case LoRa_RF_Band:
        return LoRaRadio::regions();
    case LoRa_Network_Type:
        return {QStringLiteral("Private"), QStringLiteral("Public")};
    case LoRa_Transmission_Type:
        return {QStringLiteral("Unconfirmed"), QStringLiteral("Confirmed")};
    case LoRa_Activation_Method:
        return {QStringLiteral("Activation by Personalization [ABP]"),
                QStringLiteral("Over-the-Air Activation [OTAA]")};
    case LoRa_FPort:
        return {QStringLiteral("Fixed"), QStringLiteral("Variable")};
    case LoRa_Frequency_SubBand:
        return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
    default:
        return {};
    }
}

} // namespace ParGen

using namespace ParGen;

bool ParGen::isFixed(Field field) {
    return field == Eth_Conn_DHCP_WiFi;
}

bool ParGen::isComputed(Field field) {
    return field == LoRa_Payload_Size;
}

ParGenSet::ParGenSet() {
    for (int f = 0; f < FieldCount; ++f) {
        if (isFixed(Field(f)))
            m_values[f] = QString::fromLatin1(kFields[f].noFile);
    }
}

void ParGenSet::setValue(Field field, const QString& text) {
    if (!isFixed(field))
        m_values[field] = text;
}

void ParGenSet::setFlag(Field field, bool on) {
    setValue(field, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void ParGenSet::setRegion(const QString& region) {
    m_values[LoRa_RF_Band] = region;
    const QStringList rates = LoRaRadio::dataRateItems(region);
    m_values[LoRa_DataRate] = rates.isEmpty() ? QString() : rates.first();
    recomputePayloadSize();
}

void ParGenSet::setDataRate(const QString& rate) {
    const QStringList rates = LoRaRadio::dataRateItems(m_values[LoRa_RF_Band]);
    QString item = matchItem(rates, rate);
    if (item.isEmpty() && !rates.isEmpty())
        item = rates.first();
    m_values[LoRa_DataRate] = item;
    recomputePayloadSize();
}

FieldSet ParGen::visibleRows(const ParGenSet& set) {
    FieldSet shown;
    shown.set();
    shown[LoRa_Frequency_SubBand] = LoRaRadio::subBandApplies(LoRaRadio::regionPosition(set.value(LoRa_RF_Band)));
    const bool abp = set.value(LoRa_Activation_Method) == choiceItems(LoRa_Activation_Method).first();
    for (const Field f : {LoRa_Device_Address, LoRa_Network_Session_Key, LoRa_Application_Session_Key})
        shown[f] = abp;
    shown[LoRa_Application_Key] = !abp;
    return shown;
}

FieldSet ParGen::editableFields(const ParGenSet& set) {
    FieldSet editable;
    for (int f = 0; f < FieldCount; ++f)
        editable[f] = !isFixed(Field(f)) && !isComputed(Field(f));
    // The address comes from DHCP: the static one is greyed out.
    if (set.flag(Eth_Conn_DHCP_Cable)) {
        for (int f = OPC_UA_Server_IP1; f <= OPC_UA_Server_GAT4; ++f)
            editable[f] = false;
    }
    return editable;
}

ParGenSet ParGenSet::noFileDefaults() {
    ParGenSet set;
    for (int f = 0; f < FieldCount; ++f)
        set.m_values[f] = QString::fromLatin1(kFields[f].noFile);
    set.recomputePayloadSize();
    return set;
}

ParGenSet ParGenSet::load(const QString& path) {
    const std::optional<Xml::Tree> tree = Xml::loadTree(path);
    if (!tree)
        return noFileDefaults();

    const Xml::Element root = tree->firstNodeAsRoot();
    ParGenSet set;
    for (int f = 0; f < FieldCount; ++f) {
        const FieldInfo& fi = kFields[f];
        const std::optional<QString> text = root.childText(QString::fromLatin1(fi.element));
        const QString missing = QString::fromLatin1(fi.missing);
        switch (fi.kind) {
        case Kind::Flag:
            set.setFlag(Field(f), text.value_or(missing) == QLatin1String("1"));
            break;
        case Kind::Choice:
            // LoRa_DataRate is matched below, once the region is known.
            set.m_values[f] = f == LoRa_DataRate ? text.value_or(QString())
                                                 : matchItem(choiceItems(Field(f)), text.value_or(missing));
            break;
        default:
            set.m_values[f] = text.value_or(missing);
        }
    }

    // The model has no Wi-Fi: the flag is never taken from the file.
    set.setFlag(Eth_Conn_DHCP_WiFi, false);

    // The data rate is matched against the list of the region just applied; anything else becomes the
    // list's first item, so the payload size is never worked out from a foreign item.
    const QStringList rates = LoRaRadio::dataRateItems(set.value(LoRa_RF_Band));
    QString rate = matchItem(rates, set.value(LoRa_DataRate));
    if (rate.isEmpty() && !rates.isEmpty())
        rate = rates.first();
    set.m_values[LoRa_DataRate] = rate;

    set.recomputePayloadSize();
    return set;
}

void ParGenSet::writeDocument(QXmlStreamWriter& w) const {
    Xml::prepareWriter(w);
    w.writeStartElement(QStringLiteral("Par_Gen"));
    for (int f = 0; f < FieldCount; ++f) {
        const QString& text = f == Eth_Conn_DHCP_WiFi ? QStringLiteral("0") : m_values[f];
        Xml::writeTextElement(w, QString::fromLatin1(kFields[f].element), text);
    }
    w.writeEndElement();
    w.writeComment(kVersionComment);
}

QByteArray ParGenSet::toXml() const {
    QByteArray out;
    QXmlStreamWriter w(&out);
    writeDocument(w);
    return out;
}

void ParGenSet::save(const QString& path) const {
    QByteArray out;
    QXmlStreamWriter w(&out);
    writeDocument(w);
    Xml::checkWriter(w, path);
    saveFileOrThrow(path, out);
}

void ParGenSet::recomputePayloadSize() {
    m_values[LoRa_Payload_Size] =
        QString::number(LoRaRadio::Find_Max_PayLoad(m_values[LoRa_RF_Band], m_values[LoRa_DataRate]));
}

namespace {

// A decimal integer with an optional sign and nothing else (no blanks); anything else is out of range.
std::optional<qint64> integerOf(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    int i = (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    for (int k = i; k < text.size(); ++k)
        if (text[k] < QLatin1Char('0') || text[k] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

bool inRange(const QString& text, qint64 low, qint64 high) {
    const std::optional<qint64> n = integerOf(text);
    return n && *n >= low && *n <= high;
}

bool isEmptyChoice(const QString& text) {
    return text.trimmed().isEmpty();
}

} // namespace

std::vector<int> ParGen::failingRules(const ParGenSet& set) {
    std::vector<int> failing;
    const auto rule = [&](bool fails, int text) {
        if (fails)
            failing.push_back(text);
    };
    const auto octets = [&](Field first, int firstText) {
        for (int i = 0; i < 4; ++i)
            rule(!inRange(set.value(Field(first + i)), 0, 255), firstText + i);
    };

    using namespace ParGenTexts;
    if (set.flag(Eth_Conn_Enable_DNS)) {
        octets(Eth_Conn_Primary_DNS1, PrimaryDnsOctet);
        octets(Eth_Conn_Secondary_DNS1, SecondaryDnsOctet);
    }

    rule(isEmptyChoice(set.value(LoRa_RF_Band)), RegionEmpty);
    rule(isEmptyChoice(set.value(LoRa_Network_Type)), NetworkTypeEmpty);
    rule(isEmptyChoice(set.value(LoRa_DataRate)), DataRateEmpty);
    rule(isEmptyChoice(set.value(LoRa_Transmission_Type)), TransmissionEmpty);
    rule(!inRange(set.value(LoRa_Payload_Size), 1,
                  LoRaRadio::Find_Max_PayLoad(set.value(LoRa_RF_Band), set.value(LoRa_DataRate))),
         PayloadRange);
    rule(isEmptyChoice(set.value(LoRa_Activation_Method)), ActivationEmpty);
    rule(!inRange(set.value(LoRa_LNCHECK), 5, 60), LnCheckRange);
    rule(!inRange(set.value(NTP_Poll_Time), 0, 10000000), PollTimeRange);

    // The address and mask are checked even while DHCP greys them out: they are written either way.
    octets(OPC_UA_Server_IP1, AddressOctet);
    octets(OPC_UA_Server_SM1, MaskOctet);
    if (set.flag(OPC_UA_Server_EN_GAT))
        octets(OPC_UA_Server_GAT1, GatewayOctet);

    const std::optional<qint64> port = integerOf(set.value(OPC_UA_Server_Port));
    rule(!port || *port < 0 || *port > 65535 || *port == 10000, PortRange);
    return failing;
}

std::optional<int> ParGen::firstFailingRule(const ParGenSet& set) {
    const std::vector<int> failing = failingRules(set);
    return failing.empty() ? std::nullopt : std::optional<int>(failing.front());
}

QString ParGen::ruleMessage(const ParGenSet& set, int rule, const TextCatalogue& texts) {
    if (rule == ParGenTexts::PayloadRange)
        return Texts::withNumbers(texts.Text(rule),
                                  {LoRaRadio::Find_Max_PayLoad(set.value(LoRa_RF_Band), set.value(LoRa_DataRate))});
    return texts.Text(rule);
}

std::optional<QString> Controllo_Dati(const ParGenSet& set, const TextCatalogue& texts) {
    const std::optional<int> rule = ParGen::firstFailingRule(set);
    if (!rule)
        return std::nullopt;
    return ParGen::ruleMessage(set, *rule, texts);
}
