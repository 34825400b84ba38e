// SPDX-License-Identifier: MIT
#include "CategoryPanel.h"

#include "common/Ui.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

CategoryPanel::CategoryPanel(CategoryPanelGroup* group, const QString& objectName)
    : QWidget(group->widget())
    , m_group(group)
    , m_body(new QWidget(this)) {
    setObjectName(objectName);
    m_body->setObjectName(objectName + QStringLiteral("_Body"));
    m_body->move(0, headerHeight());
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

int CategoryPanel::headerHeight() const {
    return m_group->headerHeight();
}

void CategoryPanel::setCaption(const QString& caption) {
    m_caption = caption;
    update(0, 0, width(), headerHeight());
}

void CategoryPanel::setFullHeight(int height) {
    if (height == m_fullHeight)
        return;
    m_fullHeight = height;
    emit heightChanged();
}

void CategoryPanel::setCollapsed(bool collapsed) {
    if (collapsed == m_collapsed)
        return;
    m_collapsed = collapsed;
    m_body->setVisible(!collapsed);
    emit heightChanged();
}

int CategoryPanel::currentHeight() const {
    return m_collapsed ? headerHeight() : m_fullHeight;
}

void CategoryPanel::resizeEvent(QResizeEvent*) {
    m_body->setGeometry(0, headerHeight(), width(), qMax(0, height() - headerHeight()));
}

void CategoryPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < headerHeight())
        setCollapsed(!m_collapsed);
}

void CategoryPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int h = headerHeight();
    const QRect header(0, 0, width(), h);
    QLinearGradient fill(header.topLeft(), header.bottomLeft());
    fill.setColorAt(0, QColor(250, 250, 250));
    fill.setColorAt(1, QColor(226, 226, 220));
    p.fillRect(header, fill);
    p.setPen(QColor(190, 190, 180));
    p.drawLine(header.bottomLeft(), header.bottomRight());
    p.fillRect(QRect(0, h, width(), height() - h), Ui::background());

    // The expand/collapse sign: a chevron pointing up while expanded, down while collapsed.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(80, 80, 80), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c(12.5, h / 2.0);
    QPainterPath chevron;
    const qreal dy = m_collapsed ? 2.0 : -2.0;
    chevron.moveTo(c.x() - 4, c.y() - dy);
    chevron.lineTo(c.x(), c.y() + dy);
    chevron.lineTo(c.x() + 4, c.y() - dy);
    p.drawPath(chevron);

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(Ui::boldFont());
    p.setPen(Ui::darkText());
    p.drawText(QRect(26, 0, width() - 30, h), Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}

CategoryPanelGroup::CategoryPanelGroup(QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    m_content->setObjectName(QStringLiteral("CPG_Content"));
    setWidget(m_content);
    verticalScrollBar()->setSingleStep(8);
}

CategoryPanel* CategoryPanelGroup::addPanel(const QString& objectName) {
    auto* panel = new CategoryPanel(this, objectName);
    m_panels.append(panel);
    connect(panel, &CategoryPanel::heightChanged, this, &CategoryPanelGroup::restack);
    restack();
    return panel;
}

void CategoryPanelGroup::restack() {
    const int w = viewport()->width();
    int y = 0;
    for (CategoryPanel* panel : m_panels) {
        if (panel->isHidden())
            continue;
        panel->setGeometry(0, y, w, panel->currentHeight());
        y += panel->currentHeight();
    }
    m_content->resize(w, y);
}

bool CategoryPanelGroup::viewportEvent(QEvent* event) {
    // The vertical scroll bar coming or going changes the viewport's width: the panels follow it.
    if (event->type() == QEvent::Resize)
        restack();
    return QScrollArea::viewportEvent(event);
}
