// SPDX-License-Identifier: MIT
#pragma once

#include "params/ParGenSet.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <array>
#include <vector>

struct AppState;
class CategoryPanel;
class CategoryPanelGroup;
class LbButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// "Set Communication": the editor of the active configuration's ParGen.xml. Its controls are the only
// copy of the parameter set while it is open; every showing reloads the file. The rules of the set
// (which rows show, the data-rate fallback, the payload size, the fixed Wi-Fi flag) live in ParGenSet;
// the window only applies them.
class TFParGen : public QDialog {
    Q_OBJECT
public:
    explicit TFParGen(AppState& state, QWidget* parent = nullptr);

    // Loads the file and runs the dialog modally. Returns false, after the general error box, when the
    // file cannot be read: the dialog is then not shown. result() tells OK from Cancel.
    bool Show_Modal();

    // Reloads ParGenFile into the controls, lays the panels out and computes the payload size. On a
    // file that cannot be read it shows the general error and returns false, leaving the file alone.
    bool FormShow();

    void Set_Lang();
    void Move_GroupBoxs();
    void Order_TAB_Panels();
    void Change_LoRa_DataRate();
    void Set_Max_Payload_Size();
    void Btn_OKClick();

    // The parameter set the controls show, and the reverse.
    ParGenSet controlsToSet() const;
    void setToControls(const ParGenSet& set);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        QWidget* label = nullptr; // label, or the check box of a check-box row
        QList<QWidget*> controls; // edit, list or the four octet boxes
        QList<QWidget*> dots;     // the "." labels between octet boxes
        ParGen::Field field;      // the field of the row's first control
    };

    enum class ControlKind { Edit, Check, List };

    void FormCreate();
    void buildPanel(int index); // panel `index` of the panel table
    void resolveControls();
    void placeRow(const Row& row, int y);
    void RePosition_Objects_KV210();
    void layOutPanel(int index, const ParGen::FieldSet& visible);
    void fillDataRates(const ParGenSet& set);
    bool scrollPanelGroup(QEvent* event);
    void keepDotChain(std::initializer_list<ParGen::Field> chain);

    QLineEdit* edit(ParGen::Field field) const;
    QComboBox* list(ParGen::Field field) const;
    QCheckBox* check(ParGen::Field field) const;

    AppState& m_state;
    QWidget* m_title = nullptr;
    CategoryPanelGroup* m_group = nullptr;
    QWidget* m_buttons = nullptr;
    LbButton* m_ok = nullptr;
    LbButton* m_cancel = nullptr;

    // Resolved once at construction from the field table's control names.
    std::array<QWidget*, ParGen::FieldCount> m_field{};
    std::array<ControlKind, ParGen::FieldCount> m_kind{};
    std::array<int, ParGen::FieldCount> m_rowOf{}; // index into m_rows of the row holding the field
    std::vector<Row> m_rows;
    std::vector<CategoryPanel*> m_panels;      // in the order of the panel table
    std::vector<std::vector<int>> m_panelRows; // rows of each panel, in order
    struct Texts {
        int caption; // -1: none
        int hint;    // -1: none
    };
    std::vector<std::pair<QWidget*, Texts>> m_texts; // each control with its catalogue texts

    QHash<QObject*, QLineEdit*> m_dotNext; // octet box -> next box of its chain (nullptr: last)
    QList<QObject*> m_hexEdits;
};
