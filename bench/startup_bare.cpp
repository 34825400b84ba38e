// SPDX-License-Identifier: MIT
// The floor: a bare QApplication showing an empty window.
#include "QuitOnFirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(694, 440);
    QuitOnFirstPaint quit(&window);
    window.show();
    return app.exec();
}
