// SPDX-License-Identifier: MIT
#include "TFParGen.h"

#include "CategoryPanel.h"
#include "LoRaRadio.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/Ui.h"
#include "app/AppState.h"
#include "app/Product.h"

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
#include <vector>

using namespace ParGen;

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
    {"L_SW_Desc", 401, -1},
    {"Btn_OK", 402, 404},
    {"Btn_Cancel", 403, 405},
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

// The four panels in their order, with the catalogue text of their caption.
struct PanelEntry {
    const char* name;
    int caption;
    const RowSpec* rows;
    int rowCount;
};
const PanelEntry kPanels[] = {
    {"CP_Ethernet_Connection", 2906, kEthernet, int(std::size(kEthernet))},
    {"CP_LoRa", 406, kLoRa, int(std::size(kLoRa))},
    {"CP_OPC_UA_Server", 2746, kOpcUa, int(std::size(kOpcUa))},
    {"CP_NTP", 2557, kNtp, int(std::size(kNtp))},
};
// clang-format on

} // namespace

TFParGen::TFParGen(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state) {
    FormCreate();
}

template <class T> T* TFParGen::control(const char* name) const {
    T* w = findChild<T*>(QLatin1String(name));
    Q_ASSERT_X(w, "TFParGen::control", name);
    return w;
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

    control<QLineEdit>("E_LoRa_Payload_Size")->setReadOnly(true); // computed from region and data rate

    // Fixed lists; the data-rate list follows the region.
    for (int f = 0; f < FieldCount; ++f)
        if (auto* list = qobject_cast<QComboBox*>(findChild<QWidget*>(QLatin1String(info(Field(f)).control))))
            list->addItems(choiceItems(Field(f)));

    keepDotChain({control<QLineEdit>("E_EthConn_Pri_DNS_IP1"), control<QLineEdit>("E_EthConn_Pri_DNS_IP2"),
                  control<QLineEdit>("E_EthConn_Pri_DNS_IP3"), control<QLineEdit>("E_EthConn_Pri_DNS_IP4"),
                  control<QLineEdit>("E_EthConn_Sec_DNS_IP1"), control<QLineEdit>("E_EthConn_Sec_DNS_IP2"),
                  control<QLineEdit>("E_EthConn_Sec_DNS_IP3"), control<QLineEdit>("E_EthConn_Sec_DNS_IP4")});
    keepDotChain({control<QLineEdit>("E_OPC_UA_Server_IP1"), control<QLineEdit>("E_OPC_UA_Server_IP2"),
                  control<QLineEdit>("E_OPC_UA_Server_IP3"), control<QLineEdit>("E_OPC_UA_Server_IP4"),
                  control<QLineEdit>("E_OPC_UA_Server_SM1"), control<QLineEdit>("E_OPC_UA_Server_SM2"),
                  control<QLineEdit>("E_OPC_UA_Server_SM3"), control<QLineEdit>("E_OPC_UA_Server_SM4"),
                  control<QLineEdit>("E_OPC_UA_Server_GAT1"), control<QLineEdit>("E_OPC_UA_Server_GAT2"),
                  control<QLineEdit>("E_OPC_UA_Server_GAT3"), control<QLineEdit>("E_OPC_UA_Server_GAT4")});

    auto* region = control<QComboBox>("CB_LoRa_RF_Band");
    connect(region, &QComboBox::currentIndexChanged, this, [this] {
        Change_LoRa_DataRate();
        Set_Max_Payload_Size();
        Move_GroupBoxs();
    });
    connect(control<QComboBox>("CB_LoRa_DataRate"), &QComboBox::currentIndexChanged, this,
            &TFParGen::Set_Max_Payload_Size);
    connect(control<QComboBox>("CB_LoRa_Activation_Method"), &QComboBox::currentIndexChanged, this,
            &TFParGen::Move_GroupBoxs);
    connect(control<QCheckBox>("CB_EthConn_En_DHCP_Cable"), &QCheckBox::toggled, this, &TFParGen::Move_GroupBoxs);
    connect(control<QCheckBox>("CB_EthConn_En_DHCP_WiFi"), &QCheckBox::toggled, this, &TFParGen::Move_GroupBoxs);

    // The wheel anywhere over the panel group scrolls the group, also over its lists and edits.
    m_group->viewport()->installEventFilter(this);
    for (QWidget* w : m_group->widget()->findChildren<QWidget*>())
        w->installEventFilter(this);

    Order_TAB_Panels();
    Change_LoRa_DataRate();
    Move_GroupBoxs();
    Set_Lang();
}

CategoryPanel* TFParGen::buildPanel(int index) {
    const PanelEntry& entry = kPanels[index];
    const RowSpec* rowSpecs = entry.rows;
    const int count = entry.rowCount;
    CategoryPanel* panel = m_group->addPanel(QLatin1String(entry.name));
    panel->hide();
    QWidget* body = panel->body();
    const int labelHeight = fontMetrics().height() + 2;
    for (int i = 0; i < count; ++i) {
        const RowSpec& rs = rowSpecs[i];
        Row row;
        QString key = QLatin1String(rs.control ? rs.control : rs.label);
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
            auto* edit = new QLineEdit(body);
            edit->setObjectName(key);
            edit->setGeometry(ControlLeft, 0, ControlWidth, ControlHeight);
            if (rs.maxLength > 0)
                edit->setMaxLength(rs.maxLength);
            if (rs.hex) {
                edit->installEventFilter(this);
                m_hexEdits.append(edit);
                connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
                    const QString upper = text.toUpper();
                    if (upper == text)
                        return;
                    const int at = edit->cursorPosition();
                    edit->setText(upper);
                    edit->setCursorPosition(at);
                });
            }
            row.controls << edit;
            break;
        }
        case RowKind::List: {
            auto* list = new QComboBox(body);
            list->setObjectName(key);
            list->setEditable(false);
            list->setGeometry(ControlLeft, 0, ControlWidth, ControlHeight);
            row.controls << list;
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
        m_rows.insert(key, row);
    }
    return panel;
}

void TFParGen::keepDotChain(const QList<QLineEdit*>& chain) {
    for (int i = 0; i < chain.size(); ++i) {
        chain[i]->installEventFilter(this);
        m_dotNext.insert(chain[i], i + 1 < chain.size() ? chain[i + 1] : nullptr);
    }
}

void TFParGen::Order_TAB_Panels() {
    // This model shows four panels, in this order (also the tab order, by creation), captioned in the
    // language active at creation.
    for (const PanelEntry& p : kPanels) {
        auto* panel = m_group->findChild<CategoryPanel*>(QLatin1String(p.name));
        panel->setCaption(QStringLiteral("%1. %2").arg(&p - kPanels + 1).arg(m_state.Text(p.caption)));
        panel->show();
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

namespace {
int bottomOf(const QWidget* w) {
    return w->y() + w->height();
}
} // namespace

void TFParGen::setPanelHeight(CategoryPanel* panel, int bottom) {
    panel->setFullHeight(bottom + m_group->headerHeight() + BottomMargin);
}

void TFParGen::Move_GroupBoxs() {
    RePosition_Objects_KV210();
}

void TFParGen::RePosition_Objects_KV210() {
    RePosition_Object_Ethernet_Connection();
    RePosition_Object_LoRa();
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_NTP();
}

void TFParGen::RePosition_Object_Ethernet_Connection() {
    const char* rows[] = {"E_EthConn_Device_Name", "CB_EthConn_En_DHCP_Cable", "CB_EthConn_En_DHCP_WiFi",
                          "CB_EthConn_Enable_DNS", "E_EthConn_Pri_DNS_IP",     "E_EthConn_Sec_DNS_IP"};
    int y = FirstRow;
    for (const char* r : rows) {
        placeRow(row(r), y);
        y += RowStep;
    }
    // This model has no Wi-Fi.
    control<QCheckBox>("CB_EthConn_En_DHCP_WiFi")->setEnabled(false);
    setPanelHeight(control<CategoryPanel>("CP_Ethernet_Connection"),
                   bottomOf(control<QWidget>("E_EthConn_Sec_DNS_IP4")));
}

void TFParGen::RePosition_Object_LoRa() {
    placeRow(row("CB_LoRa_RF_Band"), FirstRow);
    const auto* region = control<QComboBox>("CB_LoRa_RF_Band");
    const bool subBand = LoRaRadio::subBandApplies(region->currentIndex());
    const bool abp = control<QComboBox>("CB_LoRa_Activation_Method")->currentIndex() == 0;

    struct Shown {
        const char* row;
        bool visible;
    };
    const Shown rows[] = {
        {"CB_LoRa_FrequencySubBand", subBand},
        {"CB_LoRa_Network_Type", true},
        {"CB_LoRa_Adaptive_DataRate", true},
        {"CB_LoRa_DataRate", true},
        {"CB_LoRa_Transmission_Type", true},
        {"E_LoRa_Payload_Size", true},
        {"E_LoRa_JoinEUI", true},
        {"CB_LoRa_Activation_Method", true},
        {"E_LoRa_Device_Address", abp},
        {"E_LoRa_Network_Session_Key", abp},
        {"E_LoRa_Application_Session_Key", abp},
        {"E_LoRa_Application_Key", !abp},
        {"CB_LoRa_FPort", true},
        {"E_LoRa_LNCHECK", true},
    };
    int y = region->y() + RowStep;
    for (const Shown& s : rows) {
        const Row& r = row(s.row);
        r.label->setHidden(!s.visible);
        for (QWidget* w : r.controls)
            w->setHidden(!s.visible);
        if (!s.visible)
            continue;
        placeRow(r, y);
        y += RowStep;
    }
    setPanelHeight(control<CategoryPanel>("CP_LoRa"), bottomOf(control<QWidget>("L_LoRa_LNCHECK")));
}

void TFParGen::RePosition_Object_OPC_UA_Server() {
    const char* rows[] = {"E_OPC_UA_Server_IP", "E_OPC_UA_Server_SM", "E_OPC_UA_Server_GAT", "E_OPC_UA_Server_Port"};
    int y = FirstRow;
    for (const char* r : rows) {
        placeRow(row(r), y);
        y += RowStep;
    }
    // The address comes from DHCP: the static one is greyed out, yet still checked and written.
    const bool dhcp = control<QCheckBox>("CB_EthConn_En_DHCP_Cable")->isChecked();
    for (const char* r : {"E_OPC_UA_Server_IP", "E_OPC_UA_Server_SM", "E_OPC_UA_Server_GAT"})
        for (QWidget* box : row(r).controls)
            box->setEnabled(!dhcp);
    setPanelHeight(control<CategoryPanel>("CP_OPC_UA_Server"), bottomOf(control<QWidget>("E_OPC_UA_Server_Port")));
}

void TFParGen::RePosition_Object_NTP() {
    placeRow(row("E_NTP_Server_URL"), FirstRow);
    placeRow(row("E_NTP_Poll_Time"), FirstRow + RowStep);
    setPanelHeight(control<CategoryPanel>("CP_NTP"), bottomOf(control<QWidget>("E_NTP_Poll_Time")));
}

void TFParGen::Change_LoRa_DataRate() {
    auto* rates = control<QComboBox>("CB_LoRa_DataRate");
    rates->clear();
    rates->addItems(LoRaRadio::dataRateItems(control<QComboBox>("CB_LoRa_RF_Band")->currentText()));
    rates->setCurrentIndex(rates->count() > 0 ? 0 : -1);
}

void TFParGen::Set_Max_Payload_Size() {
    const int max = LoRaRadio::Find_Max_PayLoad(control<QComboBox>("CB_LoRa_RF_Band")->currentText(),
                                                control<QComboBox>("CB_LoRa_DataRate")->currentText());
    control<QLineEdit>("E_LoRa_Payload_Size")->setText(QString::number(max));
}

ParGenSet TFParGen::controlsToSet() const {
    ParGenSet set;
    for (int f = 0; f < FieldCount; ++f) {
        QWidget* w = control<QWidget>(info(Field(f)).control);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            set.setValue(Field(f), edit->text());
        else if (auto* box = qobject_cast<QCheckBox*>(w))
            set.setFlag(Field(f), box->isChecked());
        else if (auto* list = qobject_cast<QComboBox*>(w))
            set.setValue(Field(f), list->currentIndex() < 0 ? QString() : list->currentText());
    }
    return set;
}

void TFParGen::setToControls(const ParGenSet& set) {
    // The reactions are silenced while loading; FormShow runs layout and payload afterwards.
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (int f = 0; f < FieldCount; ++f)
        quiet.push_back(std::make_unique<QSignalBlocker>(control<QWidget>(info(Field(f)).control)));

    for (int f = 0; f < FieldCount; ++f) {
        QWidget* w = control<QWidget>(info(Field(f)).control);
        const QString& value = set.value(Field(f));
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(value);
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            box->setChecked(set.flag(Field(f)));
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            list->setCurrentIndex(
                value.isEmpty() ? -1 : list->findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive));
            if (f == LoRa_RF_Band)
                Change_LoRa_DataRate();
            if (f == LoRa_DataRate && list->currentIndex() < 0 && list->count() > 0)
                list->setCurrentIndex(0);
        }
    }
    control<QCheckBox>("CB_EthConn_En_DHCP_WiFi")->setChecked(false);
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
    setWindowTitle(m_state.Text(400));
    for (const LangEntry& e : kTexts) {
        QWidget* w = control<QWidget>(e.widget);
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

namespace {
bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}
} // namespace

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
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1) {
            const QChar c = text[0];
            const auto next = m_dotNext.constFind(watched);
            if (next != m_dotNext.cend() && c == QLatin1Char('.')) {
                QLineEdit* box = next.value();
                if (box && box->isVisible() && box->isEnabled())
                    box->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (m_hexEdits.contains(watched) && c.unicode() > 32 && !isHexDigit(c))
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
