// SPDX-License-Identifier: MIT
#include "SaveFile.h"

#include "FileError.h"
#include "ReadFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const QString IsFolder = QStringLiteral("it is a folder");
const QString NotRegular =
    QStringLiteral("it is a device, a pipe or a socket, not a regular file, and is not replaced by one");

QString writeError(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write the file %1: %2").arg(Files::shown(path), reason);
}

// Qt leaves "Unknown error" (or nothing) where a call failed without telling why; the error number
// taken right after the call is then the better reason.
QString reasonOf(const QIODevice& device, int savedErrno = 0) {
    const QString text = device.errorString();
    if (!text.isEmpty() && text != QLatin1String("Unknown error"))
        return text;
    if (savedErrno != 0)
        return Files::systemReason(savedErrno);
    return QStringLiteral("the system gave no reason");
}

#ifdef Q_OS_UNIX

// Why the thing at `path` must not be replaced by a new file; nothing when it may.
std::optional<QString> targetRefusal(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == ENOENT)
            return std::nullopt; // a new file, or the missing file a link points at
        return Files::systemReason(errno);
    }
    if (S_ISREG(st.st_mode))
        return std::nullopt;
    return S_ISDIR(st.st_mode) ? IsFolder : NotRegular;
}

void writeDescriptor(int fd, const QByteArray& data, const QString& shownName) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(QStringLiteral("Cannot write %1: %2").arg(shownName, Files::systemReason(errno)));
        }
        done += n;
    }
}

#else

std::optional<QString> targetRefusal(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return std::nullopt;
    return info.isDir() ? IsFolder : NotRegular;
}

#endif

} // namespace

bool writeAll(QIODevice& device, const QByteArray& data, QString* error) {
    qint64 done = 0;
    while (done < data.size()) {
        errno = 0;
        const qint64 n = device.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            if (error)
                *error = reasonOf(device, errno);
            return false;
        }
        done += n;
    }
    return true;
}

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = writeError(path, reason);
        return false;
    };
    // QSaveFile would put a regular file in the place of a device node or a FIFO.
    if (const std::optional<QString> refusal = targetRefusal(path))
        return fail(*refusal);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(reasonOf(file, errno));
    QString reason;
    if (!writeAll(file, data, &reason)) {
        file.cancelWriting();
        return fail(reason);
    }
    // QSaveFile::commit() renames the file even when its last flush failed (a full disk, a size
    // limit): flush first and give up on the write while the old file is still in place.
    errno = 0;
    if (!file.flush()) {
        const QString why = reasonOf(file, errno);
        file.cancelWriting();
        return fail(why);
    }
    errno = 0;
    if (!file.commit())
        return fail(reasonOf(file, errno));
    return true;
}

void saveFileOrThrow(const QString& path, const QByteArray& data) {
    QString error;
    if (!saveFileAtomically(path, data, &error))
        throw FileError(error);
}

void writeOutputOrThrow(const QString& path, const QByteArray& data) {
    const QString standardOutput = QStringLiteral("the standard output");
#ifdef Q_OS_UNIX
    if (path == QLatin1String("-")) {
        writeDescriptor(STDOUT_FILENO, data, standardOutput);
        return;
    }
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        if (S_ISBLK(st.st_mode))
            throw FileError(
                writeError(path, QStringLiteral("it is a disk device; no output of this program belongs there")));
        if (S_ISSOCK(st.st_mode))
            throw FileError(writeError(path, QStringLiteral("it is a socket")));
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            // Written as a shell redirection would: opened as it is, never truncated or replaced.
            const int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            if (fd < 0)
                throw FileError(writeError(path, Files::systemReason(errno)));
            const QString name = QStringLiteral("the file %1").arg(Files::shown(path));
            try {
                writeDescriptor(fd, data, name);
            } catch (...) {
                ::close(fd);
                throw;
            }
            if (::close(fd) != 0)
                throw FileError(writeError(path, Files::systemReason(errno)));
            return;
        }
    }
#else
    if (path == QLatin1String("-")) {
#ifdef Q_OS_WIN
        _setmode(_fileno(stdout), _O_BINARY); // the bytes already carry their line ends
#endif
        QFile out;
        QString reason;
        if (!out.open(stdout, QIODevice::WriteOnly) || !writeAll(out, data, &reason) || !out.flush())
            throw FileError(
                QStringLiteral("Cannot write %1: %2").arg(standardOutput, reason.isEmpty() ? reasonOf(out) : reason));
        return;
    }
#endif
    saveFileOrThrow(path, data);
}
