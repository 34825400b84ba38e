// SPDX-License-Identifier: MIT
#include "AppState.h"

#include <QDir>

void AppState::setProgramFolder(const QString& folder) {
    ProgramFolder = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    MasterFolder = ProgramFolder + QStringLiteral("/MASTER");
    ProjectsFolder = ProgramFolder + QStringLiteral("/PROJECTS");
    LanguageFolder = ProgramFolder + QStringLiteral("/LANGUAGE");
}

void AppState::Set_Files() {
    const QString base = ActiveConfigPath + QLatin1Char('/');
    ParGenFile = base + QStringLiteral("ParGen.xml");
    LoRaWANSetAccessFile = base + QStringLiteral("LoRaWAN_SetAccess.xml");
    OPCUAServerFile = base + QStringLiteral("OPC_UA_Server.xml");
}
