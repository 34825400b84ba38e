// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What became of a started program; the update step ignores it, tests read it.
struct LaunchResult {
    enum class State { NotStarted, Ended, StillRunning };
    State state = State::NotStarted;
    qint64 pid = 0; // 0 when the program did not start
};

// Starts the program file `NomeSW` with the command line `Parameter` (hidden when `tipo` is on, where
// the platform knows a show state) and waits, checking every 10 ms, until it ends or `timeoutMs` have
// passed since the start. Returns at once when the program cannot be started. A program still running
// when the wait ends is left running. Blocks the calling thread; no events are processed meanwhile.
LaunchResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, int timeoutMs = 150000);
