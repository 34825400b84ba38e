// SPDX-License-Identifier: MIT
#include "RuleGrid.h"

#include "RowOperations.h"
#include "RuleTable.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int RowHeight = 20;
const QColor ReadOnlyText(120, 120, 120);
const char* const ChosenProperty = "ruleGridChosen";

bool isCheckCell(const QModelIndex& index) {
    return index.column() > 0 && index.data(Qt::CheckStateRole).isValid();
}

bool isReadOnly(const QModelIndex& index) {
    return index.data(RuleTable::ReadOnlyRole).toBool();
}

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

// Draws and edits every cell of a RuleGrid.
class RuleGridDelegate : public QStyledItemDelegate {
public:
    explicit RuleGridDelegate(RuleGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (index.column() == 0) {
            paintNumber(painter, option, index);
            return;
        }
        if (!isCheckCell(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

        QStyleOptionViewItem box = opt;
        box.rect = checkRect(option, index);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On
                                                                                           : QStyle::State_Off;
        if (isReadOnly(index))
            box.state &= ~QStyle::State_Enabled;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!isCheckCell(index))
            return QStyledItemDelegate::sizeHint(option, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, option.widget) + 1;
        return QSize(indicatorSize(option).width() + 4 * margin, RowHeight);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        if (!isCheckCell(index))
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (!(model->flags(index) & Qt::ItemIsUserCheckable))
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton || !hitRect(option, index).contains(me->position().toPoint()))
                return false;
            if (event->type() == QEvent::MouseButtonRelease)
                toggle(model, index);
            return true; // presses on the box do not also start editing or selecting anew
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
            toggle(model, index);
            return true;
        }
        default:
            return false;
        }
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QStringList items = index.data(RuleTable::ListItemsRole).toStringList();
        if (items.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        list->setEditable(false);
        list->addItems(items);
        auto* self = const_cast<RuleGridDelegate*>(this);
        connect(list, &QComboBox::activated, self, [self, list] {
            list->setProperty(ChosenProperty, true);
            Q_EMIT self->commitData(list);
            Q_EMIT self->closeEditor(list);
        });
        return list;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            list->setCurrentIndex(list->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* list = qobject_cast<QComboBox*>(editor);
        if (!list) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        // Only a choice the user made counts; leaving the list untouched writes nothing.
        if (!list->property(ChosenProperty).toBool() || list->currentIndex() < 0)
            return;
        list->setProperty(ChosenProperty, false);
        const QString text = list->currentText();
        if (model->setData(index, text, Qt::EditRole))
            Q_EMIT m_grid->ComboChange(RuleTable::gridRow(index), index.column(), text);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant rgb = index.data(RuleTable::BackgroundRgbRole);
        if (rgb.isValid())
            option->backgroundBrush = QColor(QRgb(rgb.toUInt()));
        if (isCheckCell(index)) {
            option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
            option->text.clear();
        }
        if (isReadOnly(index))
            option->palette.setColor(QPalette::Text, ReadOnlyText);
    }

    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
            auto* list = qobject_cast<QComboBox*>(editor);
            if (!list || !list->view()->isVisible()) {
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_grid->enterInEditor();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    static QSize indicatorSize(const QStyleOptionViewItem& option) {
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        return QSize(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    }

    static QRect checkRect(const QStyleOptionViewItem& option, const QModelIndex&) {
        return QStyle::alignedRect(option.direction, Qt::AlignCenter, indicatorSize(option), option.rect);
    }

    // A little larger than the box, so a click just beside it still counts.
    static QRect hitRect(const QStyleOptionViewItem& option, const QModelIndex& index) {
        return checkRect(option, index).adjusted(-3, -3, 3, 3) & option.rect;
    }

    static void toggle(QAbstractItemModel* model, const QModelIndex& index) {
        const bool on = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

    void paintNumber(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
        QStyleOptionHeader header;
        header.initFrom(m_grid);
        header.rect = option.rect;
        header.text = index.data(Qt::DisplayRole).toString();
        header.textAlignment = Qt::AlignCenter;
        header.orientation = Qt::Vertical;
        header.position = QStyleOptionHeader::Middle;
        header.state = QStyle::State_Enabled | QStyle::State_Raised;
        header.fontMetrics = option.fontMetrics;
        painter->save();
        m_grid->style()->drawControl(QStyle::CE_Header, &header, painter, m_grid);
        painter->restore();
    }

    RuleGrid* m_grid;
};

RuleGrid::RuleGrid(QWidget* parent)
    : QTableView(parent) {
    setItemDelegate(new RuleGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);

    // Sizing a column on a header double-click is an option of the editors, not a given.
    disconnect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int column) { Q_EMIT DblClickCell(0, column); });
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int column) { Q_EMIT DblClickCell(0, column); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { Q_EMIT ClickCell(RuleTable::gridRow(index), index.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT DblClickCell(RuleTable::gridRow(index), index.column()); });
}

void RuleGrid::setTable(RuleTable* table) {
    m_table = table;
    setModel(table);
    if (table)
        connect(table, &QAbstractItemModel::modelReset, this, &RuleGrid::applyColumns);
    applyColumns();
}

void RuleGrid::setColumnWidths(const QList<int>& widths) {
    m_widths = widths;
    applyColumns();
}

void RuleGrid::setColumnShown(int column, bool shown) {
    if (m_hidden.size() <= column)
        m_hidden.resize(column + 1, false);
    m_hidden[column] = !shown;
    setColumnHidden(column, !shown);
}

void RuleGrid::applyColumns() {
    if (!m_table)
        return;
    const int columns = m_table->gridColumns();
    for (int c = 0; c < columns; ++c) {
        if (c < m_widths.size())
            setColumnWidth(c, m_widths[c]);
        setColumnHidden(c, m_hidden.value(c, false));
    }
    if (columns > 0)
        horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
}

QList<int> RuleGrid::visibleColumns() const {
    QList<int> out;
    const QHeaderView* header = horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (!isColumnHidden(logical))
            out.append(logical);
    }
    return out;
}

int RuleGrid::firstDataColumn() const {
    const QList<int> shown = visibleColumns();
    return shown.size() > 1 ? shown[1] : -1;
}

int RuleGrid::lastDataColumn() const {
    const QList<int> shown = visibleColumns();
    return shown.size() > 1 ? shown.last() : -1;
}

int RuleGrid::currentRow() const {
    return RuleTable::gridRow(currentIndex());
}

int RuleGrid::currentColumn() const {
    return currentIndex().isValid() ? currentIndex().column() : 0;
}

void RuleGrid::setCurrentCell(int row, int column) {
    if (!m_table)
        return;
    setCurrentIndex(m_table->cellIndex(row, column));
}

void RuleGrid::selectGridRow(int row) {
    const int first = firstDataColumn();
    if (!m_table || row < 1 || row >= m_table->gridRows() || first < 0)
        return;
    selectionModel()->setCurrentIndex(m_table->cellIndex(row, first), QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(m_table->cellIndex(row, 1), m_table->cellIndex(row, m_table->gridColumns() - 1)),
        QItemSelectionModel::ClearAndSelect);
    scrollTo(currentIndex());
}

void RuleGrid::Jump_Next_Field(QChar& key, bool enabled) {
    if (!enabled || key != QChar(u'\r'))
        return;
    key = QChar();
    if (!m_table)
        return;
    if (const std::optional<GridCell> next =
            nextField({currentRow(), currentColumn()}, visibleColumns(), m_table->gridRows()))
        setCurrentCell(next->row, next->column);
}

void RuleGrid::Auto_Size_Column(int row, int column, bool enabled) {
    if (enabled && row == 0)
        sizeColumnToContents(column);
}

void RuleGrid::sizeColumnToContents(int column) {
    if (!m_table || column < 0 || column >= m_table->gridColumns())
        return;
    int width = horizontalHeader()->sectionSizeHint(column);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int r = 1; r < m_table->gridRows(); ++r)
        width = qMax(width, itemDelegate()->sizeHint(option, m_table->cellIndex(r, column)).width());
    setColumnWidth(column, width + (showGrid() ? 1 : 0));
}

void RuleGrid::enterInEditor() {
    if (!KeyPress)
        return;
    QChar key(u'\r');
    KeyPress(key);
}

QModelIndex RuleGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex from = currentIndex();
    QModelIndex to = QTableView::moveCursor(cursorAction, modifiers);
    if (!m_table || !to.isValid() || to.column() != 0)
        return to;
    // The numbering column is never current: step over it.
    const int row = RuleTable::gridRow(to);
    if (cursorAction == MovePrevious && from.isValid() && from.column() != 0) {
        if (row - 1 >= 1 && RuleTable::gridRow(from) == row)
            return m_table->cellIndex(row - 1, lastDataColumn());
        return from;
    }
    const int first = firstDataColumn();
    return first < 0 ? from : m_table->cellIndex(row, first);
}

void RuleGrid::keyPressEvent(QKeyEvent* event) {
    if (KeyPress && state() != EditingState) {
        const QString text = event->text();
        QChar key;
        if (isEnter(event))
            key = QChar(u'\r');
        else if (text.size() == 1 && text[0].isPrint())
            key = text[0];
        if (!key.isNull()) {
            KeyPress(key);
            if (key.isNull()) {
                event->accept();
                return;
            }
        }
    }
    QTableView::keyPressEvent(event);
}

void RuleGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        setFocus(Qt::MouseFocusReason);
        if (event->button() == Qt::LeftButton)
            Q_EMIT ClickCell(RuleTable::gridRow(index), 0);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void RuleGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        if (event->button() == Qt::LeftButton)
            Q_EMIT DblClickCell(RuleTable::gridRow(index), 0);
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}
