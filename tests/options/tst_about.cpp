// SPDX-License-Identifier: MIT
#include "app/Product.h"
#include "options/TFAbout.h"
#include "support/GuiSupport.h"

#include <QLabel>
#include <QTest>

using namespace TestSupport;

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layout_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label1") << QByteArray("Label1") << QPoint(128, 24) << QStringLiteral("Software Tessaro ");
        QTest::newRow("Label2") << QByteArray("Label2") << QPoint(128, 39)
                                << QStringLiteral("OPC UA Server / LoRaWAN - Converter");
        QTest::newRow("Label6") << QByteArray("Label6") << QPoint(128, 62) << QStringLiteral("Software Code : ");
        QTest::newRow("Label9") << QByteArray("Label9") << QPoint(240, 62) << QStringLiteral("SWKV210");
        QTest::newRow("Label3") << QByteArray("Label3") << QPoint(128, 77) << QStringLiteral("Version :");
        QTest::newRow("Label10") << QByteArray("Label10") << QPoint(240, 77) << QStringLiteral("1.001");
        QTest::newRow("Label8") << QByteArray("Label8") << QPoint(128, 93) << QStringLiteral("Document Code :");
        QTest::newRow("Label12") << QByteArray("Label12") << QPoint(240, 93) << QStringLiteral("MNKV210");
    }

    void layout() {
        QFETCH(QByteArray, name);
        QFETCH(QPoint, pos);
        QFETCH(QString, text);
        TFAbout about;
        about.show();
        auto* label = child<QLabel>(&about, name.constData());
        QCOMPARE(label->pos(), pos);
        QCOMPARE(label->text(), text);
        QVERIFY(label->geometry().right() < about.width());
    }

    void frame() {
        TFAbout about;
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("About..."));
        QCOMPARE(about.size(), QSize(425, 148));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QCOMPARE(child(&about, "Image2")->geometry(), QRect(32, 24, 81, 81));
        QCOMPARE(child(&about, "LbButton1")->geometry(), QRect(32, 115, 81, 22));
        auto* web = child<QLabel>(&about, "Label4");
        QCOMPARE(web->text(), Product::WebAddress);
        QCOMPARE(web->y(), 131);
        QVERIFY(web->geometry().right() < 425 && web->geometry().bottom() < 148);
        QVERIFY(web->font().underline());
    }

    void linksOpenHomePage_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("web address") << QByteArray("Label4");
        QTest::newRow("logo") << QByteArray("Image2");
    }

    void linksOpenHomePage() {
        QFETCH(QByteArray, name);
        LinkCatcher catcher;
        TFAbout about;
        about.show();
        click(&about, name.constData());
        QCOMPARE(catcher.urls, QList<QUrl>{Product::homePageUrl()});
    }

    void okCloses() {
        TFAbout about;
        ModalDriver driver([](QDialog& d) { click(&d, "LbButton1"); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
