// SPDX-License-Identifier: MIT
#include "TFSoftOptions.h"

#include "OptionsTexts.h"
#include "VersionCheck.h"
#include "app/AppState.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/ReadFile.h"
#include "common/Ui.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTabWidget>
#include <algorithm>

namespace {

using namespace OptionsTexts;

constexpr int ClientWidth = 509;
constexpr int ClientHeight = 373;
constexpr QRect PageControl(8, 60, 493, 262);
constexpr QRect OkButton(310, 332, 91, 30);
constexpr QRect CancelButton(410, 332, 91, 30);

// The language page: slots 1 to 3 down the left column, 4 to 6 down the right one.
constexpr int SlotColumns[2] = {12, 250};
constexpr int SlotRows[3] = {32, 88, 144};
constexpr int NameGap = 8; // between a flag and its name
constexpr int NameWidth = 174;
constexpr QPoint SelectedLanguageAt(12, 10);
constexpr QRect PrevButton(12, 200, 91, 26);
constexpr QRect NextButton(386, 200, 91, 26);
constexpr QRect PageLine(111, 200, 267, 26);

// A flag picture far larger than this is no flag; it is not read.
constexpr qint64 MaxFlagBytes = 4 * 1024 * 1024;

const QString LanguageSuffix = QStringLiteral(".lng");

struct CheckBoxRow {
    const char* name;
    int page; // 1: Connection Options, 2: Software Settings
    QRect geometry;
    int text;
};
constexpr CheckBoxRow CheckBoxRows[] = {
    {"CB_En_Con", 1, QRect(16, 16, 460, 20), EnableInternet},
    {"CB_Update", 1, QRect(40, 42, 436, 20), CheckAtStart}, // indented under CB_En_Con
    {"CB_Soft_Set_Jump_Table", 2, QRect(16, 16, 460, 20), JumpInTables},
    {"CB_DoubleClick_Auto_Size", 2, QRect(16, 42, 460, 20), AutoSizeColumns},
};
constexpr QRect CheckUpdateButton(16, 78, 200, 30);
constexpr QRect CheckUpdateLink(16, 120, 460, 20);

// A picture that is not a regular file, too large, or not an image counts as missing.
QPixmap loadFlag(const QString& path) {
    std::optional<QByteArray> bytes;
    try {
        bytes = Files::readRegularFileIfExists(path, MaxFlagBytes);
    } catch (const FileError&) {
        return {};
    }
    QImage image;
    if (!bytes || !image.loadFromData(*bytes))
        return {};
    return QPixmap::fromImage(image.scaled(TFSoftOptions::FlagSize, TFSoftOptions::FlagSize, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation));
}

// Offered are regular files named "*.lng", hidden ones too, whose owner may write them. The read-only
// test reads the permission bits, since the program may run with rights that ignore them.
bool offered(const QFileInfo& file) {
    return file.isFile() && file.fileName().endsWith(LanguageSuffix) && file.permissions().testFlag(QFile::WriteOwner);
}

} // namespace

TFSoftOptions::TFSoftOptions(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_check(new VersionCheck(this)) {
    setObjectName(QStringLiteral("FSoftOptions"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Ui::styleWindow(this);
    setFixedSize(ClientWidth, ClientHeight);

    const Ui::TitleLabels title = Ui::titleStrip(this, Product::Code, Ui::boldFont(20), 36);
    L_SW_Code = title.code;
    L_SW_Desc = title.desc;

    PC_Options = new QTabWidget(this);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    PC_Options->setGeometry(PageControl);
    QWidget** pages[] = {&TS_Language, &TS_Con_Options, &TS_Soft_Settings};
    const char* pageNames[] = {"TS_Language", "TS_Con_Options", "TS_Soft_Settings"};
    for (int i = 0; i < 3; ++i) {
        *pages[i] = new QWidget;
        (*pages[i])->setObjectName(QLatin1String(pageNames[i]));
        PC_Options->addTab(*pages[i], QString());
    }

    // Language page.
    L_Sel_Lang = new QLabel(TS_Language);
    L_Sel_Lang->setObjectName(QStringLiteral("L_Sel_Lang"));
    L_Sel_Lang->move(SelectedLanguageAt);
    L_Sel_Lang->setFont(Ui::boldFont());
    L_Sel_Lang->setMaximumWidth(PageControl.width() - 2 * SelectedLanguageAt.x());
    for (int k = 0; k < SlotCount; ++k) {
        const QPoint at(SlotColumns[k / 3], SlotRows[k % 3]);
        I_L[k] = new QLabel(TS_Language);
        I_L[k]->setObjectName(QStringLiteral("I_L%1").arg(k + 1));
        I_L[k]->setGeometry(QRect(at, QSize(FlagSize, FlagSize)));
        I_L[k]->setScaledContents(true);
        L_L[k] = new QLabel(TS_Language);
        L_L[k]->setObjectName(QStringLiteral("L_L%1").arg(k + 1));
        L_L[k]->setGeometry(at.x() + FlagSize + NameGap, at.y(), NameWidth, FlagSize);
        L_L[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (QLabel* l : {I_L[k], L_L[k]}) {
            l->setCursor(Qt::PointingHandCursor);
            l->installEventFilter(this);
        }
    }
    Btn_Prev = new LbButton(TS_Language);
    Btn_Prev->setObjectName(QStringLiteral("Btn_Prev"));
    Btn_Prev->setGeometry(PrevButton);
    Btn_Next = new LbButton(TS_Language);
    Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
    Btn_Next->setGeometry(NextButton);
    L_Page_Lang = new QLabel(TS_Language);
    L_Page_Lang->setObjectName(QStringLiteral("L_Page_Lang"));
    L_Page_Lang->setGeometry(PageLine);
    L_Page_Lang->setAlignment(Qt::AlignCenter);
    for (LbButton* b : {Btn_Prev, Btn_Next})
        connect(b, &QPushButton::clicked, this, [this, b] { Btn_NextClick(b); });

    // Connection Options and Software Settings pages.
    QCheckBox** boxes[] = {&CB_En_Con, &CB_Update, &CB_Soft_Set_Jump_Table, &CB_DoubleClick_Auto_Size};
    for (int i = 0; i < 4; ++i) {
        const CheckBoxRow& row = CheckBoxRows[i];
        auto* box = new QCheckBox(row.page == 1 ? TS_Con_Options : TS_Soft_Settings);
        box->setObjectName(QLatin1String(row.name));
        box->setGeometry(row.geometry);
        connect(box, &QCheckBox::toggled, this, &TFSoftOptions::CB_En_ConClick);
        *boxes[i] = box;
    }
    Btn_Check_Update = new LbButton(Ui::icon(Ui::Glyph::Update, 20), TS_Con_Options);
    Btn_Check_Update->setObjectName(QStringLiteral("Btn_Check_Update"));
    Btn_Check_Update->setGeometry(CheckUpdateButton);
    Btn_Check_Update->setIconSize(QSize(20, 20));
    connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setObjectName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->setGeometry(CheckUpdateLink);
    LL_Check_Update->setTextFormat(Qt::RichText);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LL_Check_Update->hide();
    connect(LL_Check_Update, &QLabel::linkActivated, this, &TFSoftOptions::LL_Check_UpdateLinkClick);
    connect(m_check, &VersionCheck::finished, this, &TFSoftOptions::Check_Finished);

    // Button strip.
    Btn_OK = new LbButton(Ui::icon(Ui::Glyph::Ok, 16), this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setGeometry(OkButton);
    Btn_Cancel = new LbButton(Ui::icon(Ui::Glyph::Cancel, 16), this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(CancelButton);
    connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    Set_Lang();
}

TFSoftOptions::~TFSoftOptions() {
    setBusy(false);
}

void TFSoftOptions::Set_Lang() {
    const AppState& s = m_state;
    setWindowTitle(s.Text(Caption));
    L_SW_Desc->setText(s.Text(Subtitle));
    L_SW_Desc->adjustSize();
    PC_Options->setTabText(0, s.Text(TabLanguage));
    PC_Options->setTabText(1, s.Text(TabConnection));
    PC_Options->setTabText(2, s.Text(TabSettings));
    Btn_Prev->setText(s.Text(Previous));
    Btn_Next->setText(s.Text(Next));
    QCheckBox* const boxes[] = {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size};
    for (int i = 0; i < 4; ++i)
        boxes[i]->setText(s.Text(CheckBoxRows[i].text));
    Btn_Check_Update->setText(s.Text(CheckNow));
    Btn_OK->setText(s.Text(Ok));
    Btn_Cancel->setText(s.Text(Cancel));
    showLangLines(Show_Page);
    showCheckResult();
}

void TFSoftOptions::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFSoftOptions::FormShow() {
    Language_In_Use = m_state.LanguageName;
    Create_Lang_List();
    m_checkResult = CheckResult::None;
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(m_state.EnableInternet);
    CB_Update->setChecked(m_state.EnableUpdate);
    CB_Soft_Set_Jump_Table->setChecked(m_state.EnableJumpFieldTables);
    CB_DoubleClick_Auto_Size->setChecked(m_state.DoubleClickAutoSize);
    Update_CheckBox();
}

int TFSoftOptions::pageCount() const {
    return int((SL_Languages.size() + SlotCount - 1) / SlotCount);
}

void TFSoftOptions::Create_Lang_List() {
    SL_Languages.clear();
    const QFileInfoList entries = QDir(m_state.LanguageFolder)
                                      .entryInfoList({QStringLiteral("*") + LanguageSuffix},
                                                     QDir::Files | QDir::Hidden | QDir::CaseSensitive, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (offered(entry))
            SL_Languages << entry.fileName();
    }
    std::sort(SL_Languages.begin(), SL_Languages.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Update_Lang_Page(int Num_Page) {
    const int pages = pageCount();
    showLangLines(Num_Page);
    Btn_Prev->setVisible(Num_Page > 1);
    // Also hidden when there is no page at all: there is nowhere to go.
    Btn_Next->setVisible(Num_Page < pages);

    for (int k = 0; k < SlotCount; ++k) {
        const qsizetype entry = qsizetype(Num_Page - 1) * SlotCount + k;
        if (entry < 0 || entry >= SL_Languages.size()) {
            I_L[k]->hide();
            L_L[k]->hide();
            continue;
        }
        const QString name = SL_Languages[entry].chopped(LanguageSuffix.size());
        L_L[k]->setText(name);
        L_L[k]->setToolTip(name); // a long name is cut at the slot's edge
        L_L[k]->show();
        QPixmap flag = loadFlag(m_state.LanguageFolder + QLatin1Char('/') + name + QStringLiteral(".bmp"));
        if (flag.isNull())
            flag = loadFlag(m_state.LanguageFolder + QStringLiteral("/DefaultFlag.bmp"));
        I_L[k]->setPixmap(flag);
        I_L[k]->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::showLangLines(int Num_Page) {
    L_Sel_Lang->setText(m_state.Text(SelectedLanguage) + Language_In_Use);
    L_Sel_Lang->adjustSize();
    L_Page_Lang->setText(m_state.Text(Page) + QString::number(Num_Page) + m_state.Text(PageOf) +
                         QString::number(pageCount()));
}

void TFSoftOptions::Btn_NextClick(QObject* Sender) {
    if (Sender == Btn_Next && pageCount() >= Show_Page + 1)
        ++Show_Page;
    else if (Sender == Btn_Prev && Show_Page >= 2)
        --Show_Page;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int slot) {
    const qsizetype entry = qsizetype(Show_Page) * SlotCount - SlotCount + slot;
    if (slot < 0 || slot >= SlotCount || entry >= SL_Languages.size())
        return;
    const QString chosen = SL_Languages[entry].chopped(LanguageSuffix.size());
    const AppState& s = m_state;
    if (!Messages::question(s.Text(AskChangeFrom) + Language_In_Use + s.Text(AskChangeTo) + chosen +
                            s.Text(AskChangeEnd)))
        return;
    Language_In_Use = chosen;

    // The texts change now; the stored language changes only through OK.
    const QString kept = m_state.LanguageName;
    m_state.LanguageName = chosen;
    try {
        m_state.catalogue.Load_Language(m_state.LanguageFolder, m_state.LanguageName);
    } catch (const FileError& e) {
        Messages::generalError(e.message()); // the default English texts stand in
    }
    m_state.LanguageName = kept;

    if (Change_Language)
        Change_Language();
    else
        Set_Lang();
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::CB_En_ConClick() {
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox() {
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked() && !m_check->isRunning());
}

void TFSoftOptions::Btn_Check_UpdateClick() {
    if (m_check->isRunning())
        return;
    m_checkResult = CheckResult::None;
    LL_Check_Update->hide();
    m_check->start();
    setBusy(true);
    Update_CheckBox();
}

void TFSoftOptions::Check_Finished(bool newer) {
    setBusy(false);
    Update_CheckBox();
    m_checkResult = newer ? CheckResult::Newer : CheckResult::NoUpdate;
    showCheckResult();
}

void TFSoftOptions::showCheckResult() {
    switch (m_checkResult) {
    case CheckResult::None:
        LL_Check_Update->hide();
        return;
    case CheckResult::Newer:
        LL_Check_Update->setText(Versions::downloadLink(m_state.Text(NewVersion)));
        break;
    case CheckResult::NoUpdate:
        LL_Check_Update->setText(m_state.Text(NoUpdate).toHtmlEscaped());
        break;
    }
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link) {
    QDesktopServices::openUrl(QUrl(link));
}

void TFSoftOptions::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void TFSoftOptions::Btn_OKClick() {
    m_state.LanguageName = Language_In_Use;
    m_state.EnableInternet = CB_En_Con->isChecked();
    m_state.EnableUpdate = CB_Update->isChecked();
    if (Set_Update_Timer)
        Set_Update_Timer();
    m_state.EnableJumpFieldTables = CB_Soft_Set_Jump_Table->isChecked();
    m_state.DoubleClickAutoSize = CB_DoubleClick_Auto_Size->isChecked();
    accept();
}

void TFSoftOptions::done(int result) {
    // A check still running when the dialog closes is dropped; its answer would belong to no showing.
    m_check->cancel();
    setBusy(false);
    Update_CheckBox();
    QDialog::done(result);
}

bool TFSoftOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < SlotCount; ++k) {
            if (watched == I_L[k] || watched == L_L[k]) {
                LangClick(k);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
