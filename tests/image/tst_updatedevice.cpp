// SPDX-License-Identifier: MIT
// "Update Device UDP" from the main window: the payload check, both images written, and what stops it.
#include "ImageTestUtil.h"
#include "common/MessageService.h"
#include "image/ImageBuilder.h"
#include "shell/TFTessaroFirmWare.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace ImageTest;

namespace {

const QString Text30 = QStringLiteral("Error in configuration, Num. Byte not conformed with Max Payload Size");

QByteArray settings(const QByteArray& project) {
    return "<Conf_Settings><lastproj><projectname>" + project +
           "</projectname></lastproj><lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
           "<lastlang><language>English</language></lastlang></Conf_Settings>";
}

} // namespace

class TestUpdateDevice : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
    QString m_config;

    QString bin(const char* file) const { return m_config + "/bin/" + QLatin1String(file); }

    // A main window over a program folder whose remembered configuration holds `fixtureName`'s files.
    std::unique_ptr<TFTessaroFirmWare> start(const char* fixtureName) {
        m_config = m_dir->filePath("PROJECTS/Plant");
        QDir().mkpath(m_config + "/bin");
        const QDir from(fixture(QLatin1String(fixtureName)));
        for (const QString& file : from.entryList({QStringLiteral("*.xml")}, QDir::Files))
            QFile::copy(from.filePath(file), QDir(m_config).filePath(file));
        writeFile(m_dir->filePath("Tessaro.xml"), settings("Plant"));
        auto w = std::make_unique<TFTessaroFirmWare>(m_dir->path());
        w->show();
        return w;
    }

    void clickUpdate(QWidget* w) {
        auto* button = w->findChild<QPushButton*>(QStringLiteral("Btn_CreateBin"));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages = std::make_unique<MessageRecorder>();
    }
    void cleanup() {
        m_messages.reset();
        m_dir.reset();
    }

    void writesBothImages() {
        auto w = start("opcua");
        QDir(m_config + "/bin").removeRecursively(); // a missing bin folder is created
        // The update dialog opens over the images written.
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = dialog->objectName();
                dialog->reject();
            }
        });
        clickUpdate(w.get());
        QCOMPARE(opened, QStringLiteral("FBoot"));
        QVERIFY2(m_messages->entries().isEmpty(), qPrintable(m_messages->texts().join("; ")));
        ImageBuilder expected;
        expected.Build_Images(ConfigFiles::inFolder(m_config));
        QCOMPARE(readAll(bin("bank1.bin")), expected.bank1());
        QCOMPARE(readAll(bin("bank2.bin")), expected.bank2());
    }

    // lorawan_otaa has no valid payload size: every enabled uplink rule fails the check.
    void payloadCheckStopsBeforeAnyFile() {
        auto w = start("lorawan_otaa");
        clickUpdate(w.get());
        QCOMPARE(m_messages->texts(), QStringList{Text30});
        QCOMPARE(m_messages->entries().first().icon, Messages::Icon::Error);
        QCOMPARE(QDir(m_config + "/bin").entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void brokenFileStopsBeforeAnyFile() {
        auto w = start("opcua");
        QVERIFY(writeFile(m_config + "/OPC_UA_Server.xml", "<OPC_UA_Server><OPC_UA_Server_Variables>"));
        clickUpdate(w.get());
        QCOMPARE(m_messages->entries().size(), 1);
        QVERIFY2(m_messages->lastText().contains("OPC_UA_Server.xml is not valid XML"),
                 qPrintable(m_messages->lastText()));
        QCOMPARE(QDir(m_config + "/bin").entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A bin folder nothing can be written into: the error names the file and the old images stay.
    void writeFailureKeepsOldImages() {
        auto w = start("opcua");
        QVERIFY(writeFile(bin("bank1.bin"), "old one"));
        QVERIFY(writeFile(bin("bank2.bin"), "old two"));
        {
            const Immutable guard(m_config + "/bin");
            if (!guard.ok())
                QSKIP("the file system does not let this test make a folder immutable");
            clickUpdate(w.get());
        }
        QCOMPARE(m_messages->entries().size(), 1);
        QCOMPARE(m_messages->entries().first().icon, Messages::Icon::Error);
        QVERIFY2(m_messages->lastText().contains("bank1.bin"), qPrintable(m_messages->lastText()));
        QCOMPARE(readAll(bin("bank1.bin")), QByteArray("old one"));
        QCOMPARE(readAll(bin("bank2.bin")), QByteArray("old two"));
    }
};

QTEST_MAIN(TestUpdateDevice)
#include "tst_updatedevice.moc"
