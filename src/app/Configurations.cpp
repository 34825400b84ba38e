// SPDX-License-Identifier: MIT
#include "Configurations.h"

#include "AppState.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "language/TextCatalogue.h"

#include <QDir>
#include <QFileInfo>

namespace Configurations {

bool isFolderName(const QString& name) {
    return Files::isPlainName(name);
}

void createConfiguration(const QString& projectsFolder, const QString& name, const TextCatalogue& texts) {
    const auto refuse = [&](int text) { return FileError(texts.Text(text)); };
    if (name.isEmpty())
        throw refuse(TextNameEmpty);
    // Checked before anything touches the disk: "..", "a/b" or "/x" would otherwise reach a folder
    // outside PROJECTS, or one that already exists and would be reported as such; a name with a line
    // break or another control character would be created but never found again after a restart.
    if (!isFolderName(name))
        throw refuse(TextNameRefused);
    const QString folder = projectsFolder + QLatin1Char('/') + name;
    if (QFileInfo(folder).isDir())
        throw refuse(TextFolderExists);
    if (!QDir(projectsFolder).mkdir(name))
        throw refuse(TextNameRefused);
    // A failure here is met later by the image writer.
    QDir().mkpath(folder + QStringLiteral("/bin"));
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
