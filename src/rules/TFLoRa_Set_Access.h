// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>

struct AppState;
class LbButton;
class QTabWidget;
class RuleGrid;
class RuleTable;

// "Set LoRaWAN Access": the editor of the active configuration's uplink and downlink rules
// (LoRaWAN_SetAccess.xml), shaped by the payload size and FPort mode of its ParGen.xml. The grids are
// the only copy of the rules while it is open; every showing reloads both files.
class TFLoRa_Set_Access : public QDialog {
    Q_OBJECT
public:
    explicit TFLoRa_Set_Access(AppState& state, QWidget* parent = nullptr);

    // Loads the files and runs the dialog modally. Returns false, after the general error box, when a
    // file cannot be read: the dialog is then not shown. result() tells OK from Cancel.
    bool Show_Modal();

    // Rebuilds both grids from the two files. On a file that cannot be read it shows the general
    // error and returns false, leaving the files alone.
    bool FormShow();

    void Set_Lang();
    // The data check of both grids: shows the first error and returns false, or returns true.
    bool Controllo_dati();
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();

    // Grid events, for either grid.
    void ClickCell(RuleGrid* grid, int row, int column);
    void DblClickCell(RuleGrid* grid, int row, int column);
    void KeyPress(RuleGrid* grid, QChar& key);
    // The header hint of a data column, by its real index; nothing over any other cell.
    QString GridHint(const RuleGrid* grid, int row, int column) const;

    RuleGrid* ACG_LoRa_Uplink = nullptr;
    RuleGrid* ACG_LoRa_Downlink = nullptr;
    RuleTable* uplinkTable() const { return m_uplink; }
    RuleTable* downlinkTable() const { return m_downlink; }
    // The grid of the active page.
    RuleGrid* activeGrid() const;

    int MaxPayloadSize = 0;
    bool FPortFixed = true;
    bool Do_Copy_Uplink = false;
    bool Do_Copy_Downlink = false;
    QStringList Hint_UpLink;   // header hints of uplink columns 1..9
    QStringList Hint_DownLink; // header hints of downlink columns 1..5

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    RuleGrid* buildGrid(QWidget* page, RuleTable* table, bool uplink);
    RuleTable* tableOf(const RuleGrid* grid) const;

    AppState& m_state;
    RuleTable* m_uplink = nullptr;
    RuleTable* m_downlink = nullptr;
    QWidget* m_title = nullptr;
    QTabWidget* PC_LoRa = nullptr;
    QWidget* m_buttons = nullptr;
};
