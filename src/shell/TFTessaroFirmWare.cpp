// SPDX-License-Identifier: MIT
#include "TFTessaroFirmWare.h"

#include "app/Configurations.h"
#include "app/Product.h"
#include "app/Settings.h"
#include "TFNew_Project.h"
#include "TFOpenConf.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/Ui.h"
#include "image/UpdateDevice.h"
#include "options/TFAbout.h"
#include "params/TFParGen.h"

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

namespace {

constexpr int ClientWidth = 694;
constexpr int StepLabelDrop = 16;    // a step label's top below its row's top
constexpr int LineBelowLastRow = 51; // Shape1 below Btn_CreateBin
constexpr int HeightBelowLastRow = 152;
constexpr int FirstCheckMs = 60000;
constexpr int CheckEveryMs = 7200000;

// Caption and hint indices of the six workflow buttons.
struct ButtonRow {
    const char* name;
    int left, top;
    Ui::Glyph glyph;
    int caption, hint;
};
constexpr ButtonRow ButtonRows[] = {
    {"Btn_New", 80, 112, Ui::Glyph::New, 15, 22},
    {"Btn_Open", 258, 112, Ui::Glyph::Open, 16, 23},
    {"Btn_Prm_Gen", 80, 156, Ui::Glyph::Settings, 20, 24},
    {"Btn_LoRaWAN_Access", 80, 200, Ui::Glyph::Rules, 21, 25},
    {"Btn_OPC_UA_Server_Access", 80, 244, Ui::Glyph::Variables, 76, 77},
    {"Btn_CreateBin", 80, 288, Ui::Glyph::Update, 17, 26},
};
constexpr QSize ButtonSize(170, 36);

struct IconButton {
    const char* name;
    int left;
    Ui::Glyph glyph;
    int hint;
};
constexpr IconButton IconButtons[] = {
    {"Btn_Info", 516, Ui::Glyph::Info, 12},
    {"Btn_Opz", 574, Ui::Glyph::Options, 13},
    {"Btn_Close", 632, Ui::Glyph::Close, 14},
};

constexpr int StepRowTops[5] = {112, 156, 200, 244, 288};

QLabel* label(QWidget* parent, const char* name, int left, int top, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    Ui::setTextColour(l, Ui::greyText());
    l->move(left, top);
    return l;
}

} // namespace

TFTessaroFirmWare::TFTessaroFirmWare(const QString& programFolder, QWidget* parent)
    : QWidget(parent) {
    FormCreate(programFolder);

    // The other windows, once, in the order of start-up; each reads the catalogue built above.
    FNew_Project = new TFNew_Project(state, this);
    FOpenConf = new TFOpenConf(state, this);
    FAbout = new TFAbout(this);
    FParGen = new TFParGen(state, this);
    joinLanguageChange(LangWindow::New_Project, [this] { FNew_Project->Set_Lang(); });
    joinLanguageChange(LangWindow::OpenConf, [this] { FOpenConf->Set_Lang(); });
    joinLanguageChange(LangWindow::ParGen, [this] { FParGen->Set_Lang(); });
    steps.Prm_Gen = [this] { FParGen->Show_Modal(); };
    steps.CreateBin = [this] { Update_Device(); };

    Btn_New->setFocus();
}

TFTessaroFirmWare::~TFTessaroFirmWare() = default;

void TFTessaroFirmWare::FormCreate(const QString& programFolder) {
    layOut();

    state.setProgramFolder(programFolder);
    for (const QString& folder : {state.MasterFolder, state.ProjectsFolder, state.LanguageFolder}) {
        if (!QFileInfo(folder).isDir())
            QDir().mkdir(folder); // a failure shows where the folder is used
    }

    state.ActiveConfigName.clear();
    state.ReadBack = true;
    Settings::Read_Setting(state);

    applyUpdateTimerRule();

    setWindowTitle(Product::WindowCaption);
    L_SW_Code->setText(Product::Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(Product::Description);
    L_SW_Desc->adjustSize();

    state.catalogue.Load_Language(state.LanguageFolder, state.LanguageName);

    // A name that is no plain folder name (edited by hand to "../x") is not followed out of PROJECTS.
    const QString remembered = state.ProjectsFolder + QLatin1Char('/') + state.ActiveConfigName;
    if (Configurations::isFolderName(state.ActiveConfigName) && QFileInfo(remembered).isDir())
        state.ActiveConfigPath = remembered;
    else
        state.ActiveConfigPath.clear(); // the name stays, so the settings file keeps it

    Set_Lang();
    Set_Files();
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

    LbButton** iconTargets[] = {&Btn_Info, &Btn_Opz, &Btn_Close};
    for (int i = 0; i < 3; ++i) {
        const IconButton& row = IconButtons[i];
        auto* b = new LbButton(Ui::icon(row.glyph, 32), this);
        b->setObjectName(QLatin1String(row.name));
        b->setGeometry(row.left, 8, 50, 50);
        b->setIconSize(QSize(32, 32));
        b->setStyleSheet(b->styleSheet() + QStringLiteral("QPushButton { padding-left: 0px; }"));
        *iconTargets[i] = b;
    }

    LL_Update = new QLabel(this);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setGeometry(208, 19, 294, 17);
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->hide();

    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(80, 70, 348, 36);
    Shape2->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid silver; background: transparent; }"));

    L_Begin = label(this, "L_Begin", 16, 84, Ui::boldFont());
    L_Name_Conf = label(this, "L_Name_Conf", 87, 75, Ui::baseFont());
    L_Name_Conf_L2 = label(this, "L_Name_Conf_L2", 87, 88, Ui::baseFont());

    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "L_Step_" + QByteArray::number(i + 1);
        L_Step[i] = label(this, name.constData(), 16, StepRowTops[i] + StepLabelDrop, Ui::boldFont());
    }

    LbButton** buttonTargets[] = {
        &Btn_New, &Btn_Open, &Btn_Prm_Gen, &Btn_LoRaWAN_Access, &Btn_OPC_UA_Server_Access, &Btn_CreateBin};
    for (int i = 0; i < 6; ++i) {
        const ButtonRow& row = ButtonRows[i];
        auto* b = new LbButton(Ui::icon(row.glyph, 24), this);
        b->setObjectName(QLatin1String(row.name));
        b->setGeometry(QRect(QPoint(row.left, row.top), ButtonSize));
        b->setIconSize(QSize(24, 24));
        *buttonTargets[i] = b;
    }

    for (LbButton* b : findChildren<LbButton*>())
        connect(b, &QPushButton::clicked, this, [this, b] { Btn_Click(b); });

    const int lastRowTop = Btn_CreateBin->y();
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
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { background: silver; border: none; }"));

    setFixedSize(ClientWidth, lastRowTop + HeightBelowLastRow);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    connect(Timer_Update, &QTimer::timeout, this, &TFTessaroFirmWare::Timer_UpdateTimer);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFTessaroFirmWare::applyUpdateTimerRule() {
    if (state.EnableInternet && state.EnableUpdate) {
        if (!Timer_Update->isActive()) {
            Timer_Update->setInterval(FirstCheckMs);
            Timer_Update->start();
        }
    } else {
        Timer_Update->stop();
    }
}

void TFTessaroFirmWare::Timer_UpdateTimer() {
    Timer_Update->setInterval(CheckEveryMs);
    // The version check joins here.
}

void TFTessaroFirmWare::Set_Lang() {
    L_Begin->setText(state.Text(0));
    for (int i = 0; i < 5; ++i)
        L_Step[i]->setText(state.Text(1 + i));
    LbButton* const buttons[] = {Btn_New,      Btn_Open, Btn_Prm_Gen, Btn_LoRaWAN_Access, Btn_OPC_UA_Server_Access,
                                 Btn_CreateBin};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->setText(state.Text(ButtonRows[i].caption));
        buttons[i]->setToolTip(state.Text(ButtonRows[i].hint));
    }
    Btn_Info->setToolTip(state.Text(IconButtons[0].hint));
    Btn_Opz->setToolTip(state.Text(IconButtons[1].hint));
    Btn_Close->setToolTip(state.Text(IconButtons[2].hint));
    for (QLabel* l : {L_Begin, L_Step[0], L_Step[1], L_Step[2], L_Step[3], L_Step[4]})
        l->adjustSize();
    showConfigurationLabels();
}

void TFTessaroFirmWare::showConfigurationLabels() {
    if (state.ActiveConfigPath.isEmpty()) {
        L_Name_Conf->setText(state.Text(9));
        L_Name_Conf_L2->setText(state.Text(10));
    } else {
        L_Name_Conf->setText(state.Text(11));
        L_Name_Conf_L2->setText(state.ActiveConfigName);
    }
    // The two lines stay inside their frame whatever their length.
    const int room = Shape2->x() + Shape2->width() - L_Name_Conf->x() - 4;
    for (QLabel* l : {L_Name_Conf, L_Name_Conf_L2}) {
        l->adjustSize();
        if (l->width() > room)
            l->resize(room, l->height());
    }
}

void TFTessaroFirmWare::joinLanguageChange(LangWindow window, std::function<void()> setLang) {
    m_langWindows[window] = std::move(setLang);
}

void TFTessaroFirmWare::Change_Language() {
    Set_Lang();
    for (const auto& [window, setLang] : m_langWindows) {
        if (setLang)
            setLang();
    }
}

void TFTessaroFirmWare::Set_Files() {
    state.Set_Files();
}

void TFTessaroFirmWare::Save_Setting() {
    Settings::Save_Setting(state);
}

void TFTessaroFirmWare::Create_New_Project() {
    if (FNew_Project->exec() == QDialog::Accepted)
        showConfigurationLabels();
}

void TFTessaroFirmWare::Open_Project() {
    if (FOpenConf->exec() != QDialog::Accepted)
        return;
    if (FOpenConf->Name_Conf.isEmpty())
        Configurations::deactivate(state);
    else
        Configurations::activate(state, FOpenConf->Name_Conf);
    Set_Files();
    showConfigurationLabels();
}

void TFTessaroFirmWare::Update_Device() {
    if (!::Update_Device(state))
        return; // text 30 or the general error has been shown; no update over images not written
    // Both images are written: the update dialog (TFBoot, Form_Type 1) opens here.
}

void TFTessaroFirmWare::L_VelmoraClick() {
    QDesktopServices::openUrl(Product::homePageUrl());
}

void TFTessaroFirmWare::Btn_Click(QObject* Sender) {
    try {
        if (Sender == Btn_New) {
            Create_New_Project();
        } else if (Sender == Btn_Open) {
            Open_Project();
        } else if (Sender == Btn_Close) {
            close();
        } else if (Sender == Btn_Info) {
            FAbout->exec();
        } else if (Sender == Btn_Opz) {
            if (Opz_Dialog && Opz_Dialog()) {
                Save_Setting();
                applyUpdateTimerRule();
            }
        } else if (state.ActiveConfigPath.isEmpty()) {
            Messages::error(state.Text(18));
        } else if (Sender == Btn_Prm_Gen) {
            runStep(steps.Prm_Gen);
        } else if (Sender == Btn_LoRaWAN_Access) {
            runStep(steps.LoRaWAN_Access);
        } else if (Sender == Btn_OPC_UA_Server_Access) {
            runStep(steps.OPC_UA_Server_Access);
        } else if (Sender == Btn_CreateBin) {
            runStep(steps.CreateBin);
        }
    } catch (const FileError& e) {
        Messages::generalError(e.message());
    } catch (const std::exception& e) {
        Messages::generalError(QString::fromLocal8Bit(e.what()));
    }
}

void TFTessaroFirmWare::runStep(const std::function<void()>& step) {
    if (step)
        step();
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
