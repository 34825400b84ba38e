// SPDX-License-Identifier: MIT
#include "ParamsTestUtil.h"
#include "app/AppState.h"
#include "common/MessageService.h"
#include "params/CategoryPanel.h"
#include "params/LoRaRadio.h"
#include "params/TFParGen.h"
#include "support/GuiSupport.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace ParGen;
using namespace ParamsTest;
using TestSupport::child;
using TestSupport::ModalDriver;

namespace {

// A program folder with one active configuration and the default catalogue; messages are recorded.
struct Env : TestSupport::TestProgram {
    Env()
        : TestProgram(QStringLiteral("Plant")) {}
};

void select(const QWidget& dlg, const char* list, const QString& item) {
    auto* combo = child<QComboBox>(&dlg, list);
    const int i = combo->findText(item);
    QVERIFY2(i >= 0, qPrintable(item));
    combo->setCurrentIndex(i);
}

int yOf(const QWidget& dlg, const char* name) {
    return child<QWidget>(&dlg, name)->y();
}

} // namespace

class TestTFParGen : public QObject {
    Q_OBJECT

    // Opens the dialog non-modally over the file of `env`.
    static bool open(TFParGen& dlg) {
        if (!dlg.FormShow())
            return false;
        dlg.show();
        return QTest::qWaitForWindowExposed(&dlg);
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void frameAndControls() {
        Env env;
        TFParGen dlg(env.state);
        QCOMPARE(dlg.width(), 460);
        QCOMPARE(dlg.height(), 700);
        QCOMPARE(child<QLabel>(&dlg, "L_SW_Code")->text(), QString("SWKV210"));
        QVERIFY(child<QWidget>(&dlg, "P_Title"));
        QVERIFY(child<QWidget>(&dlg, "P_Button"));
        dlg.resize(600, 500); // the width stays put
        QCOMPARE(dlg.width(), 460);

        for (int f = 0; f < FieldCount; ++f) {
            const FieldInfo& fi = info(Field(f));
            QWidget* w = child<QWidget>(&dlg, fi.control);
            switch (fi.kind) {
            case Kind::Flag:
                QVERIFY2(qobject_cast<QCheckBox*>(w), fi.control);
                break;
            case Kind::Choice:
                QVERIFY2(qobject_cast<QComboBox*>(w) && !qobject_cast<QComboBox*>(w)->isEditable(), fi.control);
                break;
            default:
                QVERIFY2(qobject_cast<QLineEdit*>(w), fi.control);
            }
        }
        const QList<QPair<const char*, int>> limits{{"E_EthConn_Device_Name", 31},  {"E_LoRa_JoinEUI", 16},
                                                    {"E_LoRa_Device_Address", 8},   {"E_LoRa_Network_Session_Key", 32},
                                                    {"E_LoRa_Application_Key", 32}, {"E_LoRa_LNCHECK", 32}};
        for (const auto& [name, max] : limits)
            QCOMPARE(child<QLineEdit>(&dlg, name)->maxLength(), max);
        QVERIFY(child<QLineEdit>(&dlg, "E_LoRa_Payload_Size")->isReadOnly());
        QVERIFY(!child<QCheckBox>(&dlg, "CB_EthConn_En_DHCP_WiFi")->isEnabled());
    }

    void texts() {
        Env env;
        TFParGen dlg(env.state);
        QCOMPARE(dlg.windowTitle(), env.state.Text(400));
        QCOMPARE(child<CategoryPanel>(&dlg, "CP_Ethernet_Connection")->caption(), "1. " + env.state.Text(2906));
        QCOMPARE(child<CategoryPanel>(&dlg, "CP_LoRa")->caption(), "2. " + env.state.Text(406));
        QCOMPARE(child<CategoryPanel>(&dlg, "CP_OPC_UA_Server")->caption(), "3. " + env.state.Text(2746));
        QCOMPARE(child<CategoryPanel>(&dlg, "CP_NTP")->caption(), "4. " + env.state.Text(2557));
        QCOMPARE(child<QLabel>(&dlg, "L_LoRa_LNCHECK")->text(), env.state.Text(2933));
        QCOMPARE(child<QWidget>(&dlg, "E_LoRa_LNCHECK")->toolTip(), env.state.Text(2934));
        QCOMPARE(child<QCheckBox>(&dlg, "CB_OPC_UA_Server_En_GAT")->text(), env.state.Text(2757));
        QCOMPARE(child<QWidget>(&dlg, "CB_OPC_UA_Server_En_GAT")->toolTip(), env.state.Text(2758));
        QCOMPARE(child<QWidget>(&dlg, "E_OPC_UA_Server_GAT4")->toolTip(), env.state.Text(2762));
        QCOMPARE(child<QPushButton>(&dlg, "Btn_Cancel")->toolTip(), env.state.Text(405));
        QCOMPARE(child<CategoryPanel>(&dlg, "CP_NTP")->caption(), QString("4. NTP (Network Time Protocol)"));
        QCOMPARE(child<QWidget>(&dlg, "E_EthConn_Sec_DNS_IP3")->toolTip(),
                 QString("Insert Third byte of Secondary DNS"));
    }

    // The panels stand one below the other, each as high as its last row + header + 12.
    void panelsStack() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        const char* order[] = {"CP_Ethernet_Connection", "CP_LoRa", "CP_OPC_UA_Server", "CP_NTP"};
        int y = 0;
        for (const char* name : order) {
            auto* panel = child<CategoryPanel>(&dlg, name);
            QCOMPARE(panel->y(), y);
            y += panel->height();
        }
        const int header = CategoryPanelGroup::HeaderHeight;
        auto bottom = [&](const char* name) {
            const QWidget* w = child<QWidget>(&dlg, name);
            return w->y() + w->height();
        };
        QCOMPARE(child<QWidget>(&dlg, "CP_Ethernet_Connection")->height(),
                 bottom("E_EthConn_Sec_DNS_IP4") + header + 12);
        QCOMPARE(child<QWidget>(&dlg, "CP_LoRa")->height(), bottom("L_LoRa_LNCHECK") + header + 12);
        QCOMPARE(child<QWidget>(&dlg, "CP_NTP")->height(), bottom("E_NTP_Poll_Time") + header + 12);
        // Ethernet rows 28 apart from 12; a label at its row, its control 3 higher.
        QCOMPARE(yOf(dlg, "L_EthConn_Device_Name"), 12);
        QCOMPARE(yOf(dlg, "E_EthConn_Device_Name"), 9);
        QCOMPARE(yOf(dlg, "CB_EthConn_Enable_DNS"), 12 + 3 * 28);
        QCOMPARE(yOf(dlg, "E_EthConn_Sec_DNS_IP4"), 12 + 5 * 28 - 3);
        QCOMPARE(child<QWidget>(&dlg, "E_OPC_UA_Server_SM3")->geometry(), QRect(313, 40 - 3, 55, 21));
        QCOMPARE(child<QWidget>(&dlg, "CB_LoRa_DataRate")->x(), 191);
        QCOMPARE(child<QWidget>(&dlg, "CB_LoRa_DataRate")->width(), 238);
        QCOMPARE(child<QWidget>(&dlg, "L_LoRa_DataRate")->x(), 14);

        // Collapsing a panel moves the ones below it up.
        auto* eth = child<CategoryPanel>(&dlg, "CP_Ethernet_Connection");
        const int loraY = yOf(dlg, "CP_LoRa");
        QTest::mouseClick(eth, Qt::LeftButton, {}, QPoint(60, 10));
        QCOMPARE(eth->height(), header);
        QCOMPARE(yOf(dlg, "CP_LoRa"), header);
        QVERIFY(loraY > header);
        QTest::mouseClick(eth, Qt::LeftButton, {}, QPoint(60, 10));
        QCOMPARE(yOf(dlg, "CP_LoRa"), loraY);
    }

    void regionChange_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("subBand");
        QTest::addColumn<QString>("payload");
        QTest::newRow("AU915") << "AU915" << true << "51";
        QTest::newRow("US915") << "US915" << true << "11";
        QTest::newRow("US915-Hybrid") << "US915-Hybrid" << true << "11";
        QTest::newRow("KR920") << "KR920" << false << "51";
        QTest::newRow("IN865") << "IN865" << false << "51";
    }

    // Starting from EU868 with DR5: the new region's DR0 is selected, its payload shown, and the
    // sub-band row shown or hidden, moving the rows below by one row.
    void regionChange() {
        QFETCH(QString, region);
        QFETCH(bool, subBand);
        QFETCH(QString, payload);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        select(dlg, "CB_LoRa_RF_Band", "EU868");
        select(dlg, "CB_LoRa_DataRate", LoRaRadio::dataRateItems("EU868")[5]);
        QCOMPARE(child<QLineEdit>(&dlg, "E_LoRa_Payload_Size")->text(), QString("222"));
        QVERIFY(child<QWidget>(&dlg, "CB_LoRa_FrequencySubBand")->isHidden());
        const int networkY = yOf(dlg, "CB_LoRa_Network_Type");
        const int lnY = yOf(dlg, "L_LoRa_LNCHECK");
        const int opcY = yOf(dlg, "CP_OPC_UA_Server");

        select(dlg, "CB_LoRa_RF_Band", region);
        auto* rates = child<QComboBox>(&dlg, "CB_LoRa_DataRate");
        QCOMPARE(rates->count(), int(LoRaRadio::dataRateItems(region).size()));
        QCOMPARE(rates->currentIndex(), 0);
        QCOMPARE(child<QLineEdit>(&dlg, "E_LoRa_Payload_Size")->text(), payload);
        QCOMPARE(child<QWidget>(&dlg, "CB_LoRa_FrequencySubBand")->isHidden(), !subBand);
        QCOMPARE(child<QWidget>(&dlg, "L_LoRa_FrequencySubBand")->isHidden(), !subBand);
        const int shift = subBand ? 28 : 0;
        QCOMPARE(yOf(dlg, "CB_LoRa_Network_Type"), networkY + shift);
        QCOMPARE(yOf(dlg, "L_LoRa_LNCHECK"), lnY + shift);
        QCOMPARE(yOf(dlg, "CP_OPC_UA_Server"), opcY + shift);
        if (subBand) {
            QCOMPARE(yOf(dlg, "L_LoRa_FrequencySubBand"), networkY + 3);
            QCOMPARE(yOf(dlg, "CB_LoRa_FrequencySubBand"), networkY);
        }
    }

    void activationMethod() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        const int loraHeight = child<QWidget>(&dlg, "CP_LoRa")->height();
        const int opcY = yOf(dlg, "CP_OPC_UA_Server");
        const int ntpY = yOf(dlg, "CP_NTP");
        QVERIFY(!child<QWidget>(&dlg, "E_LoRa_Network_Session_Key")->isHidden());
        QVERIFY(child<QWidget>(&dlg, "E_LoRa_Application_Key")->isHidden());

        select(dlg, "CB_LoRa_Activation_Method", "Over-the-Air Activation [OTAA]");
        QCOMPARE(child<QWidget>(&dlg, "CP_LoRa")->height(), loraHeight - 56);
        QCOMPARE(yOf(dlg, "CP_OPC_UA_Server"), opcY - 56);
        QCOMPARE(yOf(dlg, "CP_NTP"), ntpY - 56);
        for (const char* name : {"E_LoRa_Device_Address", "L_LoRa_Device_Address", "E_LoRa_Network_Session_Key",
                                 "E_LoRa_Application_Session_Key"})
            QVERIFY2(child<QWidget>(&dlg, name)->isHidden(), name);
        QVERIFY(!child<QWidget>(&dlg, "E_LoRa_Application_Key")->isHidden());
        QCOMPARE(yOf(dlg, "L_LoRa_Application_Key"), yOf(dlg, "L_LoRa_Activation_Method") + 28);
        QCOMPARE(child<QLineEdit>(&dlg, "E_LoRa_Payload_Size")->text(), QString("230"));
    }

    void dhcpDisablesStaticAddress() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        auto* dhcp = child<QCheckBox>(&dlg, "CB_EthConn_En_DHCP_Cable");
        QTest::mouseClick(dhcp, Qt::LeftButton, {}, QPoint(6, dhcp->height() / 2));
        QVERIFY(dhcp->isChecked());
        for (const char* prefix : {"E_OPC_UA_Server_IP", "E_OPC_UA_Server_SM", "E_OPC_UA_Server_GAT"})
            for (int i = 1; i <= 4; ++i)
                QVERIFY(!child<QWidget>(&dlg, qPrintable(QLatin1String(prefix) + QString::number(i)))->isEnabled());
        QVERIFY(child<QWidget>(&dlg, "E_OPC_UA_Server_Port")->isEnabled());
        QVERIFY(child<QWidget>(&dlg, "CB_OPC_UA_Server_En_GAT")->isEnabled());
        QVERIFY(child<QWidget>(&dlg, "E_EthConn_Pri_DNS_IP1")->isEnabled());
        QTest::mouseClick(dhcp, Qt::LeftButton, {}, QPoint(6, dhcp->height() / 2));
        QVERIFY(child<QWidget>(&dlg, "E_OPC_UA_Server_GAT4")->isEnabled());
    }

    void dotKey_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("disable"); // a box made unavailable first
        QTest::addColumn<QString>("to");
        QTest::newRow("within primary DNS") << "E_EthConn_Pri_DNS_IP1"
                                            << ""
                                            << "E_EthConn_Pri_DNS_IP2";
        QTest::newRow("primary into secondary") << "E_EthConn_Pri_DNS_IP4"
                                                << ""
                                                << "E_EthConn_Sec_DNS_IP1";
        QTest::newRow("end of DNS chain") << "E_EthConn_Sec_DNS_IP4"
                                          << ""
                                          << "E_EthConn_Sec_DNS_IP4";
        QTest::newRow("address into mask") << "E_OPC_UA_Server_IP4"
                                           << ""
                                           << "E_OPC_UA_Server_SM1";
        QTest::newRow("mask into gateway") << "E_OPC_UA_Server_SM4"
                                           << ""
                                           << "E_OPC_UA_Server_GAT1";
        QTest::newRow("end of address chain") << "E_OPC_UA_Server_GAT4"
                                              << ""
                                              << "E_OPC_UA_Server_GAT4";
        QTest::newRow("disabled box not entered") << "E_OPC_UA_Server_IP4"
                                                  << "E_OPC_UA_Server_SM1"
                                                  << "E_OPC_UA_Server_IP4";
    }

    void dotKey() {
        QFETCH(QString, from);
        QFETCH(QString, disable);
        QFETCH(QString, to);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        if (!disable.isEmpty())
            child<QWidget>(&dlg, qPrintable(disable))->setEnabled(false);
        auto* box = child<QLineEdit>(&dlg, qPrintable(from));
        box->setFocus();
        box->setText("12");
        QTest::keyClick(box, '.');
        QCOMPARE(box->text(), QString("12"));
        QVERIFY(dlg.focusWidget());
        QCOMPARE(dlg.focusWidget()->objectName(), to);
        // Every other character reaches the box; the data check judges it.
        QTest::keyClicks(box, "x,");
        QCOMPARE(box->text(), QString("12x,"));
    }

    void hexFilter_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("g discarded") << "E_LoRa_Network_Session_Key"
                                     << "g"
                                     << "";
        QTest::newRow("a shown as A") << "E_LoRa_Network_Session_Key"
                                      << "a"
                                      << "A";
        QTest::newRow("mixed") << "E_LoRa_JoinEUI"
                               << "0x1f-Zb9"
                               << "01FB9";
        QTest::newRow("blank passes") << "E_LoRa_Application_Key"
                                      << "a b"
                                      << "A B";
        QTest::newRow("non-ASCII discarded") << "E_LoRa_Application_Session_Key" << QString::fromUtf8("ä1") << "1";
        QTest::newRow("length limit") << "E_LoRa_Device_Address"
                                      << "0123456789"
                                      << "01234567";
        QTest::newRow("LNCHECK takes A") << "E_LoRa_LNCHECK"
                                         << "A"
                                         << "A";
        QTest::newRow("device name unfiltered") << "E_EthConn_Device_Name"
                                                << "gate-1"
                                                << "gate-1";
    }

    void hexFilter() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        auto* e = child<QLineEdit>(&dlg, qPrintable(edit));
        e->clear();
        // Key events carrying each character, as a keyboard layout would deliver them.
        for (const QChar c : typed) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &release);
        }
        QCOMPARE(e->text(), shown);
    }

    // Editing keys reach every filtered field, sent as X11 sends them (Delete carries the character 127).
    void editingKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor"); // before the key, in "ABCD"
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursorAfter");
        QTest::newRow("Delete, X11") << int(Qt::Key_Delete) << 0 << QString(QChar(127)) << 1 << "ACD" << 1;
        QTest::newRow("Delete, no text") << int(Qt::Key_Delete) << 0 << QString() << 1 << "ACD" << 1;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << QString(QChar(8)) << 2 << "ACD" << 1;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << QString() << 2 << "ABCD" << 1;
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << QString() << 2 << "ABCD" << 3;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0 << QString() << 3 << "ABCD" << 0;
        QTest::newRow("End") << int(Qt::Key_End) << 0 << QString() << 1 << "ABCD" << 4;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << QString(QChar(0x16)) << 0 << "12ABCD"
                                << 2;
        QTest::newRow("Ctrl+V with its letter")
            << int(Qt::Key_V) << int(Qt::ControlModifier) << "v" << 4 << "ABCD12" << 6;
        QTest::newRow("Ctrl+X of all") << int(Qt::Key_X) << int(Qt::ControlModifier) << QString(QChar(0x18)) << -1 << ""
                                       << 0;
    }

    void editingKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(QString, after);
        QFETCH(int, cursorAfter);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        for (const char* name :
             {"E_LoRa_JoinEUI", "E_LoRa_Device_Address", "E_LoRa_Network_Session_Key", "E_LoRa_Application_Session_Key",
              "E_LoRa_Application_Key", "E_LoRa_LNCHECK", "E_OPC_UA_Server_GAT4"}) {
            auto* e = child<QLineEdit>(&dlg, name);
            e->show(); // rows of the other activation method are hidden
            e->setText("ABCD");
            if (cursor < 0)
                e->selectAll();
            else
                e->setCursorPosition(cursor);
            QGuiApplication::clipboard()->setText("12");
            QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
            QApplication::sendEvent(e, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), text);
            QApplication::sendEvent(e, &release);
            QVERIFY2(e->text() == after, qPrintable(QLatin1String(name) + ": " + e->text()));
            QCOMPARE(e->cursorPosition(), cursorAfter);
        }
    }

    // The open data-rate list shows each item whole, its tab as spacing; the item keeps its tab.
    void dataRateListReadable_data() {
        QTest::addColumn<QString>("region");
        for (const QString& region : LoRaRadio::regions())
            QTest::newRow(qPrintable(region)) << region;
    }

    void dataRateListReadable() {
        QFETCH(QString, region);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        select(dlg, "CB_LoRa_RF_Band", region);
        auto* rates = child<QComboBox>(&dlg, "CB_LoRa_DataRate");
        rates->showPopup();
        QAbstractItemView* view = rates->view();
        QTRY_VERIFY(view->isVisible());
        const QStringList items = LoRaRadio::dataRateItems(region);
        QCOMPARE(rates->count(), int(items.size()));
        // A menu-style delegate would take the text after a tab for a shortcut column at the right edge.
        auto* delegate = qobject_cast<QStyledItemDelegate*>(rates->itemDelegate());
        QVERIFY2(delegate, "the open list draws its items as menu entries");
        for (int i = 0; i < rates->count(); ++i) {
            QCOMPARE(rates->itemText(i), items[i]);
            const QModelIndex index = rates->model()->index(i, 0);
            QString shown = items[i];
            shown.replace('\t', "   ");
            QCOMPARE(delegate->displayText(index.data(), QLocale()), shown);
            // Drawn on one line and not cut: the item's room holds the whole text.
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.font = view->font();
            QVERIFY2(delegate->sizeHint(option, index).width() <= view->visualRect(index).width(), qPrintable(shown));
        }
        rates->setCurrentIndex(1);
        rates->hidePopup();
        QCOMPARE(dlg.controlsToSet().value(LoRa_DataRate), items[1]);
    }

    void pastedTextNotFiltered() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        auto* e = child<QLineEdit>(&dlg, "E_LoRa_JoinEUI");
        e->insert("xyz"); // as a paste does it: not filtered, but still in capitals
        QCOMPARE(e->text(), QString("XYZ"));
    }

    void wheelScrollsPanelGroup() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        auto* group = child<CategoryPanelGroup>(&dlg, "CPG");
        QScrollBar* bar = group->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        auto* region = child<QComboBox>(&dlg, "CB_LoRa_RF_Band");
        const int index = region->currentIndex();
        const auto wheel = [&](QWidget* target, int delta) {
            const QPoint local = target->rect().center();
            QWheelEvent ev(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &ev);
        };
        const int lines = QApplication::wheelScrollLines();
        wheel(region, -120);
        QCOMPARE(bar->value(), lines * bar->singleStep());
        QCOMPARE(region->currentIndex(), index); // the list under the pointer keeps its item
        wheel(group->viewport(), 120);
        QCOMPARE(bar->value(), 0);
        // Outside the group the wheel does not scroll it.
        bar->setValue(0);
        wheel(child<QWidget>(&dlg, "Btn_OK"), -120);
        QCOMPARE(bar->value(), 0);
    }

    void fileIntoControls() {
        Env env;
        QVERIFY(writeFile(env.state.ParGenFile(),
                          "<Par_Gen><LoRa_RF_Band>eu868</LoRa_RF_Band>"
                          "<LoRa_DataRate>7 -\tFSK: 50kbps 50000 [bit/s]</LoRa_DataRate>"
                          "<LoRa_Payload_Size>7</LoRa_Payload_Size><Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>"
                          "<LoRa_Activation_Method>Over-the-Air Activation [OTAA]</LoRa_Activation_Method>"
                          "<LoRa_Network_Type>Other</LoRa_Network_Type><NTP_Poll_Time>10</NTP_Poll_Time>"
                          "</Par_Gen>"));
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        QCOMPARE(child<QComboBox>(&dlg, "CB_LoRa_RF_Band")->currentText(), QString("EU868"));
        QCOMPARE(child<QComboBox>(&dlg, "CB_LoRa_DataRate")->currentIndex(), 0);
        QCOMPARE(child<QLineEdit>(&dlg, "E_LoRa_Payload_Size")->text(), QString("51"));
        QCOMPARE(child<QComboBox>(&dlg, "CB_LoRa_Network_Type")->currentIndex(), -1);
        QVERIFY(child<QWidget>(&dlg, "CB_LoRa_FrequencySubBand")->isHidden());
        QVERIFY(!child<QWidget>(&dlg, "E_LoRa_Application_Key")->isHidden());
        QVERIFY(!child<QWidget>(&dlg, "E_OPC_UA_Server_IP1")->isEnabled());
        QCOMPARE(dlg.controlsToSet(), ParGenSet::load(env.state.ParGenFile()));

        // The empty network type stops OK.
        QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
        QCOMPARE(env.messages.texts(), QStringList{env.state.Text(494)});
        QVERIFY(dlg.isVisible());
    }

    void okRefused_data() {
        QTest::addColumn<QStringList>("typed"); // control=text
        QTest::addColumn<int>("text");
        QTest::newRow("port 10000") << QStringList{"E_OPC_UA_Server_Port=10000"} << 2783;
        QTest::newRow("gateway 300") << QStringList{"CB_OPC_UA_Server_En_GAT=1", "E_OPC_UA_Server_GAT1=300"} << 2779;
        QTest::newRow("LNCHECK A") << QStringList{"E_LoRa_LNCHECK=A"} << 2935;
        QTest::newRow("DNS octet with DNS on")
            << QStringList{"CB_EthConn_Enable_DNS=1", "E_EthConn_Sec_DNS_IP2="} << 2930;
    }

    // A failing rule shows its message; nothing is written and the input stays.
    void okRefused() {
        QFETCH(QStringList, typed);
        QFETCH(int, text);
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        child<QLineEdit>(&dlg, "E_NTP_Poll_Time")->setText("60");
        for (const QString& t : typed) {
            const QString name = t.section('=', 0, 0);
            const QString value = t.section('=', 1);
            if (auto* box = dlg.findChild<QCheckBox*>(name))
                box->setChecked(value == "1");
            else
                child<QLineEdit>(&dlg, qPrintable(name))->setText(value);
        }
        QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Error);
        QCOMPARE(env.messages.lastText(), env.state.Text(text));
        QVERIFY(!QFile::exists(env.state.ParGenFile()));
        QVERIFY(dlg.isVisible());
        QCOMPARE(child<QLineEdit>(&dlg, "E_NTP_Poll_Time")->text(), QString("60"));
    }

    // Values that no rule looks at reach the file as typed.
    void uncheckedValuesWritten() {
        Env env;
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        child<QLineEdit>(&dlg, "E_NTP_Poll_Time")->setText("60");
        child<QLineEdit>(&dlg, "E_OPC_UA_Server_GAT1")->setText("300");
        child<QLineEdit>(&dlg, "E_EthConn_Pri_DNS_IP2")->clear();
        QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
        QCOMPARE(env.messages.texts(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const QByteArray file = readFile(env.state.ParGenFile());
        QVERIFY(file.contains("<OPC_UA_Server_GAT1>300</OPC_UA_Server_GAT1>"));
        QVERIFY(file.contains("<Eth_Conn_Primary_DNS2></Eth_Conn_Primary_DNS2>"));
    }

    // A new configuration: OK first asks for the poll time; then the default file is written, and the
    // next opening shows it.
    void newConfiguration() {
        Env env;
        TFParGen dlg(env.state);
        {
            ModalDriver driver([&](QDialog&) {
                QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
                QCOMPARE(env.messages.texts(), QStringList{env.state.Text(2562)});
                QVERIFY(!QFile::exists(env.state.ParGenFile()));
                QVERIFY(dlg.isVisible());
                QTest::keyClicks(child<QLineEdit>(&dlg, "E_NTP_Poll_Time"), "3600");
                QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
            });
            QVERIFY(dlg.Show_Modal());
        }
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(readFile(env.state.ParGenFile()), readFile(goldenDefaultsPath()));

        ModalDriver driver([&](QDialog&) {
            QCOMPARE(child<QLineEdit>(&dlg, "E_NTP_Poll_Time")->text(), QString("3600"));
            QCOMPARE(child<QComboBox>(&dlg, "CB_LoRa_DataRate")->currentText(),
                     QString("6\t- LoRa: SF7/250kHz 11000 [bit/s]"));
            dlg.reject();
        });
        QVERIFY(dlg.Show_Modal());
    }

    void cancelWritesNothing() {
        Env env;
        ParGenSet stored = validSet();
        stored.setValue(Eth_Conn_Device_Name, "KV-7");
        stored.save(env.state.ParGenFile());
        const QByteArray before = readFile(env.state.ParGenFile());

        TFParGen dlg(env.state);
        {
            ModalDriver driver([&](QDialog&) {
                child<QLineEdit>(&dlg, "E_EthConn_Device_Name")->setText("changed");
                select(dlg, "CB_LoRa_RF_Band", "US915");
                QTest::mouseClick(child<QWidget>(&dlg, "Btn_Cancel"), Qt::LeftButton);
            });
            QVERIFY(dlg.Show_Modal());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
        }
        {
            ModalDriver driver([&](QDialog&) { dlg.close(); }); // the close box cancels too
            QVERIFY(dlg.Show_Modal());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
        }
        QCOMPARE(readFile(env.state.ParGenFile()), before);
        QCOMPARE(env.messages.texts(), QStringList());

        QVERIFY(dlg.FormShow());
        QCOMPARE(child<QLineEdit>(&dlg, "E_EthConn_Device_Name")->text(), QString("KV-7"));
        QCOMPARE(child<QComboBox>(&dlg, "CB_LoRa_RF_Band")->currentText(), QString("AS923"));
    }

    void brokenFileNotOpened() {
        Env env;
        const QByteArray broken("<Par_Gen><LoRa_RF_Band>AS923</Par_Gen>");
        QVERIFY(writeFile(env.state.ParGenFile(), broken));
        TFParGen dlg(env.state);
        QVERIFY(!dlg.Show_Modal()); // returns without showing: no modal loop runs
        QVERIFY(!dlg.isVisible());
        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Error);
        QVERIFY2(env.messages.lastText().contains("ParGen.xml"), qPrintable(env.messages.lastText()));
        QCOMPARE(readFile(env.state.ParGenFile()), broken);
    }

    // The file cannot be written: the general error names it, the dialog stays open with the input.
    void failedSaveStaysOpen() {
        Env env;
        // The configuration folder is a file: ParGen.xml cannot be written beneath it.
        const QString folder = env.state.ActiveConfigPath;
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(writeFile(folder, "x"));
        TFParGen dlg(env.state);
        QVERIFY(open(dlg));
        child<QLineEdit>(&dlg, "E_NTP_Poll_Time")->setText("60");
        child<QLineEdit>(&dlg, "E_EthConn_Device_Name")->setText("KV-9");
        QTest::mouseClick(child<QWidget>(&dlg, "Btn_OK"), Qt::LeftButton);
        QCOMPARE(env.messages.entries().size(), 1);
        QVERIFY2(env.messages.lastText().contains("ParGen.xml"), qPrintable(env.messages.lastText()));
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(child<QLineEdit>(&dlg, "E_EthConn_Device_Name")->text(), QString("KV-9"));
        QCOMPARE(readFile(folder), QByteArray("x"));
    }
};

QTEST_MAIN(TestTFParGen)
#include "tst_tfpargen.moc"
