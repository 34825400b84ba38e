// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

// Both start-up programs run their whole start inside tessaro_bench_startup(), from the first line of
// main() to the first paint of their window: callgrind counts only that function
// (--toggle-collect=tessaro_bench_startup), and the program ends right after the paint with _exit(),
// so neither the loading of the libraries before main() nor the teardown is counted.
extern "C" int tessaro_bench_startup(int argc, char** argv);

// Started first thing in main().
inline QElapsedTimer& startClock() {
    static QElapsedTimer clock;
    return clock;
}

// Once the watched window has painted for the first time (the paint event has been handled and the
// event loop is back), prints "first-paint-ns <nanoseconds since main()>" and ends the process.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QObject* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("first-paint-ns %lld\n", static_cast<long long>(startClock().nsecsElapsed()));
                std::fflush(stdout);
                ::_exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
