// SPDX-License-Identifier: MIT
// tessaro-cli texts: the text catalogue as a language file.
#include "Cli.h"
#include "common/FileError.h"
#include "common/SaveFile.h"
#include "language/TextCatalogue.h"

#include <QCommandLineParser>

using namespace Cli;

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
