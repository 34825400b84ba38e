// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppState.h"

#include <QWidget>
#include <functional>
#include <map>

class QFrame;
class QLabel;
class QTimer;
class LbButton;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFParGen;

// The main window: the five workflow steps, the program-wide state and the settings file.
class TFTessaroFirmWare : public QWidget {
    Q_OBJECT
public:
    // `programFolder` holds Tessaro.xml and the MASTER, PROJECTS and LANGUAGE folders.
    explicit TFTessaroFirmWare(const QString& programFolder, QWidget* parent = nullptr);
    ~TFTessaroFirmWare() override;

    AppState state;

    // What steps 2 to 5 do while a configuration is active. An editor joins by setting its entry;
    // an empty entry does nothing.
    struct StepHandlers {
        std::function<void()> Prm_Gen;
        std::function<void()> LoRaWAN_Access;
        std::function<void()> OPC_UA_Server_Access;
        std::function<void()> CreateBin;
    } steps;

    // The options dialog: shows it modally and returns true when it ended with OK. Empty until that
    // dialog exists; Btn_Opz then does nothing.
    std::function<bool()> Opz_Dialog;

    // The windows whose Set_Lang Change_Language calls, in this order after the main window's own.
    enum class LangWindow { New_Project, OpenConf, SoftOptions, Boot, ParGen, LoRa_Set_Access, OPC_UA_Server_Access };
    void joinLanguageChange(LangWindow window, std::function<void()> setLang);

    void Set_Lang();
    void Change_Language();
    void Set_Files();
    void Save_Setting();
    void Create_New_Project();
    void Open_Project();
    void L_VelmoraClick();
    // Step 5: payload check, both images written into the configuration's bin folder, update dialog.
    void Update_Device();
    // Enables the version-check timer exactly while internet access and the update check are allowed.
    void applyUpdateTimerRule();

    // The single handler of every button.
    void Btn_Click(QObject* Sender);

    TFNew_Project* FNew_Project = nullptr;
    TFOpenConf* FOpenConf = nullptr;
    TFAbout* FAbout = nullptr;
    TFParGen* FParGen = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QString& programFolder);
    void layOut();
    void FormClose();
    void showConfigurationLabels();
    void Timer_UpdateTimer();
    void runStep(const std::function<void()>& step);

    std::map<LangWindow, std::function<void()>> m_langWindows;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    LbButton* Btn_Info;
    LbButton* Btn_Opz;
    LbButton* Btn_Close;
    QLabel* LL_Update;
    QFrame* Shape2;
    QLabel* L_Begin;
    QLabel* L_Name_Conf;
    QLabel* L_Name_Conf_L2;
    QLabel* L_Step[5];
    LbButton* Btn_New;
    LbButton* Btn_Open;
    LbButton* Btn_Prm_Gen;
    LbButton* Btn_LoRaWAN_Access;
    LbButton* Btn_OPC_UA_Server_Access;
    LbButton* Btn_CreateBin;
    QLabel* L_Velmora;
    QFrame* Shape1;
    QTimer* Timer_Update;
};
