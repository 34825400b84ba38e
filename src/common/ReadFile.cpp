// SPDX-License-Identifier: MIT
#include "ReadFile.h"

#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Files {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString systemReason(int errorNumber) {
    const QString text = QString::fromLocal8Bit(std::strerror(errorNumber));
    if (text.isEmpty())
        return QStringLiteral("system error %1").arg(errorNumber);
    return text;
}

bool isPlainName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = name.at(i);
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
#ifdef Q_OS_WIN
        if (c == u':')
            return false;
#endif
        if (c.isHighSurrogate() && i + 1 < n && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            return false;
    }
    return !QDir::isAbsolutePath(name);
}

namespace {

FileError readError(const QString& path, const QString& reason) {
    return FileError(QStringLiteral("Cannot read the file %1: %2").arg(shown(path), reason));
}

QString tooLarge(qint64 limit) {
    return QStringLiteral("it is larger than %1 bytes, far more than any file of this program").arg(limit);
}

const QString NotRegular = QStringLiteral("it is not a regular file (a device, a pipe or a socket)");
const QString IsFolder = QStringLiteral("it is a folder");

} // namespace

#ifdef Q_OS_UNIX

namespace {

QString typeRefusal(mode_t mode) {
    return S_ISDIR(mode) ? IsFolder : NotRegular;
}

// Closes the descriptor however the function is left.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QByteArray readRegularFile(const QString& path, qint64 limit) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    // Looked at before it is opened: opening a device can have effects of its own (a serial line,
    // a tape), so a device is never opened at all.
    if (::stat(native.constData(), &st) != 0)
        throw readError(path, systemReason(errno));
    if (!S_ISREG(st.st_mode))
        throw readError(path, typeRefusal(st.st_mode));
    if (st.st_size > limit)
        throw readError(path, tooLarge(limit));

    // Non-blocking, so a FIFO put in the file's place since the look above cannot hold the open; it
    // is then refused by the second look, which is the one that counts.
    Descriptor file{::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        throw readError(path, systemReason(errno));
    if (::fstat(file.fd, &st) != 0)
        throw readError(path, systemReason(errno));
    if (!S_ISREG(st.st_mode))
        throw readError(path, typeRefusal(st.st_mode));
    if (st.st_size > limit)
        throw readError(path, tooLarge(limit));

    // The file may grow while it is read: never read more than one byte past the limit.
    QByteArray data(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == data.size()) {
            if (done > limit)
                throw readError(path, tooLarge(limit));
            data.resize(qMin<qint64>(qint64(data.size()) * 2, limit + 1));
        }
        const ssize_t n = ::read(file.fd, data.data() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw readError(path, systemReason(errno));
        }
        if (n == 0)
            break;
        done += n;
    }
    if (done > limit)
        throw readError(path, tooLarge(limit));
    data.truncate(done);
    return data;
}

std::optional<QByteArray> readRegularFileIfExists(const QString& path, qint64 limit) {
    struct stat st {};
    // ENOTDIR: a part of the path is a file, so nothing can be there either.
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return std::nullopt;
    return readRegularFile(path, limit);
}

#else

QByteArray readRegularFile(const QString& path, qint64 limit) {
    const QFileInfo info(path); // follows links: a link to a regular file is read
    if (!info.exists())
        throw readError(path, systemReason(ENOENT));
    if (info.isDir())
        throw readError(path, IsFolder);
    if (!info.isFile())
        throw readError(path, NotRegular);
    if (info.size() > limit)
        throw readError(path, tooLarge(limit));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw readError(path, file.errorString());
    QByteArray data = file.read(qMin(info.size(), limit) + 1);
    if (file.error() != QFileDevice::NoError)
        throw readError(path, file.errorString());
    if (data.size() > limit)
        throw readError(path, tooLarge(limit));
    return data;
}

std::optional<QByteArray> readRegularFileIfExists(const QString& path, qint64 limit) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    return readRegularFile(path, limit);
}

#endif

} // namespace Files
