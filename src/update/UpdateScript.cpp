// SPDX-License-Identifier: MIT
#include "UpdateScript.h"

#include "common/FileError.h"
#include "common/SaveFile.h"
#include "common/Xml.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace UpdateScript {

namespace {

// The script's header, in the order the updater expects.
struct Leaf {
    const char* name;
    const char* text;
};
constexpr Leaf HeaderBeforeAddress[] = {{"Version", "1000"}, {"Title", "Velmora - SWKV210 Flashvane"}};
constexpr Leaf HeaderAfterAddress[] = {
    {"Application_Port", "10000"}, {"Boot_Port", "2008"}, {"Boot_Port_Sec", "2007"}, {"Address_Protection", "0x07800"}};

enum FileKind { FirmwareFile, Bank1File, Bank2File };

// The twenty children of one operation, in order, with their text for the firmware, bank1 and bank2
// operation. nullptr marks the values that depend on the call: file name, read back, and whether the
// updater starts the application afterwards.
struct OperationChild {
    const char* name;
    const char* text[3];
};
// clang-format off
constexpr OperationChild OperationChildren[] = {
    {"Ope_Protection_Enabled",  {"", "", ""}},
    {"Ope_GoToBoot_Before",     {"0", "0", "0"}},
    {"Ope_GoToApp_Before",      {"0", "0", "0"}},
    {"Ope_IP_Address",          {"", "", ""}},
    {"Ope_Port",                {"2008", "2008", "2008"}},
    {"Ope_Port_Sec",            {"2007", "2007", "2007"}},
    {"Ope_Erase_Memory",        {"0", "0", "0"}},
    {"Ope_FileName",            {nullptr, nullptr, nullptr}},
    {"Ope_Start_Address",       {"0x8000", "0x07000", "0x80000"}},
    {"Ope_Memory_Type",         {"0", "0", "0"}},
    {"Ope_Bank_Type",           {"1", "2", "2"}},
    {"Ope_Read_Back",           {nullptr, nullptr, nullptr}},
    {"Ope_Write_CSS",           {"1", "0", "0"}},
    {"Ope_Address_CSS",         {"0x07A00", "0x07A00", "0x07A00"}},
    {"Ope_Command_CSS",         {"0x02", "0x02", "0x02"}},
    {"Ope_Write_Internal_Data", {"0", "1", "0"}},
    {"Ope_WID_Address",         {"0x07810", "0x07810", "0x07810"}},
    {"Ope_WID_Command",         {"0x02", "0x02", "0x02"}},
    {"Ope_WID_Data",            {"0x00, 0x00, 0x00, 0x01", "0x00, 0x00, 0x00, 0x01", "0x00, 0x00, 0x00, 0x01"}},
    {"Ope_GoToApp_After",       {nullptr, nullptr, nullptr}},
};
// clang-format on

void leaf(QXmlStreamWriter& w, const char* name, const QString& text) {
    w.writeTextElement(QLatin1String(name), Xml::xmlSafe(text));
}

QString nativeAbsolute(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString fileName(const Input& in, FileKind kind) {
    switch (kind) {
    case FirmwareFile:
        return nativeAbsolute(in.masterFolder + QLatin1Char('/') + FirmwareName);
    case Bank1File:
        return nativeAbsolute(in.configPath + QStringLiteral("/bin/bank1.bin"));
    case Bank2File:
        return nativeAbsolute(in.configPath + QStringLiteral("/bin/bank2.bin"));
    }
    return QString();
}

void operation(QXmlStreamWriter& w, const Input& in, FileKind kind, bool last) {
    w.writeStartElement(QStringLiteral("Operation"));
    for (const OperationChild& c : OperationChildren) {
        if (const char* fixed = c.text[kind]) {
            leaf(w, c.name, QLatin1String(fixed));
            continue;
        }
        const QLatin1String name(c.name);
        if (name == QLatin1String("Ope_FileName"))
            leaf(w, c.name, fileName(in, kind));
        else if (name == QLatin1String("Ope_Read_Back"))
            leaf(w, c.name, in.readBack ? QStringLiteral("1") : QStringLiteral("0"));
        else // Ope_GoToApp_After: the device starts its application after the last operation only
            leaf(w, c.name, last ? QStringLiteral("1") : QStringLiteral("0"));
    }
    w.writeEndElement();
}

} // namespace

QByteArray build(const Input& in) {
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    Xml::prepareWriter(w);
    w.writeStartElement(QStringLiteral("Flashvane"));
    for (const Leaf& l : HeaderBeforeAddress)
        leaf(w, l.name, QLatin1String(l.text));
    leaf(w, "IP_Address_Dev", in.address);
    for (const Leaf& l : HeaderAfterAddress)
        leaf(w, l.name, QLatin1String(l.text));
    w.writeStartElement(QStringLiteral("Protections"));
    leaf(w, "Protection", QStringLiteral("0x41F"));
    w.writeEndElement();

    QList<FileKind> files;
    if (in.option == FirmwareAndConfiguration || in.option == Firmware)
        files << FirmwareFile;
    if (in.option == FirmwareAndConfiguration || in.option == Configuration)
        files << Bank1File << Bank2File;
    w.writeStartElement(QStringLiteral("Operations"));
    for (qsizetype i = 0; i < files.size(); ++i)
        operation(w, in, files[i], i + 1 == files.size());
    w.writeEndElement();

    w.writeEndElement();
    Xml::checkWriter(w, ScriptName);
    return bytes;
}

QString scriptPath(const QString& programFolder) {
    return programFolder + QLatin1Char('/') + ScriptName;
}

void Compile_XML_Parameter_New_Boot(const QString& programFolder, const Input& input) {
    saveFileOrThrow(scriptPath(programFolder), build(input));
}

} // namespace UpdateScript
