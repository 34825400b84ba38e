// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

struct AppState;

// The program settings file Tessaro.xml in the program folder: last configuration, last device
// address, language and the four option flags.
namespace Settings {

inline const QString FileName = QStringLiteral("Tessaro.xml");

QString filePath(const AppState& state);

// Reads the settings file into `state` (ActiveConfigName, LastIpAddress, LanguageName and the four
// flags). Every value is looked up on its own and takes its default when its element is missing. A file
// that is missing, unreadable or not well-formed gives every default; nothing is reported.
void Read_Setting(AppState& state);

// The document Save_Setting writes: no declaration, no indentation, UTF-8.
QByteArray toXml(const AppState& state);

// Replaces the settings file through a temporary file; throws FileError when it cannot be written.
void Save_Setting(const AppState& state);

} // namespace Settings
