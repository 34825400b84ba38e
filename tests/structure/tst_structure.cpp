// SPDX-License-Identifier: MIT
// The folders of src/ depend one way: a file includes its own folder and folders on its floor or below,
// never one above; and widget-free code (kv210core, tessaro-cli) includes no widget or GUI header, of
// Qt or of our own windows.
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

// The floors of src/, from the bottom up. Folders on one floor may include each other.
struct Floor {
    const char* folder;
    int level;
};
constexpr Floor Floors[] = {
    {"common", 0}, {"language", 1}, {"app", 2},     {"params", 3}, {"rules", 3},
    {"image", 3},  {"update", 3},   {"options", 3}, {"shell", 4},  {"cli", 4},
};

int levelOf(const QString& folder) {
    for (const Floor& f : Floors) {
        if (folder == QLatin1String(f.folder))
            return f.level;
    }
    return -1;
}

// The files a list written by the build names ("dir <folder>" lines, then files relative to it).
QSet<QString> readFileList(const QString& path) {
    QSet<QString> files;
    QDir base;
    const QStringList lines = QString::fromUtf8(TestSupport::readFile(path)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("dir ")))
            base = QDir(line.mid(4));
        else if (!line.isEmpty())
            files.insert(QDir::cleanPath(base.absoluteFilePath(line)));
    }
    return files;
}

bool isGuiHeader(const QString& name, const QString& qtHeaders) {
    for (const QString& module : {QStringLiteral("QtWidgets"), QStringLiteral("QtGui")}) {
        if (name.startsWith(module + QLatin1Char('/')) ||
            QFileInfo::exists(qtHeaders + QLatin1Char('/') + module + QLatin1Char('/') + name))
            return true;
    }
    return false;
}

// Every break of the rules in the tree under `root`, one readable line each.
QStringList violations(const QString& root, const QSet<QString>& core, const QSet<QString>& gui,
                       const QString& qtHeaders) {
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"),
                                            QRegularExpression::MultilineOption);
    const QDir top(root);
    QStringList found;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << QDir::cleanPath(it.next());
    files.sort();

    for (const QString& file : files) {
        const QString rel = top.relativeFilePath(file);
        const QString folder = rel.section(QLatin1Char('/'), 0, 0);
        if (!rel.contains(QLatin1Char('/')) || levelOf(folder) < 0) {
            found << rel + QStringLiteral(": folder \"") + folder +
                         QStringLiteral("\" has no floor (give it one in the folder table)");
            continue;
        }
        const bool isCore = core.contains(file);
        if (!isCore && !gui.contains(file))
            found << rel + QStringLiteral(": not part of any library or program");

        const QString text = QString::fromUtf8(TestSupport::readFile(file));
        for (auto match = include.globalMatch(text); match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            const QString name = m.captured(2);
            const QString shown = rel + QStringLiteral(" includes ") + m.captured(1) + name +
                                  (m.captured(1) == QLatin1String("<") ? QStringLiteral(">") : QStringLiteral("\""));
            if (m.captured(1) == QLatin1String("<")) {
                if (isCore && isGuiHeader(name, qtHeaders))
                    found << shown + QStringLiteral(": a widget-free file includes a GUI header");
                continue;
            }
            QString target = QFileInfo(file).dir().filePath(name);
            if (!QFileInfo::exists(target))
                target = top.filePath(name);
            if (!QFileInfo::exists(target))
                continue; // generated (.moc) or missing: the compiler judges it
            target = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
            const QString targetRel = top.relativeFilePath(target);
            const QString targetFolder = targetRel.section(QLatin1Char('/'), 0, 0);
            if (targetRel.startsWith(QLatin1String("..")) || levelOf(targetFolder) < 0)
                found << shown + QStringLiteral(": outside the folders of the program");
            else if (levelOf(targetFolder) > levelOf(folder))
                found << shown + QStringLiteral(": ") + targetFolder + QStringLiteral(" stands above ") + folder;
            else if (isCore && gui.contains(target))
                found << shown + QStringLiteral(": a widget-free file includes a window file");
        }
    }
    return found;
}

QString qtHeaders() {
    return QLibraryInfo::path(QLibraryInfo::HeadersPath);
}

} // namespace

class TestStructure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buildListsAreRead() {
        const QSet<QString> core = readFileList(QStringLiteral(TESSARO_CORE_FILES));
        const QSet<QString> gui = readFileList(QStringLiteral(TESSARO_GUI_FILES));
        const QString src = QStringLiteral(TESSARO_SOURCES);
        QVERIFY(core.contains(src + QStringLiteral("/app/AppState.h")));
        QVERIFY(core.contains(src + QStringLiteral("/cli/main.cpp")));
        QVERIFY(gui.contains(src + QStringLiteral("/shell/main.cpp")));
        QVERIFY(QFileInfo::exists(qtHeaders() + QStringLiteral("/QtWidgets/QWidget")));
    }

    void sourcesDependOneWay() {
        const QStringList found =
            violations(QStringLiteral(TESSARO_SOURCES), readFileList(QStringLiteral(TESSARO_CORE_FILES)),
                       readFileList(QStringLiteral(TESSARO_GUI_FILES)), qtHeaders());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    // Small trees, one file per entry: "<core|gui|none> <path> <content>".
    void rules_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected"); // one part of each violation line, in file order
        const auto row = [](const char* name, QStringList files, QStringList expected) {
            QTest::newRow(name) << files << expected;
        };
        row("own folder and below",
            {"core app/A.h #include \"A2.h\"\n#include \"common/C.h\"\n#include \"language/L.h\"", "core app/A2.h",
             "core common/C.h", "core language/L.h"},
            {});
        row("folder above", {"core app/A.cpp #include \"shell/W.h\"", "gui shell/W.h"},
            {"app/A.cpp includes \"shell/W.h\": shell stands above app"});
        row("editor beside editor", {"core image/B.cpp #include \"params/P.h\"", "core params/P.h"}, {});
        row("core includes a widget", {"core common/C.cpp #include <QWidget>"},
            {"common/C.cpp includes <QWidget>: a widget-free file includes a GUI header"});
        row("core includes QtGui by module", {"core params/P.cpp #include <QtGui/QColor>"},
            {"<QtGui/QColor>: a widget-free file includes a GUI header"});
        row("core includes a window", {"core params/P.cpp #include \"TFParGen.h\"", "gui params/TFParGen.h"},
            {"params/P.cpp includes \"TFParGen.h\": a widget-free file includes a window file"});
        row("window includes widgets",
            {"gui params/TFParGen.cpp #include <QWidget>\n#include \"params/P.h\"", "core params/P.h"}, {});
        row("commented include", {"core app/A.cpp // #include \"shell/W.h\"", "gui shell/W.h"}, {});
        row("unknown folder", {"core gadgets/G.h"}, {"gadgets/G.h: folder \"gadgets\" has no floor"});
        row("file of no target", {"none app/Orphan.h"}, {"app/Orphan.h: not part of any library"});
    }

    void rules() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        TestSupport::TempFolder tree;
        QSet<QString> core, gui;
        for (const QString& entry : files) {
            const QString kind = entry.section(QLatin1Char(' '), 0, 0);
            const QString path = entry.section(QLatin1Char(' '), 1, 1);
            QVERIFY(tree.write(path, entry.section(QLatin1Char(' '), 2).toUtf8()));
            const QString absolute = QDir::cleanPath(tree.path(path));
            if (kind == QLatin1String("core"))
                core.insert(absolute);
            else if (kind == QLatin1String("gui"))
                gui.insert(absolute);
        }
        const QStringList found = violations(QDir::cleanPath(tree.path()), core, gui, qtHeaders());
        QCOMPARE(found.size(), expected.size());
        for (qsizetype i = 0; i < found.size(); ++i)
            QVERIFY2(found[i].contains(expected[i]), qPrintable(found[i]));
    }
};

QTEST_GUILESS_MAIN(TestStructure)
#include "tst_structure.moc"
