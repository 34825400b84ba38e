// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What became of a started program.
struct LaunchResult {
    enum class State { NotStarted, Ended, StillRunning };
    State state = State::NotStarted;
    qint64 pid = 0;       // 0 when the program did not start
    int exitCode = 0;     // Ended: the program's exit status
    bool crashed = false; // Ended: killed by a signal or crashed, exitCode says nothing
    QString error;        // NotStarted: why
};

// Starts the program file `NomeSW` with the command line `Parameter` (hidden when `tipo` is on, where
// the platform knows a show state) and waits, checking every 10 ms, until it ends or `timeoutMs` have
// passed since the start. Returns at once when the program cannot be started. A program still running
// when the wait ends is left running. Blocks the calling thread; no events are processed meanwhile.
LaunchResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, int timeoutMs = 150000);

// The same start and wait for a program and its arguments as a list. `betweenPolls`, when set, runs
// after every 10 ms poll: a window that must keep painting processes its events there.
LaunchResult startProgram(const QString& program, const QStringList& arguments, bool tipo, int timeoutMs,
                          const std::function<void()>& betweenPolls = {});
