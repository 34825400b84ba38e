// SPDX-License-Identifier: MIT
// tessaro-cli update: the whole update of one converter without windows, as "Update Device UDP" and
// the update dialog do it.
#include "Cli.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "image/ImageBuilder.h"
#include "language/TextCatalogue.h"
#include "rules/PayloadCheck.h"
#include "update/DeviceAddress.h"
#include "update/IcmpEchoClient.h"
#include "update/ReachabilityCheck.h"
#include "update/UpdateScript.h"
#include "update/Updater.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Cli;

namespace {

struct OptionName {
    const char* name;
    UpdateScript::Option option;
};
constexpr OptionName OptionNames[] = {
    {"firmware+configuration", UpdateScript::FirmwareAndConfiguration},
    {"firmware", UpdateScript::Firmware},
    {"configuration", UpdateScript::Configuration},
};

constexpr int DeviceNotFound = 1036; // "Device Not Found!"

} // namespace

int runUpdate(const QStringList& args) {
    const QString command = QStringLiteral("update");
    const QString usage = QStringLiteral("update CONFIG_FOLDER --address A.B.C.D [--option "
                                         "firmware+configuration|firmware|configuration] [--no-read-back] "
                                         "[--program-folder DIR] [--script-only]");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Updates the converter at A.B.C.D with the configuration in CONFIG_FOLDER, as the configurator's\n"
        "\"Update Device UDP\" does, one step after the other:\n"
        "\n"
        "  1. the uplink rules are checked against the maximum payload size;\n"
        "  2. bank1.bin and bank2.bin are built and written into CONFIG_FOLDER/bin;\n"
        "  3. the address has to answer ICMP echo requests (two replies within about 5 s);\n"
        "  4. the update script Flashvane.xml is written into the program folder;\n"
        "  5. the maker's updater Flashvane.exe in the program folder is started and awaited (at most\n"
        "     150 s; outside Windows a Windows updater runs through wine).\n"
        "\n"
        "Each step prints one line on the standard error; a failed step ends the command. With\n"
        "--script-only the command stops after the script, before the reachability check: the images\n"
        "and the script can then be inspected or carried over another path.\n"
        "\n"
        "The program folder holds MASTER/SimKV210.sim, the firmware the script names, and the updater;\n"
        "it defaults to the folder of this tool, like the configurator's. The remembered address of\n"
        "Tessaro.xml is left as it is.\n"
        "\n"
        "Exit status: 0 every step passed and the updater ended with status 0, 1 a step failed or the\n"
        "updater did not end with status 0, 2 bad arguments."));
    const QCommandLineOption address({QStringLiteral("a"), QStringLiteral("address")},
                                     QStringLiteral("The converter's IPv4 address, four numbers joined by dots."),
                                     QStringLiteral("A.B.C.D"));
    const QCommandLineOption option(
        QStringLiteral("option"),
        QStringLiteral("What to load: firmware+configuration (the default), firmware or configuration."),
        QStringLiteral("what"));
    const QCommandLineOption noReadBack(QStringLiteral("no-read-back"),
                                        QStringLiteral("The updater does not read the memory back after writing."));
    const QCommandLineOption programFolder(QStringLiteral("program-folder"),
                                           QStringLiteral("The folder with MASTER and Flashvane.exe; the script "
                                                          "is written there. Default: this tool's folder."),
                                           QStringLiteral("dir"));
    const QCommandLineOption scriptOnly(QStringLiteral("script-only"),
                                        QStringLiteral("Stops after writing the images and the script."));
    parser.addOptions({address, option, noReadBack, programFolder, scriptOnly});
    parser.addPositionalArgument(QStringLiteral("CONFIG_FOLDER"), QStringLiteral("The configuration's folder."));
    if (const int status = parseCommand(parser, args, command, usage, 1, 1); status >= 0)
        return status;

    auto usageError = [&](const QString& text) {
        printErr(QStringLiteral("%1 %2: %3\nUsage: %1 %4").arg(Program, command, text, usage));
        return ExitUsage;
    };
    if (!parser.isSet(address))
        return usageError(QStringLiteral("--address is missing"));
    UpdateScript::Input in;
    in.address = parser.value(address);
    if (!DeviceAddress::parseDottedIPv4(in.address))
        return usageError(
            QStringLiteral("\"%1\" is not an IPv4 address (four numbers 0 to 255 joined by dots)").arg(in.address));
    in.option = -1;
    const QString what = parser.isSet(option) ? parser.value(option) : QStringLiteral("firmware+configuration");
    for (const OptionName& o : OptionNames) {
        if (what == QLatin1String(o.name))
            in.option = o.option;
    }
    if (in.option < 0)
        return usageError(QStringLiteral("unknown --option \"%1\"").arg(what));
    in.readBack = !parser.isSet(noReadBack);

    const QString folder = parser.positionalArguments().constFirst();
    if (!requireFolder(folder, command))
        return ExitFailure;
    const QString program =
        QFileInfo(parser.isSet(programFolder) ? parser.value(programFolder) : QCoreApplication::applicationDirPath())
            .absoluteFilePath();
    if (!QFileInfo(program).isDir()) {
        printErr(QStringLiteral("%1 %2: the program folder \"%3\" is not a folder").arg(Program, command, program));
        return ExitFailure;
    }
    in.configPath = QFileInfo(folder).absoluteFilePath();
    in.masterFolder = program + QStringLiteral("/MASTER");

    auto step = [&](const QString& text) { printErr(QStringLiteral("%1 %2: %3").arg(Program, command, text)); };
    try {
        const ConfigFiles files = ConfigFiles::inFolder(in.configPath);
        const QList<PayloadCheck::Failure> failures = PayloadCheck::failingRules(files.parGen, files.loRaWAN);
        if (!failures.isEmpty()) {
            QStringList rows;
            for (const PayloadCheck::Failure& f : failures)
                rows << QString::number(f.row);
            step(QStringLiteral("payload check failed: %1 (LoRaWAN_Uplink row(s) %2)")
                     .arg(defaultText(PayloadCheck::TextNumByteTooLarge), rows.join(u", ")));
            return ExitFailure;
        }
        step(QStringLiteral("payload check passed"));

        ImageBuilder builder;
        builder.Build_Images(files);
        const QString bin = QDir(in.configPath).filePath(QStringLiteral("bin"));
        builder.Save_Images(bin);
        step(QStringLiteral("images written: %1, %2")
                 .arg(Files::shown(bin + QStringLiteral("/bank1.bin")),
                      Files::shown(bin + QStringLiteral("/bank2.bin"))));

        if (!parser.isSet(scriptOnly)) {
            IcmpEchoClient client;
            ReachabilityCheck check(client);
            if (!check.Send_Ping(in.address)) {
                if (check.lastError.kind == EchoResult::Kind::NoPermission)
                    step(QStringLiteral("reachability check cannot run: ") +
                         ReachabilityCheck::noPermissionMessage(check.lastError.error).replace(u'\n', u' '));
                else if (check.ping_res == ReachabilityCheck::NotAnswered)
                    step(QStringLiteral("reachability check failed: %1 does not answer (%2)")
                             .arg(in.address, defaultText(DeviceNotFound)));
                else
                    step(QStringLiteral("reachability check failed: %1").arg(check.lastError.error));
                return ExitFailure;
            }
            step(QStringLiteral("reachability check passed: %1 answers").arg(in.address));
        }

        UpdateScript::Compile_XML_Parameter_New_Boot(program, in);
        step(QStringLiteral("script written: %1").arg(Files::shown(UpdateScript::scriptPath(program))));
        if (parser.isSet(scriptOnly))
            return ExitOk;
    } catch (const FileError& e) {
        step(e.message());
        return ExitFailure;
    }

    const QString updater = Updater::updaterPath(program);
    step(QStringLiteral("starting the updater %1").arg(Files::shown(updater)));
    const Updater::Outcome outcome = Updater::run(updater);
    if (!outcome.error.isEmpty()) {
        step(outcome.error);
        return ExitFailure;
    }
    switch (outcome.launch.state) {
    case LaunchResult::State::StillRunning:
        step(QStringLiteral("the updater %1 is still running after %2 s; not waiting any longer")
                 .arg(Files::shown(updater))
                 .arg(Updater::WaitMs / 1000));
        return ExitFailure;
    case LaunchResult::State::Ended:
        if (outcome.launch.crashed) {
            step(QStringLiteral("the updater %1 crashed").arg(Files::shown(updater)));
            return ExitFailure;
        }
        step(QStringLiteral("the updater %1 ended with status %2")
                 .arg(Files::shown(updater))
                 .arg(outcome.launch.exitCode));
        return outcome.launch.exitCode == 0 ? ExitOk : ExitFailure;
    case LaunchResult::State::NotStarted:
        break;
    }
    return ExitFailure;
}
