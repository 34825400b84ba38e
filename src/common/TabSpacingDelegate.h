// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

// Shows item texts that hold tabs whole: each tab is drawn as spacing, where a menu-style list would
// take the text after it for a shortcut column at its right edge and cut it off. Only the display
// changes; the item keeps its text, tab included.
class TabSpacingDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The spacing a tab is shown as.
    static inline const QString TabSpacing = QStringLiteral("   ");

    QString displayText(const QVariant& value, const QLocale& locale) const override;
};
