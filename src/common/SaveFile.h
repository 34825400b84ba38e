// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes `data` to `path` through QSaveFile: the old file is replaced only when every byte reached the
// disk, so a failed write leaves it whole. Returns false and sets `error` to a readable reason.
bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error);

// As above, but throws FileError on failure.
void saveFileOrThrow(const QString& path, const QByteArray& data);

// Writes `data` to an already opened device and reports short writes; used by saveFileAtomically and
// by tests that hand in a failing device.
bool writeAll(QIODevice& device, const QByteArray& data, QString* error);
