// SPDX-License-Identifier: MIT
#include "LbButton.h"

#include <QPainter>

namespace {

constexpr int PaddingLeft = 8;
constexpr int IconTextGap = 4;
constexpr qreal Radius = 3;

struct Look {
    QColor face;
    QColor border;
    QColor text;
};

Look lookOf(const LbButton& b) {
    Look look{QColor(0xff, 0xff, 0xff), QColor(0xc8, 0xc6, 0xbb), QColor(0x33, 0x33, 0x33)};
    if (!b.isEnabled()) {
        look.text = QColor(0xa0, 0xa0, 0xa0);
        return look;
    }
    if (b.underMouse()) {
        look.face = QColor(0xe8, 0xf0, 0xfa);
        look.border = QColor(0x7a, 0xa6, 0xd6);
    }
    if (b.isDown())
        look.face = QColor(0xd2, 0xe2, 0xf5);
    if (b.hasFocus())
        look.border = QColor(0x4a, 0x7f, 0xbf);
    return look;
}

} // namespace

LbButton::LbButton(QWidget* parent)
    : QPushButton(parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover); // repaint when the mouse comes and goes
}

LbButton::LbButton(const QIcon& icon, QWidget* parent)
    : LbButton(parent) {
    setIcon(icon);
}

void LbButton::setIconOnly(bool iconOnly) {
    m_iconOnly = iconOnly;
    update();
}

void LbButton::paintEvent(QPaintEvent*) {
    const Look look = lookOf(*this);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(look.border);
    p.setBrush(look.face);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Radius, Radius);
    p.setRenderHint(QPainter::Antialiasing, false);

    const QSize iconSz = icon().isNull() ? QSize() : iconSize();
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    if (m_iconOnly) {
        const QRect area(QPoint(0, 0), iconSz);
        icon().paint(&p, QRect(rect().center() - area.center(), iconSz), Qt::AlignCenter, mode);
        return;
    }
    int x = PaddingLeft;
    if (iconSz.isValid()) {
        icon().paint(&p, QRect(x, (height() - iconSz.height()) / 2, iconSz.width(), iconSz.height()), Qt::AlignCenter,
                     mode);
        x += iconSz.width() + IconTextGap;
    }
    const QRect textArea(x, 0, width() - x - PaddingLeft / 2, height());
    p.setPen(look.text);
    p.setFont(font());
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(text(), Qt::ElideRight, textArea.width()));
}
