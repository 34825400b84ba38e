// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QHash>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

namespace RulesTest {

// Types `keys` into whatever widget has the focus (the grid, or the cell editor it opened): plain
// characters, or <Enter>, <Esc>, <Tab>, <Backtab>, <Space>, <Left>.
inline void type(const QString& keys, QWidget* fallback) {
    static const QRegularExpression token(QStringLiteral("<(\\w+)>|."));
    static const QHash<QString, Qt::Key> named{{"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape},
                                               {"Tab", Qt::Key_Tab},      {"Backtab", Qt::Key_Backtab},
                                               {"Space", Qt::Key_Space},  {"Left", Qt::Key_Left}};
    auto it = token.globalMatch(keys);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
        const QString name = m.captured(1);
        if (name.isEmpty())
            QTest::keyClicks(target, m.captured(0));
        else
            QTest::keyClick(target, named.value(name),
                            name == QLatin1String("Backtab") ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

} // namespace RulesTest
