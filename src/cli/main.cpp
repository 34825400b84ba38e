// SPDX-License-Identifier: MIT
// tessaro-cli: the configurator's work without windows. The first argument names the command; each
// command parses its own options (one file per command).
#include "Cli.h"
#include "app/Product.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Cli;

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

const Command Commands[] = {
    {"build", "Builds bank1.bin and bank2.bin, the images the converter loads, from a configuration.", runBuild},
    {"check", "Checks a configuration and lists every problem, each with its file and row.", runCheck},
    {"dump", "Decodes and verifies the two images: what a device was given.", runDump},
    {"texts", "Prints the text catalogue as a language file, the starting point of a translation.", runTexts},
    {"update", "Updates a converter: images, reachability check, update script and the maker's updater.", runUpdate},
};

QString mainHelp() {
    QString text = QStringLiteral("Usage: %1 <command> [options]\n"
                                  "\n"
                                  "%2 %3 (%4): the configurator without windows.\n"
                                  "\n"
                                  "Commands:\n")
                       .arg(Program, Product::Code, Product::Version, Product::Description);
    for (const Command& c : Commands)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromLatin1(c.name), -8).arg(QString::fromLatin1(c.summary));
    text += QStringLiteral("\n"
                           "Options:\n"
                           "  -h, --help     Shows this help.\n"
                           "  -v, --version  Shows the version.\n"
                           "\n"
                           "'%1 <command> --help' describes one command.\n")
                .arg(Program);
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(Program);
    QCoreApplication::setApplicationVersion(Product::Version);

    // Only the options before the command belong to the program; the rest is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    const QStringList args = QCoreApplication::arguments();
    if (!parser.parse(args)) {
        printErr(Program + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n') + mainHelp());
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        printOut(mainHelp());
        return ExitOk;
    }
    if (parser.isSet(version)) {
        printOut(Program + QLatin1Char(' ') + Product::Version + QLatin1Char('\n'));
        return ExitOk;
    }
    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        printErr(Program + QStringLiteral(": no command given\n") + mainHelp());
        return ExitUsage;
    }
    const QString name = rest.takeFirst();
    for (const Command& c : Commands) {
        if (name == QLatin1String(c.name))
            return c.run(QStringList{Program + QLatin1Char(' ') + name} + rest);
    }
    printErr(QStringLiteral("%1: unknown command \"%2\"\n").arg(Program, name) + mainHelp());
    return ExitUsage;
}
