// SPDX-License-Identifier: MIT
#include "TFOPC_UA_Server_Access.h"

#include "OpcUaTable.h"
#include "OpcUaVariables.h"
#include "RowOperations.h"
#include "RuleGrid.h"
#include "RuleTable.h"
#include "app/AppState.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/TextFormat.h"
#include "common/Ui.h"

#include <QLabel>

using namespace OpcUaTable;

namespace {

constexpr int ClientWidth = 1200;
constexpr int ClientHeight = 337;
constexpr int TitleHeight = 69;
constexpr int ButtonsHeight = 44;
constexpr int GridLeft = 8;
constexpr QSize ButtonSize(110, 28);
constexpr int ButtonTop = ClientHeight - ButtonsHeight + (ButtonsHeight - 28) / 2;

// Catalogue texts of this editor.
constexpr int TextCaption = 5800;
constexpr int TextTitle = 5801;
constexpr int TextDeleteQuestion = 5828;

// The buttons: row commands on the left, OK and Cancel on the right.
struct ButtonSpec {
    const char* name;
    Ui::Glyph glyph;
    int left;
    int caption;
    int hint; // -1: none
};
// clang-format off
constexpr ButtonSpec kButtons[] = {
    {"Btn_DelRow",   Ui::Glyph::DeleteRow, 8,    5804, 5810},
    {"Btn_InsRow",   Ui::Glyph::InsertRow, 124,  5805, 5811},
    {"Btn_CopyRow",  Ui::Glyph::CopyRow,   240,  5806, 5812},
    {"Btn_PasteRow", Ui::Glyph::PasteRow,  356,  5807, 5813},
    {"Btn_OK",       Ui::Glyph::Ok,        966,  5802, -1},
    {"Btn_Cancel",   Ui::Glyph::Cancel,    1082, 5803, -1},
};
// clang-format on

} // namespace

TFOPC_UA_Server_Access::TFOPC_UA_Server_Access(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state) {
    FormCreate();
}

void TFOPC_UA_Server_Access::FormCreate() {
    setObjectName(QStringLiteral("TFOPC_UA_Server_Access"));
    Ui::styleWindow(this);
    setFixedSize(ClientWidth, ClientHeight);

    QFont codeFont = Ui::baseFont();
    codeFont.setPixelSize(32);
    const Ui::TitleLabels title = Ui::titleStrip(this, Product::Code, codeFont, 42);
    L_SW_Desc = title.desc;

    m_table = new RuleTable(this);
    ASG = new RuleGrid(this);
    ASG->setObjectName(QStringLiteral("ASG"));
    ASG->setTable(m_table);
    ASG->setGeometry(GridLeft, TitleHeight, ClientWidth - 2 * GridLeft, ClientHeight - ButtonsHeight - TitleHeight);

    for (const ButtonSpec& button : kButtons) {
        auto* b = new LbButton(Ui::icon(button.glyph), this);
        b->setObjectName(QLatin1String(button.name));
        b->setGeometry(QRect(QPoint(button.left, ButtonTop), ButtonSize));
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    Btn_DelRow = findChild<LbButton*>(QStringLiteral("Btn_DelRow"));
    Btn_InsRow = findChild<LbButton*>(QStringLiteral("Btn_InsRow"));
    Btn_CopyRow = findChild<LbButton*>(QStringLiteral("Btn_CopyRow"));
    Btn_PasteRow = findChild<LbButton*>(QStringLiteral("Btn_PasteRow"));
    Btn_OK = findChild<LbButton*>(QStringLiteral("Btn_OK"));
    Btn_Cancel = findChild<LbButton*>(QStringLiteral("Btn_Cancel"));

    connect(Btn_OK, &QPushButton::clicked, this, &TFOPC_UA_Server_Access::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_DelRow, &QPushButton::clicked, this, &TFOPC_UA_Server_Access::Btn_DelRowClick);
    connect(Btn_InsRow, &QPushButton::clicked, this, &TFOPC_UA_Server_Access::Btn_InsRowClick);
    connect(Btn_CopyRow, &QPushButton::clicked, this, &TFOPC_UA_Server_Access::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QPushButton::clicked, this, &TFOPC_UA_Server_Access::Btn_PasteRowClick);
    connect(ASG, &RuleGrid::ComboChange, this, &TFOPC_UA_Server_Access::ASGComboChange);

    Set_Lang();
    Init_Table(*m_table, m_state.catalogue);
    for (int c = 1; c < ColumnCount; ++c) {
        RuleTable::Column column = m_table->column(c);
        column.items = ASGGetEditorType(c);
        m_table->setColumn(c, column);
    }
    ASG->setColumnWidths(QList<int>(std::begin(ColumnWidths), std::end(ColumnWidths)));
}

QStringList TFOPC_UA_Server_Access::ASGGetEditorType(int column) const {
    switch (column) {
    case ColType:
        return OpcUaVariables::VarType();
    case ColReadWrite:
        return OpcUaVariables::RWType();
    default:
        return {};
    }
}

void TFOPC_UA_Server_Access::Set_Lang() {
    setWindowTitle(m_state.Text(TextCaption));
    L_SW_Desc->setText(m_state.Text(TextTitle));
    L_SW_Desc->adjustSize();
    for (const ButtonSpec& button : kButtons) {
        auto* b = findChild<LbButton*>(QLatin1String(button.name));
        b->setText(m_state.Text(button.caption));
        if (button.hint >= 0)
            b->setToolTip(m_state.Text(button.hint));
    }
    if (m_table->gridColumns() == ColumnCount)
        setHeaders(*m_table, m_state.catalogue);
}

bool TFOPC_UA_Server_Access::FormShow() {
    resetRows(*m_table);
    OpcUaVariables::FileContents contents;
    try {
        contents = OpcUaVariables::load(m_state.OPCUAServerFile());
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return false;
    }
    fill(*m_table, contents.rows);
    Do_Copy = false;
    ASG->setCurrentCell(1, ColEnable);
    ASG->scrollToTop();

    const qsizetype dropped = contents.rows.size() - OpcUaVariables::MaxVariables;
    if (dropped > 0)
        Messages::warning(Texts::withNumbers(m_state.Text(OpcUaVariables::TextDroppedVariables),
                                             {dropped, OpcUaVariables::MaxVariables}));
    return true;
}

bool TFOPC_UA_Server_Access::Show_Modal() {
    if (!FormShow())
        return false;
    exec();
    return true;
}

void TFOPC_UA_Server_Access::VarSetLength(const QString& type, int row) {
    OpcUaTable::VarSetLength(*m_table, type, row);
}

void TFOPC_UA_Server_Access::ASGComboChange(int row, int column, const QString& text) {
    if (column == ColType)
        VarSetLength(text, row);
}

bool TFOPC_UA_Server_Access::Controllo_dati() {
    if (const std::optional<QString> message = OpcUaVariables::Controllo_dati(variables(*m_table), m_state.catalogue)) {
        Messages::error(*message);
        return false;
    }
    return true;
}

void TFOPC_UA_Server_Access::Btn_OKClick() {
    if (!Controllo_dati())
        return;
    try {
        OpcUaVariables::save(m_state.OPCUAServerFile(), variables(*m_table));
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return;
    }
    accept();
}

void TFOPC_UA_Server_Access::Btn_DelRowClick() {
    const int row = ASG->currentRow();
    if (row < 1)
        return;
    if (Messages::question(Texts::withNumbers(m_state.Text(TextDeleteQuestion), {row})))
        Delete_Row_Check(row, *m_table, true);
}

void TFOPC_UA_Server_Access::Btn_InsRowClick() {
    const int row = ASG->currentRow();
    if (row >= 1)
        Insert_Row_Check(row, *m_table, true);
}

void TFOPC_UA_Server_Access::Btn_CopyRowClick() {
    const int row = ASG->currentRow();
    if (row < 1)
        return;
    Copy_Row_Check(*m_table, row, m_state.rowBuffer);
    Do_Copy = true;
}

void TFOPC_UA_Server_Access::Btn_PasteRowClick() {
    const int row = ASG->currentRow();
    if (row < 1)
        return;
    Paste_Row_Check(*m_table, row, Do_Copy, m_state.rowBuffer, m_state.catalogue);
    // Also after a refused paste: the pasted (or kept) Length stays, its lock follows the Type.
    const QString length = m_table->cellText(row, ColLength);
    VarSetLength(m_table->cellText(row, ColType), row);
    m_table->setCellText(row, ColLength, length);
}
