// SPDX-License-Identifier: MIT
#include "common/AwkwardValues.h"
#include "common/FileError.h"
#include "common/MessageService.h"
#include "common/NodeFiles.h"
#include "common/ReadFile.h"
#include "common/SaveFile.h"
#include "common/TextFormat.h"
#include "common/Xml.h"
#include "common/XmlTree.h"

#include <QBuffer>
#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>

using namespace NodeFiles;

namespace {

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

// What stands in the place of a file in the table tests, made in `dir` under the name "target".
enum class Thing {
    Nothing,
    Regular,
    Folder,
    Fifo,
    NullDevice,
    ZeroDevice,
    FullDevice,
    BlockDevice,
    LinkToRegular,
    LinkToFifo,
    LinkToNothing,
    Oversized
};

QString make(Thing thing, const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("target"));
    const QString aside = dir.filePath(QStringLiteral("aside"));
    bool ok = true;
    switch (thing) {
    case Thing::Nothing:
        break;
    case Thing::Regular:
        ok = writeFile(path, "old");
        break;
    case Thing::Folder:
        ok = QDir().mkdir(path);
        break;
    case Thing::Fifo:
        ok = makeFifo(path);
        break;
    case Thing::NullDevice:
        ok = makeCharDevice(path, Null);
        break;
    case Thing::ZeroDevice:
        ok = makeCharDevice(path, Zero);
        break;
    case Thing::FullDevice:
        ok = makeCharDevice(path, Full);
        break;
    case Thing::BlockDevice:
        ok = makeBlockDevice(path);
        break;
    case Thing::LinkToRegular:
        ok = writeFile(aside, "old") && makeLink(aside, path);
        break;
    case Thing::LinkToFifo:
        ok = makeFifo(aside) && makeLink(aside, path);
        break;
    case Thing::LinkToNothing:
        ok = makeLink(aside, path);
        break;
    case Thing::Oversized:
        ok = makeSparseFile(path, Files::MaxReadSize + 1);
        break;
    }
    return ok ? path : QString();
}

// The message of the FileError `f` throws; empty when it throws none.
template <typename F> QString errorOf(F f) {
    try {
        f();
    } catch (const FileError& e) {
        return e.message().isEmpty() ? QStringLiteral("(empty message)") : e.message();
    }
    return QString();
}

Xml::Tree parse(const QByteArray& xml) {
    return Xml::parseTree(xml, QStringLiteral("test.xml"));
}

// <R> with `count` attributes a0="0" a1="1" ...
QByteArray manyAttributes(int count) {
    QByteArray xml = "<R";
    for (int i = 0; i < count; ++i)
        xml += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + '"';
    return xml + "/>";
}

} // namespace

Q_DECLARE_METATYPE(Thing)

class TestCommon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // ---- saving ----

    void saveReplacesWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.xml"));
        QString error;
        QVERIFY(saveFileAtomically(path, "first", &error));
        QVERIFY(saveFileAtomically(path, "second", &error));
        QCOMPARE(contents(path), QByteArray("second"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"a.xml"});
    }

    // Only a regular file, or a path where nothing is, may be replaced; everything else stays as it was.
    void saveTargets_data() {
        QTest::addColumn<Thing>("thing");
        QTest::addColumn<QString>("reason"); // empty: the save succeeds
        QTest::addColumn<QString>("kindAfter");
        QTest::newRow("nothing yet") << Thing::Nothing << QString() << "file";
        QTest::newRow("regular file") << Thing::Regular << QString() << "file";
        QTest::newRow("link to a regular file") << Thing::LinkToRegular << QString() << "link";
        QTest::newRow("link to nothing") << Thing::LinkToNothing << QString() << "link";
        QTest::newRow("folder") << Thing::Folder << "it is a folder"
                                << "dir";
        QTest::newRow("FIFO") << Thing::Fifo << "not a regular file"
                              << "fifo";
        QTest::newRow("character device") << Thing::NullDevice << "not a regular file"
                                          << "char";
        QTest::newRow("block device") << Thing::BlockDevice << "not a regular file"
                                      << "block";
        QTest::newRow("link to a FIFO") << Thing::LinkToFifo << "not a regular file"
                                        << "link";
    }
    void saveTargets() {
        QFETCH(Thing, thing);
        QFETCH(QString, reason);
        QFETCH(QString, kindAfter);
        QTemporaryDir dir;
        const QString path = make(thing, dir);
        VERIFY_MADE(!path.isEmpty());

        QString error;
        const bool saved = saveFileAtomically(path, "new", &error);
        QCOMPARE(kindOf(path), kindAfter);
        if (reason.isEmpty()) {
            QVERIFY2(saved, qPrintable(error));
            // A link stays a link; the file it points at holds the new bytes.
            QCOMPARE(contents(path), QByteArray("new"));
        } else {
            QVERIFY(!saved);
            QVERIFY2(error.startsWith("Cannot write the file " + path + ": ") && error.contains(reason),
                     qPrintable(error));
            if (thing == Thing::LinkToFifo)
                QCOMPARE(kindOf(dir.filePath(QStringLiteral("aside"))), QStringLiteral("fifo"));
            if (thing == Thing::Folder)
                QVERIFY(QDir(path).isEmpty());
        }
        if (!reason.isEmpty())
            QCOMPARE(errorOf([&] { saveFileOrThrow(path, "new"); }), error);
    }

    // Every failure names the file and the system's reason, and the old file stays whole.
    void saveFailureReasons() {
        QTemporaryDir dir;
        const QString missingFolder = dir.filePath(QStringLiteral("sub/a.xml"));
        QString error;
        QVERIFY(!saveFileAtomically(missingFolder, "data", &error));
        QCOMPARE(error, "Cannot write the file " + missingFolder + ": No such file or directory");

        // The write fails half-way: a file size limit holds for root too.
        const QString path = dir.filePath(QStringLiteral("b.xml"));
        QVERIFY(saveFileAtomically(path, "old", &error));
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = saveFileAtomically(path, QByteArray(100000, 'x'), &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!written);
        QCOMPARE(error, "Cannot write the file " + path + ": File too large");
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.xml"});
    }

    void writeAllReportsShortWrite() {
        FailDevice dev(4);
        QVERIFY(dev.open(QIODevice::WriteOnly));
        QString error;
        QVERIFY(!writeAll(dev, "0123456789", &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
    }

    // A command's output: a device or a pipe is written to as it is, never replaced.
    void outputTargets_data() {
        QTest::addColumn<Thing>("thing");
        QTest::addColumn<QString>("reason"); // empty: written
        QTest::addColumn<QString>("kindAfter");
        QTest::newRow("new file") << Thing::Nothing << QString() << "file";
        QTest::newRow("regular file") << Thing::Regular << QString() << "file";
        QTest::newRow("link to a regular file") << Thing::LinkToRegular << QString() << "link";
        QTest::newRow("null device") << Thing::NullDevice << QString() << "char";
        QTest::newRow("full device") << Thing::FullDevice << "No space left on device"
                                     << "char";
        QTest::newRow("block device") << Thing::BlockDevice << "disk device"
                                      << "block";
        QTest::newRow("folder") << Thing::Folder << "it is a folder"
                                << "dir";
    }
    void outputTargets() {
        QFETCH(Thing, thing);
        QFETCH(QString, reason);
        QFETCH(QString, kindAfter);
        QTemporaryDir dir;
        const QString path = make(thing, dir);
        VERIFY_MADE(!path.isEmpty());
        const QString error = errorOf([&] { writeOutputOrThrow(path, "new"); });
        QCOMPARE(kindOf(path), kindAfter);
        if (reason.isEmpty()) {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            if (kindAfter != QLatin1String("char"))
                QCOMPARE(contents(path), QByteArray("new"));
        } else {
            QVERIFY2(error.startsWith("Cannot write the file " + path + ": ") && error.contains(reason),
                     qPrintable(error));
        }
    }

    void outputIntoFifo() {
        QTemporaryDir dir;
        const QString path = make(Thing::Fifo, dir);
        VERIFY_MADE(!path.isEmpty());
        // The reading end, opened first so that the writer's open does not wait.
        const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const QString error = errorOf([&] { writeOutputOrThrow(path, "through the pipe"); });
        char buffer[64] = {};
        const ssize_t n = ::read(reader, buffer, sizeof buffer);
        ::close(reader);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(QByteArray(buffer, int(n)), QByteArray("through the pipe"));
        QCOMPARE(kindOf(path), QStringLiteral("fifo"));
    }

    // ---- reading ----

    // Refused at once, without blocking on a pipe or reading a device, and with the reason.
    void readRefusals_data() {
        QTest::addColumn<Thing>("thing");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing") << Thing::Nothing << "No such file or directory";
        QTest::newRow("link to nothing") << Thing::LinkToNothing << "No such file or directory";
        QTest::newRow("folder") << Thing::Folder << "it is a folder";
        QTest::newRow("FIFO") << Thing::Fifo << "not a regular file";
        QTest::newRow("link to a FIFO") << Thing::LinkToFifo << "not a regular file";
        QTest::newRow("endless device") << Thing::ZeroDevice << "not a regular file";
        QTest::newRow("block device") << Thing::BlockDevice << "not a regular file";
        QTest::newRow("one byte too large") << Thing::Oversized << "larger than 16777216 bytes";
    }
    void readRefusals() {
        QFETCH(Thing, thing);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = make(thing, dir);
        VERIFY_MADE(!path.isEmpty());
        const QString error = errorOf([&] { Files::readRegularFile(path); });
        QVERIFY2(error.startsWith("Cannot read the file " + path + ": ") && error.contains(reason), qPrintable(error));
        if (thing == Thing::Nothing) {
            QVERIFY(!Files::readRegularFileIfExists(path).has_value());
            QVERIFY(writeFile(path, "a file, not a folder"));
            QVERIFY(!Files::readRegularFileIfExists(path + QStringLiteral("/below")).has_value());
        } else {
            QCOMPARE(errorOf([&] { Files::readRegularFileIfExists(path); }), error);
        }
    }

    void readWithinLimit() {
        QTemporaryDir dir;
        const QString path = make(Thing::LinkToRegular, dir);
        QCOMPARE(Files::readRegularFile(path), QByteArray("old"));
        QCOMPARE(Files::readRegularFile(path, 3), QByteArray("old"));
        QVERIFY(errorOf([&] { Files::readRegularFile(path, 2); }).contains("larger than 2 bytes"));

        const QString largest = dir.filePath(QStringLiteral("largest"));
        QVERIFY(makeSparseFile(largest, Files::MaxReadSize));
        QCOMPARE(Files::readRegularFile(largest).size(), Files::MaxReadSize);
    }

    void plainNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("word") << "English" << true;
        QTest::newRow("blanks and dots") << " v1.2 ... " << true;
        QTest::newRow("non-Latin") << "\u65e5\u672c\u8a9e \U0001F600" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("climbing") << "../../outside/evil" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("absolute") << "/etc" << false;
        QTest::newRow("line feed") << "a\nb" << false;
        QTest::newRow("carriage return") << "a\rb" << false;
        QTest::newRow("tab") << "a\tb" << false;
        QTest::newRow("U+0001") << "a\u0001b" << false;
        QTest::newRow("DEL") << "a\u007fb" << false;
        QTest::newRow("C1 control") << "a\u0085b" << false;
        QTest::newRow("unpaired surrogate") << QStringLiteral("a") + QChar(0xD800) << false;
        QTest::newRow("U+FFFE") << QStringLiteral("a") + QChar(0xFFFE) << false;
    }
    void plainNames() {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(Files::isPlainName(name), plain);
    }

    // ---- XML tree ----

    void firstNodeIsRoot_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QByteArray("<Any><a>1</a></Any>") << "1";
        QTest::newRow("whitespace between") << QByteArray("<R>\n  <a>2</a>\n</R>") << "2";
        QTest::newRow("blanks before the root") << QByteArray("\r\n  <R><a>3</a></R>") << "3";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF<R><a>4</a></R>") << "4";
        QTest::newRow("comment after the root") << QByteArray("<R><a>5</a></R><!--SW_VERSION = 1.001-->") << "5";
        QTest::newRow("comment first") << QByteArray("<!-- c --><R><a>6</a></R>") << "";
        QTest::newRow("declaration first") << QByteArray("<?xml version=\"1.0\"?><R><a>7</a></R>") << "";
        QTest::newRow("instruction first") << QByteArray("<?style x?><R><a>8</a></R>") << "";
    }
    void firstNodeIsRoot() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, value);
        const Xml::Tree tree = parse(xml);
        QCOMPARE(tree.firstNodeAsRoot().childText(u"a").value_or(QString()), value);
        QVERIFY(tree.rootElement().childText(u"a").has_value()); // the root, whatever stands before it
    }

    void textsAsWritten_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks only") << QByteArray("<R><a>   </a></R>") << "   ";
        QTest::newRow("line ends") << QByteArray("<R><a>\n x \n</a></R>") << "\n x \n";
        QTest::newRow("CR LF in the file") << QByteArray("<R><a>x\r\ny</a></R>") << "x\ny";
        QTest::newRow("character reference CR") << QByteArray("<R><a>x&#13;&#10;y</a></R>") << "x\r\ny";
        QTest::newRow("entities and CDATA join") << QByteArray("<R><a>&lt;<![CDATA[ & ]]>&#x41;</a></R>") << "< & A";
        QTest::newRow("comment inside") << QByteArray("<R><a>x<!-- c -->y</a></R>") << "xy";
        QTest::newRow("nested text") << QByteArray("<R><a>1<b>2<c>3</c></b>4</a></R>") << "1234";
        QTest::newRow("empty") << QByteArray("<R><a/></R>") << "";
    }
    void textsAsWritten() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, text);
        QCOMPARE(parse(xml).firstNodeAsRoot().childText(u"a"), std::optional<QString>(text));
    }

    void lookups() {
        const Xml::Tree tree = parse("<R><row A=\"1\" B=\" \"/>text<other/><row A=\"2\"/><row/></R>");
        const Xml::Element root = tree.firstNodeAsRoot();
        QCOMPARE(root.name(), QStringLiteral("R"));
        const QList<Xml::Element> rows = root.children();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1].name(), QStringLiteral("other"));
        QCOMPARE(rows[0].attribute(u"A"), std::optional<QString>("1"));
        QCOMPARE(rows[0].attribute(u"B"), std::optional<QString>(" "));
        QCOMPARE(rows[2].attribute(u"A"), std::optional<QString>("2"));
        QCOMPARE(rows[3].attribute(u"A"), std::nullopt);
        QCOMPARE(rows[0].attribute(u"Unknown"), std::nullopt);
        QCOMPARE(root.firstChild(u"row").nextSibling(u"row").attribute(u"A"), std::optional<QString>("2"));
        // A null element answers everything with nothing.
        const Xml::Element none = root.firstChild(u"missing");
        QVERIFY(none.isNull());
        QCOMPARE(none.firstChild(u"x").childText(u"y"), std::nullopt);
        QCOMPARE(none.text(), QString());
    }

    // Nesting of any depth is read without recursion.
    void deepNesting() {
        const int depth = 200000;
        const QByteArray xml = QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
        const Xml::Tree tree = parse(xml);
        QCOMPARE(tree.firstNodeAsRoot().text(), QStringLiteral("x"));
        Xml::Element e = tree.firstNodeAsRoot();
        int levels = 0;
        for (; !e.firstChild().isNull(); e = e.firstChild())
            ++levels;
        QCOMPARE(levels, depth - 1);
    }

    // Refused before the parser spends time or memory on it, with a message naming the file.
    void refusedMarkup_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("message"); // empty: read
        const QString tooMany = QStringLiteral("line 1 has more than 256 attributes");
        QTest::newRow("256 attributes") << manyAttributes(256) << QString();
        QTest::newRow("257 attributes") << manyAttributes(257) << tooMany;
        QTest::newRow("100000 attributes") << manyAttributes(100000) << tooMany;
        QTest::newRow("on a later line") << "<R>\n<a/>\n" + manyAttributes(300) + "</R>"
                                         << QStringLiteral("line 3 has more than 256 attributes");
        QTest::newRow("'=' in values do not count")
            << "<R a=\"" + QByteArray(1000, '=') + "\" b='" + QByteArray(1000, '=') + "'/>" << QString();
        QTest::newRow("'=' in text, comments, CDATA and instructions do not count")
            << "<?pi " + QByteArray(300, '=') + "?><R>" + QByteArray(300, '=') + "<!--" + QByteArray(300, '=') +
                   "--><![CDATA[<a " + QByteArray(300, '=') + "]]></R>"
            << QString();
        QTest::newRow("document type") << QByteArray("<!DOCTYPE R><R/>")
                                       << QStringLiteral("document type declaration (line 1)");
        QTest::newRow("entity expansion") << "<!DOCTYPE R [<!ENTITY e \"" + QByteArray(4000, 'a') + "\">]><R>" +
                                                 QByteArray("&e;").repeated(100000) + "</R>"
                                          << QStringLiteral("document type declaration");
        QTest::newRow("document type in a comment is a comment")
            << QByteArray("<R><!-- <!DOCTYPE R> --></R>") << QString();
    }
    void refusedMarkup() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, message);
        const QString error = errorOf([&] { parse(xml); });
        if (message.isEmpty())
            QVERIFY2(error.isEmpty(), qPrintable(error));
        else
            QVERIFY2(error.startsWith("Cannot read the file test.xml: ") && error.contains(message), qPrintable(error));
    }

    // In UTF-16 a byte of a character may look like a quote: the count works on characters.
    void attributesInUtf16() {
        QStringEncoder toUtf16(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
        QString xml = QStringLiteral("<R");
        for (int i = 0; i < 300; ++i)
            xml += QStringLiteral(" a%1=\"\u2200\u223c\"").arg(i); // U+2200 holds the byte of '"', U+223C of '<'
        xml += QStringLiteral("/>");
        const QString error = errorOf([&] { parse(toUtf16.encode(xml)); });
        QVERIFY2(error.contains("more than 256 attributes"), qPrintable(error));
        xml = QStringLiteral("<R a=\"\u2200\" b=\"\u223c\"><c>\u2200</c></R>");
        QCOMPARE(parse(toUtf16.encode(xml)).firstNodeAsRoot().attribute(u"b"), std::optional<QString>("\u223c"));
    }

    void brokenXml_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("where");
        QTest::newRow("unclosed") << QByteArray("<R><a></R>") << "line 1";
        QTest::newRow("empty") << QByteArray() << "line 1";
        QTest::newRow("on line 3") << QByteArray("<R>\n<a/>\n<b x=1/></R>") << "line 3";
        QTest::newRow("undeclared entity") << QByteArray("<R>&nbsp;</R>") << "line 1";
        QTest::newRow("two roots") << QByteArray("<R/><S/>") << "line 1";
    }
    void brokenXml() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, where);
        const QString error = errorOf([&] { parse(xml); });
        QVERIFY2(error.startsWith("The file test.xml is not valid XML: ") && error.contains(where), qPrintable(error));
    }

    void loadingFiles() {
        QTemporaryDir dir;
        QVERIFY(!Xml::loadTree(dir.filePath(QStringLiteral("none.xml"))).has_value());
        QVERIFY(errorOf([&] {
                    Xml::loadExistingTree(dir.filePath(QStringLiteral("none.xml")));
                }).contains("No such file or directory"));
        const QString fifo = make(Thing::Fifo, dir);
        QVERIFY(errorOf([&] { Xml::loadTree(fifo); }).contains("not a regular file"));
        const QString good = dir.filePath(QStringLiteral("good.xml"));
        QVERIFY(writeFile(good, "<R><a>1</a></R>"));
        QCOMPARE(Xml::loadTree(good)->firstNodeAsRoot().childText(u"a"), std::optional<QString>("1"));
    }

    // ---- XML writing ----

    // Whatever a value holds, the document stays readable and gives back what XML can hold of it.
    void awkwardValues_data() { AwkwardValues::addRows(); }
    void awkwardValues() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QByteArray out;
        QXmlStreamWriter w(&out);
        Xml::prepareWriter(w);
        w.writeStartElement(QStringLiteral("R"));
        w.writeStartElement(QStringLiteral("e"));
        Xml::writeAttribute(w, QStringLiteral("v"), value);
        w.writeEndElement();
        Xml::writeTextElement(w, QStringLiteral("t"), value);
        w.writeEndElement();
        Xml::checkWriter(w, QStringLiteral("test.xml"));

        const Xml::Element root = parse(out).firstNodeAsRoot();
        QCOMPARE(root.childText(u"t"), std::optional<QString>(expected));
        QCOMPARE(root.firstChild(u"e").attribute(u"v"), std::optional<QString>(expected));
        QCOMPARE(Xml::xmlSafe(value), expected);
    }

    // A writer that failed never reaches the disk: the check stops the save with the file's name.
    void failedWriterStopsTheSave() {
        QByteArray out;
        QXmlStreamWriter w(&out);
        w.writeTextElement(QStringLiteral("R"), QStringLiteral("a") + QChar(0xD800));
        QVERIFY(w.hasError());
        QCOMPARE(errorOf([&] { Xml::checkWriter(w, QStringLiteral("/x/Tessaro.xml")); }),
                 QStringLiteral("Cannot write the file /x/Tessaro.xml: a value holds a character that an XML file "
                                "cannot hold; the file was left as it was"));
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
