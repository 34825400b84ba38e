// SPDX-License-Identifier: MIT
// The floor: a bare QApplication showing a window of the main window's size with one label of text,
// so that it pays for the font database before its first paint, as the configurator does.
#include "FirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

extern "C" int tessaro_bench_startup(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(694, 440);
    QLabel label(QStringLiteral("Begin"), &window);
    label.move(16, 84);
    FirstPaint quit(&window);
    window.show();
    return app.exec();
}

int main(int argc, char* argv[]) {
    startClock().start();
    return tessaro_bench_startup(argc, argv);
}
