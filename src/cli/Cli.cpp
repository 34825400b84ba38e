// SPDX-License-Identifier: MIT
#include "Cli.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace Cli {

void printErr(const QString& text) {
    QTextStream err(stderr);
    err << text << Qt::endl;
}

void printOut(const QString& text) {
    QTextStream out(stdout);
    out << text;
}

QString commandHelp(const QCommandLineParser& parser, const QString& usage) {
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + Program + QLatin1Char(' ') + usage + QLatin1Char('\n') +
           text.mid(text.indexOf(QLatin1Char('\n')));
}

int parseCommand(QCommandLineParser& parser, const QStringList& args, const QString& command, const QString& usage,
                 qsizetype minArgs, qsizetype maxArgs) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    parser.addOption(help);
    if (!parser.parse(args)) {
        printErr(QStringLiteral("%1 %2: %3").arg(Program, command, parser.errorText()));
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        printOut(commandHelp(parser, usage));
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < minArgs || positional.size() > maxArgs) {
        const QString what = positional.size() < minArgs
                                 ? QStringLiteral("missing argument")
                                 : QStringLiteral("unexpected argument \"%1\"").arg(positional.value(maxArgs));
        printErr(QStringLiteral("%1 %2: %3\nUsage: %1 %4").arg(Program, command, what, usage));
        return ExitUsage;
    }
    return -1;
}

bool requireFolder(const QString& folder, const QString& command) {
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    printErr(QStringLiteral("%1 %2: the configuration folder \"%3\" %4")
                 .arg(Program, command, folder,
                      info.exists() ? QStringLiteral("is not a folder") : QStringLiteral("does not exist")));
    return false;
}

} // namespace Cli
