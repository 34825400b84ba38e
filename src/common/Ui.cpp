// SPDX-License-Identifier: MIT
#include "Ui.h"

#include <QFrame>
#include <QHash>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace Ui {

QFont baseFont() {
    QFont f(QStringLiteral("Verdana"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    return f;
}

QFont boldFont(int pixelSize) {
    QFont f = baseFont();
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

QColor background() {
    return QColor(248, 247, 237);
}

QColor greyText() {
    return QColor(128, 128, 128);
}

QColor darkText() {
    return QColor(51, 51, 51);
}

void styleWindow(QWidget* window) {
    window->setFont(baseFont());
    QPalette p = window->palette();
    p.setColor(QPalette::Window, background());
    p.setColor(QPalette::WindowText, darkText());
    window->setPalette(p);
    window->setAutoFillBackground(true);
}

void setFrameColour(QFrame* frame, const QColor& colour) {
    QPalette p = frame->palette();
    p.setColor(QPalette::WindowText, colour);
    frame->setPalette(p);
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

TitleLabels titleStrip(QWidget* parent, const QString& productCode, const QFont& codeFont, int descTop) {
    auto* code = new QLabel(productCode, parent);
    code->setObjectName(QStringLiteral("L_SW_Code"));
    code->setFont(codeFont);
    setTextColour(code, greyText());
    code->move(16, 8);
    code->adjustSize();

    auto* desc = new QLabel(parent);
    desc->setObjectName(QStringLiteral("L_SW_Desc"));
    desc->setFont(boldFont());
    setTextColour(desc, greyText());
    desc->move(16, descTop);
    return {code, desc};
}

static void drawGlyph(QPainter& p, Glyph glyph, qreal s) {
    const QColor blue(47, 111, 179);
    const QColor green(60, 150, 80);
    const QColor red(190, 60, 50);
    QPen pen(blue, s / 12.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal m = s * 0.15;
    const QRectF box(m, m, s - 2 * m, s - 2 * m);
    switch (glyph) {
    case Glyph::New: {
        QPainterPath page;
        page.moveTo(box.left() + s * 0.1, box.top());
        page.lineTo(box.right() - s * 0.25, box.top());
        page.lineTo(box.right() - s * 0.05, box.top() + s * 0.2);
        page.lineTo(box.right() - s * 0.05, box.bottom());
        page.lineTo(box.left() + s * 0.1, box.bottom());
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(QPen(green, s / 9.0, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = box.center() + QPointF(0, s * 0.06);
        p.drawLine(c - QPointF(s * 0.15, 0), c + QPointF(s * 0.15, 0));
        p.drawLine(c - QPointF(0, s * 0.15), c + QPointF(0, s * 0.15));
        break;
    }
    case Glyph::Open: {
        QPainterPath folder;
        folder.moveTo(box.left(), box.bottom());
        folder.lineTo(box.left(), box.top() + s * 0.08);
        folder.lineTo(box.left() + s * 0.25, box.top() + s * 0.08);
        folder.lineTo(box.left() + s * 0.33, box.top() + s * 0.18);
        folder.lineTo(box.right(), box.top() + s * 0.18);
        folder.lineTo(box.right(), box.bottom());
        folder.closeSubpath();
        p.setBrush(QColor(250, 215, 120));
        p.setPen(QPen(QColor(170, 120, 30), s / 14.0));
        p.drawPath(folder);
        break;
    }
    case Glyph::Settings: {
        p.setBrush(Qt::NoBrush);
        const QPointF c = box.center();
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45.0);
            p.drawLine(QPointF(0, -s * 0.22), QPointF(0, -s * 0.34));
            p.restore();
        }
        p.drawEllipse(c, s * 0.22, s * 0.22);
        p.drawEllipse(c, s * 0.08, s * 0.08);
        break;
    }
    case Glyph::Rules: {
        const QPointF c(box.center().x(), box.bottom());
        p.setBrush(blue);
        p.drawEllipse(c - QPointF(0, s * 0.06), s * 0.06, s * 0.06);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 3; ++i) {
            const qreal r = s * 0.16 * i;
            p.drawArc(QRectF(c.x() - r, c.y() - s * 0.06 - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
        }
        break;
    }
    case Glyph::Variables: {
        for (int i = 0; i < 3; ++i) {
            const qreal y = box.top() + s * 0.08 + i * s * 0.24;
            p.drawRect(QRectF(box.left(), y, s * 0.12, s * 0.12));
            p.drawLine(QPointF(box.left() + s * 0.22, y + s * 0.06), QPointF(box.right(), y + s * 0.06));
        }
        break;
    }
    case Glyph::Update: {
        p.setPen(QPen(green, s / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal cx = box.center().x();
        p.drawLine(QPointF(cx, box.top()), QPointF(cx, box.bottom() - s * 0.2));
        p.drawLine(QPointF(cx - s * 0.2, box.bottom() - s * 0.4), QPointF(cx, box.bottom() - s * 0.2));
        p.drawLine(QPointF(cx + s * 0.2, box.bottom() - s * 0.4), QPointF(cx, box.bottom() - s * 0.2));
        p.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.right(), box.bottom()));
        break;
    }
    case Glyph::Info: {
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(box);
        p.setBrush(Qt::white);
        const QPointF c = box.center();
        p.drawEllipse(QPointF(c.x(), box.top() + box.height() * 0.25), s * 0.05, s * 0.05);
        p.drawRoundedRect(QRectF(c.x() - s * 0.045, c.y() - s * 0.1, s * 0.09, s * 0.33), 2, 2);
        break;
    }
    case Glyph::Options: {
        p.setPen(QPen(QColor(90, 90, 90), s / 12.0, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i) {
            const qreal y = box.top() + s * 0.1 + i * s * 0.25;
            p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
            p.setBrush(blue);
            const qreal x = box.left() + box.width() * (i == 1 ? 0.7 : 0.3);
            p.drawEllipse(QPointF(x, y), s * 0.07, s * 0.07);
        }
        break;
    }
    case Glyph::Close: {
        p.setBrush(red);
        p.setPen(Qt::NoPen);
        p.drawEllipse(box);
        p.setPen(QPen(Qt::white, s / 10.0, Qt::SolidLine, Qt::RoundCap));
        const qreal d = box.width() * 0.22;
        const QPointF c = box.center();
        p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
        p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
        break;
    }
    case Glyph::Ok: {
        p.setPen(QPen(green, s / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(box.left(), box.center().y()),
                                  QPointF(box.left() + box.width() * 0.38, box.bottom() - s * 0.05),
                                  QPointF(box.right(), box.top() + s * 0.05)}));
        break;
    }
    case Glyph::Cancel: {
        p.setPen(QPen(red, s / 8.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.bottomLeft(), box.topRight());
        break;
    }
    case Glyph::DeleteRow:
    case Glyph::InsertRow: {
        // A table row with a minus (delete) or a plus (insert) beside it.
        p.setPen(QPen(blue, s / 14.0));
        const QRectF row(box.left(), box.center().y() - s * 0.12, box.width() * 0.62, s * 0.24);
        p.drawRect(row);
        p.drawLine(QPointF(row.left() + row.width() / 3, row.top()),
                   QPointF(row.left() + row.width() / 3, row.bottom()));
        const bool insert = glyph == Glyph::InsertRow;
        p.setPen(QPen(insert ? green : red, s / 9.0, Qt::SolidLine, Qt::RoundCap));
        const QPointF c(box.right() - s * 0.1, box.center().y());
        p.drawLine(c - QPointF(s * 0.1, 0), c + QPointF(s * 0.1, 0));
        if (insert)
            p.drawLine(c - QPointF(0, s * 0.1), c + QPointF(0, s * 0.1));
        break;
    }
    case Glyph::CopyRow: {
        p.setPen(QPen(blue, s / 14.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(box.left(), box.top(), box.width() * 0.6, box.height() * 0.7));
        p.drawRect(QRectF(box.left() + box.width() * 0.4, box.top() + box.height() * 0.3, box.width() * 0.6,
                          box.height() * 0.7));
        break;
    }
    case Glyph::PasteRow: {
        p.setPen(QPen(QColor(170, 120, 30), s / 14.0));
        p.setBrush(QColor(250, 215, 120));
        p.drawRoundedRect(QRectF(box.left(), box.top() + s * 0.06, box.width() * 0.75, box.height() - s * 0.06), 2, 2);
        p.setPen(QPen(blue, s / 14.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(box.left() + box.width() * 0.35, box.top() + box.height() * 0.35, box.width() * 0.65,
                          box.height() * 0.65));
        break;
    }
    case Glyph::Logo: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(47, 111, 179));
        p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.12, s * 0.12);
        p.setPen(QPen(Qt::white, s / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(
            QPolygonF({QPointF(s * 0.25, s * 0.28), QPointF(s * 0.5, s * 0.74), QPointF(s * 0.75, s * 0.28)}));
        break;
    }
    }
}

namespace {

// Each glyph is drawn once per pixel size and mode, when a widget first paints it, and kept for the
// program's life: the same few icons serve every window.
QPixmap glyphPixmap(Glyph glyph, int pixels, QIcon::Mode mode) {
    static QHash<quint64, QPixmap> cache;
    const quint64 key = (quint64(glyph) << 40) | (quint64(mode) << 32) | quint32(pixels);
    if (const auto found = cache.constFind(key); found != cache.cend())
        return found.value();
    QPixmap pm(pixels, pixels);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (mode == QIcon::Disabled)
        p.setOpacity(0.4);
    drawGlyph(p, glyph, pixels);
    p.end();
    cache.insert(key, pm);
    return pm;
}

class GlyphIconEngine : public QIconEngine {
public:
    GlyphIconEngine(Glyph glyph, int size)
        : m_glyph(glyph)
        , m_size(size) {}

    QIconEngine* clone() const override { return new GlyphIconEngine(m_glyph, m_size); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(m_size, m_size)}; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return glyphPixmap(m_glyph, qMax(1, qMin(size.width(), size.height())), mode);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap pm = pixmap(size * scale, mode, state);
        pm.setDevicePixelRatio(scale);
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, dpr));
    }

private:
    Glyph m_glyph;
    int m_size;
};

} // namespace

QIcon icon(Glyph glyph, int size) {
    return QIcon(new GlyphIconEngine(glyph, size));
}

} // namespace Ui
