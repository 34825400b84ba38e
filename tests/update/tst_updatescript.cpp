// SPDX-License-Identifier: MIT
#include "common/FileError.h"
#include "common/XmlTree.h"
#include "support/SystemTestUtil.h"
#include "update/UpdateScript.h"
#include "update/Updater.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using UpdateScript::Input;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data, QFile::Permissions permissions = {}) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    if (permissions)
        f.setPermissions(permissions);
}

const QFile::Permissions Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Every leaf of the tree as "path=text"; elements with children only give their path. Operations carry
// their position, so a missing or extra operation shows where it is.
void flatten(const Xml::Element& e, const QString& path, QStringList& out) {
    const QList<Xml::Element> children = e.children();
    if (children.isEmpty()) {
        out << path + QLatin1Char('=') + e.text();
        return;
    }
    out << path;
    int operation = 0;
    for (const Xml::Element& c : children) {
        QString step = path + QLatin1Char('/') + c.name();
        if (c.name() == QLatin1String("Operation"))
            step += QStringLiteral("[%1]").arg(++operation);
        flatten(c, step, out);
    }
}

QStringList leaves(const QByteArray& xml) {
    QStringList out;
    const Xml::Element root = Xml::parseTree(xml, QStringLiteral("script")).rootElement();
    flatten(root, root.name(), out);
    return out;
}

// The hand-written script of `option` with the placeholders filled in.
QByteArray expected(const QString& fixture, const Input& in) {
    const QString sep = QDir::separator();
    QString text = QString::fromUtf8(readAll(QStringLiteral(TESSARO_FIXTURES "/update/") + fixture));
    text.replace(QStringLiteral("@IP@"), in.address)
        .replace(QStringLiteral("@RB@"), in.readBack ? QStringLiteral("1") : QStringLiteral("0"))
        .replace(QStringLiteral("@MASTER@"), QDir::toNativeSeparators(in.masterFolder) + sep)
        .replace(QStringLiteral("@CONFIG@"), QDir::toNativeSeparators(in.configPath) + sep)
        .replace(QStringLiteral("@SEP@"), sep);
    return text.toUtf8();
}

} // namespace

class TestUpdateScript : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    Input input(int option, bool readBack, const QString& config = QStringLiteral("Plant 7")) const {
        Input in;
        in.address = QStringLiteral("192.168.2.205");
        in.option = option;
        in.readBack = readBack;
        in.masterFolder = m_dir.filePath(QStringLiteral("MASTER"));
        in.configPath = m_dir.filePath(QStringLiteral("PROJECTS/") + config);
        return in;
    }

private Q_SLOTS:
    void eachOption_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("readBack");
        QTest::addColumn<QString>("fixture");
        const QString both = QStringLiteral("script_firmware_configuration.xml");
        const QString firmware = QStringLiteral("script_firmware.xml");
        const QString configuration = QStringLiteral("script_configuration.xml");
        QTest::newRow("firmware + configuration, read back") << 0 << true << both;
        QTest::newRow("firmware + configuration, no read back") << 0 << false << both;
        QTest::newRow("firmware, read back") << 1 << true << firmware;
        QTest::newRow("firmware, no read back") << 1 << false << firmware;
        QTest::newRow("configuration, read back") << 2 << true << configuration;
        QTest::newRow("configuration, no read back") << 2 << false << configuration;
    }

    void eachOption() {
        QFETCH(int, option);
        QFETCH(bool, readBack);
        QFETCH(QString, fixture);
        const Input in = input(option, readBack);
        UpdateScript::Compile_XML_Parameter_New_Boot(m_dir.path(), in);
        const QByteArray written = readAll(m_dir.filePath(QStringLiteral("Flashvane.xml")));
        QCOMPARE(leaves(written), leaves(expected(fixture, in)));
        // No declaration, no indentation: the root is the first thing in the file.
        QVERIFY(written.startsWith("<Flashvane><Version>"));
        QVERIFY(!written.contains('\n'));
    }

    void rewriteReplacesTheWholeScript() {
        const Input first = input(0, true);
        const Input second = input(1, false, QStringLiteral("Other"));
        UpdateScript::Compile_XML_Parameter_New_Boot(m_dir.path(), first);
        UpdateScript::Compile_XML_Parameter_New_Boot(m_dir.path(), second);
        QCOMPARE(leaves(readAll(UpdateScript::scriptPath(m_dir.path()))),
                 leaves(expected(QStringLiteral("script_firmware.xml"), second)));
    }

    void pathsAndAddressAsTheyStand_data() {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("address");
        QTest::newRow("non-ASCII folder") << QStringLiteral("Anlage Süd – 東京 €") << QStringLiteral("10.0.0.7");
        QTest::newRow("XML markup in the name") << QStringLiteral("a<b>&\"c\"") << QStringLiteral("10.0.0.7");
        QTest::newRow("address with blanks, unchecked") << QStringLiteral("Plant") << QStringLiteral(" 10. 0.0.x");
    }

    void pathsAndAddressAsTheyStand() {
        QFETCH(QString, config);
        QFETCH(QString, address);
        Input in = input(2, true, config);
        in.address = address;
        UpdateScript::Compile_XML_Parameter_New_Boot(m_dir.path(), in);
        const Xml::Element root = Xml::loadExistingTree(UpdateScript::scriptPath(m_dir.path())).firstNodeAsRoot();
        QCOMPARE(root.childText(u"IP_Address_Dev").value_or(QString()), address);
        const Xml::Element bank1 = root.firstChild(u"Operations").firstChild(u"Operation");
        QCOMPARE(bank1.childText(u"Ope_FileName").value_or(QString()),
                 QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("PROJECTS/") + config + "/bin/bank1.bin")));
    }

    void relativeFoldersBecomeAbsolute() {
        Input in = input(0, true);
        in.masterFolder = QStringLiteral("MASTER");
        in.configPath = QStringLiteral("PROJECTS/Plant");
        const Xml::Element ops =
            Xml::parseTree(UpdateScript::build(in), QStringLiteral("script")).rootElement().firstChild(u"Operations");
        for (const Xml::Element& op : ops.children()) {
            const QString name = op.childText(u"Ope_FileName").value_or(QString());
            QVERIFY2(QDir::isAbsolutePath(QDir::fromNativeSeparators(name)), qPrintable(name));
        }
    }

    void targetThatCannotBeWritten_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only program folder") << QStringLiteral("read-only");
        QTest::newRow("a folder in the script's place") << QStringLiteral("folder");
        QTest::newRow("a FIFO in the script's place") << QStringLiteral("fifo");
    }

    void targetThatCannotBeWritten() {
        QFETCH(QString, kind);
        QTemporaryDir program;
        const QString script = UpdateScript::scriptPath(program.path());
        std::unique_ptr<SystemTest::DropCapability> noOverride;
        if (kind == QLatin1String("read-only")) {
            writeFile(script, "<old/>");
            QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
            // Root writes anywhere; without this capability it meets the permission bits like anyone.
            noOverride = std::make_unique<SystemTest::DropCapability>(CAP_DAC_OVERRIDE);
            QVERIFY(noOverride->active());
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(script));
        } else {
            QCOMPARE(::mkfifo(QFile::encodeName(script).constData(), 0600), 0);
        }

        try {
            UpdateScript::Compile_XML_Parameter_New_Boot(program.path(), input(0, true));
            QFAIL("no error for an unwritable script");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(script)), qPrintable(e.message()));
        }
        noOverride.reset();
        QFile::setPermissions(program.path(), Executable | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

        const QFileInfo after(script);
        if (kind == QLatin1String("read-only"))
            QCOMPARE(readAll(script), QByteArray("<old/>"));
        else if (kind == QLatin1String("folder"))
            QVERIFY(after.isDir());
        else
            QVERIFY(after.exists() && !after.isFile() && !after.isDir()); // still the FIFO
    }

    // The updater's start: Windows programs go through wine outside Windows.
    void updaterCommand_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("wineOnPath");
        QTest::addColumn<QString>("runs"); // "self", "wine" or "error"
        QTest::newRow("native program") << QByteArray("#!/bin/sh\nexit 0\n") << true << QStringLiteral("self");
        QTest::newRow("Windows program, wine on the path")
            << QByteArray("MZ\x90\0\3") << true << QStringLiteral("wine");
        QTest::newRow("Windows program, no wine") << QByteArray("MZ\x90\0\3") << false << QStringLiteral("error");
        QTest::newRow("missing file") << QByteArray() << false << QStringLiteral("self");
    }

    void updaterCommand() {
        QFETCH(QByteArray, content);
        QFETCH(bool, wineOnPath);
        QFETCH(QString, runs);
        QTemporaryDir program;
        QTemporaryDir bin;
        const QString updater = Updater::updaterPath(program.path());
        if (!content.isEmpty())
            writeFile(updater, content, Executable);
        const QString wine = bin.filePath(QStringLiteral("wine"));
        if (wineOnPath)
            writeFile(wine, "#!/bin/sh\nexit 0\n", Executable);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const Updater::Command c = Updater::command(updater);
        qputenv("PATH", oldPath);

        if (runs == QLatin1String("self")) {
            QCOMPARE(c.program, updater);
            QVERIFY(c.arguments.isEmpty());
        } else if (runs == QLatin1String("wine")) {
            QCOMPARE(c.program, wine);
            QCOMPARE(c.arguments, QStringList{updater});
        } else {
            QVERIFY(c.program.isEmpty());
            QVERIFY2(c.error.contains(QStringLiteral("Windows program")) && c.error.contains(QStringLiteral("Wine")) &&
                         c.error.contains(QDir::toNativeSeparators(updater)),
                     qPrintable(c.error));
        }
    }

    void updaterRun_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QString>("errorPart"); // empty: it ran
        QTest::addColumn<int>("exitCode");
        QTest::newRow("ends with 0") << QByteArray("#!/bin/sh\nexit 0\n") << true << QString() << 0;
        QTest::newRow("ends with 5") << QByteArray("#!/bin/sh\nexit 5\n") << true << QString() << 5;
        QTest::newRow("missing") << QByteArray() << false << QStringLiteral("does not exist") << 0;
        QTest::newRow("not executable") << QByteArray("#!/bin/sh\nexit 0\n") << false
                                        << QStringLiteral("cannot be started") << 0;
    }

    void updaterRun() {
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QFETCH(QString, errorPart);
        QFETCH(int, exitCode);
        QTemporaryDir program;
        const QString updater = Updater::updaterPath(program.path());
        if (!content.isEmpty())
            writeFile(updater, content, executable ? Executable : QFile::ReadOwner | QFile::WriteOwner);
        const Updater::Outcome out = Updater::run(updater, 60000);
        if (errorPart.isEmpty()) {
            QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
            QCOMPARE(out.launch.state, LaunchResult::State::Ended);
            QCOMPARE(out.launch.exitCode, exitCode);
        } else {
            QCOMPARE(out.launch.state, LaunchResult::State::NotStarted);
            QVERIFY2(out.error.contains(QDir::toNativeSeparators(updater)) && out.error.contains(errorPart),
                     qPrintable(out.error));
        }
    }
};

QTEST_GUILESS_MAIN(TestUpdateScript)
#include "tst_updatescript.moc"
