// SPDX-License-Identifier: MIT
#pragma once

// The values every XML writer of the program is tried with: each one must come back from the file as
// the expected text (what XML can hold of it), and the file must stay readable.

#include <QString>
#include <QTest>

namespace AwkwardValues {

inline QString with(char16_t c) {
    return QStringLiteral("a") + QChar(c) + QStringLiteral("b");
}

// Adds the columns "value" (what the program holds) and "expected" (what a reader gets back), and one
// row per awkward value.
inline void addRows() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    // Every control character but tab, line feed and carriage return: XML cannot hold them at all.
    for (char16_t c = 0; c < 0x20; ++c) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        QTest::addRow("control U+%04X", unsigned(c)) << with(c) << QStringLiteral("ab");
    }
    QTest::newRow("tab") << with(u'\t') << with(u'\t');
    QTest::newRow("line feed") << with(u'\n') << with(u'\n');
    QTest::newRow("carriage return") << with(u'\r') << with(u'\r');
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r") << QStringLiteral("a\r\nb\r");
    QTest::newRow("DEL") << with(0x7F) << with(0x7F);
    QTest::newRow("C1 control U+0085") << with(0x85) << with(0x85);

    QTest::newRow("unpaired high surrogate") << with(0xD800) << QStringLiteral("ab");
    QTest::newRow("unpaired low surrogate") << with(0xDC00) << QStringLiteral("ab");
    QTest::newRow("surrogates reversed") << QString(QChar(0xDC00)) + QChar(0xD800) << QString();
    QTest::newRow("high surrogate at end") << QStringLiteral("ab") + QChar(0xDBFF) << QStringLiteral("ab");
    QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b") << QStringLiteral("a\U0001F600b");
    QTest::newRow("U+FFFE") << with(0xFFFE) << QStringLiteral("ab");
    QTest::newRow("U+FFFF") << with(0xFFFF) << QStringLiteral("ab");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one blank") << QStringLiteral(" ") << QStringLiteral(" ");
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("   ");
    QTest::newRow("blanks and tab only") << QStringLiteral(" \t ") << QStringLiteral(" \t ");
    QTest::newRow("blanks around") << QStringLiteral("  x  ") << QStringLiteral("  x  ");
    QTest::newRow("CDATA end") << QStringLiteral("]]>") << QStringLiteral("]]>");
    QTest::newRow("ampersand") << QStringLiteral("&") << QStringLiteral("&");
    QTest::newRow("entity-like") << QStringLiteral("&amp;&#13;&lt;") << QStringLiteral("&amp;&#13;&lt;");
    QTest::newRow("quotes") << QStringLiteral("\"'") << QStringLiteral("\"'");
    QTest::newRow("markup") << QStringLiteral("<a>x</a><!-- c -->") << QStringLiteral("<a>x</a><!-- c -->");
    QTest::newRow("non-Latin") << QStringLiteral("\u0417\u0430\u0432\u043e\u0434 \u2116 1 \u65e5\u672c")
                               << QStringLiteral("\u0417\u0430\u0432\u043e\u0434 \u2116 1 \u65e5\u672c");
    QTest::newRow("all at once") << QStringLiteral(" \u0001&]]>") + QChar(0xD800) + QStringLiteral("\r\n\"")
                                 << QStringLiteral(" &]]>\r\n\"");
}

} // namespace AwkwardValues
