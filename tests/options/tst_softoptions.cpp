// SPDX-License-Identifier: MIT
#include "app/AppState.h"
#include "app/Product.h"
#include "common/MessageService.h"
#include "common/NodeFiles.h"
#include "options/TFSoftOptions.h"
#include "options/VersionCheck.h"
#include "support/HttpTestServer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <sys/stat.h>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

namespace {

enum class Flag { None, Own, Default };

// Pictures are told apart by their colour.
const QColor OwnColour(200, 0, 0);
const QColor DefaultColour(0, 0, 200);

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool writeBmp(const QString& path, const QColor& colour) {
    QImage image(16, 11, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "BMP");
}

} // namespace

class TestSoftOptions : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MessageRecorder> m_messages;

    QString lang(const QString& name) const { return m_state->LanguageFolder + QLatin1Char('/') + name; }

    void addLanguage(const QString& name, const QByteArray& content = "STR0302 = Sprache\r\n") {
        QVERIFY(writeFile(lang(name + QStringLiteral(".lng")), content));
    }

    std::unique_ptr<TFSoftOptions> open() {
        auto d = std::make_unique<TFSoftOptions>(*m_state);
        d->show();
        return d;
    }

    template <class T = QWidget> static T* child(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qWarning("no control %s", qPrintable(name));
        return c;
    }
    static QString text(QWidget* w, const char* name) { return child<QLabel>(w, QLatin1String(name))->text(); }
    static QString slotName(QWidget* w, int k) { return child<QLabel>(w, QStringLiteral("L_L%1").arg(k))->text(); }
    static QLabel* slotFlag(QWidget* w, int k) { return child<QLabel>(w, QStringLiteral("I_L%1").arg(k)); }

    static QStringList shownNames(QWidget* w) {
        QStringList names;
        for (int k = 1; k <= TFSoftOptions::SlotCount; ++k) {
            auto* name = child<QLabel>(w, QStringLiteral("L_L%1").arg(k));
            if (name->isVisible())
                names << name->text();
        }
        return names;
    }

    static Flag shownFlag(QWidget* w, int k) {
        QLabel* flag = slotFlag(w, k);
        if (!flag->isVisible())
            return Flag::None;
        const QColor c = flag->pixmap().toImage().pixelColor(24, 24);
        return c == OwnColour ? Flag::Own : c == DefaultColour ? Flag::Default : Flag::None;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = std::make_unique<AppState>();
        m_state->setProgramFolder(m_dir->path());
        QVERIFY(QDir().mkpath(m_state->LanguageFolder));
        m_state->catalogue.Build_Default_Texts();
        m_messages = std::make_unique<MessageRecorder>();
    }

    void cleanup() {
        m_messages.reset();
        m_state.reset();
        m_dir.reset();
    }

    void layout() {
        auto d = open();
        QCOMPARE(d->size(), QSize(509, 373));
        QCOMPARE(d->minimumSize(), d->maximumSize());
        QCOMPARE(d->windowTitle(), QStringLiteral("Software Options"));
        QCOMPARE(text(d.get(), "L_SW_Code"), Product::Code);
        QCOMPARE(text(d.get(), "L_SW_Desc"), QStringLiteral("Software Options"));
        auto* pages = child<QTabWidget>(d.get(), QStringLiteral("PC_Options"));
        QCOMPARE(pages->count(), 3);
        const char* pageNames[] = {"TS_Language", "TS_Con_Options", "TS_Soft_Settings"};
        const char* tabTexts[] = {"Language", "Connection Options", "Software Settings"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), QLatin1String(pageNames[i]));
            QCOMPARE(pages->tabText(i), QLatin1String(tabTexts[i]));
        }
        // Slots 1 to 3 down the left column, 4 to 6 down the right one; each name beside its flag.
        for (int k = 1; k <= 6; ++k) {
            const QRect flag = slotFlag(d.get(), k)->geometry();
            const QRect above = slotFlag(d.get(), k == 1 || k == 4 ? k : k - 1)->geometry();
            QCOMPARE(flag.size(), QSize(48, 48));
            QCOMPARE(flag.x(), slotFlag(d.get(), k <= 3 ? 1 : 4)->x());
            QVERIFY(k <= 3 || flag.x() > slotFlag(d.get(), 1)->geometry().right());
            QVERIFY(k == 1 || k == 4 || flag.top() > above.bottom());
            const QRect name = child(d.get(), QStringLiteral("L_L%1").arg(k))->geometry();
            QVERIFY(name.left() > flag.right() && name.top() == flag.top());
        }
        QVERIFY(child(d.get(), QStringLiteral("CB_Update"))->x() > child(d.get(), QStringLiteral("CB_En_Con"))->x());

        // Every control lies inside its page or the window, on every page.
        for (int i = 0; i < 3; ++i) {
            pages->setCurrentIndex(i);
            for (QWidget* c : pages->widget(i)->findChildren<QWidget*>()) {
                QVERIFY2(pages->widget(i)->rect().contains(c->geometry()), qPrintable(c->objectName()));
                if (qobject_cast<QAbstractButton*>(c)) // captions are not cut
                    QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName()));
            }
        }
        for (const char* name : {"L_SW_Code", "L_SW_Desc", "PC_Options", "Btn_OK", "Btn_Cancel"})
            QVERIFY2(d->rect().contains(child(d.get(), QLatin1String(name))->geometry()), name);
    }

    void textsFromTheCatalogue() {
        // Every text of the dialog is an entry of the catalogue: a file setting all of them shows only its own.
        QByteArray file;
        for (int i = 300; i <= 321; ++i)
            file += "STR0" + QByteArray::number(i) + " = <" + QByteArray::number(i) + ">\r\n";
        addLanguage(QStringLiteral("Test"), file);
        m_state->LanguageName = QStringLiteral("Test");
        m_state->catalogue.Load_Language(m_state->LanguageFolder, m_state->LanguageName);
        auto d = open();
        QCOMPARE(d->windowTitle(), QStringLiteral("<300>"));
        QCOMPARE(text(d.get(), "L_SW_Desc"), QStringLiteral("<301>"));
        auto* pages = child<QTabWidget>(d.get(), QStringLiteral("PC_Options"));
        QCOMPARE(pages->tabText(0), QStringLiteral("<302>"));
        QCOMPARE(pages->tabText(1), QStringLiteral("<303>"));
        QCOMPARE(pages->tabText(2), QStringLiteral("<319>"));
        QCOMPARE(text(d.get(), "L_Sel_Lang"), QStringLiteral("<304>Test"));
        QCOMPARE(text(d.get(), "L_Page_Lang"), QStringLiteral("<305>1<306>1"));
        const std::pair<const char*, int> buttons[] = {{"Btn_Prev", 307},
                                                       {"Btn_Next", 308},
                                                       {"CB_En_Con", 309},
                                                       {"CB_Update", 310},
                                                       {"Btn_Check_Update", 311},
                                                       {"Btn_OK", 312},
                                                       {"Btn_Cancel", 313},
                                                       {"CB_Soft_Set_Jump_Table", 320},
                                                       {"CB_DoubleClick_Auto_Size", 321}};
        for (const auto& [name, index] : buttons)
            QCOMPARE(child<QAbstractButton>(d.get(), QLatin1String(name))->text(), QStringLiteral("<%1>").arg(index));
    }

    void pagesOfLanguages_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<int>>("clicks"); // +1 Next, -1 Previous
        QTest::addColumn<QString>("pageLine");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("prev");
        QTest::addColumn<bool>("next");

        const QStringList first = {"L01", "L02", "L03", "L04", "L05", "L06"};
        const QStringList second = {"L07", "L08", "L09", "L10", "L11", "L12"};
        QTest::newRow("none") << 0 << QList<int>{} << "Page 1 / 0" << QStringList{} << false << false;
        QTest::newRow("none, Next pressed") << 0 << QList<int>{1} << "Page 1 / 0" << QStringList{} << false << false;
        QTest::newRow("one") << 1 << QList<int>{} << "Page 1 / 1" << QStringList{"L01"} << false << false;
        QTest::newRow("six fill one page") << 6 << QList<int>{1} << "Page 1 / 1" << first << false << false;
        QTest::newRow("13: page 1") << 13 << QList<int>{} << "Page 1 / 3" << first << false << true;
        QTest::newRow("13: page 2") << 13 << QList<int>{1} << "Page 2 / 3" << second << true << true;
        QTest::newRow("13: page 3") << 13 << QList<int>{1, 1} << "Page 3 / 3" << QStringList{"L13"} << true << false;
        QTest::newRow("13: Next on the last page")
            << 13 << QList<int>{1, 1, 1} << "Page 3 / 3" << QStringList{"L13"} << true << false;
        QTest::newRow("13: back to page 2") << 13 << QList<int>{1, 1, -1} << "Page 2 / 3" << second << true << true;
        QTest::newRow("13: Previous on page 1") << 13 << QList<int>{-1} << "Page 1 / 3" << first << false << true;
    }

    void pagesOfLanguages() {
        QFETCH(int, files);
        QFETCH(QList<int>, clicks);
        QFETCH(QString, pageLine);
        QFETCH(QStringList, names);
        QFETCH(bool, prev);
        QFETCH(bool, next);
        for (int i = files; i >= 1; --i) // written out of order: the list is sorted
            addLanguage(QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0')));

        auto d = open();
        for (int step : clicks)
            d->Btn_NextClick(child(d.get(), QLatin1String(step > 0 ? "Btn_Next" : "Btn_Prev")));
        QCOMPARE(text(d.get(), "L_Page_Lang"), pageLine);
        QCOMPARE(shownNames(d.get()), names);
        for (int k = names.size() + 1; k <= 6; ++k)
            QVERIFY(!slotFlag(d.get(), k)->isVisible());
        QCOMPARE(child(d.get(), QStringLiteral("Btn_Prev"))->isVisible(), prev);
        QCOMPARE(child(d.get(), QStringLiteral("Btn_Next"))->isVisible(), next);
        QCOMPARE(text(d.get(), "L_Sel_Lang"), QStringLiteral("Selected Language : English"));
    }

    void whichFilesAreOffered() {
        for (const char* name : {"beta", "Alpha", ".hidden", "gamma", "readonly"})
            addLanguage(QLatin1String(name));
        QVERIFY(QFile::setPermissions(lang(QStringLiteral("readonly.lng")), QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(QDir().mkdir(lang(QStringLiteral("folder.lng"))));
        QCOMPARE(::mkfifo(QFile::encodeName(lang(QStringLiteral("pipe.lng"))).constData(), 0644), 0);
        QVERIFY(writeFile(lang(QStringLiteral("UPPER.LNG")), "STR0302 = x\r\n")); // would load as UPPER.lng
        QVERIFY(writeFile(lang(QStringLiteral("notes.txt")), "x"));
        QVERIFY(writeFile(lang(QStringLiteral("gamma.lng.bak")), "x"));

        auto d = open();
        QCOMPARE(d->SL_Languages, (QStringList{".hidden.lng", "Alpha.lng", "beta.lng", "gamma.lng"}));
        QCOMPARE(shownNames(d.get()), (QStringList{".hidden", "Alpha", "beta", "gamma"}));

        // A file added while the dialog is closed is there at the next showing.
        d->reject();
        addLanguage(QStringLiteral("Delta"));
        d->show();
        QCOMPARE(shownNames(d.get()), (QStringList{".hidden", "Alpha", "beta", "Delta", "gamma"}));
    }

    void flagPictures_data() {
        QTest::addColumn<QString>("own");      // "", "bmp", "broken", "folder"
        QTest::addColumn<QString>("fallback"); // "", "bmp", "broken"
        QTest::addColumn<Flag>("shown");
        QTest::newRow("own flag") << "bmp"
                                  << "bmp" << Flag::Own;
        QTest::newRow("missing: default flag") << ""
                                               << "bmp" << Flag::Default;
        QTest::newRow("missing, no default: no picture") << ""
                                                         << "" << Flag::None;
        QTest::newRow("not a picture: default flag") << "broken"
                                                     << "bmp" << Flag::Default;
        QTest::newRow("a folder: default flag") << "folder"
                                                << "bmp" << Flag::Default;
        QTest::newRow("neither readable: no picture") << "broken"
                                                      << "broken" << Flag::None;
    }

    void flagPictures() {
        QFETCH(QString, own);
        QFETCH(QString, fallback);
        QFETCH(Flag, shown);
        addLanguage(QStringLiteral("Italiano"));
        const auto put = [this](const QString& kind, const QString& file, const QColor& colour) {
            if (kind == QLatin1String("bmp"))
                QVERIFY(writeBmp(lang(file), colour));
            else if (kind == QLatin1String("broken"))
                QVERIFY(writeFile(lang(file), "BM not really a bitmap"));
            else if (kind == QLatin1String("folder"))
                QVERIFY(QDir().mkdir(lang(file)));
        };
        put(own, QStringLiteral("Italiano.bmp"), OwnColour);
        put(fallback, QStringLiteral("DefaultFlag.bmp"), DefaultColour);

        auto d = open();
        QCOMPARE(shownFlag(d.get(), 1), shown);
        if (shown != Flag::None)
            QCOMPARE(slotFlag(d.get(), 1)->pixmap().size(), QSize(48, 48));
        QVERIFY(child(d.get(), QStringLiteral("L_L1"))->isVisible()); // the name stays, and can be clicked
    }

    void languageChoiceAnsweredNo() {
        addLanguage(QStringLiteral("Deutsch"), "STR0302 = Sprache\r\nSTR0312 = Gut\r\n");
        auto d = open();
        int refreshed = 0;
        d->Change_Language = [&] { ++refreshed; };
        m_messages->setNextAnswer(false);
        QTest::mouseClick(child(d.get(), QStringLiteral("L_L1")), Qt::LeftButton);

        QCOMPARE(m_messages->texts(), QStringList{"Do you want to change the Language from English to Deutsch?"});
        QCOMPARE(m_messages->entries().first().icon, Messages::Icon::Question);
        QCOMPARE(d->Language_In_Use, QStringLiteral("English"));
        QCOMPARE(m_state->Text(312), QStringLiteral("OK"));
        QCOMPARE(refreshed, 0);
        QCOMPARE(text(d.get(), "L_Sel_Lang"), QStringLiteral("Selected Language : English"));
    }

    void languageChoiceAnsweredYes_data() {
        QTest::addColumn<bool>("hooked"); // with the main window's Change_Language, or on its own
        QTest::newRow("through Change_Language") << true;
        QTest::newRow("dialog alone") << false;
    }

    void languageChoiceAnsweredYes() {
        QFETCH(bool, hooked);
        for (int i = 1; i <= 7; ++i)
            addLanguage(QStringLiteral("L%1").arg(i));
        addLanguage(
            QStringLiteral("Deutsch"),
            "STR0302 = Sprache\r\nSTR0304 = \xB6Sprache : \xB6\r\nSTR0305 = \xB6Seite \xB6\r\nSTR0312 = Gut\r\n");
        auto d = open();
        int refreshed = 0;
        if (hooked)
            d->Change_Language = [&] {
                ++refreshed;
                d->Set_Lang();
            };
        d->Btn_NextClick(child(d.get(), QStringLiteral("Btn_Next")));
        QCOMPARE(shownNames(d.get()), (QStringList{"L6", "L7"}));
        d->Btn_NextClick(child(d.get(), QStringLiteral("Btn_Prev")));
        QCOMPARE(slotName(d.get(), 1), QStringLiteral("Deutsch"));
        m_messages->setNextAnswer(true);
        QTest::mouseClick(slotFlag(d.get(), 1)->isVisible() ? static_cast<QWidget*>(slotFlag(d.get(), 1))
                                                            : child(d.get(), QStringLiteral("L_L1")),
                          Qt::LeftButton);

        QCOMPARE(m_messages->texts(), QStringList{"Do you want to change the Language from English to Deutsch?"});
        QCOMPARE(refreshed, hooked ? 1 : 0);
        QCOMPARE(d->Language_In_Use, QStringLiteral("Deutsch"));
        QCOMPARE(m_state->LanguageName, QStringLiteral("English")); // stored only through OK
        QCOMPARE(m_state->Text(312), QStringLiteral("Gut"));
        QCOMPARE(child<QPushButton>(d.get(), QStringLiteral("Btn_OK"))->text(), QStringLiteral("Gut"));
        QCOMPARE(child<QTabWidget>(d.get(), QStringLiteral("PC_Options"))->tabText(0), QStringLiteral("Sprache"));
        // The two lines are rebuilt for the page on display, in the new texts.
        QCOMPARE(text(d.get(), "L_Sel_Lang"), QStringLiteral("Sprache : Deutsch"));
        QCOMPARE(text(d.get(), "L_Page_Lang"), QStringLiteral("Seite 1 / 2"));

        // A second choice asks from the language now in use.
        m_messages->clear();
        m_messages->setNextAnswer(false);
        d->LangClick(1);
        QCOMPARE(m_messages->lastText(), QStringLiteral("Do you want to change the Language from Deutsch to L1?"));
    }

    void chosenFileVanished() {
        addLanguage(QStringLiteral("Deutsch"), "STR0312 = Gut\r\n");
        addLanguage(QStringLiteral("English"), "STR0313 = Abort\r\n");
        auto d = open();
        QCOMPARE(slotName(d.get(), 1), QStringLiteral("Deutsch"));
        QVERIFY(QFile::remove(lang(QStringLiteral("Deutsch.lng"))));
        m_messages->setNextAnswer(true);
        d->LangClick(0);
        QCOMPARE(m_state->Text(312), QStringLiteral("OK"));
        QCOMPARE(m_state->Text(313), QStringLiteral("Abort")); // the English file lies over the defaults
        QCOMPARE(m_state->LanguageName, QStringLiteral("English"));
    }

    // The chosen file cannot be read (here a FIFO put in its place): the reason is shown, the default
    // English texts stand in, nothing waits on the pipe.
    void chosenFileUnreadable() {
        addLanguage(QStringLiteral("Deutsch"), "STR0312 = Gut\r\n");
        auto d = open();
        QCOMPARE(slotName(d.get(), 1), QStringLiteral("Deutsch"));
        const QString path = lang(QStringLiteral("Deutsch.lng"));
        QVERIFY(QFile::remove(path));
        QVERIFY(NodeFiles::makeFifo(path));
        m_messages->setNextAnswer(true);
        d->LangClick(0);
        QCOMPARE(m_messages->entries().size(), 2);
        QCOMPARE(m_messages->entries().last().icon, Messages::Icon::Error);
        QCOMPARE(m_messages->lastText(),
                 "Cannot read the file " + path + ": it is not a regular file (a device, a pipe or a socket)");
        QCOMPARE(m_state->Text(312), QStringLiteral("OK"));
        QCOMPARE(m_state->LanguageName, QStringLiteral("English"));
    }

    void checkBoxRules_data() {
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("updateEnabled");
        QTest::addColumn<bool>("checkEnabled");
        QTest::newRow("both off") << false << false << false << false;
        QTest::newRow("update checked, internet off") << false << true << false << false;
        QTest::newRow("internet only") << true << false << true << false;
        QTest::newRow("both on") << true << true << true << true;
    }

    void checkBoxRules() {
        QFETCH(bool, internet);
        QFETCH(bool, update);
        QFETCH(bool, updateEnabled);
        QFETCH(bool, checkEnabled);
        auto verify = [&](TFSoftOptions* d) {
            QCOMPARE(child(d, QStringLiteral("CB_Update"))->isEnabled(), updateEnabled);
            QCOMPARE(child(d, QStringLiteral("Btn_Check_Update"))->isEnabled(), checkEnabled);
        };

        // From the program values when the dialog is shown ...
        m_state->EnableInternet = internet;
        m_state->EnableUpdate = update;
        auto d = open();
        QCOMPARE(child<QCheckBox>(d.get(), QStringLiteral("CB_En_Con"))->isChecked(), internet);
        QCOMPARE(child<QCheckBox>(d.get(), QStringLiteral("CB_Update"))->isChecked(), update);
        verify(d.get());

        // ... and by the user's clicks, starting from the opposite state.
        m_state->EnableInternet = !internet;
        m_state->EnableUpdate = !update;
        d->reject();
        d->show();
        child<QTabWidget>(d.get(), QStringLiteral("PC_Options"))->setCurrentIndex(1);
        auto* en = child<QCheckBox>(d.get(), QStringLiteral("CB_En_Con"));
        auto* up = child<QCheckBox>(d.get(), QStringLiteral("CB_Update"));
        const auto click = [](QCheckBox* box) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        };
        if (!en->isChecked())
            click(en); // CB_Update takes clicks only while enabled
        if (up->isChecked() != update)
            click(up);
        if (en->isChecked() != internet)
            click(en);
        QCOMPARE(en->isChecked(), internet);
        QCOMPARE(up->isChecked(), update);
        verify(d.get());
    }

    void checkOnDemand_data() {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("link");
        QTest::newRow("newer") << HttpTestServer::ok("VER. 1.002")
                               << "New Version Available. Click Here for more Details" << true;
        QTest::newRow("same") << HttpTestServer::ok("VER. 1.001") << "No Update Available" << false;
        QTest::newRow("404") << QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999") << "No Update Available"
                             << false;
    }

    void checkOnDemand() {
        QFETCH(QByteArray, response);
        QFETCH(QString, shown);
        QFETCH(bool, link);
        HttpTestServer server;
        server.mode = HttpTestServer::Mode::Silent; // held until the busy state is looked at
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");

        m_state->EnableInternet = m_state->EnableUpdate = true;
        auto d = open();
        d->versionCheck().setServer(QStringLiteral("127.0.0.1"), server.serverPort());
        child<QTabWidget>(d.get(), QStringLiteral("PC_Options"))->setCurrentIndex(1);
        auto* button = child(d.get(), QStringLiteral("Btn_Check_Update"));
        auto* label = child<QLabel>(d.get(), QStringLiteral("LL_Check_Update"));
        QVERIFY(!label->isVisible());

        QSignalSpy done(&d->versionCheck(), &VersionCheck::finished);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(server.requests.size(), 1);
        QVERIFY(!button->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor());
        QVERIFY(!label->isVisible());

        server.release(response);
        QVERIFY(done.wait(3 * VersionCheck::TimeLimitMs));
        QVERIFY(button->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(label->isVisible());
        QTextDocument doc;
        doc.setHtml(label->text());
        QCOMPARE(doc.toPlainText(), shown);
        QCOMPARE(label->text().contains(QLatin1String("<a ")), link);

        label->adjustSize();
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2));
        QCOMPARE(catcher.urls, link ? QList<QUrl>{Product::downloadPageUrl()} : QList<QUrl>{});
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

        // The next showing starts without a result.
        d->reject();
        d->show();
        QVERIFY(!label->isVisible());
    }

    void closingDropsARunningCheck() {
        HttpTestServer server;
        server.mode = HttpTestServer::Mode::Silent;
        m_state->EnableInternet = m_state->EnableUpdate = true;
        auto d = open();
        d->versionCheck().setServer(QStringLiteral("127.0.0.1"), server.serverPort());
        d->Btn_Check_UpdateClick();
        QVERIFY(d->versionCheck().isRunning());
        QVERIFY(QGuiApplication::overrideCursor());
        d->reject();
        QVERIFY(!d->versionCheck().isRunning());
        QVERIFY(!QGuiApplication::overrideCursor());
        d->show();
        QVERIFY(child(d.get(), QStringLiteral("Btn_Check_Update"))->isEnabled());
    }

    void okStoresTheChoices() {
        addLanguage(QStringLiteral("Deutsch"), "STR0312 = Gut\r\n");
        auto d = open();
        bool timerRuleSeenFlags = false;
        d->Set_Update_Timer = [&] { timerRuleSeenFlags = m_state->EnableInternet && m_state->EnableUpdate; };
        m_messages->setNextAnswer(true);
        d->LangClick(0);
        for (const char* name : {"CB_En_Con", "CB_Update", "CB_Soft_Set_Jump_Table", "CB_DoubleClick_Auto_Size"})
            child<QCheckBox>(d.get(), QLatin1String(name))->setChecked(true);
        QTest::mouseClick(child(d.get(), QStringLiteral("Btn_OK")), Qt::LeftButton);

        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(!d->isVisible());
        QCOMPARE(m_state->LanguageName, QStringLiteral("Deutsch"));
        QVERIFY(m_state->EnableInternet && m_state->EnableUpdate);
        QVERIFY(m_state->EnableJumpFieldTables && m_state->DoubleClickAutoSize);
        QVERIFY(timerRuleSeenFlags);
    }

    void cancelKeepsTheProgramValues() {
        addLanguage(QStringLiteral("Deutsch"), "STR0312 = Gut\r\n");
        m_state->EnableInternet = true;
        auto d = open();
        bool timerRuleRun = false;
        d->Set_Update_Timer = [&] { timerRuleRun = true; };
        m_messages->setNextAnswer(true);
        d->LangClick(0);
        for (const char* name : {"CB_En_Con", "CB_Update", "CB_Soft_Set_Jump_Table", "CB_DoubleClick_Auto_Size"})
            child<QCheckBox>(d.get(), QLatin1String(name))->toggle();
        QTest::mouseClick(child(d.get(), QStringLiteral("Btn_Cancel")), Qt::LeftButton);

        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(m_state->LanguageName, QStringLiteral("English"));
        QVERIFY(m_state->EnableInternet);
        QVERIFY(!m_state->EnableUpdate && !m_state->EnableJumpFieldTables && !m_state->DoubleClickAutoSize);
        QVERIFY(!timerRuleRun);
        QCOMPARE(m_state->Text(312), QStringLiteral("Gut")); // the texts stay switched for this run

        // The next showing starts again from the program values.
        d->show();
        QCOMPARE(d->Language_In_Use, QStringLiteral("English"));
        QVERIFY(child<QCheckBox>(d.get(), QStringLiteral("CB_En_Con"))->isChecked());
        QVERIFY(!child<QCheckBox>(d.get(), QStringLiteral("CB_Update"))->isChecked());
        QCOMPARE(child<QTabWidget>(d.get(), QStringLiteral("PC_Options"))->currentIndex(), 0);
    }
};

QTEST_MAIN(TestSoftOptions)
#include "tst_softoptions.moc"
