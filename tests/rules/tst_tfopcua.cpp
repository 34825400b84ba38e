// SPDX-License-Identifier: MIT
#include "RulesTestUtil.h"
#include "app/AppState.h"
#include "common/MessageService.h"
#include "rules/OpcUaTable.h"
#include "rules/OpcUaVariables.h"
#include "rules/RuleGrid.h"
#include "rules/TFOPC_UA_Server_Access.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using namespace OpcUaTable;
using RulesTest::dump;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A variables file from row elements' attribute lists.
QByteArray variablesFile(const QList<QByteArray>& rows) {
    QByteArray xml = "<OPC_UA_Server><OPC_UA_Server_Variables>";
    for (const QByteArray& r : rows)
        xml += "<row " + r + "/>";
    return xml + "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.001-->";
}

// A program folder with one active configuration and the default catalogue; messages are recorded.
struct Env {
    QTemporaryDir dir;
    AppState state;
    MessageRecorder messages;

    Env() {
        state.setProgramFolder(dir.path());
        QDir().mkpath(state.ProjectsFolder + "/Plant");
        state.ActiveConfigPath = state.ProjectsFolder + "/Plant";
        state.catalogue.Build_Default_Texts();
    }
};

// The editor opened without a modal loop over the file of `env`, and ways to use it as a user does.
struct Editor {
    Env& env;
    TFOPC_UA_Server_Access dlg;
    RuleGrid& grid;
    RuleTable& table;

    explicit Editor(Env& e)
        : env(e)
        , dlg(e.state)
        , grid(*dlg.grid())
        , table(*dlg.table()) {}

    bool open() {
        if (!dlg.FormShow())
            return false;
        dlg.show();
        return QTest::qWaitForWindowExposed(&dlg);
    }

    QWidget* button(const char* name) const { return dlg.findChild<QWidget*>(QLatin1String(name)); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    QRect cellRect(int row, int column) const { return grid.visualRect(table.cellIndex(row, column)); }
    void clickCell(int row, int column) {
        grid.scrollTo(table.cellIndex(row, column));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellRect(row, column).center());
    }

    // Opens the cell's drop-down list with a key and clicks the item in the open list.
    bool choose(int row, int column, const QString& item) {
        grid.setCurrentCell(row, column);
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_F2);
        auto* list = qobject_cast<QComboBox*>(dlg.focusWidget());
        if (!list || list->findText(item) < 0)
            return false;
        list->showPopup();
        QAbstractItemView* view = list->view();
        if (!QTest::qWaitForWindowExposed(view->window()))
            return false;
        const QModelIndex entry = view->model()->index(list->findText(item), 0);
        view->scrollTo(entry);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return table.cellText(row, column) == item;
    }

    // Types `text` into the cell as a user would: select it, type, Enter.
    void typeInto(int row, int column, const QString& text) {
        grid.setCurrentCell(row, column);
        grid.setFocus();
        QTest::keyClicks(&grid, text.left(1));
        QWidget* editor = dlg.focusWidget(); // the grid itself when the cell is locked
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }

    QStringList rows(int count) const { return dump(table).mid(0, count); }
};

} // namespace

class TestTFOpcUa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void frameAndGrid() {
        Env env;
        Editor ed(env);
        QVERIFY(ed.open());
        QCOMPARE(ed.dlg.size(), QSize(1200, 337));
        QCOMPARE(ed.dlg.windowTitle(), QString("Definition of OPC UA Server Variables"));
        QCOMPARE(ed.dlg.findChild<QLabel*>("L_SW_Code")->text(), QString("SWKV210"));
        QCOMPARE(ed.dlg.findChild<QLabel*>("L_SW_Desc")->text(), QString("Definition of OPC UA Server Variables"));
        QCOMPARE(ed.grid.objectName(), QString("ASG"));
        QCOMPARE(ed.table.gridRows(), 251);
        QCOMPARE(ed.table.gridColumns(), 8);

        const QStringList headers{"N", "Enable", "Type", "Position", "Length", "Name", "R/W", "Mnemonic"};
        const QList<int> widths{40, 50, 120, 100, 100, 280, 100, 280};
        const QList<uint> backgrounds{0, 0xFFD8B0, 0xE0FAFE, 0xA8FFA8, 0xA8FFA8, 0xFCD6F4, 0xFCD6F4, 0xFFFFFF};
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(ed.table.headerData(c, Qt::Horizontal).toString(), headers[c]);
            QVERIFY(!ed.table.headerData(c, Qt::Horizontal, Qt::ToolTipRole).isValid());
            QCOMPARE(ed.grid.columnWidth(c), widths[c]);
            QCOMPARE(ed.table.data(ed.table.cellIndex(7, c), RuleTable::BackgroundRgbRole).toUInt(), backgrounds[c]);
        }
        QCOMPARE(ed.table.cellText(1, 0), QString("1"));
        QCOMPARE(ed.table.cellText(250, 0), QString("250"));
        QCOMPARE(ed.table.data(ed.table.cellIndex(3, ColEnable), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(ed.rows(2), (QStringList{"[x]||||||", "[x]||||||"}));
        QCOMPARE(dump(ed.table).last(), QString("[x]||||||"));

        // The whole grid and the buttons lie inside the client area, nothing overlaps.
        const QRect client = ed.dlg.rect();
        QVERIFY(client.contains(ed.grid.geometry()));
        QList<QRect> taken{ed.grid.geometry()};
        for (const char* name : {"Btn_DelRow", "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow", "Btn_OK", "Btn_Cancel"}) {
            const QRect r = ed.button(name)->geometry();
            QVERIFY2(client.contains(r), name);
            for (const QRect& other : taken)
                QVERIFY2(!r.intersects(other), name);
            taken.append(r);
        }
        // The eight columns fit without a horizontal scroll bar.
        QVERIFY(!ed.grid.horizontalScrollBar()->isVisible());
    }

    void languageChange() {
        Env env;
        Editor ed(env);
        const QString lng = env.dir.filePath("Test.lng");
        QVERIFY(writeFile(lng, "STR5800 = Variabili\nSTR5801 = Variabili OPC\nSTR5804 = Cancella riga\n"
                               "STR5813 = Incolla\nSTR5816 = Tipo\nSTR5829 = L/S\n"));
        env.state.catalogue.Read_Language_File(lng);
        ed.dlg.Set_Lang();
        QCOMPARE(ed.dlg.windowTitle(), QString("Variabili"));
        QCOMPARE(ed.dlg.findChild<QLabel*>("L_SW_Desc")->text(), QString("Variabili OPC"));
        QCOMPARE(ed.dlg.findChild<QPushButton*>("Btn_DelRow")->text(), QString("Cancella riga"));
        QCOMPARE(ed.button("Btn_PasteRow")->toolTip(), QString("Incolla"));
        QCOMPARE(ed.button("Btn_InsRow")->toolTip(), QString("Insert a Row in the Table"));
        QCOMPARE(ed.table.headerData(ColType, Qt::Horizontal).toString(), QString("Tipo"));
        QCOMPARE(ed.table.headerData(ColReadWrite, Qt::Horizontal).toString(), QString("L/S"));
    }

    // Types chosen through the real drop-down list of row 1, one after the other, then text typed
    // into the Length cell: the row afterwards.
    void chooseType_data() {
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("row");
        QTest::newRow("Float locks 4") << QStringList{"Float"} << "77"
                                       << "[x]|Float||!4||Read/Write|";
        QTest::newRow("then String: 10, typable") << QStringList{"Float", "String"} << "32"
                                                  << "[x]|String||32||Read/Write|";
        QTest::newRow("ByteString then Double") << QStringList{"ByteString", "Double"} << "3"
                                                << "[x]|Double||!8||Read/Write|";
        QTest::newRow("Signed Byte") << QStringList{"Signed Byte"} << ""
                                     << "[x]|Signed Byte||!1||Read/Write|";
        QTest::newRow("UInt16") << QStringList{"UInt16"} << ""
                                << "[x]|UInt16||!2||Read/Write|";
    }
    void chooseType() {
        QFETCH(QStringList, types);
        QFETCH(QString, typed);
        QFETCH(QString, row);
        Env env;
        Editor ed(env);
        QVERIFY(ed.open());
        for (const QString& t : types)
            QVERIFY2(ed.choose(1, ColType, t), qPrintable(t));
        if (!typed.isEmpty())
            ed.typeInto(1, ColLength, typed);
        QCOMPARE(ed.rows(2), (QStringList{row, "[x]||||||"}));
    }

    void typeList() {
        Env env;
        Editor ed(env);
        QVERIFY(ed.open());
        ed.grid.setCurrentCell(1, ColType);
        ed.grid.setFocus();
        QTest::keyClick(&ed.grid, Qt::Key_F2);
        auto* list = qobject_cast<QComboBox*>(ed.dlg.focusWidget());
        QVERIFY(list);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QCOMPARE(items, (QStringList{"Boolean", "Signed Byte", "Byte", "Int16", "UInt16", "Int32", "UInt32", "Int64",
                                     "UInt64", "Float", "Double", "String", "ByteString"}));
        QTest::keyClick(list, Qt::Key_Escape);

        // The R/W list offers the two access names; a choice there changes nothing else.
        QVERIFY(ed.choose(2, ColReadWrite, "Read Only"));
        QCOMPARE(ed.rows(2).at(1), QString("[x]|||||Read Only|"));
    }

    void checkBoxByMouseAndSpace() {
        Env env;
        Editor ed(env);
        QVERIFY(ed.open());
        ed.clickCell(3, ColEnable);
        QCOMPARE(ed.table.isChecked(3, ColEnable), false);
        // A click beside the box only makes the cell current.
        QTest::mouseClick(ed.grid.viewport(), Qt::LeftButton, {}, ed.cellRect(3, ColEnable).topLeft() + QPoint(2, 2));
        QCOMPARE(ed.table.isChecked(3, ColEnable), false);
        QCOMPARE(ed.grid.currentRow(), 3);
        QTest::keyClick(&ed.grid, Qt::Key_Space);
        QCOMPARE(ed.table.isChecked(3, ColEnable), true);
        QTest::keyClick(&ed.grid, Qt::Key_Space);
        QCOMPARE(ed.table.isChecked(3, ColEnable), false);
        QCOMPARE(ed.rows(3), (QStringList{"[x]||||||", "[x]||||||", "[ ]||||||"}));
    }

    // A stored file as the grid shows it.
    void show_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("stored Int16 Length 7 locked, Enable n checked")
            << variablesFile({R"(Enable="n" Type="Int16" Position="0" Length="7" Name="a" ReadWrite="Read Only")",
                              R"(Enable="N" Type="String" Position="5000" Length="64" Name="b" Mnemonic=" m ")"})
            << QStringList{"[x]|Int16|0|!7|a|Read Only|", "[ ]|String|5000|64|b|| m ", "[x]||||||"};
        QTest::newRow("no variables list")
            << QByteArray("<OPC_UA_Server><Other/></OPC_UA_Server>") << QStringList{"[x]||||||"};
    }
    void show() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(), file));
        Editor ed(env);
        QVERIFY(ed.open());
        QCOMPARE(ed.rows(int(rows.size())), rows);
        QVERIFY(env.messages.entries().isEmpty());
    }

    // A showing starts from scratch: what the previous one left is gone.
    void showResets() {
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(), variablesFile({R"(Type="Float" Length="4")"})));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.typeInto(5, ColName, "left over");
        ed.clickCell(6, ColEnable);
        QVERIFY(ed.choose(7, ColType, "Byte"));
        QVERIFY(ed.dlg.FormShow());
        QCOMPARE(ed.rows(7), (QStringList{"[x]|Float||!4|||", "[x]||||||", "[x]||||||", "[x]||||||", "[x]||||||",
                                          "[x]||||||", "[x]||||||"}));
    }

    void deleteRow_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("No") << false
                            << QStringList{"[x]|Byte|1|!1|a||", "[ ]|Float|2|!4|b||", "[x]|String|3|12|c||",
                                           "[x]||||||"};
        QTest::newRow("Yes") << true
                             << QStringList{"[x]|Byte|1|!1|a||", "[x]|String|3|12|c||", "[x]||||||", "[x]||||||"};
    }
    void deleteRow() {
        QFETCH(bool, yes);
        QFETCH(QStringList, rows);
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(),
                          variablesFile({R"(Type="Byte" Position="1" Length="1" Name="a")",
                                         R"(Enable="N" Type="Float" Position="2" Length="4" Name="b")",
                                         R"(Type="String" Position="3" Length="12" Name="c")"})));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.clickCell(2, ColName);
        env.messages.setNextAnswer(yes);
        ed.click("Btn_DelRow");
        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().question, true);
        QCOMPARE(env.messages.lastText(), QString("Are you sure to delete the Row number 2"));
        QCOMPARE(ed.rows(4), rows);
        QCOMPARE(dump(ed.table).last(), QString("[x]||||||"));
    }

    // After deletes the rows cleared at the end take typing in every cell.
    void deletedRowsEditable() {
        Env env;
        QList<QByteArray> stored;
        for (int i = 0; i < 250; ++i)
            stored << QByteArray(R"(Type="Double" Position="1" Length="8")");
        QVERIFY(writeFile(env.state.OPCUAServerFile(), variablesFile(stored)));
        Editor ed(env);
        QVERIFY(ed.open());
        QCOMPARE(dump(ed.table).last(), QString("[x]|Double|1|!8|||"));
        ed.grid.setCurrentCell(1, ColName);
        for (int i = 0; i < 2; ++i) {
            env.messages.setNextAnswer(true);
            ed.click("Btn_DelRow");
        }
        ed.typeInto(250, ColLength, "5");
        QCOMPARE(dump(ed.table).mid(247), (QStringList{"[x]|Double|1|!8|||", "[x]||||||", "[x]|||5|||"}));
    }

    void insertRow() {
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(),
                          variablesFile({R"(Type="Byte" Position="1" Length="1")",
                                         R"(Enable="N" Type="Float" Position="2" Length="4")"})));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.clickCell(2, ColPosition);
        ed.click("Btn_InsRow");
        QVERIFY(env.messages.entries().isEmpty());
        QCOMPARE(ed.rows(4), (QStringList{"[x]|Byte|1|!1|||", "[x]||||||", "[ ]|Float|2|!4|||", "[x]||||||"}));
        ed.typeInto(2, ColLength, "3"); // the inserted row is editable
        QCOMPARE(ed.table.cellText(2, ColLength), QString("3"));
    }

    // Copy a row, go to another, paste (answering the "row in use" question): the row afterwards.
    void paste_data() {
        QTest::addColumn<int>("from"); // 0: nothing copied
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("messages");
        const QString inUse = "Row Already used. Do you want to overwrite the values?";
        QTest::newRow("Double over String keeps 8, locked")
            << 1 << 2 << true << "[x]|Double|10|!8|d|Read Only|dm" << QStringList{inUse};
        QTest::newRow("stored Int16 Length 7 keeps 7")
            << 3 << 4 << true << "[ ]|Int16|30|!7|i|Read/Write|" << QStringList{};
        QTest::newRow("declined: the steps still run")
            << 1 << 2 << false << "[x]|String|20|16|s|Read/Write|" << QStringList{inUse};
        QTest::newRow("nothing copied: the steps still run")
            << 0 << 5 << false << "[x]|Float|50|!7||Read/Write|"
            << QStringList{"Error!!! Copy a valid row before Paste it"};
    }
    void paste() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, answer);
        QFETCH(QString, row);
        QFETCH(QStringList, messages);
        Env env;
        // Row 2's R/W is missing and row 5's Length unlocked though Float: as a file edited by hand.
        QVERIFY(
            writeFile(env.state.OPCUAServerFile(),
                      variablesFile({R"(Type="Double" Position="10" Length="8" Name="d" ReadWrite="Read Only" )"
                                     R"(Mnemonic="dm")",
                                     R"(Type="String" Position="20" Length="16" Name="s")",
                                     R"(Enable="N" Type="Int16" Position="30" Length="7" Name="i" ReadWrite="")"})));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.table.setCellText(5, ColType, "Float");
        ed.table.setCellText(5, ColPosition, "50");
        ed.table.setCellText(5, ColLength, "7");
        if (from > 0) {
            ed.clickCell(from, ColName);
            ed.click("Btn_CopyRow");
        }
        ed.clickCell(to, ColName);
        env.messages.setNextAnswer(answer);
        ed.click("Btn_PasteRow");
        QCOMPARE(env.messages.texts(), messages);
        QCOMPARE(dump(ed.table).at(to - 1), row);
    }

    // A row copied in an earlier showing is not pasted in the next one.
    void copyForgottenOnShow() {
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(), variablesFile({R"(Type="Byte" Position="1" Length="1")"})));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.clickCell(1, ColName);
        ed.click("Btn_CopyRow");
        QVERIFY(ed.dlg.FormShow());
        ed.clickCell(2, ColName);
        ed.click("Btn_PasteRow");
        QCOMPARE(env.messages.texts(), QStringList{"Error!!! Copy a valid row before Paste it"});
        QCOMPARE(ed.rows(2).at(1), QString("[x]|||||Read/Write|"));
    }

    // OK on a stored file: the message of the data check, or the rows saved.
    void ok_data() {
        QTest::addColumn<QList<QByteArray>>("stored");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("saved");
        QTest::newRow("1999 passes") << QList<QByteArray>{R"(Type="Byte" Position="1999" Length="1")"} << "" << 1;
        QTest::newRow("2000 fails") << QList<QByteArray>{R"(Type="Byte" Position="0" Length="1")",
                                                         R"(Type="Byte" Position="2000" Length="1")"}
                                    << "Error row 2!! Position Must be Between 0 and 2000" << 0;
        QTest::newRow("unchecked 5000 saved")
            << QList<QByteArray>{R"(Enable="N" Type="Byte" Position="5000")", R"(Type="Float" Position="4")"} << ""
            << 2;
        QTest::newRow("empty Type stops the save")
            << QList<QByteArray>{R"(Type="Byte" Position="1")", R"(Type=" " Position="x")",
                                 R"(Type="Byte" Position="3")"}
            << "" << 1;
        QTest::newRow("but not the check")
            << QList<QByteArray>{R"(Type="Byte" Position="1")", R"(Type="" Position="x")",
                                 R"(Type="Byte" Position="-1")"}
            << "Error row 3!! Position Must be Between 0 and 2000" << 0;
    }
    void ok() {
        QFETCH(QList<QByteArray>, stored);
        QFETCH(QString, message);
        QFETCH(int, saved);
        Env env;
        const QByteArray before = variablesFile(stored);
        QVERIFY(writeFile(env.state.OPCUAServerFile(), before));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.clickCell(1, ColMnemonic);
        ed.click("Btn_OK");
        if (message.isEmpty()) {
            QVERIFY(env.messages.entries().isEmpty());
            QCOMPARE(ed.dlg.result(), int(QDialog::Accepted));
            QCOMPARE(OpcUaVariables::load(env.state.OPCUAServerFile()).rows.size(), saved);
        } else {
            QCOMPARE(env.messages.texts(), QStringList{message});
            QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Error);
            QVERIFY(ed.dlg.isVisible());
            QCOMPARE(ed.grid.currentRow(), 1);
            QCOMPARE(readFile(env.state.OPCUAServerFile()), before);
        }
    }

    // A user on a new configuration adds five variables, uses every row button, presses OK; the file
    // holds them in the file's form and a new showing gives them back.
    void newConfiguration() {
        Env env;
        Editor ed(env);
        bool ran = false;
        QTimer::singleShot(0, &ed.dlg, [&] {
            const struct {
                QString type;
                QString position;
                QString name;
                QString rw;
            } vars[] = {{"Boolean", "0", "Pump on", "Read/Write"},
                        {"Int16", "2", "Level", "Read Only"},
                        {"Float", "4", "Temperature", "Read Only"},
                        {"String", "8", "Tag", "Read/Write"},
                        {"UInt32", "20", "Counter", "Read Only"}};
            int row = 1;
            for (const auto& v : vars) {
                if (!ed.choose(row, ColType, v.type) || !ed.choose(row, ColReadWrite, v.rw)) {
                    ed.dlg.reject();
                    return;
                }
                ed.typeInto(row, ColPosition, v.position);
                ed.typeInto(row, ColName, v.name);
                ++row;
            }
            ed.typeInto(4, ColLength, "12");
            ed.typeInto(3, ColMnemonic, "boiler & flow");
            ed.clickCell(5, ColEnable); // Counter off

            ed.clickCell(2, ColName); // copy Level into a new row 4
            ed.click("Btn_CopyRow");
            ed.clickCell(4, ColName);
            ed.click("Btn_InsRow");
            ed.click("Btn_PasteRow");
            ed.typeInto(4, ColPosition, "40");
            env.messages.setNextAnswer(true);
            ed.click("Btn_DelRow"); // and away with it again
            ran = true;
            ed.click("Btn_OK");
        });
        QVERIFY(ed.dlg.Show_Modal());
        QVERIFY(ran);
        QCOMPARE(env.messages.texts(), QStringList{"Are you sure to delete the Row number 4"});
        QCOMPARE(ed.dlg.result(), int(QDialog::Accepted));
        const QByteArray expected =
            "<OPC_UA_Server><OPC_UA_Server_Variables>"
            R"(<row Enable="Y" Type="Boolean" Position="0" Length="1" Name="Pump on" ReadWrite="Read/Write" Mnemonic=""/>)"
            R"(<row Enable="Y" Type="Int16" Position="2" Length="2" Name="Level" ReadWrite="Read Only" Mnemonic=""/>)"
            R"(<row Enable="Y" Type="Float" Position="4" Length="4" Name="Temperature" ReadWrite="Read Only" )"
            R"(Mnemonic="boiler &amp; flow"/>)"
            R"(<row Enable="Y" Type="String" Position="8" Length="12" Name="Tag" ReadWrite="Read/Write" Mnemonic=""/>)"
            R"(<row Enable="N" Type="UInt32" Position="20" Length="4" Name="Counter" ReadWrite="Read Only" )"
            R"(Mnemonic=""/>)"
            "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.001-->";
        QCOMPARE(readFile(env.state.OPCUAServerFile()), expected);

        QStringList shown;
        QTimer::singleShot(0, &ed.dlg, [&] {
            shown = ed.rows(6);
            ed.click("Btn_Cancel");
        });
        QVERIFY(ed.dlg.Show_Modal());
        QCOMPARE(shown,
                 (QStringList{"[x]|Boolean|0|!1|Pump on|Read/Write|", "[x]|Int16|2|!2|Level|Read Only|",
                              "[x]|Float|4|!4|Temperature|Read Only|boiler & flow", "[x]|String|8|12|Tag|Read/Write|",
                              "[ ]|UInt32|20|!4|Counter|Read Only|", "[x]||||||"}));
    }

    void cancelWritesNothing() {
        Env env;
        const QByteArray before = variablesFile({R"(Type="Byte" Position="1" Length="1" Name="a")"});
        QVERIFY(writeFile(env.state.OPCUAServerFile(), before));
        Editor ed(env);
        QTimer::singleShot(0, &ed.dlg, [&] {
            ed.typeInto(1, ColName, "changed");
            ed.choose(2, ColType, "Float");
            ed.click("Btn_Cancel");
        });
        QVERIFY(ed.dlg.Show_Modal());
        QCOMPARE(ed.dlg.result(), int(QDialog::Rejected));
        QTimer::singleShot(0, &ed.dlg, [&] { QTest::keyClick(&ed.dlg, Qt::Key_Escape); });
        QVERIFY(ed.dlg.Show_Modal());
        QCOMPARE(ed.dlg.result(), int(QDialog::Rejected));
        QCOMPARE(readFile(env.state.OPCUAServerFile()), before);
        QVERIFY(env.messages.entries().isEmpty());

        // Without a file, Cancel creates none.
        QVERIFY(QFile::remove(env.state.OPCUAServerFile()));
        QTimer::singleShot(0, &ed.dlg, [&] { ed.click("Btn_Cancel"); });
        QVERIFY(ed.dlg.Show_Modal());
        QVERIFY(!QFile::exists(env.state.OPCUAServerFile()));
    }

    void brokenFileNotOpened() {
        Env env;
        const QByteArray broken = "<OPC_UA_Server><OPC_UA_Server_Variables><row Type=\"Byte\">"
                                  "</OPC_UA_Server_Variables></OPC_UA_Server>";
        QVERIFY(writeFile(env.state.OPCUAServerFile(), broken));
        Editor ed(env);
        bool shown = false;
        QTimer::singleShot(0, &ed.dlg, [&] {
            shown = ed.dlg.isVisible();
            ed.dlg.reject();
        });
        QVERIFY(!ed.dlg.Show_Modal());
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Error);
        QVERIFY2(env.messages.lastText().contains("OPC_UA_Server.xml"), qPrintable(env.messages.lastText()));
        QCOMPARE(readFile(env.state.OPCUAServerFile()), broken);
    }

    // A file without the variables list reads as empty; OK writes a whole file.
    void listMissingWrittenWhole() {
        Env env;
        QVERIFY(writeFile(env.state.OPCUAServerFile(), "<OPC_UA_Server/>"));
        Editor ed(env);
        QVERIFY(ed.open());
        QVERIFY(ed.choose(1, ColType, "Byte"));
        ed.typeInto(1, ColPosition, "7");
        ed.click("Btn_OK");
        QCOMPARE(ed.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(readFile(env.state.OPCUAServerFile()),
                 QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables>"
                            R"(<row Enable="Y" Type="Byte" Position="7" Length="1" Name="" ReadWrite="Read/Write" )"
                            R"(Mnemonic=""/></OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.001-->)"));
    }

    void tooManyVariables() {
        Env env;
        QList<QByteArray> stored;
        for (int i = 1; i <= 253; ++i)
            stored << QStringLiteral(R"(Type="Byte" Position="%1" Length="1" Name="v%1")").arg(i).toUtf8();
        QVERIFY(writeFile(env.state.OPCUAServerFile(), variablesFile(stored)));
        Editor ed(env);
        QVERIFY(ed.open());
        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Warning);
        QCOMPARE(env.messages.lastText(),
                 QString("Warning!! 3 variables are not shown: the table holds 250 variables. They will be dropped "
                         "if you press OK."));
        QCOMPARE(dump(ed.table).last(), QString("[x]|Byte|250|!1|v250||"));
        ed.click("Btn_OK");
        const QList<OpcUaVariable> saved = OpcUaVariables::load(env.state.OPCUAServerFile()).rows;
        QCOMPARE(saved.size(), 250);
        QCOMPARE(saved.last().name, QString("v250"));
    }

    // The file cannot be written: the general error says why, the dialog stays open, the old file is
    // whole.
    void failedSaveStaysOpen() {
        Env env;
        const QByteArray before = variablesFile({R"(Type="Byte" Position="1" Length="1" Name="a")"});
        QVERIFY(writeFile(env.state.OPCUAServerFile(), before));
        Editor ed(env);
        QVERIFY(ed.open());
        ed.typeInto(1, ColName, QString(300, 'n'));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 200;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        ed.click("Btn_OK");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(env.messages.entries().size(), 1);
        QCOMPARE(env.messages.entries().first().icon, Messages::Icon::Error);
        QVERIFY2(env.messages.lastText().contains("OPC_UA_Server.xml"), qPrintable(env.messages.lastText()));
        QVERIFY(ed.dlg.isVisible());
        QCOMPARE(ed.table.cellText(1, ColName), QString(300, 'n'));
        QCOMPARE(readFile(env.state.OPCUAServerFile()), before);
        QCOMPARE(QDir(env.state.ActiveConfigPath).entryList(QDir::Files), QStringList{"OPC_UA_Server.xml"});
    }
};

QTEST_MAIN(TestTFOpcUa)
#include "tst_tfopcua.moc"
