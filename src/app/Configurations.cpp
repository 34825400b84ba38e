// SPDX-License-Identifier: MIT
#include "Configurations.h"

#include "AppState.h"

#include <QDir>
#include <QFileInfo>

namespace Configurations {

bool isFolderName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    return !QDir::isAbsolutePath(name);
}

int createConfiguration(const QString& projectsFolder, const QString& name) {
    if (name.isEmpty())
        return TextNameEmpty;
    // Checked before anything touches the disk: "..", "a/b" or "/x" would otherwise reach a folder
    // outside PROJECTS, or one that already exists and would be reported as such.
    if (!isFolderName(name))
        return TextNameRefused;
    const QString folder = projectsFolder + QLatin1Char('/') + name;
    if (QFileInfo(folder).isDir())
        return TextFolderExists;
    if (!QDir(projectsFolder).mkdir(name))
        return TextNameRefused;
    // A failure here is met later by the image writer.
    QDir().mkpath(folder + QStringLiteral("/bin"));
    return 0;
}

QStringList listConfigurations(const QString& projectsFolder) {
    return QDir(projectsFolder)
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
}

static char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

static bool sameIgnoringAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    }
    return true;
}

int Search_Open_Conf(const QStringList& names, const QString& snc) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (sameIgnoringAsciiCase(names[i], snc))
            return int(i);
    }
    return -1;
}

QString activeFolderName(const AppState& state) {
    if (state.ActiveConfigPath.isEmpty())
        return QString();
    return state.ActiveConfigPath.mid(state.ProjectsFolder.size() + 1);
}

void activate(AppState& state, const QString& name) {
    state.ActiveConfigName = name;
    state.ActiveConfigPath = state.ProjectsFolder + QLatin1Char('/') + name;
}

void deactivate(AppState& state) {
    state.ActiveConfigName.clear();
    state.ActiveConfigPath.clear();
}

} // namespace Configurations
