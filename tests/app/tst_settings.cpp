// SPDX-License-Identifier: MIT
#include "app/AppState.h"
#include "app/Settings.h"
#include "common/AwkwardValues.h"
#include "common/FileError.h"
#include "common/NodeFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The values the reader fills, in one comparable line.
struct Values {
    QString name, ip, language;
    bool internet, update, jump, autoSize;

    static Values of(const AppState& s) {
        return {s.ActiveConfigName, s.LastIpAddress,         s.LanguageName,       s.EnableInternet,
                s.EnableUpdate,     s.EnableJumpFieldTables, s.DoubleClickAutoSize};
    }
    bool operator==(const Values&) const = default;
};

const Values Defaults{QString(), QStringLiteral("192.168.2.205"), QStringLiteral("English"), false, false, false,
                      false};

QByteArray fullFile(const QByteArray& root = "Conf_Settings") {
    return "<" + root +
           "><lastproj><projectname>Alpha</projectname></lastproj>"
           "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
           "<lastlang><language>Italiano</language></lastlang>"
           "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
           "<enable_jump_field_tables>1</enable_jump_field_tables>"
           "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></" +
           root + ">";
}

const Values Full{
    QStringLiteral("Alpha"), QStringLiteral("10.0.0.7"), QStringLiteral("Italiano"), true, true, true, true};

Values with(Values v, void (*change)(Values&)) {
    change(v);
    return v;
}

QByteArray without(const QByteArray& xml, const QByteArray& element) {
    QByteArray out = xml;
    const qsizetype start = out.indexOf("<" + element + ">");
    const QByteArray close = "</" + element + ">";
    const qsizetype end = out.indexOf(close);
    out.remove(start, end + close.size() - start);
    return out;
}

QByteArray replaced(QByteArray xml, const QByteArray& from, const QByteArray& to) {
    return xml.replace(from, to);
}

// a0="" a1="" ... for one element.
QByteArray attributes(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += " a" + QByteArray::number(i) + "=\"\"";
    return out;
}

char* toString(const Values& v) {
    return QTest::toString(QStringLiteral("name \"%1\", ip \"%2\", language \"%3\", flags %4%5%6%7")
                               .arg(v.name, v.ip, v.language)
                               .arg(v.internet)
                               .arg(v.update)
                               .arg(v.jump)
                               .arg(v.autoSize));
}

} // namespace

Q_DECLARE_METATYPE(Values)

class TestSettings : public QObject {
    Q_OBJECT

    // A state whose values all differ from the defaults, so a reader that leaves a value alone shows.
    static AppState dirtyState(const QString& folder) {
        AppState s;
        s.setProgramFolder(folder);
        s.ActiveConfigName = QStringLiteral("Old");
        s.LastIpAddress = QStringLiteral("1.2.3.4");
        s.LanguageName = QStringLiteral("Deutsch");
        s.EnableInternet = s.EnableUpdate = s.EnableJumpFieldTables = s.DoubleClickAutoSize = true;
        return s;
    }

private Q_SLOTS:
    void reading_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<Values>("expected");

        QTest::newRow("no file") << QByteArray() << Defaults;
        QTest::newRow("not well-formed") << QByteArray("<Conf_Settings><lastproj>") << Defaults;
        QTest::newRow("not XML at all") << QByteArray("\x01\x02garbage") << Defaults;
        QTest::newRow("complete") << fullFile() << Full;
        QTest::newRow("other root name") << fullFile("Whatever") << Full;
        QTest::newRow("comment before root") << "<!-- x -->" + fullFile() << Defaults;

        QTest::newRow("no projectname") << without(fullFile(), "projectname")
                                        << with(Full, [](Values& v) { v.name.clear(); });
        QTest::newRow("no lastproj") << without(fullFile(), "lastproj")
                                     << with(Full, [](Values& v) { v.name.clear(); });
        QTest::newRow("no ipaddress") << without(fullFile(), "ipaddress")
                                      << with(Full, [](Values& v) { v.ip = QStringLiteral("192.168.2.205"); });
        QTest::newRow("no lastlang") << without(fullFile(), "lastlang")
                                     << with(Full, [](Values& v) { v.language = QStringLiteral("English"); });
        QTest::newRow("no enable_internet")
            << without(fullFile(), "enable_internet") << with(Full, [](Values& v) { v.internet = false; });
        QTest::newRow("no enable_update")
            << without(fullFile(), "enable_update") << with(Full, [](Values& v) { v.update = false; });
        QTest::newRow("no enable_jump_field_tables")
            << without(fullFile(), "enable_jump_field_tables") << with(Full, [](Values& v) { v.jump = false; });
        QTest::newRow("no Double_Click_Auto_Size")
            << without(fullFile(), "Double_Click_Auto_Size") << with(Full, [](Values& v) { v.autoSize = false; });
        QTest::newRow("no lastinternet") << without(fullFile(), "lastinternet") << with(Full, [](Values& v) {
            v.internet = v.update = v.jump = v.autoSize = false;
        });
        QTest::newRow("element names are case-sensitive")
            << replaced(fullFile(), "Double_Click_Auto_Size>", "double_click_auto_size>")
            << with(Full, [](Values& v) { v.autoSize = false; });

        QTest::newRow("flag true") << replaced(fullFile(), "<enable_update>1<", "<enable_update>true<")
                                   << with(Full, [](Values& v) { v.update = false; });
        QTest::newRow("flag 01") << replaced(fullFile(), "<enable_update>1<", "<enable_update>01<")
                                 << with(Full, [](Values& v) { v.update = false; });
        QTest::newRow("flag empty") << replaced(fullFile(), "<enable_update>1<", "<enable_update><")
                                    << with(Full, [](Values& v) { v.update = false; });
        QTest::newRow("flag self-closed")
            << replaced(fullFile(), "<enable_update>1</enable_update>", "<enable_update/>")
            << with(Full, [](Values& v) { v.update = false; });

        QTest::newRow("two projectname, first counts")
            << replaced(fullFile(), "<projectname>Alpha</projectname>",
                        "<projectname>First</projectname><projectname>Second</projectname>")
            << with(Full, [](Values& v) { v.name = QStringLiteral("First"); });
        QTest::newRow("empty projectname") << replaced(fullFile(), "<projectname>Alpha</projectname>", "<projectname/>")
                                           << with(Full, [](Values& v) { v.name.clear(); });
        QTest::newRow("other order") << QByteArray("<C><lastinternet><enable_update>1</enable_update></lastinternet>"
                                                   "<lastlang><language>Francais</language></lastlang></C>")
                                     << with(Defaults, [](Values& v) {
                                            v.update = true;
                                            v.language = QStringLiteral("Francais");
                                        });
        QTest::newRow("indented with declaration-less CRLF")
            << QByteArray("<Conf_Settings>\r\n  <lastproj>\r\n    <projectname>Alpha</projectname>\r\n  </lastproj>\r\n"
                          "  <lastinternet>\r\n    <enable_internet>1</enable_internet>\r\n  </lastinternet>\r\n"
                          "</Conf_Settings>\r\n")
            << with(Defaults, [](Values& v) {
                   v.name = QStringLiteral("Alpha");
                   v.internet = true;
               });
        QTest::newRow("values taken as they stand")
            << QByteArray("<S><lastproj><projectname> My Conf </projectname></lastproj>"
                          "<lastipadd><ipaddress>not an address</ipaddress></lastipadd></S>")
            << with(Defaults, [](Values& v) {
                   v.name = QStringLiteral(" My Conf ");
                   v.ip = QStringLiteral("not an address");
               });
        QTest::newRow("UTF-8 name") << replaced(fullFile(), "Alpha", "Caf\xc3\xa9")
                                    << with(Full, [](Values& v) { v.name = QStringLiteral("Caf\u00e9"); });
    }

    void reading() {
        QFETCH(QByteArray, content);
        QFETCH(Values, expected);
        QTemporaryDir dir;
        AppState state = dirtyState(dir.path());
        if (!content.isEmpty()) {
            QFile f(Settings::filePath(state));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Settings::Read_Setting(state);
        QCOMPARE(Values::of(state), expected);
        QVERIFY(state.ActiveConfigPath.isEmpty());
    }

    void unreadableFileGivesDefaults() {
        // A folder in the place of the file cannot be read as one.
        QTemporaryDir dir;
        AppState state = dirtyState(dir.path());
        QVERIFY(QDir().mkpath(Settings::filePath(state)));
        Settings::Read_Setting(state);
        QCOMPARE(Values::of(state), Defaults);
    }

    void firstRunFileBytes() {
        QTemporaryDir dir;
        AppState state;
        state.setProgramFolder(dir.path());
        Settings::Read_Setting(state);
        Settings::Save_Setting(state);

        QFile written(dir.filePath(QStringLiteral("Tessaro.xml")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QFile golden(QStringLiteral(TESSARO_FIXTURES "/app/Tessaro_first_run.xml"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), golden.readAll());
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("flags"); // bit 0 internet, 1 update, 2 jump, 3 auto size
        QTest::newRow("all on") << QStringLiteral("Alpha") << 0xF;
        QTest::newRow("mixed") << QStringLiteral("Beta") << 0x5;
        QTest::newRow("markup in name") << QStringLiteral("a<b>&\"c'") << 0xA;
        QTest::newRow("blanks kept") << QStringLiteral("  spaced  ") << 0;
        QTest::newRow("non-Latin") << QStringLiteral("\u0417\u0430\u0432\u043e\u0434 \u2116 1") << 0x2;
    }

    void roundTrip() {
        QFETCH(QString, name);
        QFETCH(int, flags);
        QTemporaryDir dir;
        AppState out;
        out.setProgramFolder(dir.path());
        out.ActiveConfigName = name;
        out.LastIpAddress = QStringLiteral("172.16.0.9");
        out.LanguageName = QStringLiteral("Italiano");
        out.EnableInternet = flags & 1;
        out.EnableUpdate = flags & 2;
        out.EnableJumpFieldTables = flags & 4;
        out.DoubleClickAutoSize = flags & 8;
        Settings::Save_Setting(out);

        AppState in = dirtyState(dir.path());
        Settings::Read_Setting(in);
        QCOMPARE(Values::of(in), Values::of(out));

        QFile f(Settings::filePath(out));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(!bytes.startsWith("<?xml"));
        QVERIFY(!bytes.contains('\n'));
        QVERIFY(bytes.contains(name.toUtf8()) || name.contains(QLatin1Char('<')));
    }

    // Every text the settings file holds, with every awkward value: it comes back as XML can hold it, and
    // saving what came back gives the same bytes.
    void awkwardValues_data() { AwkwardValues::addRows(); }
    void awkwardValues() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        AppState out;
        out.setProgramFolder(dir.path());
        out.ActiveConfigName = value;
        out.LastIpAddress = value + QStringLiteral("ip");
        out.LanguageName = QStringLiteral("lang") + value;
        Settings::Save_Setting(out);
        const QByteArray first = NodeFiles::contents(Settings::filePath(out));

        AppState in = dirtyState(dir.path());
        Settings::Read_Setting(in);
        QCOMPARE(in.ActiveConfigName, expected);
        QCOMPARE(in.LastIpAddress, expected + QStringLiteral("ip"));
        QCOMPARE(in.LanguageName, QStringLiteral("lang") + expected);
        QVERIFY(!in.EnableInternet && !in.EnableUpdate && !in.EnableJumpFieldTables && !in.DoubleClickAutoSize);

        Settings::Save_Setting(in);
        QCOMPARE(NodeFiles::contents(Settings::filePath(in)), first);
    }

    // Whatever stands in the place of the settings file, reading it never blocks and gives the defaults;
    // saving replaces only a regular file (through a link too) and otherwise says why.
    void oddSettingsFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("saveError"); // empty: the save succeeds
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("character device") << "char"
                                          << "not a regular file";
        QTest::newRow("folder") << "dir"
                                << "it is a folder";
        QTest::newRow("far too large") << "large" << QString();
        QTest::newRow("document type") << "doctype" << QString();
        QTest::newRow("attribute-heavy") << "attributes" << QString();
        QTest::newRow("link to a settings file") << "link" << QString();
    }
    void oddSettingsFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, saveError);
        QTemporaryDir dir;
        AppState state = dirtyState(dir.path());
        const QString path = Settings::filePath(state);
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.xml"));
        bool made = false;
        if (kind == "fifo")
            made = NodeFiles::makeFifo(path);
        else if (kind == "char")
            made = NodeFiles::makeCharDevice(path, NodeFiles::Zero);
        else if (kind == "dir")
            made = QDir().mkdir(path);
        else if (kind == "large")
            made = NodeFiles::writeFile(path, fullFile()) && NodeFiles::makeSparseFile(path, 17 << 20);
        else if (kind == "doctype")
            made = NodeFiles::writeFile(path, "<!DOCTYPE C [<!ENTITY n \"Alpha\">]>" +
                                                  replaced(fullFile(), ">Alpha<", ">&n;<"));
        else if (kind == "attributes")
            made = NodeFiles::writeFile(path, replaced(fullFile(), "<lastproj>", "<lastproj" + attributes(5000) + ">"));
        else if (kind == "link")
            made = NodeFiles::writeFile(elsewhere, fullFile()) && NodeFiles::makeLink(elsewhere, path);
        VERIFY_MADE(made);
        const QString kindBefore = NodeFiles::kindOf(path);

        Settings::Read_Setting(state);
        QCOMPARE(Values::of(state), kind == "link" ? Full : Defaults);

        state.ActiveConfigName = QStringLiteral("Saved");
        if (saveError.isEmpty()) {
            Settings::Save_Setting(state);
            AppState back = dirtyState(dir.path());
            Settings::Read_Setting(back);
            QCOMPARE(back.ActiveConfigName, QStringLiteral("Saved"));
        } else {
            try {
                Settings::Save_Setting(state);
                QFAIL("saved over something that is not a regular file");
            } catch (const FileError& e) {
                QVERIFY2(e.message().startsWith("Cannot write the file " + path + ": ") &&
                             e.message().contains(saveError),
                         qPrintable(e.message()));
            }
        }
        QCOMPARE(NodeFiles::kindOf(path), kind == "link" || !saveError.isEmpty() ? kindBefore : "file");
        if (kind == "link")
            QVERIFY(NodeFiles::contents(elsewhere).contains("<projectname>Saved</projectname>"));
    }

    void failedSaveThrows() {
        QTemporaryDir dir;
        AppState state;
        state.setProgramFolder(dir.path() + QStringLiteral("/missing"));
        QVERIFY_THROWS_EXCEPTION(FileError, Settings::Save_Setting(state));
        QVERIFY(!QFile::exists(Settings::filePath(state)));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
