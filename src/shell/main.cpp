// SPDX-License-Identifier: MIT
#include "common/WidgetMessageHandler.h"
#include "shell/TFTessaroFirmWare.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    WidgetMessageHandler messages;
    Messages::setHandler(&messages);
    TFTessaroFirmWare window(QCoreApplication::applicationDirPath());
    window.show();
    const int result = app.exec();
    Messages::setHandler(nullptr);
    return result;
}
