// SPDX-License-Identifier: MIT
#pragma once

#include "EchoClient.h"
#include "ReachabilityCheck.h"

#include <QDialog>
#include <memory>

struct AppState;
class LbButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// Text indices of the update dialog's messages.
namespace BootTexts {
inline constexpr int DeviceNotFound = 1036; // "Device Not Found!"
inline constexpr int CheckAddress = 1037;   // "Error!!! Check the Ip Address"
} // namespace BootTexts

// "Update Device by Ethernet (UDP)": the last step of an update. The user types the converter's
// address and picks what to load; the update button checks that the address answers echo requests,
// remembers the choices, writes the update script and runs the maker's updater.
class TFBoot : public QDialog {
    Q_OBJECT
public:
    explicit TFBoot(AppState& state, QWidget* parent = nullptr);
    ~TFBoot() override;

    // The variant; the main window sets 1 (update over the network) before every showing.
    int Form_Type = 0;

    void Set_Lang();
    // Prepares the controls; runs on every showing.
    void FormShow();
    // The reachability check of the four edits' address (see ReachabilityCheck).
    bool Send_Ping();
    int ping_res() const { return m_check.ping_res; }
    void Btn_UpdateClick();
    // Writes the update script from the edits, the option and the read-back box. Throws FileError.
    void Compile_XML_Parameter_New_Boot();

    // The four edits' texts joined with ".".
    QString addressText() const;

    // Replaces the ICMP echo client (tests hand in a fake); the check keeps its clock.
    void setEchoClient(std::unique_ptr<EchoClient> client);
    ReachabilityCheck& reachability() { return m_check; }

    // True while the check or the updater runs: the window then paints but takes no input.
    bool isBusy() const { return m_busy; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Busy;
    friend class Busy;

    void FormCreate();
    // Runs the hand-off after a successful check; returns the general error to show, if any.
    QString handOff();

    AppState& m_state;
    // The client behind a forwarding reference, so a replacement reaches the check.
    class ClientSlot : public EchoClient {
    public:
        std::unique_ptr<EchoClient> client;
        EchoResult echo(const QString& address) override { return client->echo(address); }
    } m_client;
    ReachabilityCheck m_check;
    bool m_busy = false;

    QWidget* P_Title;
    QWidget* P_IP_Address;
    QWidget* P_Options;
    QWidget* P_Button;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* L_IP_Address;
    QLineEdit* E_IP[4];
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;
    LbButton* Btn_Cancel;
    LbButton* Btn_Update;
};
