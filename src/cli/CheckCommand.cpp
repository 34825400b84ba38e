// SPDX-License-Identifier: MIT
// tessaro-cli check: every check of a configuration at once.
#include "Cli.h"
#include "image/ConfigCheck.h"
#include "language/TextCatalogue.h"

#include <QCommandLineParser>

using namespace Cli;

int runCheck(const QStringList& args) {
    const QString command = QStringLiteral("check");
    const QString usage = QStringLiteral("check CONFIG_FOLDER");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs over the stored files of the configuration in CONFIG_FOLDER every check a user would otherwise\n"
        "meet one dialog at a time, and lists every failing row, not only the first, each with its file\n"
        "and row (rows are counted from 1 in the order of the file):\n"
        "  - the payload check before an update: each enabled uplink rule's Num. Byte against the maximum\n"
        "    payload size of ParGen.xml;\n"
        "  - the data checks of the three editors: the communication parameters (ParGen.xml), the LoRaWAN\n"
        "    uplink and downlink rules (LoRaWAN_SetAccess.xml) and the OPC UA variables' positions\n"
        "    (OPC_UA_Server.xml);\n"
        "  - a file that cannot be read, is not well-formed or lacks one of its lists.\n"
        "\n"
        "It also warns, without failing, where the files say something the device will not do as one may\n"
        "think: uplink or downlink rules whose byte runs overlap or end beyond byte 1536, OPC UA variables\n"
        "whose runs overlap or end beyond byte 1999, two variables with the same name, and more than 256\n"
        "enabled rules in one LoRaWAN list (only the first 256 reach the device).\n"
        "\n"
        "Prints one line per finding (\"error: ...\" or \"warning: ...\") and a count.\n"
        "\n"
        "Exit status: 0 no error (warnings allowed), 1 at least one error, 2 bad arguments."));
    parser.addPositionalArgument(QStringLiteral("CONFIG_FOLDER"), QStringLiteral("The configuration's folder."));
    if (const int status = parseCommand(parser, args, command, usage, 1, 1); status >= 0)
        return status;

    const QString folder = parser.positionalArguments().constFirst();
    if (!requireFolder(folder, command))
        return ExitFailure;

    TextCatalogue texts;
    texts.Build_Default_Texts();
    const QList<ConfigCheck::Finding> findings = ConfigCheck::checkConfiguration(ConfigFiles::inFolder(folder), texts);
    int errors = 0;
    QString out;
    for (const ConfigCheck::Finding& f : findings) {
        errors += f.isError() ? 1 : 0;
        out += ConfigCheck::describe(f) + u'\n';
    }
    const qsizetype warnings = findings.size() - errors;
    out += QStringLiteral("%1 error(s), %2 warning(s)\n").arg(errors).arg(warnings);
    printOut(out);
    return errors > 0 ? ExitFailure : ExitOk;
}
