// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the commands of tessaro-cli share: exit status, output, help.
namespace Cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1; // a file could not be read or written, or a check failed
inline constexpr int ExitUsage = 2;   // bad arguments or an unknown command

inline const QString Program = QStringLiteral("tessaro-cli");

void printErr(const QString& text);
void printOut(const QString& text);

// A command's own help: our usage line in place of the parser's, which names the executable's path.
QString commandHelp(const QCommandLineParser& parser, const QString& usage);

// Parses `args` for a command taking `minArgs` to `maxArgs` positional arguments. Returns -1 when the
// command should go on; otherwise the exit status (help printed, or a usage error reported).
int parseCommand(QCommandLineParser& parser, const QStringList& args, const QString& command, const QString& usage,
                 qsizetype minArgs, qsizetype maxArgs);

// True when `folder` is an existing folder; otherwise reports it for `command` and returns false.
bool requireFolder(const QString& folder, const QString& command);

} // namespace Cli

// The commands, each taking its own name first and then its arguments.
int runTexts(const QStringList& args);
int runBuild(const QStringList& args);
int runCheck(const QStringList& args);
int runDump(const QStringList& args);
int runUpdate(const QStringList& args);
