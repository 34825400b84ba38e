// SPDX-License-Identifier: MIT
#include "TextCatalogue.h"

QString defaultText(int index) {
    if (index == 2592)
        return QString();
    return QStringLiteral(" ");
}
