// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>

struct AppState;
class LbButton;
class QLabel;
class RuleGrid;
class RuleTable;

// "OPC UA Access": the editor of the active configuration's OPC_UA_Server.xml, the variables the
// converter's OPC UA server publishes. The grid is the only copy of the variables while it is open;
// every showing reloads the file.
class TFOPC_UA_Server_Access : public QDialog {
    Q_OBJECT
public:
    explicit TFOPC_UA_Server_Access(AppState& state, QWidget* parent = nullptr);

    // Loads the file and runs the dialog modally. Returns false, after the general error box, when the
    // file cannot be read: the dialog is then not shown. result() tells OK from Cancel.
    bool Show_Modal();

    // Resets the grid and fills it from OPCUAServerFile(). On a file that cannot be read it shows the
    // general error and returns false. A file with more variables than the grid holds is shown up to
    // the grid's end, with a warning that the rest will be dropped on OK.
    bool FormShow();

    void Set_Lang();

    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    // The items of the drop-down list a data column edits with; empty for free text.
    QStringList ASGGetEditorType(int column) const;
    // A type chosen in the Type list sets the row's Length and lock.
    void ASGComboChange(int row, int column, const QString& text);

    // The data check: false, after the message of the first failing row, when a row is refused.
    bool Controllo_dati();
    void VarSetLength(const QString& type, int row);

    RuleTable* table() const { return m_table; }
    RuleGrid* grid() const { return ASG; }

private:
    void FormCreate();

    AppState& m_state;
    RuleTable* m_table = nullptr;
    RuleGrid* ASG = nullptr;
    QLabel* L_SW_Desc = nullptr;
    LbButton* Btn_OK = nullptr;
    LbButton* Btn_Cancel = nullptr;
    LbButton* Btn_DelRow = nullptr;
    LbButton* Btn_InsRow = nullptr;
    LbButton* Btn_CopyRow = nullptr;
    LbButton* Btn_PasteRow = nullptr;
    bool Do_Copy = false;
};
