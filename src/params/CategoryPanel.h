// SPDX-License-Identifier: MIT
#pragma once

#include <QScrollArea>
#include <QWidget>

class CategoryPanelGroup;

// One collapsible panel of a CategoryPanelGroup: a header strip with an expand/collapse icon and a
// caption, and a body holding the panel's controls. Child controls belong to body(); their positions
// count from the top of the body, just below the header.
class CategoryPanel : public QWidget {
    Q_OBJECT
public:
    CategoryPanel(CategoryPanelGroup* group, const QString& objectName);

    QWidget* body() const { return m_body; }
    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }

    // Height when expanded, the header included.
    void setFullHeight(int height);
    int fullHeight() const { return m_fullHeight; }

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);

    // The height the panel takes in the group now: the header alone while collapsed.
    int currentHeight() const;

signals:
    void heightChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int headerHeight() const;

    CategoryPanelGroup* m_group;
    QWidget* m_body;
    QString m_caption;
    int m_fullHeight = 0;
    bool m_collapsed = false;
};

// A vertically scrolling column of category panels, stacked from the top without gaps; a change of a
// panel's height moves the panels below it.
class CategoryPanelGroup : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 24;

    explicit CategoryPanelGroup(QWidget* parent = nullptr);

    CategoryPanel* addPanel(const QString& objectName);
    const QList<CategoryPanel*>& panels() const { return m_panels; }
    int headerHeight() const { return HeaderHeight; }

    // Places the visible panels one below the other and sizes the scrolled content to fit.
    void restack();

protected:
    bool viewportEvent(QEvent* event) override;

private:
    QWidget* m_content;
    QList<CategoryPanel*> m_panels;
};
