// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

struct AppState;
class TextCatalogue;

// Configurations are folders directly under PROJECTS, named after the configuration.
namespace Configurations {

// Text indices of the refusals of a new configuration name.
inline constexpr int TextNameRefused = 105;  // "Error! Name project is not valid"
inline constexpr int TextFolderExists = 106; // "... because directory already exists"
inline constexpr int TextNameEmpty = 107;    // "Error! Name Project is not valid"

// False for a name that would not give a folder directly under PROJECTS, or would not come back from the
// settings file: one holding a path separator or a control character, "." or "..", an absolute path.
// Everything else is left to the file system.
bool isFolderName(const QString& name);

// Creates the folder of a new configuration `name` (taken as typed) under `projectsFolder`, and its
// `bin` folder. A refused name throws FileError carrying the refusal's text from `texts` (TextNameEmpty,
// TextFolderExists or TextNameRefused); nothing is created then.
void createConfiguration(const QString& projectsFolder, const QString& name, const TextCatalogue& texts);

// Names of the sub-folders of `projectsFolder` in the order the file system gives them; files are
// left out. A missing folder gives an empty list.
QStringList listConfigurations(const QString& projectsFolder);

// Position of `snc` in `names`, comparing ASCII letters without regard to case; the first match wins,
// -1 when there is none.
int Search_Open_Conf(const QStringList& names, const QString& snc);

// The name of the active configuration as part of its path; empty while none is active.
QString activeFolderName(const AppState& state);

// Makes `name` the active configuration; its file paths follow from it.
void activate(AppState& state, const QString& name);

// Leaves no configuration active and forgets the name.
void deactivate(AppState& state);

} // namespace Configurations
