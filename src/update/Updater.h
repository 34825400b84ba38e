// SPDX-License-Identifier: MIT
#pragma once

#include "app/ProcessLauncher.h"

#include <QString>
#include <QStringList>
#include <functional>

// Starting the maker's updater Flashvane.exe from the program folder, after the script is written.
namespace Updater {

// How long the configurator waits for the updater before it goes on without it.
inline constexpr int WaitMs = 150000;

// ProgramFolder/Flashvane.exe.
QString updaterPath(const QString& programFolder);

// What to run. The updater gets nothing on its command line. Outside Windows a Windows program (one
// that begins with "MZ") is run through wine when wine is on the path; without wine, `error` says so
// and nothing can be run.
struct Command {
    QString program;
    QStringList arguments;
    QString error;
};
Command command(const QString& updater);

// Runs the command and waits up to `timeoutMs` for it (see startProgram). `error` is empty when it ran;
// otherwise it names the updater and the reason, ready for the user.
struct Outcome {
    LaunchResult launch;
    QString error;
};
Outcome run(const QString& updater, int timeoutMs = WaitMs, const std::function<void()>& betweenPolls = {});

} // namespace Updater
