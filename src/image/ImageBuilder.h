// SPDX-License-Identifier: MIT
#pragma once

#include "ImageLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <memory>
#include <span>

// The three configuration files the images are built from.
struct ConfigFiles {
    QString parGen;  // ParGen.xml
    QString loRaWAN; // LoRaWAN_SetAccess.xml
    QString opcUa;   // OPC_UA_Server.xml

    static ConfigFiles inFolder(const QString& configFolder);
};

// One OPC UA server variable as the device gets it.
struct TOPC_UA_Var2 {
    quint32 VarType = 0;
    quint16 Position = 0;
    quint16 Length = 0;
    quint32 Options = 0; // bit 0: writable
    quint32 Add_Name = 0;
    QString Name;
};

// The OPC UA section of bank2.bin before it is serialised.
struct TOPC_UA_Server2 {
    quint16 Port = 4840;
    quint16 Num_Var = 0;
    QList<TOPC_UA_Var2> Variables;
    quint32 Add_Num_Var = 0;
    QString NTP;
    quint32 Add_NTP = 0;
    quint32 NTP_Time = 10;
};

// Compiles a configuration into the two images the converter loads. It reads the three files only
// (never an editor) and keeps the result until the next build, which starts from a full reset.
class ImageBuilder {
public:
    ImageBuilder();
    ~ImageBuilder();
    ImageBuilder(const ImageBuilder&) = delete;
    ImageBuilder& operator=(const ImageBuilder&) = delete;

    // Builds both images. Throws FileError when a file cannot be read, is not well-formed or lacks
    // one of its lists, or when bank2.bin would not fit in its 131072 bytes; the images are then
    // left empty, so nothing of a failed build can be saved.
    void Build_Images(const ConfigFiles& files);

    // Writes bank1.bin and bank2.bin into `folder`, creating the folder itself when it is missing
    // (not its parents). Both files are written before either replaces its old version; when that
    // fails half-way, the old bank1.bin is put back, so the folder never holds a new bank1 with an
    // old bank2. Throws FileError naming the file on any failure; also when nothing was built.
    void Save_Images(const QString& folder) const;

    // The bytes Save_Images writes: empty before a successful build.
    QByteArray bank1() const;
    QByteArray bank2() const;

    // The records of the last build, for the tests and the configuration check.
    std::span<const quint8> generalBlock() const { return m_general; }
    std::span<const quint8> loRaWANSection() const { return m_loRaWAN; }
    const TOPC_UA_Server2& opcUaServer() const { return m_opcUa; }

private:
    void build(const ConfigFiles& files);
    void reset();
    void readParGen(const QString& path);
    void readOpcUa(const QString& path, quint32 sectionAddress);
    void layOutOpcUa(quint32 sectionAddress, const ConfigFiles& files);
    void readLoRaWAN(const QString& path, quint32 imageAddress);
    void finishGeneralBlock();
    qsizetype serialiseLoRaWAN(qsizetype count);
    qsizetype serialiseOpcUa(qsizetype count);

    std::array<quint8, Image::GeneralBlockSize> m_general{};
    // TLoRaWAN_Param and both rule tables, held exactly as the section is laid out.
    std::array<quint8, Image::LoRaWANSectionSize> m_loRaWAN{};
    TOPC_UA_Server2 m_opcUa;

    using Buffer = std::array<quint8, Image::BufferSize>;
    std::unique_ptr<Buffer> m_bank1;
    std::unique_ptr<Buffer> m_bank2;
    qsizetype m_count1 = 0;
    qsizetype m_count2 = 0;
};
