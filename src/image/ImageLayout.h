// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>
#include <span>

// The byte layout of the two images the converter loads: bank1.bin, the general parameter block, and
// bank2.bin, the rules image (LoRaWAN section, then OPC UA section). Every record is a table of fields
// (offset, width, type, name); the builder writes through these tables and the decoder of
// `tessaro-cli dump` reads through the same ones. All integers are little-endian.
namespace Image {

// Both image buffers have this size; nothing is ever written past it.
inline constexpr qsizetype BufferSize = 131072;

// Device addresses at which the updater places the images, and the addresses derived from them.
inline constexpr quint32 Bank1Address = 0x07000;
inline constexpr quint32 Bank2Address = 0x80000; // start of the LoRaWAN section
inline constexpr quint32 OpcUaSectionAddress = 0x82000;

inline constexpr qsizetype GeneralBlockSize = 2048;
inline constexpr qsizetype ChecksumCoveredBytes = 0x7FC; // the checksum sums bytes 0 .. 0x7FB

inline constexpr qsizetype LoRaWANSectionSize = 8192;
inline constexpr qsizetype LoRaWANParamSize = 88;
inline constexpr qsizetype UplinkTableOffset = 1024;
inline constexpr qsizetype DownlinkTableOffset = 4096;
inline constexpr int RuleTableEntries = 256;
inline constexpr qsizetype RuleSize = 12;

inline constexpr qsizetype OpcUaHeaderSize = 16;
inline constexpr qsizetype OpcUaVarSize = 16;

// Quad: four single bytes in dotted order (an IPv4 address). Hex: raw bytes in written order (keys).
// Text: single-byte characters, zero-filled to the end of the field.
enum class FieldType { U8, U16, U32, Quad, Hex, Text };

struct Field {
    qsizetype offset;
    qsizetype width;
    FieldType type;
    const char* name;
};

// Offsets are relative to the record: the general block, the LoRaWAN section, one rule entry, the
// OPC UA section header, one variable record.
#define KV210_GENERAL_FIELDS(X)                                                                                        \
    X(Fixed_000, 0x000, 4, U32)                                                                                        \
    X(Fixed_004, 0x004, 4, U32)                                                                                        \
    X(Fixed_008, 0x008, 4, U32)                                                                                        \
    X(Fixed_00C, 0x00C, 4, U32)                                                                                        \
    X(IP_Address, 0x028, 4, Quad)                                                                                      \
    X(Subnet_Mask, 0x02C, 4, Quad)                                                                                     \
    X(Gateway, 0x030, 4, Quad)                                                                                         \
    X(Fixed_034, 0x034, 2, U16)                                                                                        \
    X(Fixed_036, 0x036, 2, U16)                                                                                        \
    X(Fixed_038, 0x038, 2, U16)                                                                                        \
    X(Serial_Speed, 0x1A4, 4, U32)                                                                                     \
    X(Serial_Parity, 0x1AD, 1, U8)                                                                                     \
    X(Serial_Stop_Bits, 0x1B3, 1, U8)                                                                                  \
    X(Data_Bits_1, 0x1B4, 1, U8)                                                                                       \
    X(Data_Bits_2, 0x1B5, 1, U8)                                                                                       \
    X(Data_Bits_3, 0x1B6, 1, U8)                                                                                       \
    X(Data_Bits_4, 0x1B7, 1, U8)                                                                                       \
    X(Data_Bits_5, 0x1B8, 1, U8)                                                                                       \
    X(Data_Bits_6, 0x1B9, 1, U8)                                                                                       \
    X(Data_Bits_7, 0x1BA, 1, U8)                                                                                       \
    X(Data_Bits_8, 0x1BB, 1, U8)                                                                                       \
    X(Address_Flags, 0x4E8, 2, U16)                                                                                    \
    X(Device_Name, 0x514, 32, Text)                                                                                    \
    X(Secondary_DNS, 0x53C, 4, Quad)                                                                                   \
    X(Primary_DNS, 0x58C, 4, Quad)                                                                                     \
    X(OPC_UA_Section_Address, 0x620, 4, U32)                                                                           \
    X(LoRaWAN_Section_Address, 0x65C, 4, U32)                                                                          \
    X(Format_Version, 0x66C, 8, Text)                                                                                  \
    X(Checksum, 0x7FC, 4, U32)

#define KV210_LORAWAN_PARAM_FIELDS(X)                                                                                  \
    X(Region, 0, 1, U8)                                                                                                \
    X(Network_Type, 1, 1, U8)                                                                                          \
    X(Activation_Method, 2, 1, U8)                                                                                     \
    X(Data_Rate, 3, 1, U8)                                                                                             \
    X(Device_Address, 4, 4, Hex)                                                                                       \
    X(JoinEUI, 8, 8, Hex)                                                                                              \
    X(Network_Session_Key, 16, 16, Hex)                                                                                \
    X(Application_Session_Key, 32, 16, Hex)                                                                            \
    X(Application_Key, 48, 16, Hex)                                                                                    \
    X(Adaptive_Data_Rate, 64, 1, U8)                                                                                   \
    X(Confirmed_Uplinks, 65, 1, U8)                                                                                    \
    X(Max_Payload_Size, 66, 1, U8)                                                                                     \
    X(Port_Field_Flag, 67, 1, U8)                                                                                      \
    X(Transmit_Interval, 68, 4, U32)                                                                                   \
    X(Uplink_Table_Address, 72, 4, U32)                                                                                \
    X(Downlink_Table_Address, 76, 4, U32)                                                                              \
    X(Uplink_Count, 80, 2, U16)                                                                                        \
    X(Downlink_Count, 82, 2, U16)                                                                                      \
    X(Frequency_Sub_Band, 84, 1, U8)                                                                                   \
    X(Link_Check_Interval, 85, 1, U8)

#define KV210_RULE_FIELDS(X)                                                                                           \
    X(StartByte, 0, 2, U16)                                                                                            \
    X(NumByte, 2, 2, U16)                                                                                              \
    X(Trigger_Flags, 4, 1, U8)                                                                                         \
    X(FPort, 5, 1, U8)                                                                                                 \
    X(Time, 8, 4, U32)

#define KV210_OPCUA_HEADER_FIELDS(X)                                                                                   \
    X(Port, 0, 2, U16)                                                                                                 \
    X(Num_Var, 2, 2, U16)                                                                                              \
    X(Add_Num_Var, 4, 4, U32)                                                                                          \
    X(Add_NTP, 8, 4, U32)                                                                                              \
    X(NTP_Time, 12, 4, U32)

#define KV210_OPCUA_VAR_FIELDS(X)                                                                                      \
    X(VarType, 0, 4, U32)                                                                                              \
    X(Position, 4, 2, U16)                                                                                             \
    X(Length, 6, 2, U16)                                                                                               \
    X(Options, 8, 4, U32)                                                                                              \
    X(Add_Name, 12, 4, U32)

#define KV210_FIELD_ID(name, offset, width, type) name,
#define KV210_FIELD_ROW(name, offset, width, type) Field{offset, width, FieldType::type, #name},

namespace General {
enum Id : int { KV210_GENERAL_FIELDS(KV210_FIELD_ID) Count };
inline constexpr std::array<Field, Count> Fields{{KV210_GENERAL_FIELDS(KV210_FIELD_ROW)}};
} // namespace General

namespace LoRaWANParam {
enum Id : int { KV210_LORAWAN_PARAM_FIELDS(KV210_FIELD_ID) Count };
inline constexpr std::array<Field, Count> Fields{{KV210_LORAWAN_PARAM_FIELDS(KV210_FIELD_ROW)}};
} // namespace LoRaWANParam

namespace Rule {
enum Id : int { KV210_RULE_FIELDS(KV210_FIELD_ID) Count };
inline constexpr std::array<Field, Count> Fields{{KV210_RULE_FIELDS(KV210_FIELD_ROW)}};
} // namespace Rule

namespace OpcUaHeader {
enum Id : int { KV210_OPCUA_HEADER_FIELDS(KV210_FIELD_ID) Count };
inline constexpr std::array<Field, Count> Fields{{KV210_OPCUA_HEADER_FIELDS(KV210_FIELD_ROW)}};
} // namespace OpcUaHeader

namespace OpcUaVar {
enum Id : int { KV210_OPCUA_VAR_FIELDS(KV210_FIELD_ID) Count };
inline constexpr std::array<Field, Count> Fields{{KV210_OPCUA_VAR_FIELDS(KV210_FIELD_ROW)}};
} // namespace OpcUaVar

#undef KV210_FIELD_ID
#undef KV210_FIELD_ROW

// A table is sound when its fields follow each other without overlapping, fit the record, and each
// integer or quad field has its type's width.
constexpr bool isSoundTable(std::span<const Field> fields, qsizetype recordSize) {
    qsizetype end = 0;
    for (const Field& f : fields) {
        if (f.offset < end || f.width <= 0 || f.offset + f.width > recordSize)
            return false;
        const qsizetype typeWidth = f.type == FieldType::U8                                 ? 1
                                    : f.type == FieldType::U16                              ? 2
                                    : f.type == FieldType::U32 || f.type == FieldType::Quad ? 4
                                                                                            : f.width;
        if (f.width != typeWidth)
            return false;
        end = f.offset + f.width;
    }
    return true;
}

static_assert(isSoundTable(General::Fields, GeneralBlockSize));
static_assert(General::Fields[General::Checksum].offset == ChecksumCoveredBytes);
static_assert(isSoundTable(LoRaWANParam::Fields, LoRaWANParamSize));
static_assert(isSoundTable(Rule::Fields, RuleSize));
static_assert(isSoundTable(OpcUaHeader::Fields, OpcUaHeaderSize));
static_assert(isSoundTable(OpcUaVar::Fields, OpcUaVarSize));
static_assert(UplinkTableOffset + RuleTableEntries * RuleSize == DownlinkTableOffset);
static_assert(DownlinkTableOffset + RuleTableEntries * RuleSize + 1024 == LoRaWANSectionSize);
static_assert(Bank2Address + LoRaWANSectionSize == OpcUaSectionAddress);

// VarType codes by the exact type name of a variable row; 12 and 13 have no name.
struct TypeName {
    quint32 code;
    const char* name;
};
inline constexpr std::array<TypeName, 13> TypeNames{{
    {0, "Boolean"},
    {1, "Signed Byte"},
    {2, "Byte"},
    {3, "Int16"},
    {4, "UInt16"},
    {5, "Int32"},
    {6, "UInt32"},
    {7, "Int64"},
    {8, "UInt64"},
    {9, "Float"},
    {10, "Double"},
    {11, "String"},
    {14, "ByteString"},
}};

// LoRaWAN region codes by region text (compared trimmed and upper-cased); 2, 3 and 4 have no text.
inline constexpr std::array<TypeName, 7> RegionCodes{{
    {0, "AS923"},
    {1, "AU915"},
    {5, "EU868"},
    {6, "KR920"},
    {7, "IN865"},
    {8, "US915"},
    {9, "US915-HYBRID"},
}};

} // namespace Image
