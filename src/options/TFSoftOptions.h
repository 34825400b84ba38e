// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

struct AppState;
class QCheckBox;
class QLabel;
class QTabWidget;
class LbButton;
class VersionCheck;

// The software options: the interface language (switched at once for every window), internet access
// with the version check, and the two options of the rule tables.
class TFSoftOptions : public QDialog {
    Q_OBJECT
public:
    static constexpr int SlotCount = 6; // language slots per page, two columns of three
    static constexpr int FlagSize = 48;

    explicit TFSoftOptions(AppState& state, QWidget* parent = nullptr);
    ~TFSoftOptions() override;

    // Run after a language was chosen and the catalogue rebuilt: the main window's Change_Language,
    // which refreshes every window, this one included. When unset only this dialog is refreshed.
    std::function<void()> Change_Language;
    // Run by OK once the internet flags are stored: the main window's version-check timer rule.
    std::function<void()> Set_Update_Timer;

    void Set_Lang();
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    // Both page buttons.
    void Btn_NextClick(QObject* Sender);
    // A slot's picture or name; `slot` counts from 0 on the page on display.
    void LangClick(int slot);
    void Update_CheckBox();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    void Btn_OKClick();

    // The request behind Btn_Check_Update (tests point it at a local server).
    VersionCheck& versionCheck() { return *m_check; }

    QStringList SL_Languages; // file names with ".lng", sorted without regard to case
    int Show_Page = 1;
    QString Language_In_Use;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class CheckResult { None, Newer, NoUpdate };

    void FormShow();
    void CB_En_ConClick();
    void Check_Finished(bool newer);
    void showCheckResult();
    // The selected-language line and the page line.
    void showLangLines(int Num_Page);
    void setBusy(bool busy);
    int pageCount() const;

    AppState& m_state;
    VersionCheck* m_check;
    CheckResult m_checkResult = CheckResult::None;
    bool m_busy = false;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QTabWidget* PC_Options;
    QWidget* TS_Language;
    QWidget* TS_Con_Options;
    QWidget* TS_Soft_Settings;
    QLabel* L_Sel_Lang;
    QLabel* L_Page_Lang;
    QLabel* I_L[SlotCount];
    QLabel* L_L[SlotCount];
    LbButton* Btn_Prev;
    LbButton* Btn_Next;
    QCheckBox* CB_En_Con;
    QCheckBox* CB_Update;
    LbButton* Btn_Check_Update;
    QLabel* LL_Check_Update;
    QCheckBox* CB_Soft_Set_Jump_Table;
    QCheckBox* CB_DoubleClick_Auto_Size;
    LbButton* Btn_OK;
    LbButton* Btn_Cancel;
};
