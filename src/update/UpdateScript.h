// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// The update script Flashvane.xml: everything the maker's updater needs to carry one update to the
// converter. The updater reads it from the program folder; it gets nothing on its command line.
namespace UpdateScript {

inline const QString ScriptName = QStringLiteral("Flashvane.xml");
inline const QString UpdaterName = QStringLiteral("Flashvane.exe");
inline const QString FirmwareName = QStringLiteral("SimKV210.sim"); // supplied in MASTER, never written here

// What to load, as the items of the dialog's option list.
enum Option { FirmwareAndConfiguration = 0, Firmware = 1, Configuration = 2 };

struct Input {
    QString address; // the device's address, the four texts joined with "." as typed
    int option = FirmwareAndConfiguration;
    bool readBack = true; // the updater reads each memory back after writing it
    QString masterFolder; // holds the firmware file
    QString configPath;   // the configuration whose bin/bank1.bin and bin/bank2.bin are loaded
};

// The script's bytes: UTF-8, no declaration, no indentation. The file names are absolute and carry
// the platform's own separators, since they are read by another program.
QByteArray build(const Input& input);

// ProgramFolder/Flashvane.xml.
QString scriptPath(const QString& programFolder);

// Writes the script into the program folder, replacing the whole of any earlier one, atomically.
// Throws FileError when it cannot be written; the earlier script then stays as it was.
void Compile_XML_Parameter_New_Boot(const QString& programFolder, const Input& input);

} // namespace UpdateScript
