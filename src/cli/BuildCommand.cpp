// SPDX-License-Identifier: MIT
// tessaro-cli build: the two images of a configuration, as the update step writes them.
#include "Cli.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "image/ImageBuilder.h"
#include "language/TextCatalogue.h"
#include "rules/PayloadCheck.h"

#include <QCommandLineParser>
#include <QDir>

using namespace Cli;

int runBuild(const QStringList& args) {
    const QString command = QStringLiteral("build");
    const QString usage = QStringLiteral("build [--out DIR] CONFIG_FOLDER");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the two images the converter loads from the configuration in CONFIG_FOLDER (its ParGen.xml,\n"
        "LoRaWAN_SetAccess.xml and OPC_UA_Server.xml; a missing file gives its defaults) and writes\n"
        "bank1.bin, the general parameter block, and bank2.bin, the rules image, into DIR, by default\n"
        "CONFIG_FOLDER/bin. The folder DIR is created when it is missing (not its parents).\n"
        "\n"
        "The uplink rules are first checked against the maximum payload size, as before an update; when a\n"
        "rule does not fit, nothing is written. Nothing is written either when a file cannot be read or is\n"
        "not well-formed. Both images are replaced together: a failure never leaves a new bank1.bin beside\n"
        "an old bank2.bin.\n"
        "\n"
        "Prints the path and size of each image written. Messages go to the standard error.\n"
        "\n"
        "Exit status: 0 both images written, 1 the payload check failed or a file could not be read or\n"
        "written, 2 bad arguments."));
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")},
                                 QStringLiteral("Writes the images into <dir> instead of CONFIG_FOLDER/bin."),
                                 QStringLiteral("dir"));
    parser.addOption(out);
    parser.addPositionalArgument(QStringLiteral("CONFIG_FOLDER"), QStringLiteral("The configuration's folder."));
    if (const int status = parseCommand(parser, args, command, usage, 1, 1); status >= 0)
        return status;

    const QString folder = parser.positionalArguments().constFirst();
    if (!requireFolder(folder, command))
        return ExitFailure;
    const ConfigFiles files = ConfigFiles::inFolder(folder);
    const QString target = parser.isSet(out) ? parser.value(out) : QDir(folder).filePath(QStringLiteral("bin"));

    try {
        const QList<PayloadCheck::Failure> failures = PayloadCheck::failingRules(files.parGen, files.loRaWAN);
        if (!failures.isEmpty()) {
            QStringList rows;
            for (const PayloadCheck::Failure& f : failures)
                rows << QString::number(f.row);
            printErr(QStringLiteral("%1 %2: %3\n%1 %2: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row(s) %4; nothing "
                                    "was written")
                         .arg(Program, command, defaultText(PayloadCheck::TextNumByteTooLarge), rows.join(u", ")));
            return ExitFailure;
        }
        ImageBuilder builder;
        builder.Build_Images(files);
        builder.Save_Images(target);
        const QDir dir(target);
        printOut(QStringLiteral("%1  %2 bytes\n%3  %4 bytes\n")
                     .arg(Files::shown(dir.filePath(QStringLiteral("bank1.bin"))))
                     .arg(builder.bank1().size())
                     .arg(Files::shown(dir.filePath(QStringLiteral("bank2.bin"))))
                     .arg(builder.bank2().size()));
    } catch (const FileError& e) {
        printErr(QStringLiteral("%1 %2: %3").arg(Program, command, e.message()));
        return ExitFailure;
    }
    return ExitOk;
}
