// SPDX-License-Identifier: MIT
#include "TFAbout.h"

#include "app/Product.h"
#include "common/LbButton.h"
#include "common/Ui.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace {
constexpr int ClientWidth = 425;
constexpr int ClientHeight = 148;
constexpr int LogoSize = 81;
} // namespace

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent)
    , Image2(new QLabel(this))
    , Label1(new QLabel(QStringLiteral("Software Tessaro "), this))
    , Label2(new QLabel(this))
    , Label3(new QLabel(QStringLiteral("Version :"), this))
    , Label4(new QLabel(Product::WebAddress, this))
    , Label6(new QLabel(QStringLiteral("Software Code : "), this))
    , Label8(new QLabel(QStringLiteral("Document Code :"), this))
    , Label9(new QLabel(this))
    , Label10(new QLabel(this))
    , Label12(new QLabel(this))
    , LbButton1(new LbButton(Ui::icon(Ui::Glyph::Ok, 16), this)) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("About..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Ui::styleWindow(this);
    setFixedSize(ClientWidth, ClientHeight);

    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(32, 24, LogoSize, LogoSize);
    Image2->setScaledContents(true);
    Image2->setPixmap(Ui::icon(Ui::Glyph::Logo, LogoSize).pixmap(LogoSize, LogoSize));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);

    struct Place {
        QLabel* label;
        const char* name;
        int left, top;
    };
    const Place places[] = {
        {Label1, "Label1", 128, 24}, {Label2, "Label2", 128, 39},   {Label6, "Label6", 128, 62},
        {Label9, "Label9", 240, 62}, {Label3, "Label3", 128, 77},   {Label10, "Label10", 240, 77},
        {Label8, "Label8", 128, 93}, {Label12, "Label12", 240, 93}, {Label4, "Label4", 316, 131},
    };
    for (const Place& p : places) {
        p.label->setObjectName(QLatin1String(p.name));
        p.label->move(p.left, p.top);
    }
    Label1->setFont(Ui::boldFont(13));

    QFont link = Ui::baseFont();
    link.setUnderline(true);
    Label4->setFont(link);
    Ui::setTextColour(Label4, QColor(0, 0, 255));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    LbButton1->setObjectName(QStringLiteral("LbButton1"));
    LbButton1->setGeometry(32, 115, LogoSize, 22);
    LbButton1->setIconSize(QSize(14, 14));
    LbButton1->setText(QStringLiteral("OK"));
    connect(LbButton1, &QPushButton::clicked, this, &QDialog::accept);

    FormShow();
}

void TFAbout::FormShow() {
    Label2->setText(Product::Description);
    Label9->setText(Product::Code);
    Label10->setText(Product::Version);
    Label12->setText(Product::DocumentCode);
    for (QLabel* l : findChildren<QLabel*>())
        l->adjustSize();
    Image2->resize(LogoSize, LogoSize);
    // The web address is placed by its left edge; a longer host than the layout allowed for is moved
    // left so that it is not cut off at the window's edge.
    if (Label4->x() + Label4->width() > ClientWidth - 4)
        Label4->move(ClientWidth - 4 - Label4->width(), Label4->y());
    setFixedSize(ClientWidth, ClientHeight);
}

void TFAbout::showEvent(QShowEvent* event) {
    FormShow();
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

bool TFAbout::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Label4 || watched == Image2) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFAbout::Label4Click() {
    QDesktopServices::openUrl(Product::homePageUrl());
}
