// SPDX-License-Identifier: MIT
#include "GridTestUtil.h"
#include "RulesTestUtil.h"
#include "app/AppState.h"
#include "common/MessageService.h"
#include "rules/LoRaWANSetAccess.h"
#include "rules/RowOperations.h"
#include "rules/RuleGrid.h"
#include "rules/RuleTable.h"
#include "rules/TFLoRa_Set_Access.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using namespace LoRaWAN;
using namespace RulesTest;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray parGen(const QByteArray& payload, const QByteArray& port) {
    return "<Par_Gen><LoRa_Payload_Size>" + payload + "</LoRa_Payload_Size><LoRa_FPort>" + port +
           "</LoRa_FPort></Par_Gen><!--SW_VERSION = 1.001-->";
}

QList<Rule> rules(const QStringList& rows) {
    QList<Rule> out;
    for (const QString& r : rows)
        out.append(r.split(QLatin1Char('|')));
    return out;
}

// A program folder with one active configuration, the default catalogue and recorded messages.
struct Env {
    QTemporaryDir dir;
    AppState state;
    MessageRecorder messages;

    Env() {
        state.setProgramFolder(dir.path());
        QDir().mkpath(state.ProjectsFolder + "/Plant");
        state.ActiveConfigName = "Plant";
        state.ActiveConfigPath = state.ProjectsFolder + "/Plant";
        state.catalogue.Build_Default_Texts();
    }
    void setParGen(const QByteArray& payload, const QByteArray& port = "Fixed") {
        QVERIFY(writeFile(state.ParGenFile(), parGen(payload, port)));
    }
    QStringList texts() const { return messages.texts(); }
};

// The editor, shown non-modally over the files of `env`.
struct Editor {
    TFLoRa_Set_Access dlg;
    bool opened = false;

    explicit Editor(Env& env)
        : dlg(env.state) {
        opened = dlg.FormShow();
        if (!opened)
            return;
        dlg.show();
        opened = QTest::qWaitForWindowActive(&dlg);
    }

    RuleGrid* up() const { return dlg.ACG_LoRa_Uplink; }
    RuleGrid* down() const { return dlg.ACG_LoRa_Downlink; }
    QTabWidget* pages() const { return dlg.findChild<QTabWidget*>("PC_LoRa"); }
    void click(const char* button) {
        QTest::mouseClick(dlg.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    void page(int index) { pages()->setCurrentIndex(index); }

    // Types `text` into a cell and commits it with Enter.
    void enter(RuleGrid* grid, int row, int column, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        type(text + "<Enter>", grid);
    }
};

} // namespace

class TestTFLoRaSetAccess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void layout() {
        Env env;
        env.setParGen("51", "Variable");
        Editor e(env);
        QVERIFY(e.opened);
        QCOMPARE(e.dlg.width(), 900);
        QCOMPARE(e.dlg.windowTitle(), "Set LoRaWAN Access");
        QCOMPARE(e.dlg.findChild<QLabel*>("L_SW_Code")->text(), "SWKV210");
        QCOMPARE(e.dlg.findChild<QLabel*>("L_SW_Desc")->text(), "Set LoRaWAN Access");
        QCOMPARE(e.pages()->tabText(0), "LoRaWAN Uplink");
        QCOMPARE(e.pages()->tabText(1), "LoRaWAN Downlink");
        QVERIFY(e.dlg.findChild<QWidget*>("TS_LoRa_Uplink")->isAncestorOf(e.up()));
        QVERIFY(e.dlg.findChild<QWidget*>("TS_LoRa_Downlink")->isAncestorOf(e.down()));

        const struct {
            const char* name;
            const char* caption;
            const char* hint;
        } buttons[] = {
            {"Btn_OK", "OK", "Confirm and save the LoRaWAN Access List"},
            {"Btn_Cancel", "Cancel", "Exit without save the LoRaWAN Access List"},
            {"Btn_DelRow", "Delete Row", "Delete the Selected Row in the table"},
            {"Btn_InsRow", "Insert Row", "Insert a Row in the Table"},
            {"Btn_CopyRow", "Copy Row", "Copy all Fields of the Selected Row"},
            {"Btn_PasteRow", "Paste Row", "Paste the Copied Fields in the Selected Row"},
        };
        for (const auto& b : buttons) {
            auto* button = e.dlg.findChild<QPushButton*>(QLatin1String(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QLatin1String(b.caption));
            QCOMPARE(button->toolTip(), QLatin1String(b.hint));
            QVERIFY(e.dlg.rect().contains(button->mapTo(&e.dlg, button->rect().bottomRight())));
        }

        const QStringList upHeaders{"N",      "Enable",   "Start Byte", "Num. Byte", "On Change",
                                    "On CMD", "On Timer", "Time (s)",   "FPort",     "Mnemonic"};
        const QList<int> upWidths{40, 50, 80, 80, 70, 55, 65, 80, 60, 280};
        const QList<unsigned> upColours{0,        0xFFD8B0, 0xE0FAFE, 0xE0FAFE, 0xA8FFA8,
                                        0xA8FFA8, 0xA8FFA8, 0xA8FFA8, 0xFCD6F4, 0xFFFFFF};
        RuleTable* up = e.dlg.uplinkTable();
        for (int c = 0; c < UplinkColumns; ++c) {
            QCOMPARE(up->headerData(c, Qt::Horizontal).toString(), upHeaders[c]);
            QCOMPARE(e.up()->columnWidth(c), upWidths[c]);
            QCOMPARE(up->data(up->cellIndex(1, c), RuleTable::BackgroundRgbRole).toUInt(), upColours[c]);
        }
        const QStringList downHeaders{"N", "Enable", "Start Byte", "Num. Byte", "FPort", "Mnemonic"};
        const QList<int> downWidths{40, 50, 80, 80, 60, 550};
        for (int c = 0; c < DownlinkColumns; ++c) {
            QCOMPARE(e.dlg.downlinkTable()->headerData(c, Qt::Horizontal).toString(), downHeaders[c]);
            QCOMPARE(e.down()->columnWidth(c), downWidths[c]);
        }
        QCOMPARE(e.dlg.downlinkTable()
                     ->data(e.dlg.downlinkTable()->cellIndex(1, Down_FPort), RuleTable::BackgroundRgbRole)
                     .toUInt(),
                 0xFCD6F4u);
    }

    void modes_data() {
        QTest::addColumn<QByteArray>("pargen"); // empty: no ParGen.xml
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("fportShown");
        QTest::addColumn<bool>("warned");

        QTest::newRow("no ParGen.xml") << QByteArray() << 256 << false << true;
        QTest::newRow("Fixed") << parGen("51", "Fixed") << 256 << false << false;
        QTest::newRow("Variable") << parGen("51", "Variable") << 223 << true << false;
        QTest::newRow(" variable ") << parGen("51", " variable ") << 223 << true << false;
        QTest::newRow("another value") << parGen("51", "Variable port") << 256 << false << false;
        QTest::newRow("payload not set") << parGen("", "Variable") << 223 << true << true;
    }

    void modes() {
        QFETCH(QByteArray, pargen);
        QFETCH(int, rows);
        QFETCH(bool, fportShown);
        QFETCH(bool, warned);

        Env env;
        if (!pargen.isEmpty())
            QVERIFY(writeFile(env.state.ParGenFile(), pargen));
        Editor e(env);
        QVERIFY(e.opened);
        for (RuleTable* t : {e.dlg.uplinkTable(), e.dlg.downlinkTable()}) {
            QCOMPARE(t->rowCount(), rows);
            QCOMPARE(t->cellText(1, 0), "0");
            QCOMPARE(t->cellText(rows, 0), QString::number(rows - 1));
            QCOMPARE(t->cellText(rows, 1), "Y");
        }
        QCOMPARE(e.up()->isColumnHidden(Up_FPort), !fportShown);
        QCOMPARE(e.down()->isColumnHidden(Down_FPort), !fportShown);
        QCOMPARE(env.texts(), warned ? QStringList{env.state.Text(TextPayloadNotSet)} : QStringList());
        QCOMPARE(e.pages()->currentIndex(), 0);
    }

    // A user's whole round: three uplink rules and one downlink rule, every row button, OK, reopen.
    void userSession() {
        Env env;
        env.setParGen("51");
        Editor e(env);
        QVERIFY(e.opened);
        e.enter(e.up(), 1, Up_StartByte, "0<Tab>10");
        e.enter(e.up(), 2, Up_StartByte, "16");
        e.enter(e.up(), 2, Up_NumByte, "4");
        e.up()->setCurrentCell(2, Up_OnTimer);
        type("<Space>", e.up());
        e.enter(e.up(), 2, Up_Time, "60");
        e.enter(e.up(), 3, Up_StartByte, "32");
        e.enter(e.up(), 3, Up_NumByte, "8");
        e.enter(e.up(), 3, Up_Mnemonic, "Pump");

        e.page(1);
        e.enter(e.down(), 1, Down_StartByte, "100");
        e.enter(e.down(), 1, Down_NumByte, "2");
        e.enter(e.down(), 1, Down_Mnemonic, "Valve");

        e.page(0);
        e.up()->setCurrentCell(2, Up_Mnemonic);
        e.click("Btn_CopyRow");
        e.up()->setCurrentCell(4, Up_StartByte);
        e.click("Btn_PasteRow");
        e.up()->setCurrentCell(1, Up_NumByte);
        e.click("Btn_InsRow");
        e.enter(e.up(), 1, Up_StartByte, "200");
        e.enter(e.up(), 1, Up_NumByte, "1");
        env.messages.setNextAnswer(true);
        e.up()->setCurrentCell(3, Up_NumByte);
        e.click("Btn_DelRow");
        QCOMPARE(env.texts(), QStringList{"Are you sure to delete the Row number 3"});

        e.click("Btn_OK");
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        QVERIFY(!e.dlg.isVisible());
        const QByteArray expected =
            "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"
            "<row Enable=\"Y\" StartByte=\"200\" NumByte=\"1\" OnChange=\"\" OnCMD=\"\" OnTimer=\"\" Time=\"\" "
            "FPort=\"\" Mnemonic=\"\"/>"
            "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"10\" OnChange=\"\" OnCMD=\"\" OnTimer=\"\" Time=\"\" "
            "FPort=\"\" Mnemonic=\"\"/>"
            "<row Enable=\"Y\" StartByte=\"32\" NumByte=\"8\" OnChange=\"\" OnCMD=\"\" OnTimer=\"\" Time=\"\" "
            "FPort=\"\" Mnemonic=\"Pump\"/>"
            "<row Enable=\"Y\" StartByte=\"16\" NumByte=\"4\" OnChange=\"\" OnCMD=\"\" OnTimer=\"Y\" Time=\"60\" "
            "FPort=\"\" Mnemonic=\"\"/>"
            "</LoRaWAN_Uplink><LoRaWAN_Downlink>"
            "<row Enable=\"Y\" StartByte=\"100\" NumByte=\"2\" FPort=\"\" Mnemonic=\"Valve\"/>"
            "</LoRaWAN_Downlink></LoRaWAN_Set_Access><!--SW_VERSION = 1.001-->";
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), expected);

        Editor again(env);
        QVERIFY(again.opened);
        QCOMPARE(tableRules(*again.dlg.uplinkTable(), Direction::Uplink),
                 rules({"Y|200|1||||||", "Y|0|10||||||", "Y|32|8||||||Pump", "Y|16|4|||Y|60||"}));
        QCOMPARE(tableRules(*again.dlg.downlinkTable(), Direction::Downlink), rules({"Y|100|2||Valve"}));
    }

    void deleteRowAsks_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void deleteRowAsks() {
        QFETCH(bool, yes);
        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {{}, rules({"Y|1|1||a", "Y|2|1||b", "Y|3|1||c"})});
        Editor e(env);
        QVERIFY(e.opened);
        e.page(1);
        e.down()->setCurrentCell(2, Down_Mnemonic);
        env.messages.setNextAnswer(yes);
        e.click("Btn_DelRow");
        QCOMPARE(env.messages.entries().size(), 1);
        QVERIFY(env.messages.entries()[0].question);
        QCOMPARE(env.messages.lastText(), "Are you sure to delete the Row number 2");
        QCOMPARE(tableRules(*e.dlg.downlinkTable(), Direction::Downlink),
                 yes ? rules({"Y|1|1||a", "Y|3|1||c"}) : rules({"Y|1|1||a", "Y|2|1||b", "Y|3|1||c"}));
    }

    // A row copied on one page is never pasted on the other, nor after the editor was shown again.
    void pasteOnlyIntoTheCopiedTable() {
        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|1|1|N|N|N|||up"}), rules({"Y|2|1||down"})});
        Editor e(env);
        QVERIFY(e.opened);
        e.up()->setCurrentCell(1, Up_StartByte);
        e.click("Btn_CopyRow");
        e.page(1);
        e.down()->setCurrentCell(2, Down_StartByte);
        e.click("Btn_PasteRow");
        QCOMPARE(env.texts(), QStringList{env.state.Text(TextNothingCopied)});
        QCOMPARE(tableRules(*e.dlg.downlinkTable(), Direction::Downlink), rules({"Y|2|1||down"}));

        // Copying here clears the other page's flag.
        e.down()->setCurrentCell(1, Down_StartByte);
        e.click("Btn_CopyRow");
        e.page(0);
        e.up()->setCurrentCell(2, Up_StartByte);
        e.click("Btn_PasteRow");
        QCOMPARE(env.messages.entries().size(), 2);
        QCOMPARE(env.messages.lastText(), env.state.Text(TextNothingCopied));

        QVERIFY(e.dlg.FormShow());
        e.page(1);
        e.down()->setCurrentCell(2, Down_StartByte);
        e.click("Btn_PasteRow");
        QCOMPARE(env.messages.entries().size(), 3);
        QCOMPARE(env.messages.lastText(), env.state.Text(TextNothingCopied));

        // Within the page the paste works; the buffer outlives the editor.
        e.down()->setCurrentCell(1, Down_StartByte);
        e.click("Btn_CopyRow");
        e.down()->setCurrentCell(2, Down_StartByte);
        e.click("Btn_PasteRow");
        QCOMPARE(tableRules(*e.dlg.downlinkTable(), Direction::Downlink), rules({"Y|2|1||down", "Y|2|1||down"}));
        QCOMPARE(env.state.rowBuffer.Row_Buffer, (QStringList{"Y", "2", "1", "", "down"}));
    }

    void enterKey_data() {
        QTest::addColumn<bool>("jump");
        QTest::addColumn<QByteArray>("port");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toColumn");

        QTest::newRow("on: Time to Mnemonic over hidden FPort")
            << true << QByteArray("Fixed") << 1 << int(Up_Time) << "<Enter>" << 1 << int(Up_Mnemonic);
        QTest::newRow("on: shown FPort is the next field")
            << true << QByteArray("Variable") << 1 << int(Up_Time) << "<Enter>" << 1 << int(Up_FPort);
        QTest::newRow("on: Mnemonic to the next row")
            << true << QByteArray("Fixed") << 1 << int(Up_Mnemonic) << "<Enter>" << 2 << int(Up_Enable);
        QTest::newRow("on: last cell to row 1")
            << true << QByteArray("Fixed") << 256 << int(Up_Mnemonic) << "<Enter>" << 1 << int(Up_Enable);
        QTest::newRow("on: an edit commits and jumps")
            << true << QByteArray("Fixed") << 1 << int(Up_StartByte) << "77<Enter>" << 1 << int(Up_NumByte);
        QTest::newRow("off: Enter stays")
            << false << QByteArray("Fixed") << 1 << int(Up_Time) << "<Enter>" << 1 << int(Up_Time);
        QTest::newRow("off: an edit commits and stays")
            << false << QByteArray("Fixed") << 1 << int(Up_StartByte) << "77<Enter>" << 1 << int(Up_StartByte);
    }

    void enterKey() {
        QFETCH(bool, jump);
        QFETCH(QByteArray, port);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, keys);
        QFETCH(int, toRow);
        QFETCH(int, toColumn);

        Env env;
        env.setParGen("51", port);
        env.state.EnableJumpFieldTables = jump;
        Editor e(env);
        QVERIFY(e.opened);
        e.up()->setFocus();
        e.up()->setCurrentCell(row, column);
        type(keys, e.up());
        QCOMPARE(e.up()->currentRow(), toRow);
        QCOMPARE(e.up()->currentColumn(), toColumn);
        if (keys.startsWith("77"))
            QCOMPARE(e.dlg.uplinkTable()->cellText(1, Up_StartByte), "77");
        QVERIFY(e.dlg.isVisible()); // Enter never closes the dialog
        QVERIFY(env.messages.entries().isEmpty());
    }

    void headerDoubleClick_data() {
        QTest::addColumn<bool>("option");
        QTest::addColumn<bool>("onHeader");
        QTest::addColumn<bool>("sized");

        QTest::newRow("option on, header") << true << true << true;
        QTest::newRow("option off, header") << false << true << false;
        QTest::newRow("option on, data cell") << true << false << false;
    }

    void headerDoubleClick() {
        QFETCH(bool, option);
        QFETCH(bool, onHeader);
        QFETCH(bool, sized);

        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|1|1|N|N|N||2|" + QString(60, 'm')}), {}});
        env.state.DoubleClickAutoSize = option;
        Editor e(env);
        QVERIFY(e.opened);
        QHeaderView* header = e.up()->horizontalHeader();
        const int x = header->sectionViewportPosition(Up_Mnemonic) + 20;
        if (onHeader) {
            QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        } else {
            const QRect cell = e.up()->visualRect(e.dlg.uplinkTable()->cellIndex(2, Up_Mnemonic));
            QTest::mouseDClick(e.up()->viewport(), Qt::LeftButton, {}, cell.center());
            type("<Esc>", e.up());
        }
        QCOMPARE(e.up()->columnWidth(Up_Mnemonic) > 280, sized);
        QCOMPARE(e.up()->columnWidth(Up_Enable), 50);
    }

    void headerHints() {
        Env env;
        env.setParGen("51", "Fixed");
        Editor e(env);
        QVERIFY(e.opened);
        const QString mnemonic = "Insert a description of the LoRaWAN Uplink Rule";
        // By the column's real index, whatever is hidden before it.
        QCOMPARE(e.dlg.GridHint(e.up(), 0, Up_Mnemonic), mnemonic);
        QCOMPARE(e.dlg.GridHint(e.up(), 0, Up_FPort), "Port Field (1-223)");
        QCOMPARE(e.dlg.GridHint(e.up(), 0, Up_Enable), "Enable/Disable the LoRaWAN Uplink Rule");
        QCOMPARE(e.dlg.GridHint(e.up(), 3, Up_Mnemonic), QString());
        QCOMPARE(e.dlg.GridHint(e.up(), 0, 0), QString());
        QCOMPARE(e.dlg.GridHint(e.down(), 0, Down_Mnemonic), "Insert a description of the LoRaWAN Downlink Rule");

        // The header section under the mouse shows the hint of its own column.
        QHeaderView* header = e.up()->horizontalHeader();
        const int logical = header->logicalIndexAt(header->sectionViewportPosition(Up_Mnemonic) + 5);
        QCOMPARE(logical, int(Up_Mnemonic));
        QCOMPARE(e.dlg.uplinkTable()->headerData(logical, Qt::Horizontal, Qt::ToolTipRole).toString(), mnemonic);
        QVERIFY(!e.dlg.uplinkTable()->data(e.dlg.uplinkTable()->cellIndex(1, 2), Qt::ToolTipRole).isValid());
    }

    void numberingClickSelectsTheRow() {
        Env env;
        env.setParGen("51");
        Editor e(env);
        QVERIFY(e.opened);
        const QRect cell = e.up()->visualRect(e.dlg.uplinkTable()->cellIndex(4, 0));
        QTest::mouseClick(e.up()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(e.up()->currentRow(), 4);
        QCOMPARE(e.up()->selectionModel()->selectedIndexes().size(), UplinkColumns - 1);
    }

    void cancelWritesNothing() {
        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|1|1|N|N|N|||keep"}), {}});
        const QByteArray before = readFile(env.state.LoRaWANSetAccessFile());
        TFLoRa_Set_Access dlg(env.state);
        QTimer::singleShot(0, &dlg, [&] {
            dlg.uplinkTable()->setCellText(1, Up_Mnemonic, "changed");
            QTest::mouseClick(dlg.findChild<QPushButton*>("Btn_Cancel"), Qt::LeftButton);
        });
        QVERIFY(dlg.Show_Modal());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), before);

        // Nothing of the cancelled edit survives the next showing.
        QVERIFY(dlg.FormShow());
        QCOMPARE(dlg.uplinkTable()->cellText(1, Up_Mnemonic), "keep");
    }

    // A failing check: one message, dialog open, page and current cell kept, nothing written.
    void checkFailureKeepsEverything() {
        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|0|49|N|N|N|||"}), rules({"Y|0|1||", "Y|0|1||"})});
        const QByteArray before = readFile(env.state.LoRaWANSetAccessFile());
        Editor e(env);
        QVERIFY(e.opened);
        e.dlg.uplinkTable()->setCellText(1, Up_NumByte, "50");
        e.page(1);
        e.down()->setCurrentCell(2, Down_Mnemonic);
        e.click("Btn_OK");
        QCOMPARE(env.texts(), QStringList{"Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49"});
        QCOMPARE(env.messages.entries()[0].icon, Messages::Icon::Error);
        QVERIFY(e.dlg.isVisible());
        QCOMPARE(e.pages()->currentIndex(), 1);
        QCOMPARE(e.down()->currentRow(), 2);
        QCOMPARE(e.down()->currentColumn(), int(Down_Mnemonic));
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), before);
    }

    // A hidden FPort is written back as it was, unchecked.
    void hiddenFPortKept() {
        Env env;
        env.setParGen("51", "Fixed");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|0|1|N|N|N||999|"}), rules({"Y|0|1|abc|"})});
        const QByteArray before = readFile(env.state.LoRaWANSetAccessFile());
        Editor e(env);
        QVERIFY(e.opened);
        e.click("Btn_OK");
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        QVERIFY(env.messages.entries().isEmpty());
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), before);
    }

    void brokenFileNotOpened_data() {
        QTest::addColumn<bool>("pargenBroken");
        QTest::newRow("ParGen.xml") << true;
        QTest::newRow("LoRaWAN_SetAccess.xml") << false;
    }

    void brokenFileNotOpened() {
        QFETCH(bool, pargenBroken);
        Env env;
        const QByteArray broken = "<Par_Gen><LoRa_Payload_Size>51</Par_Gen>";
        const QByteArray good = parGen("51", "Fixed");
        QVERIFY(writeFile(env.state.ParGenFile(), pargenBroken ? broken : good));
        QVERIFY(writeFile(env.state.LoRaWANSetAccessFile(), pargenBroken ? QByteArray("<LoRaWAN_Set_Access/>")
                                                                         : QByteArray("<LoRaWAN_Set_Access><row>")));
        const QByteArray rulesBefore = readFile(env.state.LoRaWANSetAccessFile());
        TFLoRa_Set_Access dlg(env.state);
        QTimer::singleShot(0, &dlg, [&] { dlg.reject(); }); // would end the dialog had it opened
        QVERIFY(!dlg.Show_Modal());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(env.messages.entries().size(), 1);
        const QString file = pargenBroken ? env.state.ParGenFile() : env.state.LoRaWANSetAccessFile();
        QVERIFY2(env.messages.lastText().contains(QDir::toNativeSeparators(file)), qPrintable(env.messages.lastText()));
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), rulesBefore);
        QCOMPARE(readFile(env.state.ParGenFile()), pargenBroken ? broken : good);
    }

    // A file without its lists, and one with a comment among the rules, are written whole again.
    void handEditedFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");

        QTest::newRow("no downlink list") << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row StartByte=\"1\" "
                                                        "NumByte=\"2\"/></LoRaWAN_Uplink></LoRaWAN_Set_Access>")
                                          << QStringList{"Y|1|2|N|N|N|||"} << QStringList();
        QTest::newRow("no lists") << QByteArray("<LoRaWAN_Set_Access/>") << QStringList() << QStringList();
        QTest::newRow("a comment among the rules")
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row StartByte=\"1\" NumByte=\"2\"/><!-- spare -->"
                          "<row StartByte=\"3\" NumByte=\"4\"/></LoRaWAN_Uplink><LoRaWAN_Downlink><!-- none -->"
                          "</LoRaWAN_Downlink></LoRaWAN_Set_Access>")
            << QStringList{"Y|1|2|N|N|N|||", "Y|3|4|N|N|N|||"} << QStringList();
    }

    void handEditedFiles() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);

        Env env;
        env.setParGen("51");
        QVERIFY(writeFile(env.state.LoRaWANSetAccessFile(), file));
        Editor e(env);
        QVERIFY(e.opened);
        QVERIFY(env.messages.entries().isEmpty());
        e.click("Btn_OK");
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), toXml({rules(uplink), rules(downlink)}));
    }

    // 256 rules saved in the fixed mode, opened in the variable mode: the warning names what is not
    // shown, and OK drops just that.
    void moreRulesThanRows() {
        Env env;
        env.setParGen("51", "Variable");
        QStringList up, down;
        for (int i = 0; i < 256; ++i) {
            up << QString("Y|%1|1|N|N|N||2|").arg(i);
            if (i < 224)
                down << QString("N|%1|1|2|").arg(i);
        }
        saveRules(env.state.LoRaWANSetAccessFile(), {rules(up), rules(down)});
        Editor e(env);
        QVERIFY(e.opened);
        QCOMPARE(env.texts(), QStringList{notShownWarning(33, 1, 223, env.state.catalogue)});
        QCOMPARE(env.messages.entries()[0].icon, Messages::Icon::Warning);
        QCOMPARE(e.dlg.uplinkTable()->cellText(223, Up_StartByte), "222");
        e.click("Btn_OK");
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        const std::optional<RuleLists> saved = loadRules(env.state.LoRaWANSetAccessFile());
        QCOMPARE(saved->uplink, rules(up.mid(0, 223)));
        QCOMPARE(saved->downlink, rules(down.mid(0, 223)));
    }

    // The write fails half-way (file size limit, which holds for root too): the error names the file,
    // the dialog stays open with the input, the old file stays whole.
    void failedSaveStaysOpen() {
        Env env;
        env.setParGen("51");
        saveRules(env.state.LoRaWANSetAccessFile(), {rules({"Y|0|1|N|N|N|||old"}), {}});
        const QByteArray before = readFile(env.state.LoRaWANSetAccessFile());
        Editor e(env);
        QVERIFY(e.opened);
        e.dlg.uplinkTable()->setCellText(1, Up_Mnemonic, QString(4000, 'm'));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        e.click("Btn_OK");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(env.messages.entries().size(), 1);
        QVERIFY2(env.messages.lastText().contains("LoRaWAN_SetAccess.xml"), qPrintable(env.messages.lastText()));
        QVERIFY(e.dlg.isVisible());
        QCOMPARE(e.dlg.uplinkTable()->cellText(1, Up_Mnemonic), QString(4000, 'm'));
        QCOMPARE(readFile(env.state.LoRaWANSetAccessFile()), before);
        QCOMPARE(QDir(env.state.ActiveConfigPath).entryList(QDir::Files),
                 (QStringList{"LoRaWAN_SetAccess.xml", "ParGen.xml"}));
    }

    void setLangRereadsTexts() {
        Env env;
        env.setParGen("51");
        Editor e(env);
        QVERIFY(e.opened);
        const QString path = env.dir.filePath("Test.lng");
        QVERIFY(writeFile(path, "STR1200 = Regole\r\nSTR1214 = Salita\r\nSTR1222 = Timer\r\nSTR1230 = Suggerimento\r\n"
                                "STR1207 = Incolla\r\n"));
        env.state.catalogue.Read_Language_File(path);
        e.dlg.Set_Lang();
        QCOMPARE(e.dlg.windowTitle(), "Regole");
        QCOMPARE(e.pages()->tabText(0), "Salita");
        QCOMPARE(e.dlg.uplinkTable()->headerData(Up_OnTimer, Qt::Horizontal).toString(), "Timer");
        QCOMPARE(e.dlg.GridHint(e.up(), 0, Up_OnTimer), "Suggerimento");
        QCOMPARE(e.dlg.findChild<QPushButton*>("Btn_PasteRow")->text(), "Incolla");
    }
};

QTEST_MAIN(TestTFLoRaSetAccess)
#include "tst_tflorasetaccess.moc"
