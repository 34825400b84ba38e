// SPDX-License-Identifier: MIT
// The image build against its floors, on a maximal configuration (every ParGen key, 2 x 256 enabled
// rules, 250 variables with 31-character names):
//   1. Build_Images + Save_Images against merely reading the same three files token by token with
//      QXmlStreamReader, in this process, alternating, N times each;
//   2. the whole `tessaro-cli build` process against `tessaro-cli --help` (the process floor),
//      alternating, N times each.
// Prints the medians and their ratios.
#include "image/ImageBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QXmlStreamReader>
#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool writeMaximalConfiguration(const QDir& dir) {
    QByteArray parGen = "<Par_Gen>";
    const auto key = [&](const char* name, const QByteArray& value) {
        parGen += QByteArray("<") + name + ">" + value + "</" + name + ">";
    };
    key("Eth_Conn_Device_Name", "KV210-Maximal-Configuration-31");
    key("Eth_Conn_DHCP_Cable", "0");
    key("Eth_Conn_DHCP_WiFi", "0");
    key("Eth_Conn_Enable_DNS", "1");
    for (int i = 1; i <= 4; ++i) {
        key(QByteArray("Eth_Conn_Primary_DNS" + QByteArray::number(i)).constData(), "8");
        key(QByteArray("Eth_Conn_Secondary_DNS" + QByteArray::number(i)).constData(), "4");
    }
    key("LoRa_RF_Band", "EU868");
    key("LoRa_Network_Type", "Public");
    key("LoRa_Adaptive_DataRate", "1");
    key("LoRa_DataRate", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]");
    key("LoRa_Transmission_Type", "Confirmed");
    key("LoRa_Payload_Size", "222");
    key("LoRa_Activation_Method", "Over-the-Air Activation [OTAA]");
    key("LoRa_Device_Address", "260B1234");
    key("LoRa_JoinEUI", "70B3D57ED0001234");
    key("LoRa_Network_Session_Key", "000102030405060708090A0B0C0D0E0F");
    key("LoRa_Application_Session_Key", "000102030405060708090A0B0C0D0E0F");
    key("LoRa_Application_Key", "2B7E151628AED2A6ABF7158809CF4F3C");
    key("LoRa_FPort", "Variable");
    key("LoRa_Frequency_SubBand", "1");
    key("LoRa_LNCHECK", "5");
    key("NTP_Server_URL", "pool.ntp.org");
    key("NTP_Poll_Time", "3600");
    for (int i = 1; i <= 4; ++i) {
        key(QByteArray("OPC_UA_Server_IP" + QByteArray::number(i)).constData(), "192");
        key(QByteArray("OPC_UA_Server_SM" + QByteArray::number(i)).constData(), "255");
        key(QByteArray("OPC_UA_Server_GAT" + QByteArray::number(i)).constData(), "1");
    }
    key("OPC_UA_Server_EN_GAT", "1");
    key("OPC_UA_Server_Port", "4840");
    parGen += "</Par_Gen><!--SW_VERSION = 1.001-->";

    QByteArray rules = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
    for (int i = 0; i < 256; ++i)
        rules += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 6) +
                 "\" NumByte=\"6\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"600\" FPort=\"" +
                 QByteArray::number(i % 223 + 1) + "\" Mnemonic=\"Uplink rule number " + QByteArray::number(i) + "\"/>";
    rules += "</LoRaWAN_Uplink><LoRaWAN_Downlink>";
    for (int i = 0; i < 256; ++i)
        rules += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 6) + "\" NumByte=\"6\" FPort=\"" +
                 QByteArray::number(i % 223 + 1) + "\" Mnemonic=\"Downlink rule number " + QByteArray::number(i) +
                 "\"/>";
    rules += "</LoRaWAN_Downlink></LoRaWAN_Set_Access><!--SW_VERSION = 1.001-->";

    QByteArray variables = "<OPC_UA_Server><OPC_UA_Server_Variables>";
    for (int i = 0; i < 250; ++i)
        variables += "<row Enable=\"Y\" Type=\"UInt64\" Position=\"" + QByteArray::number(i * 8) +
                     "\" Length=\"8\" Name=\"" + QByteArray::number(1000 + i) + QByteArray(27, 'v') +
                     "\" ReadWrite=\"Read/Write\" Mnemonic=\"Variable number " + QByteArray::number(i) + "\"/>";
    variables += "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.001-->";

    return write(dir.filePath(QStringLiteral("ParGen.xml")), parGen) &&
           write(dir.filePath(QStringLiteral("LoRaWAN_SetAccess.xml")), rules) &&
           write(dir.filePath(QStringLiteral("OPC_UA_Server.xml")), variables);
}

// The floor: the three files read and tokenised, nothing kept.
qint64 readTokens(const ConfigFiles& files) {
    qint64 tokens = 0;
    for (const QString& path : {files.parGen, files.loRaWAN, files.opcUa}) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        QXmlStreamReader reader(&f);
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
        if (reader.hasError())
            return -1;
    }
    return tokens;
}

double runProcess(const QString& program, const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        QTextStream(stderr) << "run failed: " << program << " " << args.join(u' ') << "\n";
        return -1;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 50;
    // A second argument names a folder to keep the configuration in (for a profiler).
    QTemporaryDir tmp;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path());
    if (!dir.mkpath(QStringLiteral(".")) || !writeMaximalConfiguration(dir)) {
        QTextStream(stderr) << "cannot write the configuration\n";
        return 1;
    }
    const ConfigFiles files = ConfigFiles::inFolder(dir.path());
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QTextStream out(stdout);

    // One warm-up of each.
    ImageBuilder builder;
    builder.Build_Images(files);
    builder.Save_Images(bin);
    if (readTokens(files) < 0)
        return 1;

    std::vector<double> tBuild, tRead, tSave;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        builder.Build_Images(files);
        const qint64 built = clock.nsecsElapsed();
        builder.Save_Images(bin);
        tBuild.push_back(double(clock.nsecsElapsed()) / 1e6);
        tSave.push_back(double(clock.nsecsElapsed() - built) / 1e6);
        clock.restart();
        readTokens(files);
        tRead.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double mBuild = median(tBuild);
    const double mRead = median(tRead);
    out << "maximal configuration: bank2.bin " << builder.bank2().size() << " bytes, " << runs << " runs each\n";
    out << QStringLiteral("Build_Images + Save_Images   median %1 ms\n").arg(mBuild, 0, 'f', 3);
    out << QStringLiteral("  of which Save_Images       median %1 ms\n").arg(median(tSave), 0, 'f', 3);
    out << QStringLiteral("QXmlStreamReader tokens only median %1 ms\n").arg(mRead, 0, 'f', 3);
    out << QStringLiteral("ratio                        %1\n").arg(mBuild / mRead, 0, 'f', 2);

    const QString cli = QStringLiteral(TESSARO_CLI);
    const QStringList buildArgs{QStringLiteral("build"), QStringLiteral("--out"),
                                dir.filePath(QStringLiteral("cli-bin")), dir.path()};
    const QStringList helpArgs{QStringLiteral("--help")};
    if (runProcess(cli, buildArgs) < 0 || runProcess(cli, helpArgs) < 0)
        return 1;
    std::vector<double> tCli, tHelp;
    for (int i = 0; i < runs; ++i) {
        tCli.push_back(runProcess(cli, buildArgs));
        tHelp.push_back(runProcess(cli, helpArgs));
        if (tCli.back() < 0 || tHelp.back() < 0)
            return 1;
    }
    const double mCli = median(tCli);
    const double mHelp = median(tHelp);
    out << QStringLiteral("tessaro-cli build            median %1 ms\n").arg(mCli, 0, 'f', 2);
    out << QStringLiteral("tessaro-cli --help           median %1 ms\n").arg(mHelp, 0, 'f', 2);
    out << QStringLiteral("ratio                        %1\n").arg(mCli / mHelp, 0, 'f', 2);
    return 0;
}
