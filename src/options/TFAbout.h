// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class LbButton;

// Names the product, its codes and version, and links to the maker's home page. Its texts are fixed
// English texts, not taken from the catalogue, so it has no Set_Lang.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    // Handler of both the logo and the web address.
    void Label4Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();

    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label12;
    LbButton* LbButton1;
};
