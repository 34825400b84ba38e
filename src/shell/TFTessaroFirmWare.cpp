// SPDX-License-Identifier: MIT
#include "TFTessaroFirmWare.h"

#include "MainWindowTexts.h"
#include "TFNew_Project.h"
#include "TFOpenConf.h"
#include "app/Configurations.h"
#include "app/Product.h"
#include "app/Settings.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "image/UpdateDevice.h"
#include "options/OptionsTexts.h"
#include "options/TFAbout.h"
#include "options/TFSoftOptions.h"
#include "options/VersionCheck.h"
#include "params/TFParGen.h"
#include "rules/TFLoRa_Set_Access.h"
#include "rules/TFOPC_UA_Server_Access.h"
#include "update/TFBoot.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <type_traits>

using namespace MainWindowTexts;

namespace {

constexpr int ClientWidth = 694;
constexpr int StepLabelDrop = 16;    // a step label's top below its row's top
constexpr int LineBelowLastRow = 51; // Shape1 below Btn_CreateBin
constexpr int HeightBelowLastRow = 152;
constexpr int FirstCheckMs = 60000;
constexpr int CheckEveryMs = 7200000;
constexpr int FirstStepTop = 112; // the rows of steps 1 to 5, 44 pixels apart
constexpr int StepRowPitch = 44;

constexpr int stepRowTop(int n) {
    return FirstStepTop + StepRowPitch * (n - 1);
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    Ui::setTextColour(l, Ui::greyText());
    l->move(left, top);
    return l;
}

} // namespace

// The steps of the main window, one row each: the button (objectName, place, glyph, caption and hint
// by text index), whether it needs an active configuration, and what a click does.
//
// How to add a row. Write the dialog: a constructor `(AppState&, QWidget* parent)` or
// `(QWidget* parent)`; a public `Set_Lang()` when it has catalogue texts (it also calls it from its
// constructor, so a dialog created after a language change shows the current texts); a
// `bool Show_Modal()` when it must load a file before it shows (otherwise exec() shows it); a
// `languageChanged()` signal when it can switch the language (it is connected to Change_Language).
// Then add one row, in the order in which Change_Language refreshes the dialogs:
//
//     {"Btn_LoRaWAN_Access", step(3), Rules, 21, 25, Conf, opens<TFLoRa_Set_Access>()},
//
// `opens<D>()` shows D modally, `opens<D>(&W::f)` runs f when D ends with OK, `runs(&W::f)` runs f
// without a dialog, `nothingYet()` leaves the button without an action. `Conf` steps are refused with
// text 18 while no configuration is active. A dialog that another step opens (not a button of its own)
// has a row with the button nullptr; that step reaches it with dialog<D>() and shows it with
// showModal(). Dialogs are created on first use, once, with the main window as their parent.
std::span<const TFTessaroFirmWare::Step> TFTessaroFirmWare::steps() {
    using W = TFTessaroFirmWare;
    using enum Ui::Glyph;
    constexpr Needs Any = Needs::Nothing;
    constexpr Needs Conf = Needs::Configuration;
    // A wide button in the row of step `n` (1 to 5), and an icon button of the top right corner.
    constexpr auto step = [](int n, int left = 80) { return Place{QRect(left, stepRowTop(n), 170, 36), 24}; };
    constexpr auto icon = [](int left) { return Place{QRect(left, 8, 50, 50), 32}; };
    // clang-format off
    static const Step table[] = {
        // button                    place         glyph      caption hint needs does
        {"Btn_New",                  step(1),      New,       15,     22,  Any,  opens<TFNew_Project>(&W::afterNew)},
        {"Btn_Open",                 step(1, 258), Open,      16,     23,  Any,  opens<TFOpenConf>(&W::afterOpen)},
        {"Btn_Info",                 icon(516),    Info,      -1,     12,  Any,  opens<TFAbout>()},
        {"Btn_Opz",                  icon(574),    Options,   -1,     13,  Any,  opens<TFSoftOptions>(&W::afterOptions)},
        {nullptr,                    {},           Update,    -1,     -1,  Conf, opens<TFBoot>()},
        {"Btn_Prm_Gen",              step(2),      Settings,  20,     24,  Conf, opens<TFParGen>()},
        {"Btn_LoRaWAN_Access",       step(3),      Rules,     21,     25,  Conf, opens<TFLoRa_Set_Access>()},
        {"Btn_OPC_UA_Server_Access", step(4),      Variables, 76,     77,  Conf, opens<TFOPC_UA_Server_Access>()},
        {"Btn_CreateBin",            step(5),      Update,    17,     26,  Conf, runs(&W::Update_Device)},
        {"Btn_Close",                icon(632),    Close,     -1,     14,  Any,  runs(&W::closeWindow)},
    };
    // clang-format on
    return table;
}

template <class D> TFTessaroFirmWare::DialogKind TFTessaroFirmWare::dialogOf() {
    DialogKind kind;
    kind.type = &D::staticMetaObject;
    kind.create = [](TFTessaroFirmWare& owner) -> QDialog* {
        D* dialog = nullptr;
        if constexpr (std::is_constructible_v<D, AppState&, QWidget*>)
            dialog = new D(owner.m_state, &owner);
        else
            dialog = new D(&owner);
        if constexpr (requires { &D::languageChanged; })
            connect(dialog, &D::languageChanged, &owner, &TFTessaroFirmWare::Change_Language);
        // A dialog that switches the language or the internet flags calls back through these hooks.
        if constexpr (requires(D * d) { d->Change_Language = std::function<void()>(); })
            dialog->Change_Language = [&owner] { owner.Change_Language(); };
        if constexpr (requires(D * d) { d->Set_Update_Timer = std::function<void()>(); })
            dialog->Set_Update_Timer = [&owner] { owner.applyUpdateTimerRule(); };
        return dialog;
    };
    if constexpr (requires(D & d) { d.Set_Lang(); })
        kind.setLang = [](QDialog& dialog) { static_cast<D&>(dialog).Set_Lang(); };
    return kind;
}

template <class D> int TFTessaroFirmWare::showModal(D& dialog) {
    if constexpr (requires { bool(dialog.Show_Modal()); })
        return dialog.Show_Modal() ? dialog.result() : int(QDialog::Rejected);
    else
        return dialog.exec();
}

template <class D> TFTessaroFirmWare::Does TFTessaroFirmWare::opens(void (TFTessaroFirmWare::*onAccepted)()) {
    return {dialogOf<D>(), [onAccepted](TFTessaroFirmWare& window) {
                if (showModal(window.dialog<D>()) == QDialog::Accepted && onAccepted)
                    (window.*onAccepted)();
            }};
}

TFTessaroFirmWare::Does TFTessaroFirmWare::runs(void (TFTessaroFirmWare::*action)()) {
    return {{}, [action](TFTessaroFirmWare& window) { (window.*action)(); }};
}

template <class D> D& TFTessaroFirmWare::dialog() {
    const std::span<const Step> table = steps();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].does.dialog.type == &D::staticMetaObject)
            return static_cast<D&>(dialogAt(i));
    }
    qFatal("The step table has no row for the dialog %s", D::staticMetaObject.className());
}

QDialog& TFTessaroFirmWare::dialogAt(size_t step) {
    if (!m_dialogs[step])
        m_dialogs[step] = steps()[step].does.dialog.create(*this);
    return *m_dialogs[step];
}

TFTessaroFirmWare::TFTessaroFirmWare(const QString& programFolder, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(steps().size(), nullptr)
    , m_buttons(steps().size(), nullptr) {
    FormCreate(programFolder);
    if (LbButton* first = m_buttons.front())
        first->setFocus();
}

TFTessaroFirmWare::~TFTessaroFirmWare() = default;

void TFTessaroFirmWare::FormCreate(const QString& programFolder) {
    layOut();

    m_state.setProgramFolder(programFolder);
    for (const QString& folder : {m_state.MasterFolder, m_state.ProjectsFolder, m_state.LanguageFolder}) {
        if (!QFileInfo(folder).isDir())
            QDir().mkdir(folder); // a failure shows where the folder is used
    }

    m_state.ActiveConfigName.clear();
    m_state.ReadBack = true;
    Settings::Read_Setting(m_state);

    applyUpdateTimerRule();

    setWindowTitle(Product::WindowCaption);
    L_SW_Code->setText(Product::Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(Product::Description);
    L_SW_Desc->adjustSize();

    try {
        m_state.catalogue.Load_Language(m_state.LanguageFolder, m_state.LanguageName);
    } catch (const FileError& e) {
        Messages::generalError(e.message()); // the default English texts stand in
    }

    // A name that is no plain folder name (edited by hand to "../x") is not followed out of PROJECTS.
    const QString remembered = m_state.ProjectsFolder + QLatin1Char('/') + m_state.ActiveConfigName;
    if (Configurations::isFolderName(m_state.ActiveConfigName) && QFileInfo(remembered).isDir())
        m_state.ActiveConfigPath = remembered;
    else
        m_state.ActiveConfigPath.clear(); // the name stays, so the settings file keeps it

    Set_Lang();
}

void TFTessaroFirmWare::layOut() {
    setObjectName(QStringLiteral("FTessaroFirmWare"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    Ui::styleWindow(this);

    QFont code = Ui::baseFont();
    code.setPixelSize(32);
    L_SW_Code = label(this, "L_SW_Code", 16, 8, code);
    L_SW_Desc = label(this, "L_SW_Desc", 16, 42, Ui::boldFont());

    LL_Update = new QLabel(this);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setGeometry(208, 19, 294, 17);
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->hide();
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(LL_Update, &QLabel::linkActivated, this, &TFTessaroFirmWare::LL_UpdateLinkClick);

    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(80, 70, 348, 36);
    Shape2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape2->setLineWidth(1);
    Ui::setFrameColour(Shape2, QColor(192, 192, 192)); // silver

    L_Begin = label(this, "L_Begin", 16, 84, Ui::boldFont());
    L_Name_Conf = label(this, "L_Name_Conf", 87, 75, Ui::baseFont());
    L_Name_Conf_L2 = label(this, "L_Name_Conf_L2", 87, 88, Ui::baseFont());

    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "L_Step_" + QByteArray::number(i + 1);
        L_Step[i] = label(this, name.constData(), 16, stepRowTop(i + 1) + StepLabelDrop, Ui::boldFont());
    }

    const std::span<const Step> table = steps();
    for (size_t i = 0; i < table.size(); ++i) {
        const Step& step = table[i];
        if (!step.button)
            continue;
        auto* b = new LbButton(Ui::icon(step.glyph, step.place.iconSize), this);
        b->setObjectName(QLatin1String(step.button));
        b->setGeometry(step.place.rect);
        b->setIconSize(QSize(step.place.iconSize, step.place.iconSize));
        b->setIconOnly(step.caption < 0);
        connect(b, &QPushButton::clicked, this, [this, b] { Btn_Click(b); });
        m_buttons[i] = b;
    }

    const int lastRowTop = stepRowTop(5);
    L_Velmora = label(this, "L_Velmora", 565, lastRowTop + StepLabelDrop, Ui::boldFont());
    L_Velmora->setText(Product::WebAddress);
    L_Velmora->adjustSize();
    // Placed by its left edge; a host longer than the layout allowed for is moved left rather than cut.
    if (L_Velmora->x() + L_Velmora->width() > ClientWidth - 8)
        L_Velmora->move(ClientWidth - 8 - L_Velmora->width(), L_Velmora->y());
    L_Velmora->setCursor(Qt::PointingHandCursor);
    L_Velmora->installEventFilter(this);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(10, lastRowTop + LineBelowLastRow, 674, 1);
    Shape1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    Shape1->setLineWidth(1);
    Ui::setFrameColour(Shape1, QColor(192, 192, 192)); // silver

    setFixedSize(ClientWidth, lastRowTop + HeightBelowLastRow);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    connect(Timer_Update, &QTimer::timeout, this, &TFTessaroFirmWare::Timer_UpdateTimer);
    Version_Check = new VersionCheck(this);
    connect(Version_Check, &VersionCheck::finished, this, &TFTessaroFirmWare::Version_Checked);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFTessaroFirmWare::applyUpdateTimerRule() {
    if (m_state.EnableInternet && m_state.EnableUpdate) {
        if (!Timer_Update->isActive()) {
            Timer_Update->setInterval(FirstCheckMs);
            Timer_Update->start();
        }
    } else {
        Timer_Update->stop();
    }
}

void TFTessaroFirmWare::Timer_UpdateTimer() {
    Timer_Update->stop();
    // A tick already due when the check was switched off asks nothing.
    if (!m_state.EnableInternet || !m_state.EnableUpdate)
        return;
    Version_Check->start(); // in the background; Version_Checked takes the answer and re-arms the timer
}

void TFTessaroFirmWare::Version_Checked(bool newer) {
    m_newerVersion = newer;
    showUpdateNotice();
    if (m_state.EnableInternet && m_state.EnableUpdate) {
        Timer_Update->setInterval(CheckEveryMs);
        Timer_Update->start();
    }
}

void TFTessaroFirmWare::showUpdateNotice() {
    if (m_newerVersion)
        LL_Update->setText(Versions::downloadLink(m_state.Text(OptionsTexts::MainNewVersion)));
    LL_Update->setVisible(m_newerVersion);
}

void TFTessaroFirmWare::LL_UpdateLinkClick(const QString& link) {
    QDesktopServices::openUrl(QUrl(link));
}

void TFTessaroFirmWare::Set_Lang() {
    L_Begin->setText(m_state.Text(Begin));
    for (int i = 0; i < 5; ++i)
        L_Step[i]->setText(m_state.Text(FirstStep + i));
    const std::span<const Step> table = steps();
    for (size_t i = 0; i < table.size(); ++i) {
        if (LbButton* b = m_buttons[i]) {
            if (table[i].caption >= 0)
                b->setText(m_state.Text(table[i].caption));
            b->setToolTip(m_state.Text(table[i].hint));
        }
    }
    for (QLabel* l : {L_Begin, L_Step[0], L_Step[1], L_Step[2], L_Step[3], L_Step[4]})
        l->adjustSize();
    showUpdateNotice();
    showConfigurationLabels();
}

void TFTessaroFirmWare::showConfigurationLabels() {
    if (m_state.ActiveConfigPath.isEmpty()) {
        L_Name_Conf->setText(m_state.Text(NoConfiguration));
        L_Name_Conf_L2->setText(m_state.Text(UseStepOne));
    } else {
        L_Name_Conf->setText(m_state.Text(OpenedConfiguration));
        L_Name_Conf_L2->setText(m_state.ActiveConfigName);
    }
    // The two lines stay inside their frame whatever their length.
    const int room = Shape2->x() + Shape2->width() - L_Name_Conf->x() - 4;
    for (QLabel* l : {L_Name_Conf, L_Name_Conf_L2}) {
        l->adjustSize();
        if (l->width() > room)
            l->resize(room, l->height());
    }
}

void TFTessaroFirmWare::Change_Language() {
    Set_Lang();
    const std::span<const Step> table = steps();
    for (size_t i = 0; i < table.size(); ++i) {
        if (m_dialogs[i] && table[i].does.dialog.setLang)
            table[i].does.dialog.setLang(*m_dialogs[i]);
    }
}

void TFTessaroFirmWare::Save_Setting() {
    Settings::Save_Setting(m_state);
}

void TFTessaroFirmWare::afterNew() {
    // The dialog made the new configuration the active one.
    showConfigurationLabels();
}

void TFTessaroFirmWare::afterOpen() {
    const QString chosen = dialog<TFOpenConf>().Name_Conf;
    if (chosen.isEmpty())
        Configurations::deactivate(m_state);
    else
        Configurations::activate(m_state, chosen);
    showConfigurationLabels();
}

void TFTessaroFirmWare::afterOptions() {
    Save_Setting();
    applyUpdateTimerRule();
}

void TFTessaroFirmWare::closeWindow() {
    close();
}

void TFTessaroFirmWare::Update_Device() {
    if (!::Update_Device(m_state))
        return; // text 30 or the general error has been shown; no update over images not written
    TFBoot& boot = dialog<TFBoot>();
    boot.Form_Type = 1; // update over the network, set before every showing
    showModal(boot);
}

void TFTessaroFirmWare::L_VelmoraClick() {
    QDesktopServices::openUrl(Product::homePageUrl());
}

void TFTessaroFirmWare::Btn_Click(QObject* Sender) {
    const auto found = std::find(m_buttons.begin(), m_buttons.end(), Sender);
    if (!Sender || found == m_buttons.end())
        return;
    const Step& step = steps()[size_t(found - m_buttons.begin())];
    try {
        if (step.needs == Needs::Configuration && m_state.ActiveConfigPath.isEmpty()) {
            Messages::error(m_state.Text(ProjectNotValid));
            return;
        }
        if (step.does.run)
            step.does.run(*this);
    } catch (const FileError& e) {
        Messages::generalError(e.message());
    } catch (const std::exception& e) {
        Messages::generalError(QString::fromUtf8(e.what()));
    }
}

void TFTessaroFirmWare::FormClose() {
    try {
        Save_Setting();
    } catch (const FileError& e) {
        Messages::generalError(e.message());
    }
}

void TFTessaroFirmWare::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

bool TFTessaroFirmWare::eventFilter(QObject* watched, QEvent* event) {
    if (watched == L_Velmora && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        L_VelmoraClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
