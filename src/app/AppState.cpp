// SPDX-License-Identifier: MIT
#include "AppState.h"

#include <QDir>

void AppState::setProgramFolder(const QString& folder) {
    ProgramFolder = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    MasterFolder = ProgramFolder + QStringLiteral("/MASTER");
    ProjectsFolder = ProgramFolder + QStringLiteral("/PROJECTS");
    LanguageFolder = ProgramFolder + QStringLiteral("/LANGUAGE");
}

QString AppState::configFile(const QString& fileName) const {
    if (ActiveConfigPath.isEmpty())
        return QString();
    return ActiveConfigPath + QLatin1Char('/') + fileName;
}

QString AppState::ParGenFile() const {
    return configFile(QStringLiteral("ParGen.xml"));
}

QString AppState::LoRaWANSetAccessFile() const {
    return configFile(QStringLiteral("LoRaWAN_SetAccess.xml"));
}

QString AppState::OPCUAServerFile() const {
    return configFile(QStringLiteral("OPC_UA_Server.xml"));
}
