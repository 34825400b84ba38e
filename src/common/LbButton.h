// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

// The flat button every window uses: an icon and a left-aligned caption, highlighted under the mouse.
class LbButton : public QPushButton {
    Q_OBJECT
public:
    explicit LbButton(QWidget* parent = nullptr);
    LbButton(const QIcon& icon, QWidget* parent);

    // An icon without a caption, centred in the button.
    void setIconOnly(bool iconOnly);
};
