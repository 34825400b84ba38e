// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <optional>
#include <vector>

class QXmlStreamWriter;
class TextCatalogue;

// The 43 communication parameters of one configuration, each held as the text its editor control
// shows: flags as "1"/"0", choices as the full item text (empty: nothing selected), octets and
// numbers as typed. Field order is the order of the elements in ParGen.xml.
namespace ParGen {

enum class Kind { Text, Flag, Choice, Octet, Number };

enum Field : int {
    Eth_Conn_Device_Name,
    Eth_Conn_DHCP_Cable,
    Eth_Conn_DHCP_WiFi,
    Eth_Conn_Enable_DNS,
    Eth_Conn_Primary_DNS1,
    Eth_Conn_Primary_DNS2,
    Eth_Conn_Primary_DNS3,
    Eth_Conn_Primary_DNS4,
    Eth_Conn_Secondary_DNS1,
    Eth_Conn_Secondary_DNS2,
    Eth_Conn_Secondary_DNS3,
    Eth_Conn_Secondary_DNS4,
    LoRa_RF_Band,
    LoRa_Network_Type,
    LoRa_Adaptive_DataRate,
    LoRa_DataRate,
    LoRa_Transmission_Type,
    LoRa_Payload_Size,
    LoRa_Activation_Method,
    LoRa_Device_Address,
    LoRa_JoinEUI,
    LoRa_Network_Session_Key,
    LoRa_Application_Session_Key,
    LoRa_Application_Key,
    LoRa_FPort,
    LoRa_Frequency_SubBand,
    LoRa_LNCHECK,
    NTP_Server_URL,
    NTP_Poll_Time,
    OPC_UA_Server_IP1,
    OPC_UA_Server_IP2,
    OPC_UA_Server_IP3,
    OPC_UA_Server_IP4,
    OPC_UA_Server_SM1,
    OPC_UA_Server_SM2,
    OPC_UA_Server_SM3,
    OPC_UA_Server_SM4,
    OPC_UA_Server_GAT1,
    OPC_UA_Server_GAT2,
    OPC_UA_Server_GAT3,
    OPC_UA_Server_GAT4,
    OPC_UA_Server_EN_GAT,
    OPC_UA_Server_Port,
    FieldCount
};

struct FieldInfo {
    const char* element; // XML element name in ParGen.xml
    const char* control; // objectName of the editor control
    Kind kind;
    const char* noFile;  // value when ParGen.xml does not exist
    const char* missing; // value when the file lacks the element
};

const FieldInfo& info(Field field);

// The fixed item list of a choice field (regions, network types, ...). For LoRa_DataRate this is
// empty: its list depends on the region (see LoRaRadio::dataRateItems).
QStringList choiceItems(Field field);

// A field that holds one value whatever the file or the user says: this model has no Wi-Fi, so its
// DHCP flag is always off. A set never takes another value for it.
bool isFixed(Field field);

// A field worked out from others (the payload size, from region and data rate); shown, not typed.
bool isComputed(Field field);

using FieldSet = std::bitset<FieldCount>;

} // namespace ParGen

class ParGenSet {
public:
    ParGenSet(); // every field empty, but the fixed ones

    const QString& value(ParGen::Field field) const { return m_values[field]; }
    // Both leave a fixed field as it is.
    void setValue(ParGen::Field field, const QString& text);
    bool flag(ParGen::Field field) const { return m_values[field] == QLatin1String("1"); }
    void setFlag(ParGen::Field field, bool on);

    // Selects the region (its exact item text, or empty): the data rate becomes the region's first
    // item, or empty for a text that names no region, and the payload size follows.
    void setRegion(const QString& region);

    // Selects the data-rate item of the current region that equals `rate` ignoring case; a text the
    // region does not list gives the region's first item. The payload size follows.
    void setDataRate(const QString& rate);

    // The values used when ParGen.xml does not exist.
    static ParGenSet noFileDefaults();

    // Reads ParGen.xml by the file's reading rules; a missing file gives noFileDefaults(). Throws
    // FileError when the file exists but cannot be read or parsed.
    static ParGenSet load(const QString& path);

    // The file's bytes: root Par_Gen, the 43 elements in field order, the SW_VERSION comment after it.
    // Characters XML cannot hold are left out of every value.
    QByteArray toXml() const;

    // Writes toXml() atomically; throws FileError on failure (the old file stays whole).
    void save(const QString& path) const;

    // Sets LoRa_Payload_Size to Find_Max_PayLoad of the current region and data rate.
    void recomputePayloadSize();

    bool operator==(const ParGenSet& other) const = default;

private:
    void writeDocument(QXmlStreamWriter& writer) const;

    std::array<QString, ParGen::FieldCount> m_values;
};

namespace ParGen {
// The rows the editor shows for `set`: every field's but the frequency sub-band's outside AU915, US915
// and US915-Hybrid, and either the three fields of activation by personalisation (when that method,
// the first item, is chosen) or the application key of over-the-air activation (otherwise).
FieldSet visibleRows(const ParGenSet& set);

// The fields the user may change in `set`: all but the fixed and computed ones and, while DHCP gives
// the cable connection its address, the static address, mask and gateway (still checked and written).
FieldSet editableFields(const ParGenSet& set);

// The data check's rules in their fixed order: the catalogue index of the first failing rule's message,
// or nothing when every rule passes. Text 497 holds a "%d" for the payload limit (see Controllo_Dati).
std::optional<int> firstFailingRule(const ParGenSet& set);
// Every failing rule in the same order (each failing octet on its own), for a report of all at once.
std::vector<int> failingRules(const ParGenSet& set);
// The message of a failing rule as the editor shows it ("%d" filled).
QString ruleMessage(const ParGenSet& set, int rule, const TextCatalogue& texts);
} // namespace ParGen

// The editor's data check: the message of the first failing rule (from the catalogue, "%d" filled),
// or nothing when every rule passes.
std::optional<QString> Controllo_Dati(const ParGenSet& set, const TextCatalogue& texts);
