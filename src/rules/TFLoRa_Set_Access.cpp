// SPDX-License-Identifier: MIT
#include "TFLoRa_Set_Access.h"

#include "LoRaWANSetAccess.h"
#include "RowOperations.h"
#include "RuleGrid.h"
#include "RuleTable.h"
#include "app/AppState.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/Ui.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace LoRaWAN;

namespace {

constexpr int ClientWidth = 900;
constexpr int ClientHeight = 560;
constexpr int TitleHeight = 69;
constexpr int ButtonsHeight = 44;
constexpr int PageMargin = 6;

struct ColumnSpec {
    int header; // catalogue text
    int hint;   // catalogue text; -1: none
    int width;
    unsigned background; // 0xRRGGBB; 0: none
};

// clang-format off
constexpr ColumnSpec kUplinkColumns[] = {
    {1216,   -1,  40, 0},
    {1217, 1225,  50, 0xFFD8B0},
    {1218, 1226,  80, 0xE0FAFE},
    {1219, 1227,  80, 0xE0FAFE},
    {1220, 1228,  70, 0xA8FFA8},
    {1221, 1229,  55, 0xA8FFA8},
    {1222, 1230,  65, 0xA8FFA8},
    {1223, 1231,  80, 0xA8FFA8},
    {1250, 1251,  60, 0xFCD6F4},
    {1224, 1232, 280, 0xFFFFFF},
};
constexpr ColumnSpec kDownlinkColumns[] = {
    {1233,   -1,  40, 0},
    {1234, 1238,  50, 0xFFD8B0},
    {1235, 1239,  80, 0xE0FAFE},
    {1236, 1240,  80, 0xE0FAFE},
    {1252, 1253,  60, 0xFCD6F4},
    {1237, 1241, 550, 0xFFFFFF},
};
static_assert(std::size(kUplinkColumns) == UplinkColumns && std::size(kDownlinkColumns) == DownlinkColumns);

// The buttons below the pages: caption, hint, left edge.
struct ButtonSpec {
    const char* name;
    Ui::Glyph glyph;
    int left;
    int caption;
    int hint;
};
constexpr ButtonSpec kButtons[] = {
    {"Btn_DelRow",   Ui::Glyph::DeleteRow,   8, 1204, 1210},
    {"Btn_InsRow",   Ui::Glyph::InsertRow, 124, 1205, 1211},
    {"Btn_CopyRow",  Ui::Glyph::CopyRow,   240, 1206, 1212},
    {"Btn_PasteRow", Ui::Glyph::PasteRow,  356, 1207, 1213},
    {"Btn_OK",       Ui::Glyph::Ok,        664, 1202, 1208},
    {"Btn_Cancel",   Ui::Glyph::Cancel,    780, 1203, 1209},
};
// clang-format on
constexpr QSize ButtonSize(110, 28);

template <size_t N> QList<int> widthsOf(const ColumnSpec (&columns)[N]) {
    QList<int> out;
    for (const ColumnSpec& c : columns)
        out.append(c.width);
    return out;
}

} // namespace

TFLoRa_Set_Access::TFLoRa_Set_Access(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state) {
    FormCreate();
}

void TFLoRa_Set_Access::FormCreate() {
    setObjectName(QStringLiteral("TFLoRa_Set_Access"));
    Ui::styleWindow(this);
    setFixedWidth(ClientWidth);
    setMinimumHeight(TitleHeight + ButtonsHeight + 160);
    resize(ClientWidth, ClientHeight);

    m_title = new QWidget(this);
    m_title->setObjectName(QStringLiteral("P_Title"));
    QFont codeFont = Ui::baseFont();
    codeFont.setPixelSize(32);
    const Ui::TitleLabels title = Ui::titleStrip(m_title, Product::Code, codeFont, 42);
    title.desc->resize(ClientWidth - 32, 16);

    PC_LoRa = new QTabWidget(this);
    PC_LoRa->setObjectName(QStringLiteral("PC_LoRa"));
    PC_LoRa->setDocumentMode(false);

    m_uplink = new RuleTable(this);
    m_downlink = new RuleTable(this);
    m_uplink->setShape(FixedModeRules + 1, UplinkColumns);
    m_downlink->setShape(FixedModeRules + 1, DownlinkColumns);

    const bool up[] = {true, false};
    for (bool uplink : up) {
        auto* page = new QWidget(PC_LoRa);
        page->setObjectName(QLatin1String(uplink ? "TS_LoRa_Uplink" : "TS_LoRa_Downlink"));
        RuleGrid* grid = buildGrid(page, uplink ? m_uplink : m_downlink, uplink);
        (uplink ? ACG_LoRa_Uplink : ACG_LoRa_Downlink) = grid;
        PC_LoRa->addTab(page, QString());
    }

    m_buttons = new QWidget(this);
    m_buttons->setObjectName(QStringLiteral("P_Button"));
    void (TFLoRa_Set_Access::*handlers[])() = {
        &TFLoRa_Set_Access::Btn_DelRowClick,  &TFLoRa_Set_Access::Btn_InsRowClick,
        &TFLoRa_Set_Access::Btn_CopyRowClick, &TFLoRa_Set_Access::Btn_PasteRowClick,
        &TFLoRa_Set_Access::Btn_OKClick,      nullptr};
    for (int i = 0; i < int(std::size(kButtons)); ++i) {
        const ButtonSpec& button = kButtons[i];
        auto* b = new LbButton(Ui::icon(button.glyph), m_buttons);
        b->setObjectName(QLatin1String(button.name));
        b->setGeometry(QRect(QPoint(button.left, (ButtonsHeight - ButtonSize.height()) / 2), ButtonSize));
        // Enter belongs to the grids: no button may take it as the dialog's default.
        b->setAutoDefault(false);
        b->setDefault(false);
        if (handlers[i])
            connect(b, &QPushButton::clicked, this, handlers[i]);
        else
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
    }

    PC_LoRa->setCurrentIndex(0);
    Set_Lang();
}

RuleGrid* TFLoRa_Set_Access::buildGrid(QWidget* page, RuleTable* table, bool uplink) {
    const Direction d = uplink ? Direction::Uplink : Direction::Downlink;
    const ColumnSpec* columnRows = uplink ? kUplinkColumns : kDownlinkColumns;
    for (int c = 1; c < columnCount(d); ++c) {
        RuleTable::Column column;
        column.kind = isCheckBoxColumn(d, c) ? RuleTable::ColumnKind::TextCheckBox : RuleTable::ColumnKind::Text;
        column.background = columnRows[c].background;
        table->setColumn(c, column);
    }

    auto* grid = new RuleGrid(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    grid->setObjectName(QLatin1String(uplink ? "ACG_LoRa_Uplink" : "ACG_LoRa_Downlink"));
    grid->setTable(table);
    grid->setColumnWidths(uplink ? widthsOf(kUplinkColumns) : widthsOf(kDownlinkColumns));
    grid->KeyPress = [this, grid](QChar& key) { KeyPress(grid, key); };
    connect(grid, &RuleGrid::ClickCell, this, [this, grid](int row, int column) { ClickCell(grid, row, column); });
    connect(grid, &RuleGrid::DblClickCell, this,
            [this, grid](int row, int column) { DblClickCell(grid, row, column); });
    return grid;
}

RuleTable* TFLoRa_Set_Access::tableOf(const RuleGrid* grid) const {
    return grid == ACG_LoRa_Uplink ? m_uplink : m_downlink;
}

RuleGrid* TFLoRa_Set_Access::activeGrid() const {
    return PC_LoRa->currentIndex() == 0 ? ACG_LoRa_Uplink : ACG_LoRa_Downlink;
}

void TFLoRa_Set_Access::Set_Lang() {
    setWindowTitle(m_state.Text(1200));
    findChild<QLabel*>(QStringLiteral("L_SW_Desc"))->setText(m_state.Text(1201));
    for (const ButtonSpec& button : kButtons) {
        auto* b = findChild<LbButton*>(QLatin1String(button.name));
        b->setText(m_state.Text(button.caption));
        b->setToolTip(m_state.Text(button.hint));
    }
    PC_LoRa->setTabText(0, m_state.Text(1214));
    PC_LoRa->setTabText(1, m_state.Text(1215));

    Hint_UpLink.clear();
    Hint_DownLink.clear();
    for (int c = 0; c < UplinkColumns; ++c) {
        m_uplink->setHeader(c, m_state.Text(kUplinkColumns[c].header));
        if (c > 0) {
            Hint_UpLink.append(m_state.Text(kUplinkColumns[c].hint));
            m_uplink->setHint(c, Hint_UpLink.last());
        }
    }
    for (int c = 0; c < DownlinkColumns; ++c) {
        m_downlink->setHeader(c, m_state.Text(kDownlinkColumns[c].header));
        if (c > 0) {
            Hint_DownLink.append(m_state.Text(kDownlinkColumns[c].hint));
            m_downlink->setHint(c, Hint_DownLink.last());
        }
    }
}

QString TFLoRa_Set_Access::GridHint(const RuleGrid* grid, int row, int column) const {
    const QStringList& hints = grid == ACG_LoRa_Uplink ? Hint_UpLink : Hint_DownLink;
    if (row != 0 || column < 1)
        return QString();
    return hints.value(column - 1);
}

bool TFLoRa_Set_Access::FormShow() {
    PC_LoRa->setCurrentIndex(0);
    FPortFixed = true;
    MaxPayloadSize = 0;

    // Both files are read before anything changes: one that cannot be read stops the showing.
    Settings settings;
    std::optional<RuleLists> rules;
    try {
        settings = readSettings(m_state.ParGenFile());
        rules = loadRules(m_state.LoRaWANSetAccessFile());
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return false;
    }
    MaxPayloadSize = settings.MaxPayloadSize;
    FPortFixed = settings.FPortFixed;

    const int gridRows = ruleCount(FPortFixed) + 1;
    m_uplink->setShape(gridRows, UplinkColumns);
    m_downlink->setShape(gridRows, DownlinkColumns);
    ACG_LoRa_Uplink->setColumnShown(Up_FPort, !FPortFixed);
    ACG_LoRa_Downlink->setColumnShown(Down_FPort, !FPortFixed);
    // An absent rule file leaves the reset rows; rules that find no row are named, never lost unsaid.
    const int upLost = fillTable(*m_uplink, rules ? rules->uplink : QList<Rule>());
    const int downLost = fillTable(*m_downlink, rules ? rules->downlink : QList<Rule>());

    if (MaxPayloadSize == 0)
        Messages::warning(m_state.Text(TextPayloadNotSet));
    const QString lost = notShownWarning(upLost, downLost, ruleCount(FPortFixed), m_state.catalogue);
    if (!lost.isEmpty())
        Messages::warning(lost);

    Do_Copy_Uplink = false;
    Do_Copy_Downlink = false;

    for (RuleGrid* grid : {ACG_LoRa_Uplink, ACG_LoRa_Downlink}) {
        grid->setCurrentCell(1, 1);
        grid->scrollToTop();
        grid->horizontalScrollBar()->setValue(0);
    }
    ACG_LoRa_Uplink->setFocus();
    return true;
}

bool TFLoRa_Set_Access::Show_Modal() {
    if (!FormShow())
        return false;
    exec();
    return true;
}

bool TFLoRa_Set_Access::Controllo_dati() {
    const RuleLists rules{tableRules(*m_uplink, Direction::Uplink), tableRules(*m_downlink, Direction::Downlink)};
    const std::optional<QString> message =
        LoRaWAN::Controllo_dati(rules, Settings{MaxPayloadSize, FPortFixed}, m_state.catalogue);
    if (!message)
        return true;
    Messages::error(*message);
    return false;
}

void TFLoRa_Set_Access::Btn_OKClick() {
    if (!Controllo_dati())
        return;
    const RuleLists rules{tableRules(*m_uplink, Direction::Uplink), tableRules(*m_downlink, Direction::Downlink)};
    try {
        saveRules(m_state.LoRaWANSetAccessFile(), rules);
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return;
    }
    accept();
}

void TFLoRa_Set_Access::Btn_DelRowClick() {
    RuleGrid* grid = activeGrid();
    const int row = grid->currentRow();
    if (row < 1)
        return;
    if (Messages::question(m_state.Text(TextDeleteRow) + QString::number(row)))
        Delete_Row(row, *tableOf(grid));
    grid->setFocus();
}

void TFLoRa_Set_Access::Btn_InsRowClick() {
    RuleGrid* grid = activeGrid();
    Insert_Row(grid->currentRow(), *tableOf(grid), true);
    grid->setFocus();
}

void TFLoRa_Set_Access::Btn_CopyRowClick() {
    RuleGrid* grid = activeGrid();
    const int row = grid->currentRow();
    if (row < 1)
        return;
    Copy_Row(*tableOf(grid), row, m_state.rowBuffer);
    const bool uplink = grid == ACG_LoRa_Uplink;
    Do_Copy_Uplink = uplink;
    Do_Copy_Downlink = !uplink;
    grid->setFocus();
}

void TFLoRa_Set_Access::Btn_PasteRowClick() {
    RuleGrid* grid = activeGrid();
    const bool copied = grid == ACG_LoRa_Uplink ? Do_Copy_Uplink : Do_Copy_Downlink;
    Paste_Row(*tableOf(grid), grid->currentRow(), copied, m_state.rowBuffer, m_state.catalogue);
    grid->setFocus();
}

void TFLoRa_Set_Access::ClickCell(RuleGrid* grid, int row, int column) {
    if (column == 0)
        grid->selectGridRow(row);
}

void TFLoRa_Set_Access::DblClickCell(RuleGrid* grid, int row, int column) {
    grid->Auto_Size_Column(row, column, m_state.DoubleClickAutoSize);
}

void TFLoRa_Set_Access::KeyPress(RuleGrid* grid, QChar& key) {
    grid->Jump_Next_Field(key, m_state.EnableJumpFieldTables);
}

void TFLoRa_Set_Access::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int h = height();
    m_title->setGeometry(0, 0, ClientWidth, TitleHeight);
    m_buttons->setGeometry(0, h - ButtonsHeight, ClientWidth, ButtonsHeight);
    PC_LoRa->setGeometry(PageMargin, TitleHeight, ClientWidth - 2 * PageMargin,
                         qMax(0, h - TitleHeight - ButtonsHeight));
}

void TFLoRa_Set_Access::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
