// SPDX-License-Identifier: MIT
#include "TabSpacingDelegate.h"

QString TabSpacingDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    QString text = QStyledItemDelegate::displayText(value, locale);
    return text.replace(QLatin1Char('\t'), TabSpacing);
}
