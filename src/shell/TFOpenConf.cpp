// SPDX-License-Identifier: MIT
#include "TFOpenConf.h"

#include "OpenConfTexts.h"
#include "app/AppState.h"
#include "app/Configurations.h"
#include "app/Product.h"
#include "common/LbButton.h"
#include "common/Ui.h"

#include <QLabel>
#include <QListWidget>

namespace {
constexpr int ListTop = 80;
constexpr int Margin = 16;
constexpr int ButtonWidth = 91;
constexpr int ButtonHeight = 30;
constexpr int ButtonGap = 8;
constexpr int BottomStrip = 50; // room under the list for the buttons
} // namespace

TFOpenConf::TFOpenConf(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , Label1(new QLabel(this))
    , ListBox1(new QListWidget(this))
    , Btn_OK(new LbButton(Ui::icon(Ui::Glyph::Ok, 16), this))
    , Btn_Cancel(new LbButton(Ui::icon(Ui::Glyph::Cancel, 16), this)) {
    setObjectName(QStringLiteral("FOpenConf"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Ui::styleWindow(this);
    setMinimumSize(260, 200);

    const Ui::TitleLabels title = Ui::titleStrip(this, Product::Code, Ui::boldFont(20), 36);
    L_SW_Code = title.code;
    L_SW_Desc = title.desc;

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(Margin, 64);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_OK->setDefault(true);

    connect(ListBox1, &QListWidget::currentRowChanged, this, &TFOpenConf::ListBox1Click);
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(377, 351);
    Set_Lang();
}

void TFOpenConf::Set_Lang() {
    using namespace OpenConfTexts;
    setWindowTitle(m_state.Text(Caption));
    L_SW_Desc->setText(m_state.Text(Description));
    L_SW_Desc->adjustSize();
    Label1->setText(m_state.Text(ListLabel));
    Label1->adjustSize();
    Btn_OK->setText(m_state.Text(OkCaption));
    Btn_OK->setToolTip(m_state.Text(OkHint));
    Btn_Cancel->setText(m_state.Text(CancelCaption));
    Btn_Cancel->setToolTip(m_state.Text(CancelHint));
    ListBox1->setToolTip(m_state.Text(ListHint));
}

void TFOpenConf::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    ListBox1->setGeometry(Margin, ListTop, w - 2 * Margin, h - ListTop - BottomStrip);
    const int buttonsTop = h - BottomStrip + (BottomStrip - ButtonHeight) / 2;
    Btn_Cancel->setGeometry(w - Margin - ButtonWidth, buttonsTop, ButtonWidth, ButtonHeight);
    Btn_OK->setGeometry(w - Margin - 2 * ButtonWidth - ButtonGap, buttonsTop, ButtonWidth, ButtonHeight);
}

void TFOpenConf::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Load_Existing_Configuration();
    ListBox1->clear();
    ListBox1->addItems(SL);
    Name_Conf.clear();
    int row = Search_Open_Conf(Configurations::activeFolderName(m_state));
    if (row < 0 && !SL.isEmpty())
        row = 0;
    if (row >= 0) {
        ListBox1->setCurrentRow(row);
        Name_Conf = SL[row];
    }
    ListBox1->setFocus();
}

void TFOpenConf::Load_Existing_Configuration() {
    SL = Configurations::listConfigurations(m_state.ProjectsFolder);
}

int TFOpenConf::Search_Open_Conf(const QString& snc) const {
    return Configurations::Search_Open_Conf(SL, snc);
}

void TFOpenConf::ListBox1Click(int row) {
    if (row >= 0 && row < SL.size())
        Name_Conf = SL[row];
}
