// SPDX-License-Identifier: MIT
// Start-up of the configurator against a floor: a bare QApplication showing a window with one label.
// Each program measures itself from the first line of main() to the first paint of its window and
// prints the time; the runs alternate between the two programs, and the medians and their ratio are
// reported. With --callgrind, each program also runs once under valgrind's callgrind, counting only the
// instructions of that same stretch, and the ratio of the instruction counts is reported.
//
//   bench_startup [runs] [--callgrind]      runs: per program, at least 30 (default 30)
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

QProcessEnvironment environment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// One run: the milliseconds from main() to the first paint the program printed.
std::optional<double> timeOnce(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    static const QRegularExpression line(QStringLiteral("first-paint-ns (\\d+)"));
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(p.readAllStandardOutput()));
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toDouble() / 1e6;
}

// The instructions callgrind counts inside tessaro_bench_startup().
std::optional<double> instructions(const QString& program, const QStringList& args, const QString& outDir) {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("valgrind"),
            QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--collect-atstart=no"),
                        QStringLiteral("--toggle-collect=tessaro_bench_startup"),
                        QStringLiteral("--callgrind-out-file=") + outDir + QStringLiteral("/callgrind.%p"), program} +
                args);
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return std::nullopt;
    static const QRegularExpression collected(QStringLiteral("Collected : (\\d+)"));
    const QRegularExpressionMatch m = collected.match(QString::fromLatin1(p.readAllStandardError()));
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toDouble();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList options = QCoreApplication::arguments().mid(1);
    const bool callgrind = options.removeAll(QStringLiteral("--callgrind")) > 0;
    const int runs = options.isEmpty() ? 30 : qMax(30, options.first().toInt());
    QTextStream out(stdout);

    const QString dir = QCoreApplication::applicationDirPath();
    const QString tessaro = dir + QStringLiteral("/bench_startup_tessaro");
    const QString bare = dir + QStringLiteral("/bench_startup_bare");
    QTemporaryDir programFolder; // the configurator's folders and settings, fresh for this benchmark
    const QStringList tessaroArgs{programFolder.path()};

    // One warm-up run each: the first start pays for disk caches and creates the program's folders.
    if (!timeOnce(tessaro, tessaroArgs) || !timeOnce(bare, {})) {
        out << "a start-up program failed\n";
        return 1;
    }

    std::vector<double> tTessaro, tBare;
    for (int i = 0; i < runs; ++i) {
        const std::optional<double> t = timeOnce(tessaro, tessaroArgs);
        const std::optional<double> b = timeOnce(bare, {});
        if (!t || !b) {
            out << "a start-up program failed\n";
            return 1;
        }
        tTessaro.push_back(*t);
        tBare.push_back(*b);
    }

    const double mTessaro = median(tTessaro);
    const double mBare = median(tBare);
    out << "platform " << environment().value(QStringLiteral("QT_QPA_PLATFORM")) << ", " << runs
        << " interleaved runs each, main() to first paint\n";
    out << QStringLiteral("tessaro            median %1 ms\n").arg(mTessaro, 0, 'f', 2);
    out << QStringLiteral("window with label  median %1 ms\n").arg(mBare, 0, 'f', 2);
    out << QStringLiteral("time ratio         %1\n").arg(mTessaro / mBare, 0, 'f', 2);

    if (callgrind) {
        QTemporaryDir outDir;
        const std::optional<double> iTessaro = instructions(tessaro, tessaroArgs, outDir.path());
        const std::optional<double> iBare = instructions(bare, {}, outDir.path());
        if (!iTessaro || !iBare) {
            out << "callgrind failed (is valgrind installed?)\n";
            return 1;
        }
        out << QStringLiteral("tessaro            %1 instructions\n").arg(*iTessaro, 0, 'f', 0);
        out << QStringLiteral("window with label  %1 instructions\n").arg(*iBare, 0, 'f', 0);
        out << QStringLiteral("instruction ratio  %1\n").arg(*iTessaro / *iBare, 0, 'f', 2);
    }
    return 0;
}
