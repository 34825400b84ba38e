// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

// The flat button every window uses: an icon and a left-aligned caption on a white face with a thin
// rounded border, highlighted under the mouse and while pressed. It draws itself: no style sheet is
// parsed or consulted for any button, so a window with many of them starts and paints as fast as one
// with plain buttons.
class LbButton : public QPushButton {
    Q_OBJECT
public:
    explicit LbButton(QWidget* parent = nullptr);
    LbButton(const QIcon& icon, QWidget* parent);

    // An icon without a caption, centred in the button.
    void setIconOnly(bool iconOnly);
    bool isIconOnly() const { return m_iconOnly; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_iconOnly = false;
};
