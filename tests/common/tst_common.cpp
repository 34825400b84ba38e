// SPDX-License-Identifier: MIT
#include "common/FileError.h"
#include "common/MessageService.h"
#include "common/SaveFile.h"
#include "common/TextFormat.h"
#include "common/Xml.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A device that accepts `limit` bytes and then refuses, like a full disk.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 limit)
        : m_limit(limit) {}

protected:
    qint64 writeData(const char* data, qint64 len) override {
        const qint64 room = m_limit - pos();
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, qMin(len, room));
    }

private:
    qint64 m_limit;
};

class TestCommon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveReplacesWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.xml"));
        QString error;
        QVERIFY(saveFileAtomically(path, "first", &error));
        QVERIFY(saveFileAtomically(path, "second", &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("second"));
    }

    void failedSaveKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/a.xml"));
        QString error;
        // The folder does not exist: nothing can be written and the reason names the file.
        QVERIFY(!saveFileAtomically(path, "data", &error));
        QVERIFY(error.contains(QStringLiteral("a.xml")));
        QVERIFY_THROWS_EXCEPTION(FileError, saveFileOrThrow(path, "data"));
    }

    void writeAllReportsShortWrite() {
        FailDevice dev(4);
        QVERIFY(dev.open(QIODevice::WriteOnly));
        QString error;
        QVERIFY(!writeAll(dev, "0123456789", &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
    }

    void firstNodeIsRoot_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QByteArray("<Any><a>1</a></Any>") << "1";
        QTest::newRow("whitespace between") << QByteArray("<R>\n  <a>2</a>\n</R>") << "2";
        QTest::newRow("comment first") << QByteArray("<!-- c --><R><a>3</a></R>") << "";
        QTest::newRow("declaration first") << QByteArray("<?xml version=\"1.0\"?><R><a>4</a></R>") << "";
    }

    void firstNodeIsRoot() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.xml"));
        QVERIFY(saveFileAtomically(path, xml, nullptr));
        const auto doc = Xml::loadFile(path);
        QVERIFY(doc.has_value());
        QCOMPARE(Xml::childText(Xml::firstNodeAsRoot(*doc), QStringLiteral("a")).value_or(QString()), value);
    }

    void missingAndBrokenFiles() {
        QTemporaryDir dir;
        QVERIFY(!Xml::loadFile(dir.filePath(QStringLiteral("none.xml"))).has_value());
        const QString path = dir.filePath(QStringLiteral("bad.xml"));
        QVERIFY(saveFileAtomically(path, "<R><a></R>", nullptr));
        try {
            Xml::loadFile(path);
            QFAIL("no error for a broken file");
        } catch (const FileError& e) {
            QVERIFY(e.message().contains(QStringLiteral("bad.xml")));
            QVERIFY(e.message().contains(QStringLiteral("line 1")));
        }
    }

    void recorderAnswersFromQueue() {
        MessageRecorder rec;
        rec.setNextAnswer(true);
        QVERIFY(Messages::question(QStringLiteral("q1")));
        QVERIFY(!Messages::question(QStringLiteral("q2")));
        Messages::error(QStringLiteral("e"));
        QCOMPARE(rec.texts(), QStringList({"q1", "q2", "e"}));
        QCOMPARE(rec.entries().last().icon, Messages::Icon::Error);
    }

    void textWithNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("numbers");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one") << "Payload Size must be between 1 and %d" << QList<qint64>{51}
                             << "Payload Size must be between 1 and 51";
        QTest::newRow("two, in order") << "Error in row %d: more than %d bytes" << QList<qint64>{3, 2000}
                                       << "Error in row 3: more than 2000 bytes";
        QTest::newRow("side by side") << "%d%d" << QList<qint64>{-1, 0} << "-10";
        QTest::newRow("fewer numbers") << "%d and %d" << QList<qint64>{7} << "7 and %d";
        QTest::newRow("more numbers") << "row %d" << QList<qint64>{7, 8} << "row 7";
        QTest::newRow("none") << "no placeholder" << QList<qint64>{1} << "no placeholder";
    }

    void textWithNumbers() {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, numbers);
        QFETCH(QString, shown);
        QCOMPARE(Texts::withNumbers(text, numbers), shown);
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
