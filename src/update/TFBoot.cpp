// SPDX-License-Identifier: MIT
#include "TFBoot.h"

#include "DeviceAddress.h"
#include "IcmpEchoClient.h"
#include "UpdateScript.h"
#include "Updater.h"
#include "app/AppState.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/Ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {

constexpr int ClientWidth = 449;
constexpr int EditHeight = 21;
constexpr int ButtonHeight = 28;

// The four panels, stacked from the top; the client height is the sum of their heights.
enum PanelIndex { Title, Address, Options, Buttons, PanelCount };
struct PanelRow {
    const char* name;
    int height;
};
constexpr PanelRow Panels[PanelCount] = {{"P_Title", 69}, {"P_IP_Address", 49}, {"P_Options", 72}, {"P_Button", 40}};

enum class Kind { Label, Edit, Dot, List, Check, Button };
struct ControlRow {
    const char* name;
    Kind kind;
    PanelIndex panel;
    int left, top;
    int width;   // 0: sized to its text
    int caption; // catalogue index, -1: none
    int hint;
};
// In creation order, which is also the tab order.
// clang-format off
constexpr ControlRow Controls[] = {
    {"L_IP_Address",               Kind::Label,  Address, 16,  4,  0,   1006, -1},
    {"E_IP1",                      Kind::Edit,   Address, 35,  23, 41,  -1,   1021},
    {"L_Dot1",                     Kind::Dot,    Address, 83,  31, 0,   -1,   -1},
    {"E_IP2",                      Kind::Edit,   Address, 91,  23, 41,  -1,   1022},
    {"L_Dot2",                     Kind::Dot,    Address, 139, 31, 0,   -1,   -1},
    {"E_IP3",                      Kind::Edit,   Address, 147, 23, 41,  -1,   1023},
    {"L_Dot3",                     Kind::Dot,    Address, 193, 31, 0,   -1,   -1},
    {"E_IP4",                      Kind::Edit,   Address, 203, 23, 41,  -1,   1024},
    {"L_Update_Option",            Kind::Label,  Options, 16,  4,  0,   1014, -1},
    {"CB_Update_Options",          Kind::List,   Options, 35,  23, 382, -1,   1032},
    {"CB_Update_Option_Read_Back", Kind::Check,  Options, 16,  50, 0,   1018, 1033},
    {"Btn_Cancel",                 Kind::Button, Buttons, 16,  6,  110, 1019, 1034},
    {"Btn_Update",                 Kind::Button, Buttons, 132, 6,  228, 1020, 1035},
};
// clang-format on
constexpr int TitleCaption = 1002;
constexpr int SubtitleCaption = 1003;
constexpr int OptionItems[] = {1015, 1016, 1017};

} // namespace

// While the check and the updater run, the window keeps painting (the waits process events) but takes
// no input: clicks and keys are dropped, not queued for later, and the cursor shows the wait.
class TFBoot::Busy : public QObject {
public:
    explicit Busy(TFBoot& dialog)
        : m_dialog(dialog) {
        m_dialog.m_busy = true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        qApp->installEventFilter(this);
    }
    ~Busy() override {
        qApp->removeEventFilter(this);
        QGuiApplication::restoreOverrideCursor();
        m_dialog.m_busy = false;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
        }
    }

private:
    TFBoot& m_dialog;
};

TFBoot::TFBoot(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_check(m_client) {
    m_client.client = std::make_unique<IcmpEchoClient>();
    FormCreate();
}

TFBoot::~TFBoot() = default;

void TFBoot::setEchoClient(std::unique_ptr<EchoClient> client) {
    m_client.client = std::move(client);
}

void TFBoot::FormCreate() {
    setObjectName(QStringLiteral("FBoot"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    Ui::styleWindow(this);

    QWidget* panels[PanelCount];
    int top = 0;
    for (int i = 0; i < PanelCount; ++i) {
        panels[i] = new QWidget(this);
        panels[i]->setObjectName(QLatin1String(Panels[i].name));
        panels[i]->setGeometry(0, top, ClientWidth, Panels[i].height);
        top += Panels[i].height;
    }
    setFixedSize(ClientWidth, top);
    P_Title = panels[Title];
    P_IP_Address = panels[Address];
    P_Options = panels[Options];
    P_Button = panels[Buttons];

    QFont codeFont = Ui::baseFont();
    codeFont.setPixelSize(32);
    const Ui::TitleLabels title = Ui::titleStrip(P_Title, Product::Code, codeFont, 42);
    L_SW_Code = title.code;
    L_SW_Desc = title.desc;

    for (const ControlRow& row : Controls) {
        QWidget* parent = panels[row.panel];
        QWidget* w = nullptr;
        switch (row.kind) {
        case Kind::Label:
            w = new QLabel(parent);
            break;
        case Kind::Dot:
            w = new QLabel(QStringLiteral("."), parent);
            w->adjustSize();
            break;
        case Kind::Edit:
            w = new QLineEdit(QStringLiteral("0"), parent);
            w->resize(row.width, EditHeight);
            w->installEventFilter(this);
            break;
        case Kind::List: {
            auto* list = new QComboBox(parent);
            list->setEditable(false);
            list->resize(row.width, EditHeight);
            w = list;
            break;
        }
        case Kind::Check:
            w = new QCheckBox(parent);
            break;
        case Kind::Button: {
            const bool update = QLatin1String(row.name) == QLatin1String("Btn_Update");
            auto* button = new LbButton(Ui::icon(update ? Ui::Glyph::Update : Ui::Glyph::Cancel, 16), parent);
            button->resize(row.width, ButtonHeight);
            // Enter in an address edit must not start an update.
            button->setAutoDefault(false);
            button->setDefault(false);
            w = button;
            break;
        }
        }
        w->setObjectName(QLatin1String(row.name));
        w->move(row.left, row.top);
    }

    L_IP_Address = findChild<QLabel*>(QStringLiteral("L_IP_Address"));
    for (int i = 0; i < 4; ++i)
        E_IP[i] = findChild<QLineEdit*>(QStringLiteral("E_IP%1").arg(i + 1));
    L_Update_Option = findChild<QLabel*>(QStringLiteral("L_Update_Option"));
    CB_Update_Options = findChild<QComboBox*>(QStringLiteral("CB_Update_Options"));
    CB_Update_Option_Read_Back = findChild<QCheckBox*>(QStringLiteral("CB_Update_Option_Read_Back"));
    Btn_Cancel = findChild<LbButton*>(QStringLiteral("Btn_Cancel"));
    Btn_Update = findChild<LbButton*>(QStringLiteral("Btn_Update"));

    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);

    Set_Lang();
}

void TFBoot::Set_Lang() {
    setWindowTitle(m_state.Text(TitleCaption));
    L_SW_Desc->setText(m_state.Text(SubtitleCaption));
    L_SW_Desc->adjustSize();
    for (const ControlRow& row : Controls) {
        auto* w = findChild<QWidget*>(QLatin1String(row.name));
        if (row.caption >= 0) {
            if (auto* label = qobject_cast<QLabel*>(w))
                label->setText(m_state.Text(row.caption));
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                button->setText(m_state.Text(row.caption));
            if (row.width == 0)
                w->adjustSize();
        }
        if (row.hint >= 0)
            w->setToolTip(m_state.Text(row.hint));
    }
    CB_Update_Options->clear();
    for (int item : OptionItems)
        CB_Update_Options->addItem(m_state.Text(item));
    CB_Update_Options->setCurrentIndex(0);
}

void TFBoot::FormShow() {
    Set_Lang();
    L_SW_Code->setText(Product::Code);
    L_SW_Code->adjustSize();
    if (const std::optional<QStringList> parts = DeviceAddress::split(m_state.LastIpAddress)) {
        for (int i = 0; i < 4; ++i)
            E_IP[i]->setText(parts->at(i));
    }
    CB_Update_Options->setCurrentIndex(qBound(0, m_state.UpdateOption, CB_Update_Options->count() - 1));
    CB_Update_Option_Read_Back->setChecked(m_state.ReadBack);
    if (E_IP[0]->isEnabled())
        E_IP[0]->setFocus();
}

void TFBoot::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) // back from minimised: nothing to prepare
        return;
    FormShow();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFBoot::closeEvent(QCloseEvent* event) {
    if (m_busy) { // the close box waits for the check or the updater like every other control
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFBoot::keyPressEvent(QKeyEvent* event) {
    if (m_busy) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFBoot::eventFilter(QObject* watched, QEvent* event) {
    // "." in an address edit moves on to the next one and is not typed.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QLatin1String(".")) {
        for (int i = 0; i < 4; ++i) {
            if (watched != E_IP[i])
                continue;
            if (i < 3)
                E_IP[i + 1]->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TFBoot::addressText() const {
    return E_IP[0]->text() + QLatin1Char('.') + E_IP[1]->text() + QLatin1Char('.') + E_IP[2]->text() +
           QLatin1Char('.') + E_IP[3]->text();
}

bool TFBoot::Send_Ping() {
    return m_check.Send_Ping(addressText());
}

void TFBoot::Compile_XML_Parameter_New_Boot() {
    UpdateScript::Input in;
    in.address = addressText();
    in.option = CB_Update_Options->currentIndex();
    in.readBack = CB_Update_Option_Read_Back->isChecked();
    in.masterFolder = m_state.MasterFolder;
    in.configPath = m_state.ActiveConfigPath;
    UpdateScript::Compile_XML_Parameter_New_Boot(m_state.ProgramFolder, in);
}

QString TFBoot::handOff() {
    m_state.LastIpAddress = addressText();
    m_state.UpdateOption = CB_Update_Options->currentIndex();
    m_state.ReadBack = CB_Update_Option_Read_Back->isChecked();
    try {
        Compile_XML_Parameter_New_Boot();
    } catch (const FileError& e) {
        return e.message(); // the updater is not started on a script that is not there
    }
    const Updater::Outcome outcome = Updater::run(Updater::updaterPath(m_state.ProgramFolder), Updater::WaitMs,
                                                  [] { QCoreApplication::processEvents(); });
    return outcome.error;
}

void TFBoot::Btn_UpdateClick() {
    if (Form_Type != 1 || m_busy)
        return;
    enum class Report { None, General, NoPermission, NotFound, BadAddress };
    Report report = Report::None;
    QString text;
    try {
        Busy busy(*this);
        if (Send_Ping()) {
            text = handOff();
            report = text.isEmpty() ? Report::None : Report::General;
        } else if (m_check.lastError.kind == EchoResult::Kind::NoPermission) {
            report = Report::NoPermission;
            text = ReachabilityCheck::noPermissionMessage(m_check.lastError.error);
        } else if (ping_res() == ReachabilityCheck::NotAnswered) {
            report = Report::NotFound;
        } else {
            report = Report::BadAddress;
        }
    } catch (const FileError& e) {
        report = Report::General;
        text = e.message();
    } catch (const std::exception& e) {
        report = Report::General;
        text = QString::fromLocal8Bit(e.what());
    }

    // The boxes come after the busy state has ended, so they take input and show the normal cursor.
    switch (report) {
    case Report::None:
        break;
    case Report::General:
        Messages::generalError(text);
        break;
    case Report::NoPermission:
        Messages::error(text);
        break;
    case Report::NotFound:
        Messages::warning(m_state.Text(BootTexts::DeviceNotFound));
        break;
    case Report::BadAddress:
        Messages::error(m_state.Text(BootTexts::CheckAddress));
        break;
    }
}
