// SPDX-License-Identifier: MIT
// The modal-dialog driver fails the test that made it whenever it did not do its work.
#include "support/GuiSupport.h"

#include <QDialog>
#include <QTest>

using namespace TestSupport;

class TestSupportLib : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void driverRunsOnTheDialog() {
        QDialog dialog;
        QDialog* seen = nullptr;
        ModalDriver driver([&](QDialog& d) {
            seen = &d;
            d.accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(seen, &dialog);
        QVERIFY(driver.done());
    }

    void driverFailsWithoutDialog() {
        QEXPECT_FAIL("", "no dialog came up", Continue);
        {
            ModalDriver driver([](QDialog&) {});
        }
        // Passes only when the failure above was reported (an unused expected failure turns into XPASS).
        QVERIFY(true);
    }

    void driverFailsWhenDialogStaysOpen() {
        QDialog dialog;
        QEXPECT_FAIL("", "the driver left the dialog open", Continue);
        ModalDriver driver([](QDialog&) {});
        QCOMPARE(dialog.exec(), int(QDialog::Rejected)); // closed by the driver after the failure
        QVERIFY(!driver.done());
    }

    // A driver whose dialog never came up does not act on a dialog of a later test.
    void strayDriverDoesNotOutliveItsObject() {
        bool strayRan = false;
        QEXPECT_FAIL("", "no dialog came up", Continue);
        {
            ModalDriver stray([&](QDialog& d) {
                strayRan = true;
                d.reject();
            });
        }
        QVERIFY(true);

        QDialog later;
        QTimer::singleShot(50, &later, &QDialog::accept);
        QCOMPARE(later.exec(), int(QDialog::Accepted));
        QVERIFY(!strayRan);
    }
};

QTEST_MAIN(TestSupportLib)
#include "tst_support.moc"
