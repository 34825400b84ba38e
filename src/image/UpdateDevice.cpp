// SPDX-License-Identifier: MIT
#include "UpdateDevice.h"

#include "ImageBuilder.h"
#include "app/AppState.h"
#include "common/FileError.h"
#include "common/MessageService.h"
#include "rules/PayloadCheck.h"

#include <QDir>

bool Update_Device(const AppState& state) {
    const ConfigFiles files = ConfigFiles::inFolder(state.ActiveConfigPath);
    try {
        if (!Check_Config_LoraWAN(files.parGen, files.loRaWAN)) {
            Messages::error(state.Text(PayloadCheck::TextNumByteTooLarge));
            return false;
        }
        ImageBuilder builder;
        builder.Build_Images(files);
        builder.Save_Images(QDir(state.ActiveConfigPath).filePath(QStringLiteral("bin")));
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return false;
    }
    return true;
}
