// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

struct AppState;
class QLabel;
class QLineEdit;
class LbButton;

// Asks for the name of a new configuration, creates its folder and makes it the active one.
class TFNew_Project : public QDialog {
    Q_OBJECT
public:
    TFNew_Project(AppState& state, QWidget* parent = nullptr);

    void Set_Lang();
    // OK and Enter in the name field: create the configuration, or say why not and stay open.
    void Btn_OKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& m_state;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* Label1;
    QLineEdit* E_New_Proj;
    LbButton* Btn_OK;
    LbButton* Btn_Cancel;
};
