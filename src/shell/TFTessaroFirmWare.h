// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppState.h"
#include "common/Ui.h"

#include <QDialog>
#include <QRect>
#include <QWidget>
#include <functional>
#include <span>
#include <vector>

class QFrame;
class QLabel;
class QTimer;
class LbButton;
class VersionCheck;

// The main window: the workflow steps, the program-wide state and the settings file. Every button is
// one row of a table of steps (see the .cpp); the dialogs the steps open are created on first use.
class TFTessaroFirmWare : public QWidget {
    Q_OBJECT
public:
    // `programFolder` holds Tessaro.xml and the MASTER, PROJECTS and LANGUAGE folders.
    explicit TFTessaroFirmWare(const QString& programFolder, QWidget* parent = nullptr);
    ~TFTessaroFirmWare() override;

    // The program-wide state every dialog shares.
    AppState& state() { return m_state; }
    const AppState& state() const { return m_state; }

    // Re-reads the main window's texts from the catalogue.
    void Set_Lang();
    // Set_Lang of the main window, then of every dialog created so far, in the order of the steps. A
    // dialog not created yet reads the current texts when it is created.
    void Change_Language();
    // Writes Tessaro.xml; throws FileError when it cannot.
    void Save_Setting();

    // The single handler of every button.
    void Btn_Click(QObject* Sender);

    // Enables the version-check timer exactly while internet access and the update check are allowed.
    void applyUpdateTimerRule();
    // The version-check timer's tick: asks the version service; the answer shows or hides LL_Update.
    void Timer_UpdateTimer();
    void LL_UpdateLinkClick(const QString& link);
    // The request behind the timer (tests point it at a local server).
    VersionCheck& versionCheck() { return *Version_Check; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A dialog type as the step table knows it: how to build one over the program-wide state and how
    // to refresh its texts. Built by dialogOf<D>().
    struct DialogKind {
        const QMetaObject* type = nullptr;
        QDialog* (*create)(TFTessaroFirmWare& owner) = nullptr;
        void (*setLang)(QDialog& dialog) = nullptr;
    };

    // What a step does: its dialog (none for a plain action) and the action run by a click.
    struct Does {
        DialogKind dialog;
        std::function<void(TFTessaroFirmWare&)> run; // empty: the step does nothing yet
    };

    // Where a button stands and how large its icon is drawn.
    struct Place {
        QRect rect;
        int iconSize;
    };

    enum class Needs { Nothing, Configuration };

    struct Step {
        const char* button; // objectName of the button; nullptr for a dialog that another step opens
        Place place;
        Ui::Glyph glyph;
        int caption; // text index of the caption; -1 for an icon button
        int hint;    // text index of the hint
        Needs needs; // Configuration: refused with text 18 while none is active
        Does does;
    };

    static std::span<const Step> steps();

    // Step-table helpers: the row's "does" column.
    template <class D> static DialogKind dialogOf();
    template <class D> static Does opens(void (TFTessaroFirmWare::*onAccepted)() = nullptr);
    static Does runs(void (TFTessaroFirmWare::*action)());
    static Does nothingYet() { return {}; }
    template <class D> static int showModal(D& dialog);

    // The dialog of type D, created on first use and kept.
    template <class D> D& dialog();
    QDialog& dialogAt(size_t step);

    void FormCreate(const QString& programFolder);
    void layOut();
    void FormClose();
    void showConfigurationLabels();
    void Version_Checked(bool newer);
    void showUpdateNotice();

    // Step actions. afterOptions is what OK of the options dialog leads to: Save_Setting, then the
    // version-check timer rule.
    void afterNew();
    void afterOpen();
    void afterOptions();
    void closeWindow();
    void L_VelmoraClick();
    // Step 5: payload check, both images written into the configuration's bin folder, update dialog.
    void Update_Device();

    AppState m_state;
    std::vector<QDialog*> m_dialogs;  // by step; nullptr until first use
    std::vector<LbButton*> m_buttons; // by step; nullptr for a step without a button

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* LL_Update = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* L_Begin = nullptr;
    QLabel* L_Name_Conf = nullptr;
    QLabel* L_Name_Conf_L2 = nullptr;
    QLabel* L_Step[5] = {};
    QLabel* L_Velmora = nullptr;
    QFrame* Shape1 = nullptr;
    QTimer* Timer_Update = nullptr;
    VersionCheck* Version_Check = nullptr;
    bool m_newerVersion = false; // the last check found one: LL_Update shows text 19
};
