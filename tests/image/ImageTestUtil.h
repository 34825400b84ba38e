// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <fcntl.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ImageTest {

inline QString fixture(const QString& name) {
    return QStringLiteral(TESSARO_FIXTURES "/image/") + name;
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Reads an expected.txt (see tests/fixtures/image/README.md) into the images it describes, keyed
// "bank1" and "bank2". An item that does not parse or passes the image's end gives an error text.
inline QMap<QString, QByteArray> parseGolden(const QString& path, QString* error) {
    QMap<QString, QByteArray> images;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot open ") + path;
        return {};
    }
    const QRegularExpression items(QStringLiteral("\"[^\"]*\"|\\S+"));
    QString current;
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(f.readLine());
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const auto fail = [&](const QString& why) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(why);
            return QMap<QString, QByteArray>();
        };
        if (line.startsWith(QLatin1String("bank"))) {
            const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
            current = parts.value(0);
            images[current] = QByteArray(parts.value(1).toInt(), '\0');
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        bool ok = false;
        qsizetype at = line.left(colon).toLongLong(&ok, 16);
        if (!ok || current.isEmpty())
            return fail(QStringLiteral("bad offset"));
        QByteArray& image = images[current];
        auto it = items.globalMatch(line.mid(colon + 1));
        while (it.hasNext()) {
            const QString item = it.next().captured();
            QByteArray bytes;
            if (item.startsWith(u'"')) {
                bytes = item.mid(1, item.size() - 2).toLatin1();
            } else if (item.contains(u':')) {
                const QString kind = item.section(u':', 0, 0);
                const quint64 value = item.section(u':', 1).toULongLong(&ok, 0);
                const int width = kind == u"u8" ? 1 : kind == u"u16" ? 2 : kind == u"u32" ? 4 : 0;
                if (!ok || width == 0)
                    return fail(QStringLiteral("bad item ") + item);
                for (int i = 0; i < width; ++i)
                    bytes.append(char(value >> (8 * i)));
            } else {
                const int value = item.toInt(&ok, 16);
                if (!ok || item.size() != 2)
                    return fail(QStringLiteral("bad byte ") + item);
                bytes.append(char(value));
            }
            if (at + bytes.size() > image.size())
                return fail(QStringLiteral("past the end of ") + current);
            image.replace(at, bytes.size(), bytes);
            at += bytes.size();
        }
    }
    return images;
}

// The first difference between two images, as a readable line; empty when they are equal.
inline QString firstDifference(const QByteArray& actual, const QByteArray& expected) {
    const qsizetype n = qMin(actual.size(), expected.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (actual[i] != expected[i])
            return QStringLiteral("first difference at 0x%1: got %2, expected %3")
                .arg(i, 4, 16, QLatin1Char('0'))
                .arg(QString::fromLatin1(actual.mid(i, 8).toHex(' ')),
                     QString::fromLatin1(expected.mid(i, 8).toHex(' ')));
    }
    if (actual.size() != expected.size())
        return QStringLiteral("size %1, expected %2").arg(actual.size()).arg(expected.size());
    return {};
}

// Sets the file system's immutable flag on `path` for the guard's life: not even root may then
// change what is there. Not every file system or container allows it; ok() says whether it took.
class Immutable {
public:
    explicit Immutable(const QString& path)
        : m_path(QFile::encodeName(path)) {
        m_ok = setFlag(true);
    }
    ~Immutable() {
        if (m_ok)
            setFlag(false);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool ok() const { return m_ok; }

private:
    bool setFlag(bool on) {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QByteArray m_path;
    bool m_ok = false;
};

} // namespace ImageTest
