// SPDX-License-Identifier: MIT
#include "ProcessLauncher.h"

#include <QElapsedTimer>
#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

// The process object is kept as a child of nothing and outlives the wait: QProcess's destructor would
// kill a program still running, and the updater has to go on with its transfer after the wait gives
// up. The object deletes itself once the program ends (that needs the event loop, which the main
// window runs); one still running when this program exits is simply never destroyed.
//
// A detached start with a polled pid was the other choice. It is worse here: the detached program is
// not our child, so once it ends it may stay a zombie under a parent that does not reap, and a pid
// check would then report it running until the bound.
namespace {
constexpr int StartBoundMs = 30000;
}

LaunchResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, int timeoutMs) {
    return startProgram(NomeSW, QProcess::splitCommand(Parameter), tipo, timeoutMs);
}

LaunchResult startProgram(const QString& program, const QStringList& arguments, bool tipo, int timeoutMs,
                          const std::function<void()>& betweenPolls) {
    LaunchResult result;
    if (program.isEmpty()) {
        result.error = QStringLiteral("no program named");
        return result;
    }

    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    // No pipes to us: a program left running must not depend on this process reading its output. Its
    // output goes where ours goes and its input reads nothing; the open mode below asks for no pipe
    // either, or QProcess would redirect the output to the null device against the forwarding and
    // warn about the contradiction.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process->setCreateProcessArgumentsModifier([tipo](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = tipo ? SW_HIDE : SW_SHOWNORMAL;
    });
#else
    Q_UNUSED(tipo);
#endif

    QElapsedTimer clock;
    clock.start();
    process->start(QIODevice::ReadOnly);
    // The start has a bound of its own: a start slower than the wait's bound (a loaded machine) is
    // still a start, and the program must not be killed as one that failed.
    if (!process->waitForStarted(StartBoundMs)) {
        result.error = process->errorString();
        delete process;
        return result;
    }
    result.pid = process->processId();

    for (;;) {
        if (process->state() == QProcess::NotRunning) {
            result.state = LaunchResult::State::Ended;
            result.crashed = process->exitStatus() == QProcess::CrashExit;
            result.exitCode = process->exitCode();
            delete process;
            return result;
        }
        if (clock.elapsed() >= timeoutMs)
            break;
        process->waitForFinished(10);
        if (betweenPolls)
            betweenPolls();
    }

    result.state = LaunchResult::State::StillRunning;
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return result;
}
