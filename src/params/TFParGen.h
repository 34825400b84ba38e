// SPDX-License-Identifier: MIT
#pragma once

#include "params/ParGenSet.h"

#include <QDialog>
#include <QHash>
#include <QList>

class AppState;
class CategoryPanel;
class CategoryPanelGroup;
class LbButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// "Set Communication": the editor of the active configuration's ParGen.xml. Its controls are the only
// copy of the parameter set while it is open; every showing reloads the file.
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
    };

    void FormCreate();
    CategoryPanel* buildPanel(int index); // panel `index` of the panel table
    void placeRow(const Row& row, int y);
    void RePosition_Objects_KV210();
    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_LoRa();
    void RePosition_Object_OPC_UA_Server();
    void RePosition_Object_NTP();
    void setPanelHeight(CategoryPanel* panel, int bottom);
    bool scrollPanelGroup(QEvent* event);
    void keepDotChain(const QList<QLineEdit*>& chain);

    template <class T> T* control(const char* name) const;
    const Row& row(const char* name) const { return m_rows.find(QLatin1String(name)).value(); }

    AppState& m_state;
    QWidget* m_title = nullptr;
    CategoryPanelGroup* m_group = nullptr;
    QWidget* m_buttons = nullptr;
    LbButton* m_ok = nullptr;
    LbButton* m_cancel = nullptr;
    QHash<QString, Row> m_rows;            // by the row's control name (first octet box's prefix)
    QHash<QObject*, QLineEdit*> m_dotNext; // octet box -> next box of its chain (nullptr: last)
    QList<QObject*> m_hexEdits;
};
