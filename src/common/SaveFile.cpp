// SPDX-License-Identifier: MIT
#include "SaveFile.h"

#include "FileError.h"

#include <QDir>
#include <QSaveFile>

bool writeAll(QIODevice& device, const QByteArray& data, QString* error) {
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = device.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            if (error)
                *error = device.errorString();
            return false;
        }
        done += n;
    }
    return true;
}

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(shown, file.errorString());
        return false;
    }
    QString reason;
    if (!writeAll(file, data, &reason)) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(shown, reason);
        return false;
    }
    // QSaveFile::commit() renames the file even when its last flush failed (a full disk, a size
    // limit): flush first and give up on the write while the old file is still in place.
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(shown, reason);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(shown, file.errorString());
        return false;
    }
    return true;
}

void saveFileOrThrow(const QString& path, const QByteArray& data) {
    QString error;
    if (!saveFileAtomically(path, data, &error))
        throw FileError(error);
}
