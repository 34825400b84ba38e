// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>

struct AppState;
class QLabel;
class QListWidget;
class LbButton;

// Lists the configuration folders and returns the chosen name in Name_Conf; the main window makes it
// the active configuration.
class TFOpenConf : public QDialog {
    Q_OBJECT
public:
    TFOpenConf(AppState& state, QWidget* parent = nullptr);

    void Set_Lang();
    // Fills SL with the configuration folders under PROJECTS.
    void Load_Existing_Configuration();
    // Position of `snc` in SL (ASCII letters compared without case), -1 when absent.
    int Search_Open_Conf(const QString& snc) const;
    void ListBox1Click(int row);

    QStringList SL;
    QString Name_Conf;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    AppState& m_state;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* Label1;
    QListWidget* ListBox1;
    LbButton* Btn_OK;
    LbButton* Btn_Cancel;
};
