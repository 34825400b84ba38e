// SPDX-License-Identifier: MIT
#include "app/Configurations.h"
#include "app/Product.h"
#include "common/MessageService.h"
#include "options/VersionCheck.h"
#include "rules/RuleGrid.h"
#include "rules/RuleTable.h"
#include "rules/TFOPC_UA_Server_Access.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFTessaroFirmWare.h"
#include "support/GuiSupport.h"
#include "support/HttpTestServer.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace TestSupport;

namespace {

const QString Text9 = QStringLiteral("None Configuration Opened ");
const QString Text10 = QStringLiteral("Use Step1 to open or create new configuration");
const QString Text11 = QStringLiteral("Opened Configuration of the Converter : ");
const QString Text18 = QStringLiteral("Error! Project not Valid");
const QString Text1242 =
    QStringLiteral("Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section");

QByteArray settings(const QByteArray& project, const QByteArray& internet = "0", const QByteArray& update = "0") {
    return "<Conf_Settings><lastproj><projectname>" + project +
           "</projectname></lastproj><lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
           "<lastlang><language>English</language></lastlang><lastinternet><enable_internet>" +
           internet + "</enable_internet><enable_update>" + update +
           "</enable_update><enable_jump_field_tables>0</enable_jump_field_tables>"
           "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>";
}

QString labelText(const QWidget* w, const char* name) {
    return child<QLabel>(w, name)->text();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;

    QString path(const QString& relative) const { return m_dir->path(relative); }

    std::unique_ptr<TFTessaroFirmWare> start() {
        auto w = std::make_unique<TFTessaroFirmWare>(m_dir->path());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("main window not exposed");
        return w;
    }

    // A program folder whose settings name `configuration`, and that configuration's folder.
    void prepare(const QByteArray& configuration) {
        QVERIFY(
            m_dir->makeDir(QStringLiteral("PROJECTS/") + QString::fromUtf8(configuration) + QStringLiteral("/bin")));
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings(configuration)));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<TempFolder>();
        m_messages = std::make_unique<MessageRecorder>();
    }

    void cleanup() {
        m_messages.reset();
        m_dir.reset();
    }

    void firstStartInEmptyFolder() {
        auto w = start();
        for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY2(QFileInfo(path(QLatin1String(folder))).isDir(), folder);
        QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text9);
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), Text10);
        QCOMPARE(w->state().LanguageName, QStringLiteral("English"));
        QCOMPARE(w->state().ActiveConfigPath, QString());
        QVERIFY(!child<QTimer>(w.get(), "Timer_Update")->isActive());
        QCOMPARE(w->windowTitle(), Product::WindowCaption);
        QCOMPARE(labelText(w.get(), "L_SW_Code"), QStringLiteral("SWKV210"));
        QCOMPARE(labelText(w.get(), "L_SW_Desc"), QStringLiteral("OPC UA Server / LoRaWAN - Converter"));
        QVERIFY(!child(w.get(), "LL_Update")->isVisible());

        w->close();
        QCOMPARE(m_dir->read(QStringLiteral("Tessaro.xml")),
                 readFile(QStringLiteral(TESSARO_FIXTURES "/app/Tessaro_first_run.xml")));
        QCOMPARE(m_messages->texts(), QStringList());
    }

    void updateTimerRule_data() {
        QTest::addColumn<QByteArray>("internet");
        QTest::addColumn<QByteArray>("update");
        QTest::addColumn<bool>("active");
        QTest::newRow("internet only") << QByteArray("1") << QByteArray("0") << false;
        QTest::newRow("update only") << QByteArray("0") << QByteArray("1") << false;
        QTest::newRow("both") << QByteArray("1") << QByteArray("1") << true;
        QTest::newRow("true is not 1") << QByteArray("true") << QByteArray("1") << false;
    }

    void updateTimerRule() {
        QFETCH(QByteArray, internet);
        QFETCH(QByteArray, update);
        QFETCH(bool, active);
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings("", internet, update)));
        auto w = start();
        auto* timer = child<QTimer>(w.get(), "Timer_Update");
        QCOMPARE(timer->isActive(), active);
        QCOMPARE(w->state().EnableInternet, internet == "1");
        if (active)
            QCOMPARE(timer->interval(), 60000);
    }

    // The timer's tick asks the version service (here a local server) and shows or hides the notice.
    void versionNotice() {
        HttpTestServer server;
        LinkCatcher catcher;
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings("", "1", "1")));
        auto w = start();
        w->versionCheck().setServer(QStringLiteral("127.0.0.1"), server.serverPort());
        auto* timer = child<QTimer>(w.get(), "Timer_Update");
        auto* notice = child<QLabel>(w.get(), "LL_Update");
        QSignalSpy checked(&w->versionCheck(), &VersionCheck::finished);

        const struct {
            QByteArray response;
            bool shown;
        } ticks[] = {
            {HttpTestServer::ok("VER. 1.002"), true},
            {HttpTestServer::ok("VER. 1.001"), false},
            {QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999"), false},
            {HttpTestServer::ok("VER. 2.017"), true},
        };
        for (const auto& tick : ticks) {
            server.answer(tick.response);
            checked.clear();
            w->Timer_UpdateTimer();
            QVERIFY(!timer->isActive()); // no second tick while the request runs
            QVERIFY(checked.wait(3 * VersionCheck::TimeLimitMs));
            QCOMPARE(notice->isVisible(), tick.shown);
            QVERIFY(timer->isActive());
            QCOMPARE(timer->interval(), 7200000);
        }
        QCOMPARE(notice->geometry(), QRect(208, 19, 294, 17));
        QTest::mouseClick(notice, Qt::LeftButton, {}, QPoint(4, notice->height() / 2));
        QCOMPARE(catcher.urls, QList<QUrl>{Product::downloadPageUrl()});

        // Switching the check off stops the ticks; the notice shown stays. A tick already due asks nothing.
        w->state().EnableUpdate = false;
        w->applyUpdateTimerRule();
        QVERIFY(!timer->isActive());
        checked.clear();
        w->Timer_UpdateTimer();
        QVERIFY(!w->versionCheck().isRunning());
        QVERIFY(!checked.wait(100));
        QVERIFY(!timer->isActive());
        QVERIFY(notice->isVisible());
    }

    void rememberedConfigurationDeleted() {
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings("Gone")));
        auto w = start();
        QCOMPARE(w->state().ActiveConfigPath, QString());
        QCOMPARE(w->state().ActiveConfigName, QStringLiteral("Gone"));
        QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text9);
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), Text10);

        click(w.get(), "Btn_Prm_Gen");
        QCOMPARE(m_messages->texts(), QStringList{Text18});
        QCOMPARE(m_messages->entries().first().icon, Messages::Icon::Error);

        w->close();
        QVERIFY(m_dir->read(QStringLiteral("Tessaro.xml")).contains("<projectname>Gone</projectname>"));
    }

    void rememberedConfigurationRestored_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("folder"); // created below the program folder
        QTest::addColumn<bool>("active");
        QTest::newRow("folder present") << QByteArray("Plant 7") << QStringLiteral("PROJECTS/Plant 7") << true;
        QTest::newRow("empty name") << QByteArray("") << QStringLiteral("PROJECTS") << false;
        QTest::newRow("outside PROJECTS") << QByteArray("../MASTER") << QStringLiteral("MASTER") << false;
        QTest::newRow("nested") << QByteArray("A/bin") << QStringLiteral("PROJECTS/A/bin") << false;
        QTest::newRow("PROJECTS itself") << QByteArray(".") << QStringLiteral("PROJECTS") << false;
    }

    void rememberedConfigurationRestored() {
        QFETCH(QByteArray, name);
        QFETCH(QString, folder);
        QFETCH(bool, active);
        QVERIFY(m_dir->makeDir(folder));
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings(name)));
        auto w = start();
        QCOMPARE(w->state().ActiveConfigName, QString::fromUtf8(name));
        if (active) {
            QCOMPARE(w->state().ActiveConfigPath, path(folder));
            QCOMPARE(w->state().ParGenFile(), path(folder + QStringLiteral("/ParGen.xml")));
            QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text11);
            QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), QString::fromUtf8(name));
        } else {
            QCOMPARE(w->state().ActiveConfigPath, QString());
            QCOMPARE(w->state().ParGenFile(), QString());
            QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text9);
            click(w.get(), "Btn_CreateBin");
            QCOMPARE(m_messages->texts(), QStringList{Text18});
            // The name stays remembered as it was.
            w->close();
            QVERIFY(m_dir->read(QStringLiteral("Tessaro.xml")).contains("<projectname>" + name + "</projectname>"));
        }
    }

    void stepButtons_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("opens");        // objectName of the dialog; empty: the step does nothing yet
        QTest::addColumn<QStringList>("messages"); // shown on the way, in a new configuration
        const QStringList none;
        QTest::newRow("step 2") << QByteArray("Btn_Prm_Gen") << QStringLiteral("TFParGen") << none;
        QTest::newRow("step 3") << QByteArray("Btn_LoRaWAN_Access") << QStringLiteral("TFLoRa_Set_Access")
                                << QStringList{Text1242};
        QTest::newRow("step 4") << QByteArray("Btn_OPC_UA_Server_Access") << QStringLiteral("TFOPC_UA_Server_Access")
                                << none;
        QTest::newRow("step 5") << QByteArray("Btn_CreateBin") << QStringLiteral("FBoot") << none;
    }

    // Steps 2 to 5 are refused while no configuration is active; with one, each runs its own step.
    void stepButtons() {
        QFETCH(QByteArray, button);
        QFETCH(QString, opens);
        QFETCH(QStringList, messages);
        auto w = start();

        click(w.get(), button.constData());
        QCOMPARE(m_messages->texts(), QStringList{Text18});
        QCOMPARE(w->findChildren<QDialog*>(), QList<QDialog*>());

        QVERIFY(m_dir->makeDir(QStringLiteral("PROJECTS/A")));
        Configurations::activate(w->state(), QStringLiteral("A"));
        m_messages->clear();
        if (opens.isEmpty()) {
            click(w.get(), button.constData());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
        } else {
            clickAndDrive(w.get(), button.constData(), [&](QDialog& d) {
                QCOMPARE(d.objectName(), opens);
                d.reject();
            });
        }
        QCOMPARE(m_messages->texts(), messages);
    }

    // Step 2 end to end: the communication editor opens on the active configuration's ParGen.xml.
    void setCommunicationEditsParGen() {
        prepare("Plant");
        auto w = start();
        const QString parGen = QStringLiteral("PROJECTS/Plant/ParGen.xml");

        clickAndDrive(w.get(), "Btn_Prm_Gen", [&](QDialog& d) {
            QCOMPARE(d.objectName(), QStringLiteral("TFParGen"));
            click(&d, "Btn_OK");
            QCOMPARE(m_messages->lastText(),
                     QStringLiteral("Error NTP!! Poll Time must be between 0 and 10000000 seconds"));
            QVERIFY(d.isVisible());
            QTest::keyClicks(child(&d, "E_NTP_Poll_Time"), QStringLiteral("3600"));
            click(&d, "Btn_OK");
        });
        QVERIFY(m_dir->read(parGen).contains("<NTP_Poll_Time>3600</NTP_Poll_Time>"));

        clickAndDrive(w.get(), "Btn_Prm_Gen", [&](QDialog& d) {
            QCOMPARE(child<QLineEdit>(&d, "E_NTP_Poll_Time")->text(), QStringLiteral("3600"));
            d.reject();
        });

        // A broken file: the general error names it, the editor stays closed, the file is untouched.
        QVERIFY(m_dir->write(parGen, "<Par_Gen><oops></Par_Gen>"));
        m_messages->clear();
        click(w.get(), "Btn_Prm_Gen");
        QCOMPARE(m_messages->entries().size(), 1);
        QVERIFY2(m_messages->lastText().contains(QStringLiteral("ParGen.xml")), qPrintable(m_messages->lastText()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_dir->read(parGen), QByteArray("<Par_Gen><oops></Par_Gen>"));
    }

    // Step 3 end to end: the rules editor reads ParGen.xml and writes LoRaWAN_SetAccess.xml.
    void setLoRaWANAccessEditsRules() {
        prepare("Plant");
        QVERIFY(m_dir->write(
            QStringLiteral("PROJECTS/Plant/ParGen.xml"),
            "<Par_Gen><LoRa_Payload_Size>51</LoRa_Payload_Size><LoRa_FPort>Variable</LoRa_FPort></Par_Gen>"));
        auto w = start();
        const QString rulesFile = QStringLiteral("PROJECTS/Plant/LoRaWAN_SetAccess.xml");

        clickAndDrive(w.get(), "Btn_LoRaWAN_Access", [&](QDialog& d) {
            QCOMPARE(d.objectName(), QStringLiteral("TFLoRa_Set_Access"));
            auto* grid = child<RuleGrid>(&d, "ACG_LoRa_Uplink");
            QCOMPARE(grid->table()->rowCount(), 223); // the variable FPort mode
            QVERIFY(!grid->isColumnHidden(8));
            grid->table()->setCellText(1, 2, QStringLiteral("10"));
            grid->table()->setCellText(1, 3, QStringLiteral("49"));
            grid->table()->setCellText(1, 8, QStringLiteral("7"));
            click(&d, "Btn_OK");
        });
        QCOMPARE(m_messages->texts(), QStringList());
        QVERIFY(m_dir->read(rulesFile).contains(
            "<LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"10\" NumByte=\"49\" OnChange=\"\" OnCMD=\"\" "
            "OnTimer=\"\" Time=\"\" FPort=\"7\" Mnemonic=\"\"/></LoRaWAN_Uplink>"));

        // A broken file: the general error names it, the editor stays closed, the file is untouched.
        QVERIFY(m_dir->write(rulesFile, "<LoRaWAN_Set_Access><oops></LoRaWAN_Set_Access>"));
        click(w.get(), "Btn_LoRaWAN_Access");
        QCOMPARE(m_messages->entries().size(), 1);
        QVERIFY2(m_messages->lastText().contains(QStringLiteral("LoRaWAN_SetAccess.xml")),
                 qPrintable(m_messages->lastText()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_dir->read(rulesFile), QByteArray("<LoRaWAN_Set_Access><oops></LoRaWAN_Set_Access>"));
    }

    void infoWithoutConfiguration() {
        auto w = start();
        clickAndDrive(w.get(), "Btn_Info", [](QDialog& d) {
            QCOMPARE(d.objectName(), QStringLiteral("FAbout"));
            click(&d, "LbButton1");
        });
        QCOMPARE(m_messages->texts(), QStringList());
    }

    void optionsWithoutConfiguration_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void optionsWithoutConfiguration() {
        QFETCH(bool, confirmed);
        auto w = start();
        clickAndDrive(w.get(), "Btn_Opz", [&](QDialog& d) {
            QCOMPARE(d.objectName(), QStringLiteral("FSoftOptions"));
            child<QCheckBox>(&d, "CB_En_Con")->setChecked(true);
            child<QCheckBox>(&d, "CB_Update")->setChecked(true);
            click(&d, confirmed ? "Btn_OK" : "Btn_Cancel");
        });
        QCOMPARE(m_messages->texts(), QStringList());
        // OK stores the settings at once and applies the timer rule; Cancel does neither.
        QCOMPARE(w->state().EnableInternet && w->state().EnableUpdate, confirmed);
        QCOMPARE(m_dir->exists(QStringLiteral("Tessaro.xml")), confirmed);
        QCOMPARE(child<QTimer>(w.get(), "Timer_Update")->isActive(), confirmed);
        if (confirmed)
            QCOMPARE(child<QTimer>(w.get(), "Timer_Update")->interval(), 60000);
    }

    // A language picked in the options shows in every window at once; only OK makes it the stored one.
    void languageSwitch_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void languageSwitch() {
        QFETCH(bool, confirmed);
        QVERIFY(
            m_dir->write(QStringLiteral("LANGUAGE/Deutsch.lng"),
                         "STR0015 = Neue Konfiguration\r\nSTR0100 = Neue\r\nSTR0200 = Offnen\r\nSTR0312 = Gut\r\n"));
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings("")));
        auto w = start();
        const auto newButton = [&] { return child<QPushButton>(w.get(), "Btn_New")->text(); };
        // The New dialog exists before the switch, the Open dialog only after it.
        clickAndDrive(w.get(), "Btn_New", [](QDialog& d) { click(&d, "Btn_Cancel"); });

        clickAndDrive(w.get(), "Btn_Opz", [&](QDialog& d) {
            m_messages->setNextAnswer(false);
            click(&d, "L_L1");
            QCOMPARE(newButton(), QStringLiteral("New Configuration"));

            m_messages->setNextAnswer(true);
            click(&d, "L_L1");
            QCOMPARE(newButton(), QStringLiteral("Neue Konfiguration"));
            QCOMPARE(child<QDialog>(w.get(), "FNew_Project")->windowTitle(), QStringLiteral("Neue"));
            QCOMPARE(child<QPushButton>(&d, "Btn_OK")->text(), QStringLiteral("Gut"));
            click(&d, confirmed ? "Btn_OK" : "Btn_Cancel");
        });
        QCOMPARE(m_messages->texts(),
                 QStringList(2, QStringLiteral("Do you want to change the Language from English to Deutsch?")));
        clickAndDrive(w.get(), "Btn_Open", [](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Offnen"));
            click(&d, "Btn_Cancel");
        });
        QCOMPARE(newButton(), QStringLiteral("Neue Konfiguration")); // for the rest of this run either way
        QCOMPARE(w->state().LanguageName, confirmed ? QStringLiteral("Deutsch") : QStringLiteral("English"));
        if (confirmed)
            QVERIFY(m_dir->read(QStringLiteral("Tessaro.xml")).contains("<language>Deutsch</language>"));
        w->close();
        w.reset();

        // The next start is in the stored language.
        QCOMPARE(m_dir->read(QStringLiteral("Tessaro.xml")).contains("<language>Deutsch</language>"), confirmed);
        w = start();
        QCOMPARE(newButton(), confirmed ? QStringLiteral("Neue Konfiguration") : QStringLiteral("New Configuration"));
    }

    void newConfiguration_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("OK button") << QStringLiteral("Plant A") << false;
        QTest::newRow("Enter in the field") << QStringLiteral("Plant B") << true;
        QTest::newRow("trailing blanks kept") << QStringLiteral("Plant C  ") << true;
    }

    void newConfiguration() {
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        auto w = start();
        clickAndDrive(w.get(), "Btn_New", [&](QDialog& d) {
            auto* edit = child<QLineEdit>(&d, "E_New_Proj");
            QCOMPARE(d.focusWidget(), edit);
            QTest::keyClicks(edit, typed);
            if (byEnter)
                QTest::keyClick(edit, Qt::Key_Return);
            else
                click(&d, "Btn_OK");
            QCOMPARE(d.result(), int(QDialog::Accepted));
        });
        // One creation only: a second OK from the same Enter would have answered "already exists".
        QCOMPARE(m_messages->texts(), QStringList());
        QCOMPARE(w->state().ActiveConfigName, typed);
        QCOMPARE(w->state().ActiveConfigPath, path(QStringLiteral("PROJECTS/") + typed));
        QCOMPARE(w->state().OPCUAServerFile(),
                 path(QStringLiteral("PROJECTS/") + typed + QStringLiteral("/OPC_UA_Server.xml")));
        QVERIFY(QFileInfo(w->state().ActiveConfigPath + QStringLiteral("/bin")).isDir());
        QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text11);
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), typed);

        // The next showing starts with an empty field.
        clickAndDrive(w.get(), "Btn_New", [](QDialog& d) {
            QCOMPARE(child<QLineEdit>(&d, "E_New_Proj")->text(), QString());
            d.reject();
        });
    }

    void newConfigurationRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString text105 = QStringLiteral("Error! Name project is not valid");
        QTest::newRow("empty") << QString() << QStringLiteral("Error! Name Project is not valid");
        QTest::newRow("exists") << QStringLiteral("Old")
                                << QStringLiteral("Error! Name project is not valid because directory already exists");
        QTest::newRow("climbs out") << QStringLiteral("../Evil") << text105;
        QTest::newRow("sub-folder") << QStringLiteral("a/b") << text105;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << text105;
        QTest::newRow("dot dot") << QStringLiteral("..") << text105;
    }

    void newConfigurationRefused() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QVERIFY(m_dir->makeDir(QStringLiteral("PROJECTS/Old")));
        QVERIFY(m_dir->write(QStringLiteral("Tessaro.xml"), settings("Old")));
        auto w = start();
        clickAndDrive(w.get(), "Btn_New", [&](QDialog& d) {
            auto* edit = child<QLineEdit>(&d, "E_New_Proj");
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(d.isVisible());
            QCOMPARE(edit->text(), typed);
            click(&d, "Btn_Cancel");
        });
        QCOMPARE(m_messages->texts(), QStringList{message});
        QCOMPARE(m_messages->entries().first().icon, Messages::Icon::Error);
        QCOMPARE(w->state().ActiveConfigName, QStringLiteral("Old"));
        QCOMPARE(QDir(path(QStringLiteral("PROJECTS"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Old")});
        QVERIFY(!m_dir->exists(QStringLiteral("Evil")));
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), QStringLiteral("Old"));
    }

    void openPreselectsActiveIgnoringCase() {
        for (const char* folder : {"PROJECTS/alpha", "PROJECTS/Beta"})
            QVERIFY(m_dir->makeDir(QLatin1String(folder)));
        auto w = start();
        // Remembered in another case than the folder's.
        Configurations::activate(w->state(), QStringLiteral("Alpha"));
        clickAndDrive(w.get(), "Btn_Open", [&](QDialog& d) {
            auto* list = child<QListWidget>(&d, "ListBox1");
            QCOMPARE(list->count(), 2);
            QVERIFY(list->currentItem());
            QCOMPARE(list->currentItem()->text(), QStringLiteral("alpha"));
            QCOMPARE(qobject_cast<TFOpenConf*>(&d)->Name_Conf, QStringLiteral("alpha"));
            click(&d, "Btn_OK");
        });
        QCOMPARE(w->state().ActiveConfigName, QStringLiteral("alpha"));
        QCOMPARE(w->state().ActiveConfigPath, path(QStringLiteral("PROJECTS/alpha")));
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), QStringLiteral("alpha"));
    }

    void openByClickingAnEntry() {
        // A hand-made empty folder is listed; files are not.
        for (const char* folder : {"PROJECTS/First", "PROJECTS/Made by hand"})
            QVERIFY(m_dir->makeDir(QLatin1String(folder)));
        QVERIFY(m_dir->write(QStringLiteral("PROJECTS/stray.xml"), "<x/>"));
        auto w = start();
        clickAndDrive(w.get(), "Btn_Open", [&](QDialog& d) {
            auto* list = child<QListWidget>(&d, "ListBox1");
            QCOMPARE(list->count(), 2);
            // Nothing active: the first entry is preselected.
            QCOMPARE(list->currentRow(), 0);
            const auto found = list->findItems(QStringLiteral("Made by hand"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
            QCOMPARE(qobject_cast<TFOpenConf*>(&d)->Name_Conf, QStringLiteral("Made by hand"));
            click(&d, "Btn_OK");
        });
        QCOMPARE(w->state().ActiveConfigName, QStringLiteral("Made by hand"));
        QCOMPARE(w->state().LoRaWANSetAccessFile(),
                 path(QStringLiteral("PROJECTS/Made by hand/LoRaWAN_SetAccess.xml")));
    }

    void openWithEmptyListClearsConfiguration() {
        prepare("Only");
        auto w = start();
        QVERIFY(QDir(path(QStringLiteral("PROJECTS/Only"))).removeRecursively());
        clickAndDrive(w.get(), "Btn_Open", [](QDialog& d) {
            QCOMPARE(child<QListWidget>(&d, "ListBox1")->count(), 0);
            click(&d, "Btn_OK");
        });
        QCOMPARE(w->state().ActiveConfigPath, QString());
        QCOMPARE(w->state().ActiveConfigName, QString());
        QCOMPARE(labelText(w.get(), "L_Name_Conf"), Text9);
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), Text10);
    }

    void openCancelChangesNothing() {
        prepare("Kept");
        QVERIFY(m_dir->makeDir(QStringLiteral("PROJECTS/Other")));
        auto w = start();
        clickAndDrive(w.get(), "Btn_Open", [](QDialog& d) {
            auto* list = child<QListWidget>(&d, "ListBox1");
            list->setCurrentRow(list->currentRow() == 0 ? 1 : 0);
            click(&d, "Btn_Cancel");
        });
        QCOMPARE(w->state().ActiveConfigName, QStringLiteral("Kept"));
        QCOMPARE(labelText(w.get(), "L_Name_Conf_L2"), QStringLiteral("Kept"));
    }

    void closeButtonSavesAndCloses() {
        auto w = start();
        w->state().LastIpAddress = QStringLiteral("10.1.1.1");
        click(w.get(), "Btn_Close");
        QVERIFY(!w->isVisible());
        QVERIFY(m_dir->read(QStringLiteral("Tessaro.xml")).contains("<ipaddress>10.1.1.1</ipaddress>"));
    }

    void failedSaveStillCloses() {
        auto w = start();
        // A folder in the place of the settings file cannot be replaced.
        QVERIFY(m_dir->makeDir(QStringLiteral("Tessaro.xml")));
        w->close();
        QVERIFY(!w->isVisible());
        QCOMPARE(m_messages->entries().size(), 1);
        QVERIFY2(m_messages->lastText().contains(QStringLiteral("Tessaro.xml")), qPrintable(m_messages->lastText()));
    }

    // Start-up builds no dialog; each is created when its step first needs it, and kept.
    void dialogsCreatedOnFirstUse() {
        prepare("Plant");
        auto w = start();
        QCOMPARE(w->findChildren<QDialog*>(), QList<QDialog*>());

        QList<QDialog*> seen;
        for (int round = 0; round < 2; ++round) {
            clickAndDrive(w.get(), "Btn_Prm_Gen", [&](QDialog& d) {
                seen << &d;
                d.reject();
            });
        }
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0], seen[1]);
        QCOMPARE(w->findChildren<QDialog*>(), QList<QDialog*>{seen[0]});
    }

    // A language change reaches the dialogs built so far; one built later reads the current texts.
    void languageChangeReachesDialogs() {
        prepare("Plant");
        auto w = start();
        QVERIFY(m_dir->write(QStringLiteral("LANGUAGE/Deutsch.lng"),
                             "STR0000 = Anfang\r\nSTR0100 = Neue Konfiguration\r\nSTR0400 = Kommunikation\r\n"
                             "STR1200 = Zugriff\r\n"));
        clickAndDrive(w.get(), "Btn_Prm_Gen", [](QDialog& d) { d.reject(); });
        auto* parGen = child<QDialog>(w.get(), "TFParGen");
        QCOMPARE(parGen->windowTitle(), QStringLiteral("Set Communication"));
        clickAndDrive(w.get(), "Btn_LoRaWAN_Access", [](QDialog& d) { d.reject(); });
        auto* rules = child<QDialog>(w.get(), "TFLoRa_Set_Access");
        QCOMPARE(rules->windowTitle(), QStringLiteral("Set LoRaWAN Access"));

        w->state().LanguageName = QStringLiteral("Deutsch");
        w->state().catalogue.Load_Language(w->state().LanguageFolder, w->state().LanguageName);
        w->Change_Language();
        QCOMPARE(labelText(w.get(), "L_Begin"), QStringLiteral("Anfang"));
        QCOMPARE(parGen->windowTitle(), QStringLiteral("Kommunikation"));
        QCOMPARE(rules->windowTitle(), QStringLiteral("Zugriff"));
        QCOMPARE(w->findChild<TFNew_Project*>(), nullptr);

        clickAndDrive(w.get(), "Btn_New", [](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Neue Konfiguration"));
            d.reject();
        });
    }

    void webAddressOpensHomePage() {
        LinkCatcher catcher;
        auto w = start();
        QCOMPARE(labelText(w.get(), "L_Velmora"), Product::WebAddress);
        QCOMPARE(child(w.get(), "L_Velmora")->cursor().shape(), Qt::PointingHandCursor);
        click(w.get(), "L_Velmora");
        QCOMPARE(catcher.urls, QList<QUrl>{Product::homePageUrl()});
        QCOMPARE(catcher.urls.first().toString(),
                 QStringLiteral("http://") + Product::WebHost + QStringLiteral("/HOME/default.asp?frompg=SWKV210"));
    }

    void mainWindowGeometry_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QRect>("rect"); // an empty size: only the position is fixed
        QTest::newRow("L_SW_Code") << QByteArray("L_SW_Code") << QRect(16, 8, 0, 0);
        QTest::newRow("L_SW_Desc") << QByteArray("L_SW_Desc") << QRect(16, 42, 0, 0);
        QTest::newRow("Btn_Info") << QByteArray("Btn_Info") << QRect(516, 8, 50, 50);
        QTest::newRow("Btn_Opz") << QByteArray("Btn_Opz") << QRect(574, 8, 50, 50);
        QTest::newRow("Btn_Close") << QByteArray("Btn_Close") << QRect(632, 8, 50, 50);
        QTest::newRow("LL_Update") << QByteArray("LL_Update") << QRect(208, 19, 294, 17);
        QTest::newRow("Shape2") << QByteArray("Shape2") << QRect(80, 70, 348, 36);
        QTest::newRow("L_Begin") << QByteArray("L_Begin") << QRect(16, 84, 0, 0);
        QTest::newRow("L_Name_Conf") << QByteArray("L_Name_Conf") << QRect(87, 75, 0, 0);
        QTest::newRow("L_Name_Conf_L2") << QByteArray("L_Name_Conf_L2") << QRect(87, 88, 0, 0);
        QTest::newRow("L_Step_1") << QByteArray("L_Step_1") << QRect(16, 128, 0, 0);
        QTest::newRow("L_Step_3") << QByteArray("L_Step_3") << QRect(16, 216, 0, 0);
        QTest::newRow("L_Step_5") << QByteArray("L_Step_5") << QRect(16, 304, 0, 0);
        QTest::newRow("Btn_New") << QByteArray("Btn_New") << QRect(80, 112, 170, 36);
        QTest::newRow("Btn_Open") << QByteArray("Btn_Open") << QRect(258, 112, 170, 36);
        QTest::newRow("Btn_Prm_Gen") << QByteArray("Btn_Prm_Gen") << QRect(80, 156, 170, 36);
        QTest::newRow("Btn_LoRaWAN_Access") << QByteArray("Btn_LoRaWAN_Access") << QRect(80, 200, 170, 36);
        QTest::newRow("Btn_OPC_UA_Server_Access") << QByteArray("Btn_OPC_UA_Server_Access") << QRect(80, 244, 170, 36);
        QTest::newRow("Btn_CreateBin") << QByteArray("Btn_CreateBin") << QRect(80, 288, 170, 36);
        QTest::newRow("Shape1") << QByteArray("Shape1") << QRect(10, 339, 674, 1);
    }

    void mainWindowGeometry() {
        QFETCH(QByteArray, name);
        QFETCH(QRect, rect);
        auto w = start();
        QWidget* c = child(w.get(), name.constData());
        if (rect.isEmpty())
            QCOMPARE(c->pos(), rect.topLeft());
        else
            QCOMPARE(c->geometry(), rect);
    }

    void mainWindowFrame() {
        auto w = start();
        QCOMPARE(w->size(), QSize(694, 440));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!(w->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(w->palette().color(QPalette::Window), QColor(248, 247, 237));
        // The web address stands level with step 5 and inside the window.
        QWidget* web = child(w.get(), "L_Velmora");
        QCOMPARE(web->y(), 304);
        QVERIFY(web->geometry().right() < 694);
        // Every button has its caption from the catalogue, left-aligned next to its icon.
        for (const char* name : {"Btn_New", "Btn_Open", "Btn_Prm_Gen", "Btn_LoRaWAN_Access", "Btn_OPC_UA_Server_Access",
                                 "Btn_CreateBin"}) {
            auto* b = child<QPushButton>(w.get(), name);
            QVERIFY2(!b->text().trimmed().isEmpty() && !b->icon().isNull(), name);
        }
        QCOMPARE(child<QPushButton>(w.get(), "Btn_OPC_UA_Server_Access")->text(), QStringLiteral("OPC UA Access"));
        QCOMPARE(child(w.get(), "Btn_Info")->toolTip(), QStringLiteral("Information"));
    }

    void dialogs() {
        auto w = start();
        // New: fixed size; Open: resizable, the list growing with the window.
        clickAndDrive(w.get(), "Btn_New", [](QDialog& d) {
            QCOMPARE(d.size(), QSize(331, 162));
            QCOMPARE(d.minimumSize(), d.maximumSize());
            QCOMPARE(d.windowTitle(), QStringLiteral("Create New Configuration"));
            QCOMPARE(labelText(&d, "L_SW_Code"), QStringLiteral("SWKV210"));
            QCOMPARE(child(&d, "L_SW_Code")->pos(), QPoint(16, 8));
            d.reject();
        });
        clickAndDrive(w.get(), "Btn_Open", [](QDialog& d) {
            QCOMPARE(labelText(&d, "Label1"), QStringLiteral("List of Avaliable Configurations"));
            QCOMPARE(labelText(&d, "L_SW_Code"), QStringLiteral("SWKV210"));
            QCOMPARE(d.size(), QSize(377, 351));
            auto* list = child(&d, "ListBox1");
            const QRect before = list->geometry();
            d.resize(477, 451);
            QCOMPARE(list->geometry(), before.adjusted(0, 0, 100, 100));
            QVERIFY(child(&d, "Btn_OK")->geometry().bottom() < 451);
            d.reject();
        });
    }

    // Step 4 end to end: the variables editor writes OPC_UA_Server.xml of the active configuration and
    // follows a language change.
    void opcUaAccessEditsVariables() {
        prepare("Plant");
        auto w = start();
        QVERIFY(m_dir->write(QStringLiteral("LANGUAGE/Deutsch.lng"), "STR5800 = Variablen\r\n"));
        const QString file = QStringLiteral("PROJECTS/Plant/OPC_UA_Server.xml");

        QDialog* editor = nullptr;
        clickAndDrive(w.get(), "Btn_OPC_UA_Server_Access", [&](QDialog& d) {
            editor = &d;
            QCOMPARE(d.objectName(), QStringLiteral("TFOPC_UA_Server_Access"));
            auto* opc = static_cast<TFOPC_UA_Server_Access*>(&d);
            opc->table()->setCellText(1, 2, QStringLiteral("Float"));
            opc->VarSetLength(QStringLiteral("Float"), 1);
            opc->table()->setCellText(1, 3, QStringLiteral("12"));
            click(&d, "Btn_OK");
        });
        QCOMPARE(m_messages->texts(), QStringList());
        QCOMPARE(m_dir->read(file),
                 QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables><row Enable=\"Y\" Type=\"Float\" "
                            "Position=\"12\" Length=\"4\" Name=\"\" ReadWrite=\"Read/Write\" Mnemonic=\"\"/>"
                            "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.001-->"));

        w->state().LanguageName = QStringLiteral("Deutsch");
        w->state().catalogue.Load_Language(w->state().LanguageFolder, w->state().LanguageName);
        w->Change_Language();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Variablen"));

        // A broken file: the general error names it, the editor stays closed, the file is untouched.
        QVERIFY(m_dir->write(file, "<OPC_UA_Server><oops></OPC_UA_Server>"));
        click(w.get(), "Btn_OPC_UA_Server_Access");
        QCOMPARE(m_messages->entries().size(), 1);
        QVERIFY2(m_messages->lastText().contains(QStringLiteral("OPC_UA_Server.xml")),
                 qPrintable(m_messages->lastText()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_dir->read(file), QByteArray("<OPC_UA_Server><oops></OPC_UA_Server>"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
