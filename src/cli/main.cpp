// SPDX-License-Identifier: MIT
// tessaro-cli: the configurator's work without windows. The first argument names the command; each
// command parses its own options.
#include "app/Product.h"
#include "common/FileError.h"
#include "common/SaveFile.h"
#include "language/TextCatalogue.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1; // a file could not be read or written
constexpr int ExitUsage = 2;   // bad arguments or an unknown command

const QString Program = QStringLiteral("tessaro-cli");

void printErr(const QString& text) {
    QTextStream err(stderr);
    err << text << Qt::endl;
}

void printOut(const QString& text) {
    QTextStream out(stdout);
    out << text;
}

// A command's own help: our usage line in place of the parser's, which names the executable's path.
QString commandHelp(const QCommandLineParser& parser, const QString& usage) {
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + Program + QLatin1Char(' ') + usage + QLatin1Char('\n') +
           text.mid(text.indexOf(QLatin1Char('\n')));
}

int runTexts(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the text catalogue of the configurator as a language file: one line \"STR<index> = <text>\"\n"
        "for every text, the index with four digits (STR0018 = Error! Project not Valid). A text with a\n"
        "blank at either end stands between two pilcrows (STR0009 = \u00b6None Configuration Opened \u00b6).\n"
        "Entries that hold a single blank are left out.\n"
        "\n"
        "Translators start from this: save the output as LANGUAGE/<Language>.lng beside the configurator\n"
        "and translate the text after each \" = \". Lines that do not begin with STR are ignored, and\n"
        "\"/#/\" starts a comment.\n"
        "\n"
        "The output is UTF-8 with a byte-order mark and CR LF line ends, so the configurator reads it back\n"
        "unchanged. With --language-file the entries of that file are laid over the default English texts\n"
        "first, which brings an older translation up to date with the texts it lacks.\n"
        "\n"
        "Exit status: 0 done, 1 a file could not be read or written, 2 bad arguments."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption languageFile({QStringLiteral("l"), QStringLiteral("language-file")},
                                          QStringLiteral("Lays the entries of <file> over the default texts."),
                                          QStringLiteral("file"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Writes to <file> instead of the standard output (the bytes stay "
                                                   "exact, whatever the shell does to redirected output); \"-\" is "
                                                   "the standard output. A device or a pipe is written to, never "
                                                   "replaced."),
                                    QStringLiteral("file"));
    parser.addOption(help);
    parser.addOption(languageFile);
    parser.addOption(output);
    const QString usage = QStringLiteral("texts [--language-file FILE] [--output FILE]");

    if (!parser.parse(args)) {
        printErr(Program + QStringLiteral(" texts: ") + parser.errorText());
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        printOut(commandHelp(parser, usage));
        return ExitOk;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printErr(QStringLiteral("%1 texts: unexpected argument \"%2\"\nUsage: %1 %3")
                     .arg(Program, parser.positionalArguments().constFirst(), usage));
        return ExitUsage;
    }

    try {
        TextCatalogue catalogue;
        catalogue.Build_Default_Texts();
        if (parser.isSet(languageFile))
            catalogue.Read_Language_File(parser.value(languageFile));
        const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + catalogue.toLanguageFile().toUtf8();
        writeOutputOrThrow(parser.isSet(output) ? parser.value(output) : QStringLiteral("-"), bytes);
    } catch (const FileError& e) {
        printErr(Program + QStringLiteral(" texts: ") + e.message());
        return ExitFailure;
    }
    return ExitOk;
}

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

const Command Commands[] = {
    {"texts", "Prints the text catalogue as a language file, the starting point of a translation.", runTexts},
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
