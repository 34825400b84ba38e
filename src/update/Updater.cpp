// SPDX-License-Identifier: MIT
#include "Updater.h"

#include "UpdateScript.h"
#include "common/ReadFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Updater {

QString updaterPath(const QString& programFolder) {
    return programFolder + QLatin1Char('/') + UpdateScript::UpdaterName;
}

namespace {

bool isWindowsProgram(const QString& path) {
    if (!QFileInfo(path).isFile()) // never open a FIFO or a device to look at it
        return false;
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "MZ";
}

} // namespace

Command command(const QString& updater) {
    Command c;
#ifndef Q_OS_WIN
    if (isWindowsProgram(updater)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            c.error = QStringLiteral("The updater %1 is a Windows program and needs Wine to run here; "
                                     "wine was not found on the path. Install Wine and update again.")
                          .arg(Files::shown(updater));
            return c;
        }
        c.program = wine;
        c.arguments << updater;
        return c;
    }
#endif
    c.program = updater;
    return c;
}

Outcome run(const QString& updater, int timeoutMs, const std::function<void()>& betweenPolls) {
    Outcome out;
    const Command c = command(updater);
    if (!c.error.isEmpty()) {
        out.error = c.error;
        return out;
    }
    out.launch = startProgram(c.program, c.arguments, false, timeoutMs, betweenPolls);
    if (out.launch.state == LaunchResult::State::NotStarted) {
        QString why = out.launch.error;
        if (!QFileInfo::exists(updater))
            why = QStringLiteral("the file does not exist");
        out.error = QStringLiteral("The updater %1 cannot be started: %2").arg(Files::shown(updater), why);
    }
    return out;
}

} // namespace Updater
