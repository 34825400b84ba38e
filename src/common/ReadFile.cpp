// SPDX-License-Identifier: MIT
#include "ReadFile.h"

#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Files {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

static FileError readError(const QString& path, const QString& reason) {
    return FileError(QStringLiteral("Cannot read the file %1: %2").arg(shown(path), reason));
}

QByteArray readRegularFile(const QString& path, qint64 limit) {
    const QFileInfo info(path); // follows links: a link to a regular file is read
    if (!info.exists())
        throw readError(path, QStringLiteral("No such file or directory"));
    if (info.isDir())
        throw readError(path, QStringLiteral("it is a folder"));
    if (!info.isFile())
        throw readError(path, QStringLiteral("it is not a regular file (a device, a pipe or a socket)"));
    if (info.size() > limit)
        throw readError(path, QStringLiteral("it is larger than %1 bytes").arg(limit));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw readError(path, file.errorString());
    // The file may have grown since it was looked at: never read more than the limit.
    QByteArray data = file.read(limit + 1);
    if (data.size() > limit)
        throw readError(path, QStringLiteral("it is larger than %1 bytes").arg(limit));
    if (file.error() != QFileDevice::NoError)
        throw readError(path, file.errorString());
    return data;
}

std::optional<QByteArray> readRegularFileIfExists(const QString& path, qint64 limit) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    return readRegularFile(path, limit);
}

} // namespace Files
