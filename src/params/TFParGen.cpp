// SPDX-License-Identifier: MIT
#include "TFParGen.h"

#include "CategoryPanel.h"
#include "LoRaRadio.h"
#include "ParGenTexts.h"
#include "app/AppState.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/TabSpacingDelegate.h"
#include "common/Ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <memory>
#include <optional>
#include <vector>

using namespace ParGen;
using namespace ParGenTexts;

namespace {

constexpr int ClientWidth = 460;
constexpr int ClientHeight = 700;
constexpr int TitleHeight = 69;
constexpr int ButtonsHeight = 40;

constexpr int LabelLeft = 14;
constexpr int LabelWidth = 175;
constexpr int ControlLeft = 191;
constexpr int ControlWidth = 238;
constexpr int ControlHeight = 21;
constexpr int CheckHeight = 17;
constexpr int OctetWidth = 55;
constexpr int OctetLeft[4] = {191, 252, 313, 374};
constexpr int FirstRow = 12;
constexpr int RowStep = 28;
constexpr int ControlRaise = 3; // a row's control stands this much higher than its label
constexpr int BottomMargin = 12;

enum class RowKind { Edit, List, Check, Octets, CheckOctets };

struct RowSpec {
    RowKind kind;
    const char* label;   // label, or the check box (Check, CheckOctets)
    const char* control; // edit or list; the octet boxes' name without its digit 1..4
    int maxLength = 0;   // 0: no limit of our own
    bool hex = false;    // hex filter and upper case
};

// The rows of each panel in creation (and tab) order.
// clang-format off
const RowSpec kEthernet[] = {
    {RowKind::Edit,   "L_EthConn_Device_Name",    "E_EthConn_Device_Name", 31},
    {RowKind::Check,  "CB_EthConn_En_DHCP_Cable", nullptr},
    {RowKind::Check,  "CB_EthConn_En_DHCP_WiFi",  nullptr},
    {RowKind::Check,  "CB_EthConn_Enable_DNS",    nullptr},
    {RowKind::Octets, "L_EthConn_Primary_DNS",    "E_EthConn_Pri_DNS_IP"},
    {RowKind::Octets, "L_EthConn_Secondary_DNS",  "E_EthConn_Sec_DNS_IP"},
};
const RowSpec kLoRa[] = {
    {RowKind::List,  "L_LoRa_RF_Band",                 "CB_LoRa_RF_Band"},
    {RowKind::List,  "L_LoRa_FrequencySubBand",        "CB_LoRa_FrequencySubBand"},
    {RowKind::List,  "L_LoRa_Network_Type",            "CB_LoRa_Network_Type"},
    {RowKind::Check, "CB_LoRa_Adaptive_DataRate",      nullptr},
    {RowKind::List,  "L_LoRa_DataRate",                "CB_LoRa_DataRate"},
    {RowKind::List,  "L_LoRa_Transmission_Type",       "CB_LoRa_Transmission_Type"},
    {RowKind::Edit,  "L_LoRa_Payload_Size",            "E_LoRa_Payload_Size", 0, true},
    {RowKind::Edit,  "L_LoRa_JoinEUI",                 "E_LoRa_JoinEUI", 16, true},
    {RowKind::List,  "L_LoRa_Activation_Method",       "CB_LoRa_Activation_Method"},
    {RowKind::Edit,  "L_LoRa_Device_Address",          "E_LoRa_Device_Address", 8, true},
    {RowKind::Edit,  "L_LoRa_Network_Session_Key",     "E_LoRa_Network_Session_Key", 32, true},
    {RowKind::Edit,  "L_LoRa_Application_Session_Key", "E_LoRa_Application_Session_Key", 32, true},
    {RowKind::Edit,  "L_LoRa_Application_Key",         "E_LoRa_Application_Key", 32, true},
    {RowKind::List,  "L_LoRa_FPort",                   "CB_LoRa_FPort"},
    {RowKind::Edit,  "L_LoRa_LNCHECK",                 "E_LoRa_LNCHECK", 32, true},
};
const RowSpec kOpcUa[] = {
    {RowKind::Octets,      "L_OPC_UA_Server_IP",      "E_OPC_UA_Server_IP"},
    {RowKind::Octets,      "L_OPC_UA_Server_SM",      "E_OPC_UA_Server_SM"},
    {RowKind::CheckOctets, "CB_OPC_UA_Server_En_GAT", "E_OPC_UA_Server_GAT"},
    {RowKind::Edit,        "L_OPC_UA_Server_Port",    "E_OPC_UA_Server_Port"},
};
const RowSpec kNtp[] = {
    {RowKind::Edit, "L_NTP_Server_URL", "E_NTP_Server_URL"},
    {RowKind::Edit, "L_NTP_Poll_Time",  "E_NTP_Poll_Time"},
};

// Caption and hint of every control, by catalogue index (-1: none).
struct LangEntry {
    const char* widget;
    int caption;
    int hint;
};
const LangEntry kTexts[] = {
    {"L_SW_Desc", Description, -1},
    {"Btn_OK", OkCaption, OkHint},
    {"Btn_Cancel", CancelCaption, CancelHint},
    {"L_EthConn_Device_Name", 2907, -1},          {"E_EthConn_Device_Name", -1, 2908},
    {"CB_EthConn_En_DHCP_Cable", 2909, 2910},
    {"CB_EthConn_En_DHCP_WiFi", 2911, 2912},
    {"CB_EthConn_Enable_DNS", 2913, 2914},
    {"L_EthConn_Primary_DNS", 2915, -1},
    {"E_EthConn_Pri_DNS_IP1", -1, 2916},          {"E_EthConn_Pri_DNS_IP2", -1, 2917},
    {"E_EthConn_Pri_DNS_IP3", -1, 2918},          {"E_EthConn_Pri_DNS_IP4", -1, 2919},
    {"L_EthConn_Secondary_DNS", 2920, -1},
    {"E_EthConn_Sec_DNS_IP1", -1, 2921},          {"E_EthConn_Sec_DNS_IP2", -1, 2922},
    {"E_EthConn_Sec_DNS_IP3", -1, 2923},          {"E_EthConn_Sec_DNS_IP4", -1, 2924},
    {"L_LoRa_RF_Band", 407, -1},                  {"CB_LoRa_RF_Band", -1, 408},
    {"L_LoRa_FrequencySubBand", 2904, -1},        {"CB_LoRa_FrequencySubBand", -1, 2905},
    {"L_LoRa_Network_Type", 409, -1},             {"CB_LoRa_Network_Type", -1, 410},
    {"CB_LoRa_Adaptive_DataRate", 483, 484},
    {"L_LoRa_DataRate", 485, -1},                 {"CB_LoRa_DataRate", -1, 486},
    {"L_LoRa_Transmission_Type", 487, -1},        {"CB_LoRa_Transmission_Type", -1, 488},
    {"L_LoRa_Payload_Size", 489, -1},             {"E_LoRa_Payload_Size", -1, 490},
    {"L_LoRa_JoinEUI", 415, -1},                  {"E_LoRa_JoinEUI", -1, 416},
    {"L_LoRa_Activation_Method", 411, -1},        {"CB_LoRa_Activation_Method", -1, 412},
    {"L_LoRa_Device_Address", 413, -1},           {"E_LoRa_Device_Address", -1, 414},
    {"L_LoRa_Network_Session_Key", 417, -1},      {"E_LoRa_Network_Session_Key", -1, 418},
    {"L_LoRa_Application_Session_Key", 419, -1},  {"E_LoRa_Application_Session_Key", -1, 420},
    {"L_LoRa_Application_Key", 421, -1},          {"E_LoRa_Application_Key", -1, 422},
    {"L_LoRa_FPort", 491, -1},                    {"CB_LoRa_FPort", -1, 492},
    {"L_LoRa_LNCHECK", 2933, -1},                 {"E_LoRa_LNCHECK", -1, 2934},
    {"L_OPC_UA_Server_IP", 2747, -1},
    {"E_OPC_UA_Server_IP1", -1, 2748},            {"E_OPC_UA_Server_IP2", -1, 2749},
    {"E_OPC_UA_Server_IP3", -1, 2750},            {"E_OPC_UA_Server_IP4", -1, 2751},
    {"L_OPC_UA_Server_SM", 2752, -1},
    {"E_OPC_UA_Server_SM1", -1, 2753},            {"E_OPC_UA_Server_SM2", -1, 2754},
    {"E_OPC_UA_Server_SM3", -1, 2755},            {"E_OPC_UA_Server_SM4", -1, 2756},
    {"CB_OPC_UA_Server_En_GAT", 2757, 2758},
    {"E_OPC_UA_Server_GAT1", -1, 2759},           {"E_OPC_UA_Server_GAT2", -1, 2760},
    {"E_OPC_UA_Server_GAT3", -1, 2761},           {"E_OPC_UA_Server_GAT4", -1, 2762},
    {"L_OPC_UA_Server_Port", 2769, -1},           {"E_OPC_UA_Server_Port", -1, 2770},
    {"L_NTP_Server_URL", 2558, -1},               {"E_NTP_Server_URL", -1, 2559},
    {"L_NTP_Poll_Time", 2560, -1},                {"E_NTP_Poll_Time", -1, 2561},
};

// The four panels in their order: the catalogue text of the caption, the rows, where the second row
// stands, and what the panel's height is measured from.
struct PanelEntry {
    const char* name;
    int caption;
    const RowSpec* rows;
    int rowCount;
    int secondRowTop;   // 28 below the first row; in LoRaWAN 28 below the RF band's list, 3 less
    bool heightByLabel; // the panel ends below its last label rather than its last control
};
const PanelEntry kPanels[] = {
    {"CP_Ethernet_Connection", EthernetPanel, kEthernet, int(std::size(kEthernet)), FirstRow + RowStep, false},
    {"CP_LoRa", LoRaPanel, kLoRa, int(std::size(kLoRa)), FirstRow - ControlRaise + RowStep, true},
    {"CP_OPC_UA_Server", OpcUaPanel, kOpcUa, int(std::size(kOpcUa)), FirstRow + RowStep, false},
    {"CP_NTP", NtpPanel, kNtp, int(std::size(kNtp)), FirstRow + RowStep, false},
};
// clang-format on

int bottomOf(const QWidget* w) {
    return w->y() + w->height();
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// The character a key press types, or nothing for an editing key. Under X11 the Delete key arrives with
// the text "\x7f" and the clipboard shortcuts with control characters: those edit, they type nothing.
std::optional<QChar> typedCharacter(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint())
        return std::nullopt;
    // A shortcut (Ctrl+V, and Cmd+V where it carries its letter); Ctrl+Alt is AltGr, which types.
    const Qt::KeyboardModifiers mods = key->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier))
        return std::nullopt;
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        return std::nullopt;
    default:
        return text[0];
    }
}

} // namespace

TFParGen::TFParGen(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state) {
    FormCreate();
}

void TFParGen::FormCreate() {
    setObjectName(QStringLiteral("TFParGen"));
    Ui::styleWindow(this);
    setFixedWidth(ClientWidth);
    setMinimumHeight(TitleHeight + ButtonsHeight + 120);
    resize(ClientWidth, ClientHeight);

    m_title = new QWidget(this);
    m_title->setObjectName(QStringLiteral("P_Title"));
    QFont codeFont = Ui::baseFont();
    codeFont.setPixelSize(32);
    const Ui::TitleLabels title = Ui::titleStrip(m_title, Product::Code, codeFont, 42);
    title.desc->resize(ClientWidth - 32, 16);

    m_group = new CategoryPanelGroup(this);
    m_group->setObjectName(QStringLiteral("CPG"));

    m_buttons = new QWidget(this);
    m_buttons->setObjectName(QStringLiteral("P_Button"));
    m_ok = new LbButton(Ui::icon(Ui::Glyph::Ok), m_buttons);
    m_ok->setObjectName(QStringLiteral("Btn_OK"));
    m_ok->setGeometry(218, 6, 110, 28);
    m_cancel = new LbButton(Ui::icon(Ui::Glyph::Cancel), m_buttons);
    m_cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    m_cancel->setGeometry(334, 6, 110, 28);
    for (LbButton* b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(m_ok, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (int i = 0; i < int(std::size(kPanels)); ++i)
        buildPanel(i);
    resolveControls();

    for (int f = 0; f < FieldCount; ++f) {
        if (isComputed(Field(f)))
            edit(Field(f))->setReadOnly(true);
        if (m_kind[f] == ControlKind::List)
            list(Field(f))->addItems(choiceItems(Field(f))); // the data-rate list follows the region
    }

    keepDotChain({Eth_Conn_Primary_DNS1, Eth_Conn_Primary_DNS2, Eth_Conn_Primary_DNS3, Eth_Conn_Primary_DNS4,
                  Eth_Conn_Secondary_DNS1, Eth_Conn_Secondary_DNS2, Eth_Conn_Secondary_DNS3, Eth_Conn_Secondary_DNS4});
    keepDotChain({OPC_UA_Server_IP1, OPC_UA_Server_IP2, OPC_UA_Server_IP3, OPC_UA_Server_IP4, OPC_UA_Server_SM1,
                  OPC_UA_Server_SM2, OPC_UA_Server_SM3, OPC_UA_Server_SM4, OPC_UA_Server_GAT1, OPC_UA_Server_GAT2,
                  OPC_UA_Server_GAT3, OPC_UA_Server_GAT4});

    // Most regions' data-rate items hold tabs: the open list shows them as spacing, the item keeps its tab.
    list(LoRa_DataRate)->setItemDelegate(new TabSpacingDelegate(list(LoRa_DataRate)));

    connect(list(LoRa_RF_Band), &QComboBox::currentIndexChanged, this, [this] {
        Change_LoRa_DataRate();
        Set_Max_Payload_Size();
        Move_GroupBoxs();
    });
    connect(list(LoRa_DataRate), &QComboBox::currentIndexChanged, this, &TFParGen::Set_Max_Payload_Size);
    connect(list(LoRa_Activation_Method), &QComboBox::currentIndexChanged, this, &TFParGen::Move_GroupBoxs);
    connect(check(Eth_Conn_DHCP_Cable), &QCheckBox::toggled, this, &TFParGen::Move_GroupBoxs);
    connect(check(Eth_Conn_DHCP_WiFi), &QCheckBox::toggled, this, &TFParGen::Move_GroupBoxs);

    // The wheel anywhere over the panel group scrolls the group, also over its lists and edits.
    m_group->viewport()->installEventFilter(this);
    for (QWidget* w : m_group->widget()->findChildren<QWidget*>())
        w->installEventFilter(this);

    Order_TAB_Panels();
    Change_LoRa_DataRate();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::buildPanel(int index) {
    const PanelEntry& entry = kPanels[index];
    CategoryPanel* panel = m_group->addPanel(QLatin1String(entry.name));
    panel->hide();
    m_panels.push_back(panel);
    m_panelRows.emplace_back();
    QWidget* body = panel->body();
    const int labelHeight = fontMetrics().height() + 2;
    for (int i = 0; i < entry.rowCount; ++i) {
        const RowSpec& rs = entry.rows[i];
        Row row;
        row.field = FieldCount;
        const QString key = QLatin1String(rs.control ? rs.control : rs.label);
        switch (rs.kind) {
        case RowKind::Check:
        case RowKind::CheckOctets: {
            auto* box = new QCheckBox(body);
            box->setObjectName(QLatin1String(rs.label));
            const int width = rs.kind == RowKind::Check ? ControlLeft + ControlWidth - LabelLeft : LabelWidth;
            box->setGeometry(LabelLeft, 0, width, CheckHeight);
            row.label = box;
            break;
        }
        default: {
            auto* label = new QLabel(body);
            label->setObjectName(QLatin1String(rs.label));
            label->setGeometry(LabelLeft, 0, LabelWidth, labelHeight);
            row.label = label;
        }
        }

        switch (rs.kind) {
        case RowKind::Edit: {
            auto* e = new QLineEdit(body);
            e->setObjectName(key);
            e->setGeometry(ControlLeft, 0, ControlWidth, ControlHeight);
            if (rs.maxLength > 0)
                e->setMaxLength(rs.maxLength);
            if (rs.hex) {
                e->installEventFilter(this);
                m_hexEdits.append(e);
                connect(e, &QLineEdit::textEdited, e, [e](const QString& text) {
                    const QString upper = text.toUpper();
                    if (upper == text)
                        return;
                    const int at = e->cursorPosition();
                    e->setText(upper);
                    e->setCursorPosition(at);
                });
            }
            row.controls << e;
            break;
        }
        case RowKind::List: {
            auto* l = new QComboBox(body);
            l->setObjectName(key);
            l->setEditable(false);
            l->setGeometry(ControlLeft, 0, ControlWidth, ControlHeight);
            row.controls << l;
            break;
        }
        case RowKind::Octets:
        case RowKind::CheckOctets:
            for (int k = 0; k < 4; ++k) {
                auto* box = new QLineEdit(body);
                box->setObjectName(key + QString::number(k + 1));
                box->setGeometry(OctetLeft[k], 0, OctetWidth, ControlHeight);
                row.controls << box;
                if (k < 3) {
                    auto* dot = new QLabel(QStringLiteral("."), body);
                    dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
                    const int gapLeft = OctetLeft[k] + OctetWidth;
                    dot->setGeometry(gapLeft, 0, OctetLeft[k + 1] - gapLeft, labelHeight);
                    row.dots << dot;
                }
            }
            break;
        case RowKind::Check:
            break;
        }
        m_panelRows.back().push_back(int(m_rows.size()));
        m_rows.push_back(row);
    }
}

// Every field's control, found once by the name the field table gives it. A name the window does not
// build is a programming error that no test run may miss: it stops the program here, in every build.
void TFParGen::resolveControls() {
    QHash<const QWidget*, int> rowOfControl;
    for (int r = 0; r < int(m_rows.size()); ++r) {
        rowOfControl.insert(m_rows[r].label, r);
        for (const QWidget* w : m_rows[r].controls)
            rowOfControl.insert(w, r);
    }
    for (int f = 0; f < FieldCount; ++f) {
        const FieldInfo& fi = info(Field(f));
        QWidget* w = findChild<QWidget*>(QLatin1String(fi.control));
        if (!w || !rowOfControl.contains(w))
            qFatal("TFParGen: no control \"%s\" for the field %s", fi.control, fi.element);
        const ControlKind kind = qobject_cast<QCheckBox*>(w)   ? ControlKind::Check
                                 : qobject_cast<QComboBox*>(w) ? ControlKind::List
                                                               : ControlKind::Edit;
        const ControlKind wanted = fi.kind == Kind::Flag     ? ControlKind::Check
                                   : fi.kind == Kind::Choice ? ControlKind::List
                                                             : ControlKind::Edit;
        if (kind != wanted || (kind == ControlKind::Edit && !qobject_cast<QLineEdit*>(w)))
            qFatal("TFParGen: the control \"%s\" is of the wrong kind for the field %s", fi.control, fi.element);
        m_field[f] = w;
        m_kind[f] = kind;
        m_rowOf[f] = rowOfControl.value(w);
        Row& row = m_rows[size_t(m_rowOf[f])];
        if (row.field == FieldCount)
            row.field = Field(f);
    }
    for (const LangEntry& e : kTexts) {
        QWidget* w = findChild<QWidget*>(QLatin1String(e.widget));
        if (!w)
            qFatal("TFParGen: no control \"%s\" for its texts", e.widget);
        m_texts.push_back({w, {e.caption, e.hint}});
    }
    for (const Row& row : m_rows) {
        if (row.field == FieldCount)
            qFatal("TFParGen: the row of \"%s\" holds no field", qPrintable(row.label->objectName()));
    }
}

QLineEdit* TFParGen::edit(Field field) const {
    Q_ASSERT(m_kind[field] == ControlKind::Edit);
    return static_cast<QLineEdit*>(m_field[field]);
}

QComboBox* TFParGen::list(Field field) const {
    Q_ASSERT(m_kind[field] == ControlKind::List);
    return static_cast<QComboBox*>(m_field[field]);
}

QCheckBox* TFParGen::check(Field field) const {
    Q_ASSERT(m_kind[field] == ControlKind::Check);
    return static_cast<QCheckBox*>(m_field[field]);
}

void TFParGen::keepDotChain(std::initializer_list<Field> chain) {
    const std::vector<Field> boxes(chain);
    for (size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit* box = edit(boxes[i]);
        box->installEventFilter(this);
        m_dotNext.insert(box, i + 1 < boxes.size() ? edit(boxes[i + 1]) : nullptr);
    }
}

void TFParGen::Order_TAB_Panels() {
    // This model shows four panels, in this order (also the tab order, by creation), captioned in the
    // language active when the dialog is created.
    for (size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->setCaption(QStringLiteral("%1. %2").arg(i + 1).arg(m_state.Text(kPanels[i].caption)));
        m_panels[i]->show();
    }
    m_group->restack();
}

void TFParGen::placeRow(const Row& row, int y) {
    row.label->move(row.label->x(), y);
    for (QWidget* w : row.controls)
        w->move(w->x(), y - ControlRaise);
    for (QWidget* w : row.dots)
        w->move(w->x(), y - ControlRaise);
}

void TFParGen::Move_GroupBoxs() {
    RePosition_Objects_KV210();
}

// The four panels, each from the rows the set shows; then what the set lets the user change.
void TFParGen::RePosition_Objects_KV210() {
    const ParGenSet set = controlsToSet();
    const FieldSet visible = visibleRows(set);
    for (int i = 0; i < int(m_panels.size()); ++i)
        layOutPanel(i, visible);
    const FieldSet editable = editableFields(set);
    for (int f = 0; f < FieldCount; ++f) {
        if (!isComputed(Field(f)))
            m_field[f]->setEnabled(editable[f]);
    }
}

void TFParGen::layOutPanel(int index, const FieldSet& visible) {
    const PanelEntry& entry = kPanels[index];
    int y = FirstRow;
    const Row* last = nullptr;
    for (const int r : m_panelRows[size_t(index)]) {
        const Row& row = m_rows[size_t(r)];
        const bool shown = visible[row.field];
        row.label->setHidden(!shown);
        for (QWidget* w : row.controls)
            w->setHidden(!shown);
        for (QWidget* w : row.dots)
            w->setHidden(!shown);
        if (!shown)
            continue;
        placeRow(row, y);
        y = last ? y + RowStep : entry.secondRowTop;
        last = &row;
    }
    const int bottom = entry.heightByLabel ? bottomOf(last->label) : bottomOf(last->controls.last());
    m_panels[size_t(index)]->setFullHeight(bottom + m_group->headerHeight() + BottomMargin);
}

void TFParGen::fillDataRates(const ParGenSet& set) {
    QComboBox* rates = list(LoRa_DataRate);
    const QSignalBlocker quiet(rates);
    rates->clear();
    rates->addItems(LoRaRadio::dataRateItems(set.value(LoRa_RF_Band)));
    const QString& rate = set.value(LoRa_DataRate);
    rates->setCurrentIndex(rate.isEmpty() ? -1 : rates->findText(rate, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void TFParGen::Change_LoRa_DataRate() {
    ParGenSet set = controlsToSet();
    set.setRegion(set.value(LoRa_RF_Band));
    fillDataRates(set);
}

void TFParGen::Set_Max_Payload_Size() {
    ParGenSet set = controlsToSet();
    set.recomputePayloadSize();
    edit(LoRa_Payload_Size)->setText(set.value(LoRa_Payload_Size));
}

ParGenSet TFParGen::controlsToSet() const {
    ParGenSet set;
    for (int f = 0; f < FieldCount; ++f) {
        switch (m_kind[f]) {
        case ControlKind::Edit:
            set.setValue(Field(f), edit(Field(f))->text());
            break;
        case ControlKind::Check:
            set.setFlag(Field(f), check(Field(f))->isChecked());
            break;
        case ControlKind::List:
            set.setValue(Field(f), list(Field(f))->currentIndex() < 0 ? QString() : list(Field(f))->currentText());
            break;
        }
    }
    return set;
}

void TFParGen::setToControls(const ParGenSet& given) {
    // The data rate always one of the region's items, as the set's rules have it.
    ParGenSet set = given;
    set.setDataRate(given.value(LoRa_DataRate));

    // The reactions are silenced while loading; FormShow runs layout and payload afterwards.
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QWidget* w : m_field)
        quiet.push_back(std::make_unique<QSignalBlocker>(w));

    for (int f = 0; f < FieldCount; ++f) {
        const QString& value = set.value(Field(f));
        switch (m_kind[f]) {
        case ControlKind::Edit:
            edit(Field(f))->setText(value);
            break;
        case ControlKind::Check:
            check(Field(f))->setChecked(set.flag(Field(f)));
            break;
        case ControlKind::List:
            if (f == LoRa_DataRate) {
                fillDataRates(set);
            } else {
                QComboBox* l = list(Field(f));
                l->setCurrentIndex(value.isEmpty() ? -1
                                                   : l->findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive));
            }
            break;
        }
    }
}

bool TFParGen::FormShow() {
    ParGenSet set;
    try {
        set = ParGenSet::load(m_state.ParGenFile());
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return false;
    }
    setToControls(set);
    Move_GroupBoxs();
    Set_Max_Payload_Size();
    m_group->verticalScrollBar()->setValue(0);
    return true;
}

bool TFParGen::Show_Modal() {
    if (!FormShow())
        return false;
    exec();
    return true;
}

void TFParGen::Btn_OKClick() {
    const ParGenSet set = controlsToSet();
    if (const std::optional<QString> message = Controllo_Dati(set, m_state.catalogue)) {
        Messages::error(*message);
        return;
    }
    try {
        set.save(m_state.ParGenFile());
    } catch (const FileError& e) {
        Messages::generalError(e.message());
        return;
    }
    accept();
}

void TFParGen::Set_Lang() {
    setWindowTitle(m_state.Text(Caption));
    for (const auto& [w, e] : m_texts) {
        if (e.caption >= 0) {
            if (auto* label = qobject_cast<QLabel*>(w))
                label->setText(m_state.Text(e.caption));
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                button->setText(m_state.Text(e.caption));
        }
        if (e.hint >= 0)
            w->setToolTip(m_state.Text(e.hint));
    }
}

bool TFParGen::scrollPanelGroup(QEvent* event) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* viewport = m_group->viewport();
    if (!viewport->rect().contains(viewport->mapFromGlobal(wheel->globalPosition().toPoint())))
        return false;
    const int lines = QApplication::wheelScrollLines();
    const auto step =
        wheel->angleDelta().y() <= 0 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub;
    for (int i = 0; i < lines; ++i)
        m_group->verticalScrollBar()->triggerAction(step);
    wheel->accept();
    return true;
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel)
        return scrollPanelGroup(event) || QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        // Only typed characters are filtered; editing keys always reach the field.
        if (const std::optional<QChar> c = typedCharacter(static_cast<QKeyEvent*>(event))) {
            const auto next = m_dotNext.constFind(watched);
            if (next != m_dotNext.cend() && *c == QLatin1Char('.')) {
                QLineEdit* box = next.value();
                if (box && box->isVisible() && box->isEnabled())
                    box->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (m_hexEdits.contains(watched) && c->unicode() > 32 && !isHexDigit(*c))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFParGen::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int h = height();
    m_title->setGeometry(0, 0, ClientWidth, TitleHeight);
    m_buttons->setGeometry(0, h - ButtonsHeight, ClientWidth, ButtonsHeight);
    m_group->setGeometry(0, TitleHeight, ClientWidth, qMax(0, h - TitleHeight - ButtonsHeight));
}

void TFParGen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
