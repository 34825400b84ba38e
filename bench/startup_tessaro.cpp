// SPDX-License-Identifier: MIT
// The program's start-up as main.cpp does it, ending once the main window is shown. The program
// folder comes from the command line so that runs do not write beside the executable.
#include "QuitOnFirstPaint.h"
#include "common/WidgetMessageHandler.h"
#include "shell/TFTessaroFirmWare.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    WidgetMessageHandler messages;
    Messages::setHandler(&messages);
    const QStringList args = QCoreApplication::arguments();
    TFTessaroFirmWare window(args.size() > 1 ? args[1] : QCoreApplication::applicationDirPath());
    QuitOnFirstPaint quit(&window);
    window.show();
    const int result = app.exec();
    Messages::setHandler(nullptr);
    return result;
}
