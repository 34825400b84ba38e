// SPDX-License-Identifier: MIT
// Reading time and peak memory of the settings file and ParGen.xml at 64 KiB, 1 MiB and just under the
// 16 MiB bound, plain (many sibling elements) and nested (one deep chain), against a floor measured in
// the same run: the same bounded read of the bytes followed by a bare QXmlStreamReader token loop.
//
// Every measurement runs in a process of its own (this program started with "--run"), so the peak
// memory of one never hides in another's; floor and reader runs alternate. Time is the process's CPU
// time for the read, so other work on a shared machine does not show in it.
#include "app/AppState.h"
#include "app/Settings.h"
#include "common/FileError.h"
#include "common/ReadFile.h"
#include "common/XmlTree.h"
#include "params/ParGenSet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QXmlStreamReader>
#include <algorithm>
#include <ctime>
#include <vector>

namespace {

QTextStream out(stdout);

// A value of /proc/self/status in KiB ("VmHWM", "VmRSS").
qint64 statusKiB(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

qint64 cpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Forgets the peak so far (Linux 4.0 and later), so the peak measured is the work's own.
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

qint64 floorRead(const QString& path) {
    const QByteArray data = Files::readRegularFile(path);
    QXmlStreamReader reader(data);
    qint64 tokens = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        ++tokens;
    }
    if (reader.hasError())
        throw FileError(reader.errorString());
    return tokens;
}

// The child: one measurement, printed as "<nanoseconds> <peak KiB above the start>". Exit 3 when the
// reader did not find what the file holds (the file was refused or misread).
int runChild(const QString& mode, const QString& path) {
    resetPeak();
    const qint64 before = statusKiB("VmRSS");
    const qint64 start = cpuNanoseconds();
    bool ok = true;
    try {
        if (mode == QLatin1String("floor")) {
            ok = floorRead(path) > 0;
        } else if (mode == QLatin1String("settings")) {
            AppState state;
            state.setProgramFolder(QFileInfo(path).path());
            Settings::Read_Setting(state);
            ok = state.ActiveConfigName == QLatin1String("Alpha") && state.EnableUpdate;
        } else if (mode == QLatin1String("pargen")) {
            const ParGenSet set = ParGenSet::load(path);
            ok = set.value(ParGen::Eth_Conn_Device_Name) == QLatin1String("KV-1") &&
                 set.value(ParGen::LoRa_RF_Band) == QLatin1String("EU868");
        } else if (mode == QLatin1String("tree")) {
            ok = !Xml::loadExistingTree(path).rootElement().isNull();
        }
    } catch (const FileError& e) {
        QTextStream(stderr) << e.message() << "\n";
        ok = false;
    }
    const qint64 ns = cpuNanoseconds() - start;
    out << ns << ' ' << qMax<qint64>(0, statusKiB("VmHWM") - before) << Qt::endl;
    return ok ? 0 : 3;
}

struct Sample {
    double ms = -1;
    double mib = -1;
    int exitCode = -1;
};

Sample measure(const QString& mode, const QString& path) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run"), mode, path});
    Sample s;
    if (!p.waitForFinished(600000))
        return s;
    s.exitCode = p.exitCode();
    const QList<QByteArray> fields = p.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() == 2) {
        s.ms = fields[0].toDouble() / 1e6;
        s.mib = fields[1].toDouble() / 1024.0;
    }
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// --- the files ---

const QByteArray SettingsBody = "<lastproj><projectname>Alpha</projectname></lastproj>"
                                "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
                                "<lastlang><language>English</language></lastlang>"
                                "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
                                "<enable_jump_field_tables>0</enable_jump_field_tables>"
                                "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet>";

QByteArray parGenBody() {
    ParGenSet set = ParGenSet::noFileDefaults();
    set.setValue(ParGen::Eth_Conn_Device_Name, QStringLiteral("KV-1"));
    set.setValue(ParGen::LoRa_RF_Band, QStringLiteral("EU868"));
    QByteArray xml = set.toXml();
    xml.remove(0, int(qstrlen("<Par_Gen>")));
    return xml.left(xml.indexOf("</Par_Gen>"));
}

// Filler of `size` bytes: many siblings (plain) or one chain of nested elements (nested). It stands
// before the real elements, so every lookup walks past it.
QByteArray filler(qint64 size, bool nested) {
    if (!nested) {
        const QByteArray unit = "<Unknown_Element>0123456789</Unknown_Element>";
        return unit.repeated(qsizetype(size / unit.size()));
    }
    const qsizetype depth = qsizetype(size / 7); // "<n>" + "</n>"
    return QByteArray("<n>").repeated(depth) + QByteArray("</n>").repeated(depth);
}

QByteArray document(const QByteArray& root, const QByteArray& body, qint64 size, bool nested) {
    const QByteArray open = '<' + root + '>';
    const QByteArray close = "</" + root + ">";
    const qint64 room = size - open.size() - body.size() - close.size();
    return open + filler(room, nested) + body + close;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString sizeName(qint64 size) {
    if (size >= 1024 * 1024)
        return QStringLiteral("%1 MiB").arg(double(size) / (1024 * 1024), 0, 'f', size % (1024 * 1024) ? 3 : 0);
    return QStringLiteral("%1 KiB").arg(size / 1024);
}

// --- attribute-heavy input: why the reader refuses elements with very many attributes ---

double tokenLoopMs(const QByteArray& xml) {
    const qint64 start = cpuNanoseconds();
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return double(cpuNanoseconds() - start) / 1e6;
}

QByteArray oneElement(int attributes) {
    QByteArray xml = "<R";
    for (int i = 0; i < attributes; ++i)
        xml += " a" + QByteArray::number(i) + "=\"1\"";
    return xml + "/>";
}

void attributeSection(const QTemporaryDir& dir, int runs) {
    out << "\nQXmlStreamReader alone, one element with N attributes (its time grows with N squared):\n";
    double previous = 0;
    for (int n : {2500, 5000, 10000, 20000}) {
        const QByteArray xml = oneElement(n);
        std::vector<double> t;
        for (int i = 0; i < 3; ++i)
            t.push_back(tokenLoopMs(xml));
        const double m = median(t);
        out << QStringLiteral("  N = %1 (%2 KiB): %3 ms").arg(n, 6).arg(xml.size() / 1024, 4).arg(m, 8, 'f', 1);
        if (previous > 0)
            out << QStringLiteral("   x%1 for twice N").arg(m / previous, 0, 'f', 1);
        out << "\n";
        previous = m;
    }

    const qint64 bound = Files::MaxReadSize - 1024;
    QByteArray huge = "<R";
    for (int i = 0; huge.size() < bound - 32; ++i)
        huge += " a" + QByteArray::number(i) + "=\"1\"";
    huge += "/>";
    QByteArray worst; // the most attributes the reader accepts, on every element
    const QByteArray element = "<e" + oneElement(256).mid(2);
    worst = "<R>" + element.repeated(qsizetype((bound - 16) / element.size())) + "</R>";
    const QString hugePath = dir.filePath(QStringLiteral("attributes-one-element.xml"));
    const QString worstPath = dir.filePath(QStringLiteral("attributes-256-each.xml"));
    if (!write(hugePath, huge) || !write(worstPath, worst))
        return;

    std::vector<double> refused;
    for (int i = 0; i < runs; ++i)
        refused.push_back(measure(QStringLiteral("tree"), hugePath).ms);
    out << QStringLiteral("\nOne element with %1 attributes (%2): the reader refuses it in %3 ms "
                          "(QXmlStreamReader alone would take hours).\n")
               .arg(huge.count('='))
               .arg(sizeName(huge.size()))
               .arg(median(refused), 0, 'f', 1);

    std::vector<double> tFloor, tTree;
    for (int i = 0; i < runs; ++i) {
        tFloor.push_back(measure(QStringLiteral("floor"), worstPath).ms);
        tTree.push_back(measure(QStringLiteral("tree"), worstPath).ms);
    }
    out << QStringLiteral("Elements with 256 attributes each, the most accepted (%1): floor %2 ms, reader %3 ms, "
                          "ratio %4.\n")
               .arg(sizeName(worst.size()))
               .arg(median(tFloor), 0, 'f', 1)
               .arg(median(tTree), 0, 'f', 1)
               .arg(median(tTree) / median(tFloor), 0, 'f', 2);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--run"))
        return runChild(args[2], args[3]);
    const int runs = args.size() > 1 ? qMax(1, args[1].toInt()) : 7;

    QTemporaryDir dir;
    const std::vector<qint64> sizes{64 * 1024, 1024 * 1024, Files::MaxReadSize - 1024};
    struct Kind {
        const char* name;
        const char* mode;
        const char* fileName;
        QByteArray root, body;
    };
    const Kind kinds[] = {{"Tessaro.xml", "settings", "Tessaro.xml", "Conf_Settings", SettingsBody},
                          {"ParGen.xml", "pargen", "ParGen.xml", "Par_Gen", parGenBody()}};

    out << "Reading CPU time and peak memory (medians of " << runs
        << " runs each, alternating; memory is the peak above the process's size before the read).\n"
        << "Floor: the same bounded read and a bare QXmlStreamReader token loop over the same bytes.\n\n";
    out << QStringLiteral("%1 %2 %3 | %4 %5 %6 | %7 %8 %9\n")
               .arg(QStringLiteral("file"), -12)
               .arg(QStringLiteral("shape"), -7)
               .arg(QStringLiteral("size"), 11)
               .arg(QStringLiteral("floor ms"), 9)
               .arg(QStringLiteral("read ms"), 9)
               .arg(QStringLiteral("ratio"), 6)
               .arg(QStringLiteral("floor MiB"), 10)
               .arg(QStringLiteral("read MiB"), 9)
               .arg(QStringLiteral("ratio"), 6);

    bool failed = false;
    for (const Kind& kind : kinds) {
        for (bool nested : {false, true}) {
            std::vector<double> readTimes, readMemory;
            for (qint64 size : sizes) {
                const QString folder =
                    dir.filePath(QStringLiteral("%1-%2-%3").arg(QLatin1String(kind.mode)).arg(nested).arg(size));
                QDir().mkpath(folder);
                const QString path = folder + QLatin1Char('/') + QLatin1String(kind.fileName);
                if (!write(path, document(kind.root, kind.body, size, nested)))
                    return 1;
                std::vector<double> fT, fM, rT, rM;
                for (int i = 0; i < runs; ++i) {
                    // Alternate which goes first, so neither always meets a warm cache.
                    const bool floorFirst = i % 2 == 0;
                    const Sample a = measure(floorFirst ? QStringLiteral("floor") : QLatin1String(kind.mode), path);
                    const Sample b = measure(floorFirst ? QLatin1String(kind.mode) : QStringLiteral("floor"), path);
                    const Sample& f = floorFirst ? a : b;
                    const Sample& r = floorFirst ? b : a;
                    if (f.exitCode != 0 || r.exitCode != 0) {
                        QTextStream(stderr) << "a run failed on " << path << "\n";
                        failed = true;
                    }
                    fT.push_back(f.ms);
                    fM.push_back(f.mib);
                    rT.push_back(r.ms);
                    rM.push_back(r.mib);
                }
                const double ft = median(fT), fm = median(fM), rt = median(rT), rm = median(rM);
                readTimes.push_back(rt);
                readMemory.push_back(rm);
                out << QStringLiteral("%1 %2 %3 | %4 %5 %6 | %7 %8 %9\n")
                           .arg(QLatin1String(kind.name), -12)
                           .arg(nested ? QStringLiteral("nested") : QStringLiteral("plain"), -7)
                           .arg(sizeName(size), 11)
                           .arg(ft, 9, 'f', 2)
                           .arg(rt, 9, 'f', 2)
                           .arg(rt / ft, 6, 'f', 2)
                           .arg(fm, 10, 'f', 2)
                           .arg(rm, 9, 'f', 2)
                           .arg(fm > 0 ? rm / fm : 0.0, 6, 'f', 2);
            }
            const double sizeStep = double(sizes[1]) / double(sizes[0]);
            const double sizeStep2 = double(sizes[2]) / double(sizes[1]);
            out << QStringLiteral("%1 %2 growth: size x%3 then x%4; read time x%5 then x%6; memory x%7\n\n")
                       .arg(QLatin1String(kind.name), -12)
                       .arg(nested ? QStringLiteral("nested") : QStringLiteral("plain"), -7)
                       .arg(sizeStep, 0, 'f', 1)
                       .arg(sizeStep2, 0, 'f', 1)
                       .arg(readTimes[1] / readTimes[0], 0, 'f', 1)
                       .arg(readTimes[2] / readTimes[1], 0, 'f', 1)
                       .arg(readMemory[2] / qMax(readMemory[1], 0.01), 0, 'f', 1);
        }
    }

    attributeSection(dir, runs);
    return failed ? 1 : 0;
}
