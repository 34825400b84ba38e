// SPDX-License-Identifier: MIT
#pragma once

#include "language/TextCatalogue.h"

#include <QList>
#include <QString>
#include <QStringList>

// The copied row of the rule tables, one for the whole program and shared by every table and editor:
// the texts of the copied row's data columns and, per entry, whether it came from a cell check box.
struct RowBuffer {
    QStringList Row_Buffer;
    QList<bool> Check_Flags;
};

// The program-wide state, owned by the main window and shared with every dialog by reference.
// Folder values use '/' internally; QDir::toNativeSeparators is applied where a path leaves the program.
struct AppState {
    // The device address the settings give when they hold none (the language's is
    // TextCatalogue::DefaultLanguage).
    static inline const QString DefaultIpAddress = QStringLiteral("192.168.2.205");

    QString ProgramFolder;
    QString MasterFolder;
    QString ProjectsFolder;
    QString LanguageFolder;

    QString ActiveConfigName; // remembered configuration; may be set while none is active
    QString ActiveConfigPath; // empty: no configuration active

    QString LastIpAddress = DefaultIpAddress;
    QString LanguageName = TextCatalogue::DefaultLanguage;
    bool EnableInternet = false;
    bool EnableUpdate = false;
    bool EnableJumpFieldTables = false;
    bool DoubleClickAutoSize = false;

    bool ReadBack = true;
    int UpdateOption = 0;

    TextCatalogue catalogue;

    RowBuffer rowBuffer; // lives as long as the program; every Copy Row overwrites it

    const QString& Text(int index) const { return catalogue.Text(index); }

    // Sets ProgramFolder and the three folders beneath it (nothing is created here).
    void setProgramFolder(const QString& folder);

    // The files of the active configuration, worked out from ActiveConfigPath each time; empty while no
    // configuration is active, so nothing is ever read or written outside a configuration folder.
    QString ParGenFile() const;
    QString LoRaWANSetAccessFile() const;
    QString OPCUAServerFile() const;
    QString configFile(const QString& fileName) const;
};
