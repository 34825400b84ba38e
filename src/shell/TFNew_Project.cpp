// SPDX-License-Identifier: MIT
#include "TFNew_Project.h"

#include "NewProjectTexts.h"
#include "app/AppState.h"
#include "app/Configurations.h"
#include "app/Product.h"
#include "common/FileError.h"
#include "common/LbButton.h"
#include "common/MessageService.h"
#include "common/Ui.h"

#include <QLabel>
#include <QLineEdit>

TFNew_Project::TFNew_Project(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , Label1(new QLabel(this))
    , E_New_Proj(new QLineEdit(this))
    , Btn_OK(new LbButton(Ui::icon(Ui::Glyph::Ok, 16), this))
    , Btn_Cancel(new LbButton(Ui::icon(Ui::Glyph::Cancel, 16), this)) {
    setObjectName(QStringLiteral("FNew_Project"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Ui::styleWindow(this);
    setFixedSize(331, 162);

    const Ui::TitleLabels title = Ui::titleStrip(this, Product::Code, Ui::boldFont(20), 36);
    L_SW_Code = title.code;
    L_SW_Desc = title.desc;

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 64);

    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    E_New_Proj->setGeometry(16, 80, 299, 22);

    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setGeometry(126, 118, 91, 30);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(224, 118, 91, 30);
    // Enter is handled by the field alone, so it never reaches a default button a second time.
    for (LbButton* b : {Btn_OK, Btn_Cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(Btn_OK, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
    connect(E_New_Proj, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    Set_Lang();
}

void TFNew_Project::Set_Lang() {
    using namespace NewProjectTexts;
    setWindowTitle(m_state.Text(Caption));
    L_SW_Desc->setText(m_state.Text(Description));
    L_SW_Desc->adjustSize();
    Label1->setText(m_state.Text(NameLabel));
    Label1->adjustSize();
    Btn_OK->setText(m_state.Text(OkCaption));
    Btn_OK->setToolTip(m_state.Text(OkHint));
    Btn_Cancel->setText(m_state.Text(CancelCaption));
    Btn_Cancel->setToolTip(m_state.Text(CancelHint));
    E_New_Proj->setToolTip(m_state.Text(NameHint));
}

void TFNew_Project::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick() {
    const QString name = E_New_Proj->text();
    try {
        Configurations::createConfiguration(m_state.ProjectsFolder, name, m_state.catalogue);
    } catch (const FileError& e) {
        Messages::error(e.message());
        return;
    }
    Configurations::activate(m_state, name);
    accept();
}
