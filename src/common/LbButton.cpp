// SPDX-License-Identifier: MIT
#include "LbButton.h"

LbButton::LbButton(QWidget* parent)
    : QPushButton(parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: 8px; border: 1px solid #c8c6bb;"
                                 " border-radius: 3px; background: #ffffff; color: #333333; }"
                                 "QPushButton:hover { background: #e8f0fa; border-color: #7aa6d6; }"
                                 "QPushButton:pressed { background: #d2e2f5; }"
                                 "QPushButton:focus { border-color: #4a7fbf; }"
                                 "QPushButton:disabled { color: #a0a0a0; }"));
}

LbButton::LbButton(const QIcon& icon, QWidget* parent)
    : LbButton(parent) {
    setIcon(icon);
}

void LbButton::setIconOnly(bool iconOnly) {
    if (iconOnly)
        setStyleSheet(styleSheet() + QStringLiteral("QPushButton { padding-left: 0px; }"));
}
