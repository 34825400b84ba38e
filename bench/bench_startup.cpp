// SPDX-License-Identifier: MIT
// Start-up time of the configurator against a bare Qt window: each program is launched N times,
// alternating, and timed from the launch to its exit right after the first paint of its window.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

static double runOnce(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        QTextStream(stderr) << "run failed: " << program << " " << p.errorString() << "\n";
        return -1;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString tessaro = dir + QStringLiteral("/bench_startup_tessaro");
    const QString bare = dir + QStringLiteral("/bench_startup_bare");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QTemporaryDir programFolder;
    const QStringList tessaroArgs{programFolder.path()};

    // One warm-up run each: the first start pays for disk caches and creates the program's folders.
    if (runOnce(tessaro, tessaroArgs, env) < 0 || runOnce(bare, {}, env) < 0)
        return 1;

    std::vector<double> tTessaro, tBare;
    for (int i = 0; i < runs; ++i) {
        tTessaro.push_back(runOnce(tessaro, tessaroArgs, env));
        tBare.push_back(runOnce(bare, {}, env));
        if (tTessaro.back() < 0 || tBare.back() < 0)
            return 1;
    }

    const double mTessaro = median(tTessaro);
    const double mBare = median(tBare);
    QTextStream out(stdout);
    out << "platform " << env.value(QStringLiteral("QT_QPA_PLATFORM")) << ", " << runs << " runs each\n";
    out << QStringLiteral("tessaro      median %1 ms\n").arg(mTessaro, 0, 'f', 1);
    out << QStringLiteral("bare QWidget median %1 ms\n").arg(mBare, 0, 'f', 1);
    out << QStringLiteral("ratio        %1\n").arg(mTessaro / mBare, 0, 'f', 2);
    return 0;
}
