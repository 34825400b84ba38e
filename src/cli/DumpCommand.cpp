// SPDX-License-Identifier: MIT
// tessaro-cli dump: what a device was given, decoded and verified.
#include "Cli.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "image/ImageDump.h"
#include "image/ImageLayout.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>

using namespace Cli;

int runDump(const QStringList& args) {
    const QString command = QStringLiteral("dump");
    const QString usage = QStringLiteral("dump [--json] CONFIG_FOLDER | BANK1 BANK2");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Decodes the two images the converter loads back into named fields: every field of the general\n"
        "parameter block (bank1.bin), the LoRaWAN settings, the used uplink and downlink rule entries, the\n"
        "OPC UA server header with the NTP server name, and each variable with its type name and its name\n"
        "read through its address (bank2.bin). Given CONFIG_FOLDER, the images are CONFIG_FOLDER/bin/\n"
        "bank1.bin and bank2.bin; or name the two files.\n"
        "\n"
        "The images are verified as they are read: their sizes, the checksum of the general block, the\n"
        "section and table addresses, the rule counts, the zero bytes between the fields, and that every\n"
        "string address points into the string area at a terminated string. Each inconsistency is one\n"
        "line on the standard error (and in \"problems\" with --json).\n"
        "\n"
        "Texts are shown as the device holds them: one byte per character.\n"
        "\n"
        "Exit status: 0 the images are consistent, 1 an inconsistency or a file that cannot be read,\n"
        "2 bad arguments."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON document."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("CONFIG_FOLDER | BANK1 BANK2"),
                                 QStringLiteral("A configuration's folder, or the two image files."));
    if (const int status = parseCommand(parser, args, command, usage, 1, 2); status >= 0)
        return status;

    const QStringList positional = parser.positionalArguments();
    QString bank1Path;
    QString bank2Path;
    if (positional.size() == 1) {
        if (!requireFolder(positional[0], command))
            return ExitFailure;
        const QDir bin = QDir(positional[0]).filePath(QStringLiteral("bin"));
        bank1Path = bin.filePath(QStringLiteral("bank1.bin"));
        bank2Path = bin.filePath(QStringLiteral("bank2.bin"));
    } else {
        bank1Path = positional[0];
        bank2Path = positional[1];
    }

    QByteArray bank1;
    QByteArray bank2;
    try {
        bank1 = Files::readRegularFile(bank1Path, Image::BufferSize);
        bank2 = Files::readRegularFile(bank2Path, Image::BufferSize);
    } catch (const FileError& e) {
        printErr(QStringLiteral("%1 %2: %3").arg(Program, command, e.message()));
        return ExitFailure;
    }

    const ImageDump::Dump dump = ImageDump::decode(bank1, bank2);
    if (parser.isSet(json))
        printOut(QString::fromUtf8(QJsonDocument(dump.toJson()).toJson(QJsonDocument::Indented)));
    else
        printOut(dump.toText());
    for (const QString& problem : dump.problems)
        printErr(QStringLiteral("%1 %2: %3").arg(Program, command, problem));
    return dump.problems.isEmpty() ? ExitOk : ExitFailure;
}
