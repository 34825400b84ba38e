// SPDX-License-Identifier: MIT
#include "RulesTestUtil.h"
#include "app/AppState.h"
#include "common/MessageService.h"
#include "language/TextCatalogue.h"
#include "rules/RowOperations.h"
#include "rules/RuleTable.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace RulesTest;

namespace {

enum Family { TextBoxes, CellBoxes };

// Text check-box grid: N | Enable | Start | Num | On Timer | FPort (hidden by its editor) | Mnemonic.
// Cell check-box grid: N | Enable | Type | Length | Name. Both with five data rows.
void shape(RuleTable& table, Family family) {
    if (family == TextBoxes) {
        table.setShape(6, 7);
        RuleTable::Column check;
        check.kind = RuleTable::ColumnKind::TextCheckBox;
        table.setColumn(1, check);
        table.setColumn(4, check);
    } else {
        table.setShape(6, 5);
    }
}

const QStringList kText = {"Y|10|4|N|7|first", "N|20|5|Y|8|second", "Y|30|6|N|9|third", "Y|40|7|N|10|fourth",
                           "Y|50|8|Y|11|fifth"};
const QString kTextEmpty = "|||||";
const QString kTextNew = "Y|||||";

const QStringList kCells = {"[x]|Int16|!2|a", "[ ]|String|10|b", "[x]|Float|!4|c", "[x]|Byte|!1|d", "![ ]|Double|!8|e"};
const QString kCellsOn = "[x]|||";
const QString kCellsOff = "[ ]|||";

QStringList rows(const QStringList& source, std::initializer_list<int> picks, std::initializer_list<QString> extra,
                 int extraAt) {
    QStringList out;
    for (int p : picks)
        out << source[p - 1];
    int i = extraAt - 1;
    for (const QString& e : extra)
        out.insert(i++, e);
    return out;
}

} // namespace

class TestRowOperations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_texts.Build_Default_Texts(); }

    void deleteAndInsert_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("op");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("after");

        // Text check boxes: texts move, every column alike (the hidden FPort column travels too).
        QTest::newRow("text: delete middle")
            << int(TextBoxes) << "delete" << false << 3 << rows(kText, {1, 2, 4, 5}, {kTextEmpty}, 5);
        QTest::newRow("text: delete first")
            << int(TextBoxes) << "delete" << false << 1 << rows(kText, {2, 3, 4, 5}, {kTextEmpty}, 5);
        QTest::newRow("text: delete last")
            << int(TextBoxes) << "delete" << false << 5 << rows(kText, {1, 2, 3, 4}, {kTextEmpty}, 5);
        QTest::newRow("text: insert first")
            << int(TextBoxes) << "insert" << true << 1 << rows(kText, {1, 2, 3, 4}, {kTextNew}, 1);
        QTest::newRow("text: insert middle drops the last row")
            << int(TextBoxes) << "insert" << true << 2 << rows(kText, {1, 2, 3, 4}, {kTextNew}, 2);
        QTest::newRow("text: insert last replaces it")
            << int(TextBoxes) << "insert" << true << 5 << rows(kText, {1, 2, 3, 4}, {kTextNew}, 5);
        QTest::newRow("text: insert without enable")
            << int(TextBoxes) << "insert" << false << 2 << rows(kText, {1, 2, 3, 4}, {kTextEmpty}, 2);
        QTest::newRow("text: delete of row 0 does nothing") << int(TextBoxes) << "delete" << false << 0 << kText;
        QTest::newRow("text: insert past the end does nothing") << int(TextBoxes) << "insert" << true << 6 << kText;

        // Cell check boxes: states and read-only marks move with the texts; cleared rows are editable.
        QTest::newRow("cells: delete middle")
            << int(CellBoxes) << "delete" << true << 3 << rows(kCells, {1, 2, 4, 5}, {kCellsOn}, 5);
        QTest::newRow("cells: delete first, no enable")
            << int(CellBoxes) << "delete" << false << 1 << rows(kCells, {2, 3, 4, 5}, {kCellsOff}, 5);
        QTest::newRow("cells: delete last clears its marks")
            << int(CellBoxes) << "delete" << true << 5 << rows(kCells, {1, 2, 3, 4}, {kCellsOn}, 5);
        QTest::newRow("cells: insert first")
            << int(CellBoxes) << "insert" << true << 1 << rows(kCells, {1, 2, 3, 4}, {kCellsOn}, 1);
        QTest::newRow("cells: insert middle, no enable")
            << int(CellBoxes) << "insert" << false << 2 << rows(kCells, {1, 2, 3, 4}, {kCellsOff}, 2);
        QTest::newRow("cells: insert last")
            << int(CellBoxes) << "insert" << true << 5 << rows(kCells, {1, 2, 3, 4}, {kCellsOn}, 5);
    }

    void deleteAndInsert() {
        QFETCH(int, family);
        QFETCH(QString, op);
        QFETCH(bool, enable);
        QFETCH(int, row);
        QFETCH(QStringList, after);

        RuleTable table;
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        shape(table, Family(family));
        fill(table, family == TextBoxes ? kText : kCells);

        if (family == TextBoxes && op == "delete")
            Delete_Row(row, table);
        else if (family == TextBoxes)
            Insert_Row(row, table, enable);
        else if (op == "delete")
            Delete_Row_Check(row, table, enable);
        else
            Insert_Row_Check(row, table, enable);

        QCOMPARE(dump(table), after);
        for (int r = 1; r < table.gridRows(); ++r)
            QCOMPARE(table.cellText(r, 0), QString::number(r - 1));
    }

    // Rows cleared at the end of a cell check-box table by deletes accept typing in every cell.
    void clearedRowsAcceptTyping() {
        RuleTable table;
        shape(table, CellBoxes);
        fill(table,
             {"![x]|!Int16|!2|!a", "![x]|!Int16|!2|!a", "![x]|!Int16|!2|!a", "![x]|!Int16|!2|!a", "![x]|!Int16|!2|!a"});
        for (int i = 0; i < 3; ++i)
            Delete_Row_Check(1, table, true);
        for (int r = 3; r <= 5; ++r) {
            for (int c = 2; c <= 4; ++c)
                QVERIFY(table.setData(table.cellIndex(r, c), "typed"));
            QVERIFY(table.setData(table.cellIndex(r, 1), Qt::Unchecked, Qt::CheckStateRole));
            QCOMPARE(showCell(table.cell(r, 1)), "[ ]");
        }
        QVERIFY(!table.setData(table.cellIndex(2, 2), "typed")); // a moved row keeps its marks
    }

    void copy_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("buffer");
        QTest::addColumn<QList<bool>>("flags");

        QTest::newRow("text: every data column")
            << int(TextBoxes) << 2 << QStringList{"N", "20", "5", "Y", "8", "second"} << QList<bool>(6, false);
        QTest::newRow("cells: boxes as Y/N")
            << int(CellBoxes) << 2 << QStringList{"N", "String", "10", "b"} << QList<bool>{true, false, false, false};
        QTest::newRow("cells: read-only text as it is")
            << int(CellBoxes) << 1 << QStringList{"Y", "Int16", "2", "a"} << QList<bool>{true, false, false, false};
    }

    void copy() {
        QFETCH(int, family);
        QFETCH(int, row);
        QFETCH(QStringList, buffer);
        QFETCH(QList<bool>, flags);

        RuleTable table;
        shape(table, Family(family));
        fill(table, family == TextBoxes ? kText : kCells);
        RowBuffer rb{{"stale"}, {true, true}};
        if (family == TextBoxes)
            Copy_Row(table, row, rb);
        else
            Copy_Row_Check(table, row, rb);
        QCOMPARE(rb.Row_Buffer, buffer);
        QCOMPARE(rb.Check_Flags, flags);
    }

    void paste_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("copyRow"); // 0: the buffer below is used as it is
        QTest::addColumn<QStringList>("buffer");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("after");

        const QString nothing = "E:1102";
        const QString bad = "E:1101";
        const QString ask = "Q:1100";
        const QStringList t4 = kText.mid(0, 4);
        const auto text = [&](const QString& row5) { return t4 + QStringList{row5}; };
        const QStringList c4 = kCells.mid(0, 4);
        const auto cells = [&](const QString& row5) { return c4 + QStringList{row5}; };

        QTest::newRow("text: nothing copied")
            << int(TextBoxes) << text(kTextEmpty) << 1 << QStringList() << false << 5 << true
            << int(PasteResult::NothingCopied) << QStringList{nothing} << text(kTextEmpty);
        QTest::newRow("text: buffer of another table")
            << int(TextBoxes) << text(kTextEmpty) << 0 << QStringList{"Y", "1", "2"} << true << 5 << true
            << int(PasteResult::BadCopy) << QStringList{bad} << text(kTextEmpty);
        QTest::newRow("text: empty row, no question")
            << int(TextBoxes) << text(kTextEmpty) << 1 << QStringList() << true << 5 << false
            << int(PasteResult::Pasted) << QStringList() << text(kText[0]);
        QTest::newRow("text: only check boxes, no question")
            << int(TextBoxes) << text("Y|||Y||") << 2 << QStringList() << true << 5 << false << int(PasteResult::Pasted)
            << QStringList() << text(kText[1]);
        QTest::newRow("text: blank-only cell, no question")
            << int(TextBoxes) << text("N|  ||N| |") << 1 << QStringList() << true << 5 << false
            << int(PasteResult::Pasted) << QStringList() << text(kText[0]);
        QTest::newRow("text: hidden FPort alone is in use, No")
            << int(TextBoxes) << text("||||7|") << 1 << QStringList() << true << 5 << false
            << int(PasteResult::Declined) << QStringList{ask} << text("||||7|");
        QTest::newRow("text: in use, Yes")
            << int(TextBoxes) << kText << 1 << QStringList() << true << 2 << true << int(PasteResult::Pasted)
            << QStringList{ask} << QStringList{kText[0], kText[0], kText[2], kText[3], kText[4]};

        QTest::newRow("cells: nothing copied")
            << int(CellBoxes) << cells(kCellsOn) << 2 << QStringList() << false << 5 << true
            << int(PasteResult::NothingCopied) << QStringList{nothing} << cells(kCellsOn);
        QTest::newRow("cells: buffer of another table")
            << int(CellBoxes) << cells(kCellsOn) << 0 << QStringList{"Y", "1", "2", "3", "4", "5"} << true << 5 << true
            << int(PasteResult::BadCopy) << QStringList{bad} << cells(kCellsOn);
        QTest::newRow("cells: only check boxes, no question")
            << int(CellBoxes) << cells(kCellsOn) << 2 << QStringList() << true << 5 << false << int(PasteResult::Pasted)
            << QStringList() << cells(kCells[1]);
        QTest::newRow("cells: blank-only cell is in use, No")
            << int(CellBoxes) << cells("[x]| ||") << 2 << QStringList() << true << 5 << false
            << int(PasteResult::Declined) << QStringList{ask} << cells("[x]| ||");
        QTest::newRow("cells: blank-only cell is in use, Yes")
            << int(CellBoxes) << cells("[x]| ||") << 2 << QStringList() << true << 5 << true << int(PasteResult::Pasted)
            << QStringList{ask} << cells(kCells[1]);
        QTest::newRow("cells: read-only marks stay where they are")
            << int(CellBoxes) << cells("[x]||!|") << 2 << QStringList() << true << 5 << false
            << int(PasteResult::Pasted) << QStringList() << cells("[ ]|String|!10|b");
        QTest::newRow("cells: a read-only row takes checked states")
            << int(CellBoxes) << cells("![ ]|||") << 1 << QStringList() << true << 5 << false
            << int(PasteResult::Pasted) << QStringList() << cells("![x]|Int16|2|a");
    }

    void paste() {
        QFETCH(int, family);
        QFETCH(QStringList, before);
        QFETCH(int, copyRow);
        QFETCH(QStringList, buffer);
        QFETCH(bool, copied);
        QFETCH(int, target);
        QFETCH(bool, answer);
        QFETCH(int, result);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, after);

        RuleTable table;
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        shape(table, Family(family));
        fill(table, before);
        RowBuffer rb{buffer, {}};
        if (copyRow > 0 && family == TextBoxes)
            Copy_Row(table, copyRow, rb);
        else if (copyRow > 0)
            Copy_Row_Check(table, copyRow, rb);

        MessageRecorder recorder;
        recorder.setNextAnswer(answer);
        const PasteResult got = family == TextBoxes ? Paste_Row(table, target, copied, rb, m_texts)
                                                    : Paste_Row_Check(table, target, copied, rb, m_texts);
        QCOMPARE(int(got), result);
        QStringList shown;
        for (const MessageRecorder::Entry& e : recorder.entries()) {
            const QString kind = e.question ? "Q:" : e.icon == Messages::Icon::Error ? "E:" : "?:";
            for (int index : {TextRowInUse, TextBadCopy, TextNothingCopied})
                if (e.text == m_texts.Text(index))
                    shown << kind + QString::number(index);
        }
        QCOMPARE(shown, messages);
        QCOMPARE(dump(table), after);
    }

    void nextField_data() {
        QTest::addColumn<QList<int>>("visible");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("toRow"); // 0: no move
        QTest::addColumn<int>("toColumn");

        const QList<int> fportHidden{0, 1, 2, 3, 4, 5, 6, 7, 9};
        const QList<int> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("next column") << all << 1 << 2 << 1 << 3;
        QTest::newRow("over the hidden FPort") << fportHidden << 3 << 7 << 3 << 9;
        QTest::newRow("shown FPort is a stop") << all << 3 << 7 << 3 << 8;
        QTest::newRow("last column: next row") << fportHidden << 3 << 9 << 4 << 1;
        QTest::newRow("last cell: back to row 1") << fportHidden << 256 << 9 << 1 << 1;
        QTest::newRow("numbering column: no move") << all << 4 << 0 << 0 << 0;
        QTest::newRow("header row: no move") << all << 0 << 4 << 0 << 0;
    }

    void nextField() {
        QFETCH(QList<int>, visible);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, toRow);
        QFETCH(int, toColumn);
        const std::optional<GridCell> next = ::nextField({row, column}, visible, 257);
        QCOMPARE(next.has_value(), toRow > 0);
        if (next)
            QCOMPARE(*next, (GridCell{toRow, toColumn}));
    }

    // One announcement per operation, over the rows it touched.
    void operationsAnnounceOnce() {
        RuleTable table;
        shape(table, TextBoxes);
        fill(table, kText);
        QList<std::pair<int, int>> changes;
        connect(&table, &QAbstractItemModel::dataChanged, this, [&](const QModelIndex& a, const QModelIndex& b) {
            changes.append({a.row(), b.row()});
        });
        Delete_Row(2, table);
        QCOMPARE(changes, (QList<std::pair<int, int>>{{1, 4}}));
    }

private:
    TextCatalogue m_texts;
};

QTEST_GUILESS_MAIN(TestRowOperations)
#include "tst_rowoperations.moc"
