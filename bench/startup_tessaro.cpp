// SPDX-License-Identifier: MIT
// The program's start-up as main.cpp does it, up to the first paint of the main window. The program
// folder comes from the command line so that runs do not write beside the executable.
#include "FirstPaint.h"
#include "common/WidgetMessageHandler.h"
#include "shell/TFTessaroFirmWare.h"

#include <QApplication>

extern "C" int tessaro_bench_startup(int argc, char** argv) {
    QApplication app(argc, argv);
    WidgetMessageHandler messages;
    Messages::setHandler(&messages);
    const QStringList args = QCoreApplication::arguments();
    TFTessaroFirmWare window(args.size() > 1 ? args[1] : QCoreApplication::applicationDirPath());
    FirstPaint quit(&window);
    window.show();
    return app.exec();
}

int main(int argc, char* argv[]) {
    startClock().start();
    return tessaro_bench_startup(argc, argv);
}
