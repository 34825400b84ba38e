// SPDX-License-Identifier: MIT
#include "FakeEchoClient.h"
#include "app/AppState.h"
#include "app/Configurations.h"
#include "common/MessageService.h"
#include "common/XmlTree.h"
#include "shell/TFTessaroFirmWare.h"
#include "support/SystemTestUtil.h"
#include "update/IcmpEchoClient.h"
#include "update/TFBoot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using Kind = EchoResult::Kind;
Q_DECLARE_METATYPE(QList<EchoResult>)
Q_DECLARE_METATYPE(Messages::Icon)

namespace {

const QFile::Permissions Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

void writeFile(const QString& path, const QByteArray& data, QFile::Permissions permissions = {}) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(data);
    f.close();
    if (permissions)
        f.setPermissions(permissions);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder with an active configuration, the default texts and a message recorder. The
// updater stand-in copies the script it finds into a folder of its own and ends with `exitCode`.
struct Env {
    QTemporaryDir dir;
    QTemporaryDir record;
    AppState state;
    MessageRecorder messages;

    Env() {
        state.setProgramFolder(dir.path());
        for (const QString& f : {state.MasterFolder, state.LanguageFolder, state.ProjectsFolder + "/Plant/bin"})
            QDir().mkpath(f);
        Configurations::activate(state, QStringLiteral("Plant"));
        state.catalogue.Build_Default_Texts();
    }

    QString updater() const { return dir.filePath(QStringLiteral("Flashvane.exe")); }
    QString found() const { return record.filePath(QStringLiteral("found.xml")); }

    void fakeUpdater(const QByteArray& extra = QByteArray()) {
        writeFile(updater(),
                  "#!/bin/sh\n" + extra + "\ncp \"${0%/*}/Flashvane.xml\" '" + QFile::encodeName(found()) +
                      "'\nexit 0\n",
                  Executable);
    }
    bool updaterStarted() const { return QFile::exists(found()); }
};

template <class T = QWidget> T* child(const QWidget& w, const QString& name) {
    T* c = w.findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QLineEdit* edit(const QWidget& w, int i) {
    return child<QLineEdit>(w, QStringLiteral("E_IP%1").arg(i + 1));
}

QStringList editTexts(const QWidget& w) {
    QStringList out;
    for (int i = 0; i < 4; ++i)
        out << edit(w, i)->text();
    return out;
}

void setAddress(const QWidget& w, const QString& address) {
    const QStringList parts = address.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        edit(w, i)->setText(parts.value(i));
}

bool open(TFBoot& dlg) {
    dlg.Form_Type = 1;
    dlg.show();
    return QTest::qWaitForWindowExposed(&dlg);
}

// Runs `drive` on the modal dialog as soon as it is up, then closes what it left open, so a failed
// check inside cannot hang the test.
void whenModal(std::function<void(QDialog*)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no modal dialog open");
        drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// Counts the paint events of a window.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestTFBoot : public QObject {
    Q_OBJECT

    // Puts a fake echo client into the dialog, on its own clock.
    static FakeEchoClient* fake(TFBoot& dlg, QList<EchoResult> script) {
        auto client = std::make_unique<FakeEchoClient>();
        FakeEchoClient* raw = client.get();
        raw->script = std::move(script);
        raw->attach(dlg.reachability());
        dlg.setEchoClient(std::move(client));
        return raw;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // in the dialog; width or height 0: not checked
        QTest::newRow("P_Title") << "P_Title" << QRect(0, 0, 449, 69);
        QTest::newRow("P_IP_Address") << "P_IP_Address" << QRect(0, 69, 449, 49);
        QTest::newRow("P_Options") << "P_Options" << QRect(0, 118, 449, 72);
        QTest::newRow("P_Button") << "P_Button" << QRect(0, 190, 449, 40);
        QTest::newRow("L_SW_Code") << "L_SW_Code" << QRect(16, 8, 0, 0);
        QTest::newRow("L_SW_Desc") << "L_SW_Desc" << QRect(16, 42, 0, 0);
        QTest::newRow("L_IP_Address") << "L_IP_Address" << QRect(16, 69 + 4, 0, 0);
        QTest::newRow("E_IP1") << "E_IP1" << QRect(35, 69 + 23, 41, 0);
        QTest::newRow("E_IP2") << "E_IP2" << QRect(91, 69 + 23, 41, 0);
        QTest::newRow("E_IP3") << "E_IP3" << QRect(147, 69 + 23, 41, 0);
        QTest::newRow("E_IP4") << "E_IP4" << QRect(203, 69 + 23, 41, 0);
        QTest::newRow("L_Dot1") << "L_Dot1" << QRect(83, 69 + 31, 0, 0);
        QTest::newRow("L_Dot2") << "L_Dot2" << QRect(139, 69 + 31, 0, 0);
        QTest::newRow("L_Dot3") << "L_Dot3" << QRect(193, 69 + 31, 0, 0);
        QTest::newRow("L_Update_Option") << "L_Update_Option" << QRect(16, 118 + 4, 0, 0);
        QTest::newRow("CB_Update_Options") << "CB_Update_Options" << QRect(35, 118 + 23, 382, 0);
        QTest::newRow("CB_Update_Option_Read_Back") << "CB_Update_Option_Read_Back" << QRect(16, 118 + 50, 0, 0);
        QTest::newRow("Btn_Cancel") << "Btn_Cancel" << QRect(16, 190 + 6, 110, 0);
        QTest::newRow("Btn_Update") << "Btn_Update" << QRect(132, 190 + 6, 228, 0);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        Env env;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        QCOMPARE(dlg.size(), QSize(449, 230));
        auto* w = child(dlg, name);
        QVERIFY(w->isVisible());
        QCOMPARE(w->mapTo(&dlg, QPoint(0, 0)), geometry.topLeft());
        if (geometry.width() > 0)
            QCOMPARE(w->width(), geometry.width());
        if (geometry.height() > 0)
            QCOMPARE(w->height(), geometry.height());
        // Nothing sticks out of its panel or the window.
        QVERIFY(w->parentWidget()->rect().contains(w->geometry()));
    }

    void texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption"); // empty: none
        QTest::addColumn<QString>("hint");
        QTest::newRow("L_SW_Code") << "L_SW_Code"
                                   << "SWKV210"
                                   << "";
        QTest::newRow("L_SW_Desc") << "L_SW_Desc"
                                   << "Update Device Using the Ethernet Port"
                                   << "";
        QTest::newRow("L_IP_Address") << "L_IP_Address"
                                      << "Insert the IP Address of Device"
                                      << "";
        QTest::newRow("E_IP1") << "E_IP1"
                               << ""
                               << "Insert first byte of IP Address";
        QTest::newRow("E_IP4") << "E_IP4"
                               << ""
                               << "Insert fourth byte of IP Address";
        QTest::newRow("L_Update_Option") << "L_Update_Option"
                                         << "Select Update Options"
                                         << "";
        QTest::newRow("CB_Update_Options") << "CB_Update_Options"
                                           << ""
                                           << "Select the operation to do in update";
        QTest::newRow("CB_Update_Option_Read_Back")
            << "CB_Update_Option_Read_Back"
            << "Read Back"
            << "Enable or disable the possibility to read back the Firmware/Configuration";
        QTest::newRow("Btn_Cancel") << "Btn_Cancel"
                                    << "Cancel"
                                    << "Exit without to do the Update";
        QTest::newRow("Btn_Update") << "Btn_Update"
                                    << "Execute Update Firmware"
                                    << "Start the update of Device";
    }

    void texts() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        Env env;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Update Device by Ethernet (UDP)"));
        auto* w = child(dlg, name);
        if (!caption.isEmpty()) {
            if (auto* label = qobject_cast<QLabel*>(w))
                QCOMPARE(label->text(), caption);
            else
                QCOMPARE(qobject_cast<QAbstractButton*>(w)->text(), caption);
            // Sized to the whole text.
            QVERIFY(w->width() >= w->fontMetrics().horizontalAdvance(caption));
        }
        QCOMPARE(w->toolTip(), hint);
    }

    // Set_Lang re-reads every text and refills the option list with its first item selected.
    void languageChange() {
        Env env;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        auto* options = child<QComboBox>(dlg, "CB_Update_Options");
        options->setCurrentIndex(2);
        const QString lng = env.state.LanguageFolder + QStringLiteral("/Deutsch.lng");
        writeFile(lng, "\xEF\xBB\xBFSTR1002 = Gerät aktualisieren\r\nSTR1016 = Nur Firmware\r\n"
                       "STR1020 = Jetzt aktualisieren\r\nSTR1034 = Ohne Aktualisierung schließen\r\n");
        env.state.catalogue.Read_Language_File(lng);
        dlg.Set_Lang();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Gerät aktualisieren"));
        QCOMPARE(child<QPushButton>(dlg, "Btn_Update")->text(), QStringLiteral("Jetzt aktualisieren"));
        QCOMPARE(child<QPushButton>(dlg, "Btn_Cancel")->toolTip(), QStringLiteral("Ohne Aktualisierung schließen"));
        QCOMPARE(options->count(), 3);
        QCOMPARE(options->itemText(1), QStringLiteral("Nur Firmware"));
        QCOMPARE(options->currentIndex(), 0);
    }

    void addressSplit_data() {
        QTest::addColumn<QString>("lastIp");
        QTest::addColumn<QStringList>("shown"); // the edits before were 10, 20, 30, 40
        const QStringList before{"10", "20", "30", "40"};
        QTest::newRow("default") << "192.168.2.205" << QStringList{"192", "168", "2", "205"};
        QTest::newRow("blanks around parts and dots")
            << "  192 . 168 .2.  205 " << QStringList{"192", "168", "2", "205"};
        QTest::newRow("limits") << "0.255.000.7" << QStringList{"0", "255", "000", "7"};
        QTest::newRow("three parts") << "192.168.2" << before;
        QTest::newRow("a part above 255") << "192.168.256.1" << before;
        QTest::newRow("five parts") << "1.2.3.4.5" << before;
        QTest::newRow("empty fourth part") << "1.2.3." << before;
        QTest::newRow("empty") << "" << before;
        QTest::newRow("not numbers") << "a.b.c.d" << before;
        QTest::newRow("negative") << "-1.2.3.4" << before;
        QTest::newRow("blank inside a part") << "1 9.2.3.4" << before;
    }

    void addressSplit() {
        QFETCH(QString, lastIp);
        QFETCH(QStringList, shown);
        Env env;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        dlg.hide();
        setAddress(dlg, QStringLiteral("10.20.30.40"));
        env.state.LastIpAddress = lastIp;
        QVERIFY(open(dlg));
        QCOMPARE(editTexts(dlg), shown);
    }

    void firstShowingWithUnusableAddress() {
        Env env;
        env.state.LastIpAddress = QStringLiteral("192.168.2");
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        QCOMPARE(editTexts(dlg), (QStringList{"0", "0", "0", "0"}));
    }

    void showingRestoresChoicesAndFocus() {
        Env env;
        env.state.UpdateOption = 1;
        env.state.ReadBack = false;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        QCOMPARE(child<QComboBox>(dlg, "CB_Update_Options")->currentIndex(), 1);
        QVERIFY(!child<QCheckBox>(dlg, "CB_Update_Option_Read_Back")->isChecked());
        QTRY_COMPARE(QApplication::focusWidget(), edit(dlg, 0));
    }

    void dotKey_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("focusAfter");
        QTest::newRow("E_IP1") << 0 << 1;
        QTest::newRow("E_IP2") << 1 << 2;
        QTest::newRow("E_IP3") << 2 << 3;
        QTest::newRow("E_IP4") << 3 << 3;
    }

    void dotKey() {
        QFETCH(int, from);
        QFETCH(int, focusAfter);
        Env env;
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        QApplication::setActiveWindow(&dlg);
        edit(dlg, from)->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit(dlg, from));
        const QStringList before = editTexts(dlg);
        QTest::keyClick(edit(dlg, from), Qt::Key_Period, Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), edit(dlg, focusAfter));
        QCOMPARE(editTexts(dlg), before);
        // Everything else is typed as it comes: no filter, no length limit.
        QTest::keyClicks(edit(dlg, from), QStringLiteral("x 1234"));
        QCOMPARE(edit(dlg, from)->text(), before.at(from) + QStringLiteral("x 1234"));
    }

    void update_data() {
        QTest::addColumn<QList<EchoResult>>("echoes");
        QTest::addColumn<QString>("updater"); // "fake", "missing" or "windows" (no wine on the path)
        QTest::addColumn<QString>("message"); // a part of the one message expected; empty: none
        QTest::addColumn<Messages::Icon>("icon");
        QTest::addColumn<bool>("remembered");
        QTest::addColumn<bool>("scriptWritten");
        const QList<EchoResult> answers{FakeEchoClient::reply()};
        const QString fake = QStringLiteral("fake");
        QTest::newRow("device answers") << answers << fake << QString() << Messages::Icon::Error << true << true;
        QTest::newRow("device silent") << QList<EchoResult>{FakeEchoClient::silence()} << fake
                                       << QStringLiteral("Device Not Found!") << Messages::Icon::Warning << false
                                       << false;
        QTest::newRow("unusable address")
            << QList<EchoResult>{FakeEchoClient::error(Kind::BadAddress)} << fake
            << QStringLiteral("Error!!! Check the Ip Address") << Messages::Icon::Error << false << false;
        QTest::newRow("no ICMP permission")
            << QList<EchoResult>{FakeEchoClient::error(Kind::NoPermission)} << fake
            << QStringLiteral("net.ipv4.ping_group_range") << Messages::Icon::Error << false << false;
        QTest::newRow("updater missing") << answers << QStringLiteral("missing")
                                         << QStringLiteral("cannot be started: the file does not exist")
                                         << Messages::Icon::Error << true << true;
        QTest::newRow("Windows updater without wine")
            << answers << QStringLiteral("windows") << QStringLiteral("needs Wine") << Messages::Icon::Error << true
            << true;
    }

    void update() {
        QFETCH(QList<EchoResult>, echoes);
        QFETCH(QString, updater);
        QFETCH(QString, message);
        QFETCH(Messages::Icon, icon);
        QFETCH(bool, remembered);
        QFETCH(bool, scriptWritten);
        Env env;
        if (updater == QLatin1String("fake"))
            env.fakeUpdater();
        else if (updater == QLatin1String("windows"))
            writeFile(env.updater(), QByteArray("MZ\x90\0\3\0", 6), Executable);
        const QByteArray oldPath = qgetenv("PATH");
        if (updater == QLatin1String("windows"))
            qputenv("PATH", QFile::encodeName(env.record.path())); // no wine there

        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        FakeEchoClient* client = fake(dlg, echoes);
        setAddress(dlg, QStringLiteral("10.0.0.9"));
        child<QComboBox>(dlg, "CB_Update_Options")->setCurrentIndex(1);
        child<QCheckBox>(dlg, "CB_Update_Option_Read_Back")->setChecked(false);
        QTest::mouseClick(child(dlg, "Btn_Update"), Qt::LeftButton);
        qputenv("PATH", oldPath);

        QCOMPARE(client->asked.first(), QStringLiteral("10.0.0.9"));
        if (message.isEmpty()) {
            QVERIFY2(env.messages.entries().isEmpty(), qPrintable(env.messages.texts().join('|')));
        } else {
            QCOMPARE(env.messages.entries().size(), 1);
            QVERIFY2(env.messages.lastText().contains(message), qPrintable(env.messages.lastText()));
            QCOMPARE(env.messages.entries().first().icon, icon);
            if (updater == QLatin1String("missing"))
                QVERIFY(env.messages.lastText().contains(QDir::toNativeSeparators(env.updater())));
        }
        if (remembered) {
            QCOMPARE(env.state.LastIpAddress, QStringLiteral("10.0.0.9"));
            QCOMPARE(env.state.UpdateOption, 1);
            QCOMPARE(env.state.ReadBack, false);
        } else {
            QCOMPARE(env.state.LastIpAddress, QStringLiteral("192.168.2.205"));
            QCOMPARE(env.state.UpdateOption, 0);
            QCOMPARE(env.state.ReadBack, true);
        }
        QCOMPARE(QFile::exists(env.dir.filePath(QStringLiteral("Flashvane.xml"))), scriptWritten);
        QCOMPARE(env.updaterStarted(), remembered && updater == QLatin1String("fake"));
        if (env.updaterStarted()) {
            // The updater found the whole script: the firmware alone, without read back.
            const Xml::Element root = Xml::loadExistingTree(env.found()).firstNodeAsRoot();
            QCOMPARE(root.childText(u"IP_Address_Dev").value_or(QString()), QStringLiteral("10.0.0.9"));
            const QList<Xml::Element> ops = root.firstChild(u"Operations").children();
            QCOMPARE(ops.size(), 1);
            QCOMPARE(ops[0].childText(u"Ope_Read_Back").value_or(QString()), QStringLiteral("0"));
        }
        QVERIFY(dlg.isVisible()); // the dialog stays open whatever happened
        QVERIFY(!dlg.isBusy());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Choices reach the next showing only through a successful check.
    void rememberedChoices() {
        Env env;
        env.fakeUpdater();
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        FakeEchoClient* client = fake(dlg, {FakeEchoClient::reply()});
        auto* options = child<QComboBox>(dlg, "CB_Update_Options");
        auto* readBack = child<QCheckBox>(dlg, "CB_Update_Option_Read_Back");
        options->setCurrentIndex(1);
        readBack->setChecked(false);
        dlg.Btn_UpdateClick();
        dlg.hide();
        QVERIFY(open(dlg));
        QCOMPARE(options->currentIndex(), 1);
        QVERIFY(!readBack->isChecked());

        client->script = {FakeEchoClient::silence()};
        client->asked.clear();
        options->setCurrentIndex(2);
        readBack->setChecked(true);
        setAddress(dlg, QStringLiteral("10.9.9.9"));
        dlg.Btn_UpdateClick();
        dlg.hide();
        QVERIFY(open(dlg));
        QCOMPARE(options->currentIndex(), 1);
        QVERIFY(!readBack->isChecked());
        QCOMPARE(editTexts(dlg), (QStringList{"192", "168", "2", "205"}));
    }

    // A script that cannot be written: the general error, and no updater on a stale script.
    void readOnlyProgramFolder() {
        Env env;
        env.fakeUpdater();
        writeFile(env.dir.filePath(QStringLiteral("Flashvane.xml")), "<old/>");
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        fake(dlg, {FakeEchoClient::reply()});
        QVERIFY(QFile::setPermissions(env.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        {
            SystemTest::DropCapability noOverride(CAP_DAC_OVERRIDE);
            QVERIFY(noOverride.active());
            dlg.Btn_UpdateClick();
        }
        QFile::setPermissions(env.dir.path(), Executable);
        QCOMPARE(env.messages.entries().size(), 1);
        QVERIFY2(env.messages.lastText().contains(
                     QDir::toNativeSeparators(env.dir.filePath(QStringLiteral("Flashvane.xml")))),
                 qPrintable(env.messages.lastText()));
        QVERIFY(!env.updaterStarted());
        QCOMPARE(readAll(env.dir.filePath(QStringLiteral("Flashvane.xml"))), QByteArray("<old/>"));
    }

    // The real echo client against 127.0.0.1 and the updater stand-in: the whole hand-off.
    void loopbackEndToEnd() {
        Env env;
        env.fakeUpdater();
        if (IcmpEchoClient().echo(QStringLiteral("127.0.0.1")).kind == Kind::NoPermission)
            QSKIP("no ICMP socket may be opened here");
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        setAddress(dlg, QStringLiteral("127.0.0.1"));
        QTest::mouseClick(child(dlg, "Btn_Update"), Qt::LeftButton);
        QVERIFY2(env.messages.entries().isEmpty(), qPrintable(env.messages.texts().join('|')));
        QCOMPARE(dlg.ping_res(), int(ReachabilityCheck::Answered));
        QVERIFY(env.updaterStarted());
        QStringList files;
        const Xml::Element root = Xml::loadExistingTree(env.found()).firstNodeAsRoot();
        for (const Xml::Element& op : root.firstChild(u"Operations").children())
            files << op.childText(u"Ope_FileName").value_or(QString());
        const QString bin = QDir::toNativeSeparators(env.state.ActiveConfigPath + QStringLiteral("/bin/"));
        QCOMPARE(files, (QStringList{QDir::toNativeSeparators(env.state.MasterFolder + QStringLiteral("/SimKV210.sim")),
                                     bin + QStringLiteral("bank1.bin"), bin + QStringLiteral("bank2.bin")}));
        QCOMPARE(env.state.LastIpAddress, QStringLiteral("127.0.0.1"));
    }

    // During the check and the updater's run the window paints, shows the wait cursor and drops every
    // click, key and close request.
    void busyWhileCheckingAndWaiting() {
        Env env;
        env.fakeUpdater("sleep 1");
        TFBoot dlg(env.state);
        QVERIFY(open(dlg));
        PaintCounter painted;
        dlg.installEventFilter(&painted);
        FakeEchoClient* client = fake(dlg, {FakeEchoClient::reply()});

        struct Seen {
            bool busy = false;
            Qt::CursorShape cursor = Qt::ArrowCursor;
            int paints = 0;
            bool stayedOpen = false;
        };
        auto look = [&] {
            Seen s;
            s.busy = dlg.isBusy();
            if (const QCursor* c = QGuiApplication::overrideCursor())
                s.cursor = c->shape();
            s.paints = painted.paints;
            // Try to leave: the cancel button, Escape, the close box.
            QTest::mouseClick(child(dlg, "Btn_Cancel"), Qt::LeftButton);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            dlg.close();
            s.stayedOpen = dlg.isVisible();
            dlg.update();
            return s;
        };
        QList<Seen> duringCheck;
        client->onEcho = [&] { duringCheck << look(); };
        QList<Seen> duringWait;
        QTimer during;
        during.setInterval(200);
        connect(&during, &QTimer::timeout, &dlg, [&] {
            if (QFile::exists(env.dir.filePath(QStringLiteral("Flashvane.xml"))))
                duringWait << look();
        });
        during.start();

        dlg.Btn_UpdateClick();
        during.stop();

        QVERIFY(env.updaterStarted());
        QCOMPARE(duringCheck.size(), 2);
        QVERIFY2(duringWait.size() >= 2, "the window processed no events while the updater ran");
        for (const QList<Seen>& phase : {duringCheck, duringWait}) {
            for (const Seen& s : phase) {
                QVERIFY(s.busy);
                QCOMPARE(s.cursor, Qt::WaitCursor);
                QVERIFY(s.stayedOpen);
            }
        }
        // Each look asked for a repaint; the next one found it done.
        QVERIFY(duringCheck[1].paints > duringCheck[0].paints);
        QVERIFY(duringWait.last().paints > duringWait.first().paints);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.isBusy());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(env.messages.entries().isEmpty());
    }
    // From the main window: "Update Device UDP" writes the images and opens the dialog; the updater
    // stand-in is started on a complete script naming both; closing the program keeps the address.
    void fromMainWindow() {
        QTemporaryDir program;
        QTemporaryDir record;
        MessageRecorder messages;
        const QString config = program.filePath(QStringLiteral("PROJECTS/Plant"));
        QVERIFY(QDir().mkpath(config));
        writeFile(program.filePath(QStringLiteral("Tessaro.xml")),
                  "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj></Conf_Settings>");
        const QString found = record.filePath(QStringLiteral("found.xml"));
        writeFile(program.filePath(QStringLiteral("Flashvane.exe")),
                  "#!/bin/sh\ncp \"${0%/*}/Flashvane.xml\" '" + QFile::encodeName(found) + "'\n", Executable);
        if (IcmpEchoClient().echo(QStringLiteral("127.0.0.1")).kind == Kind::NoPermission)
            QSKIP("no ICMP socket may be opened here");

        auto w = std::make_unique<TFTessaroFirmWare>(program.path());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // The configuration goes through the three editors, each confirmed with OK.
        for (const char* step : {"Btn_Prm_Gen", "Btn_LoRaWAN_Access", "Btn_OPC_UA_Server_Access"}) {
            whenModal([](QDialog* d) {
                if (auto* poll = d->findChild<QLineEdit*>(QStringLiteral("E_NTP_Poll_Time")))
                    poll->setText(QStringLiteral("3600")); // the one value without a usable default
                QTest::mouseClick(child(*d, "Btn_OK"), Qt::LeftButton);
            });
            QTest::mouseClick(child(*w, QLatin1String(step)), Qt::LeftButton);
        }
        for (const char* file : {"ParGen.xml", "LoRaWAN_SetAccess.xml", "OPC_UA_Server.xml"})
            QVERIFY2(QFile::exists(config + QLatin1Char('/') + QLatin1String(file)), file);
        messages.clear();

        TFBoot* boot = nullptr;
        int formType = -1;
        whenModal([&](QDialog* d) {
            boot = qobject_cast<TFBoot*>(d);
            QVERIFY(boot);
            formType = boot->Form_Type;
            setAddress(*boot, QStringLiteral("127.0.0.1"));
            QTest::mouseClick(child(*boot, "Btn_Update"), Qt::LeftButton);
            QVERIFY(boot->isVisible()); // still open after the updater ended
        });
        QTest::mouseClick(child(*w, "Btn_CreateBin"), Qt::LeftButton);
        QVERIFY2(messages.entries().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(formType, 1);
        QVERIFY(QFile::exists(config + QStringLiteral("/bin/bank1.bin")));
        QVERIFY(QFile::exists(config + QStringLiteral("/bin/bank2.bin")));

        QStringList files;
        const Xml::Element root = Xml::loadExistingTree(found).firstNodeAsRoot();
        QCOMPARE(root.childText(u"IP_Address_Dev").value_or(QString()), QStringLiteral("127.0.0.1"));
        for (const Xml::Element& op : root.firstChild(u"Operations").children())
            files << op.childText(u"Ope_FileName").value_or(QString());
        QCOMPARE(files.size(), 3);
        QCOMPARE(files[1], QDir::toNativeSeparators(config + QStringLiteral("/bin/bank1.bin")));
        QCOMPARE(files[2], QDir::toNativeSeparators(config + QStringLiteral("/bin/bank2.bin")));

        // Form_Type is set again before the next showing, and the updater now missing is reported.
        boot->Form_Type = 0;
        QFile::remove(program.filePath(QStringLiteral("Flashvane.exe")));
        whenModal([&](QDialog* d) {
            formType = static_cast<TFBoot*>(d)->Form_Type;
            QTest::mouseClick(child(*d, "Btn_Update"), Qt::LeftButton);
        });
        QTest::mouseClick(child(*w, "Btn_CreateBin"), Qt::LeftButton);
        QCOMPARE(formType, 1);
        QCOMPARE(messages.entries().size(), 1);
        QVERIFY2(messages.lastText().contains(QStringLiteral("cannot be started")) &&
                     messages.lastText().contains(QDir::toNativeSeparators(program.filePath("Flashvane.exe"))),
                 qPrintable(messages.lastText()));

        w->close();
        const Xml::Element settings =
            Xml::loadExistingTree(program.filePath(QStringLiteral("Tessaro.xml"))).firstNodeAsRoot();
        QCOMPARE(settings.pathText(u"lastipadd", u"ipaddress").value_or(QString()), QStringLiteral("127.0.0.1"));
    }

    // The main window's language change reaches the dialog once it exists.
    void languageChangeFromMainWindow() {
        QTemporaryDir program;
        MessageRecorder messages;
        QVERIFY(QDir().mkpath(program.filePath(QStringLiteral("PROJECTS/Plant"))));
        writeFile(program.filePath(QStringLiteral("Tessaro.xml")),
                  "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj></Conf_Settings>");
        auto w = std::make_unique<TFTessaroFirmWare>(program.path());
        whenModal([](QDialog*) {});
        QTest::mouseClick(child(*w, "Btn_CreateBin"), Qt::LeftButton);
        auto* boot = w->findChild<TFBoot*>();
        QVERIFY(boot);
        writeFile(program.filePath(QStringLiteral("LANGUAGE/Deutsch.lng")), "STR1020 = Aktualisieren\r\n");
        w->state().LanguageName = QStringLiteral("Deutsch");
        w->state().catalogue.Load_Language(w->state().LanguageFolder, w->state().LanguageName);
        w->Change_Language();
        QCOMPARE(child<QPushButton>(*boot, "Btn_Update")->text(), QStringLiteral("Aktualisieren"));
    }
};

QTEST_MAIN(TestTFBoot)
#include "tst_tfboot.moc"
