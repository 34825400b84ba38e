// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace Files {

// Far above anything the program writes (a full configuration file is well under 1 MiB); a larger
// file is refused rather than read into memory.
inline constexpr qint64 MaxReadSize = 16 * 1024 * 1024;

// Reads a whole regular file (or a link to one). A FIFO, a device, a socket or a folder is refused
// without being opened, so reading never blocks; so is a file larger than `limit`. Every failure
// throws FileError with a text naming the file and the reason.
QByteArray readRegularFile(const QString& path, qint64 limit = MaxReadSize);

// As readRegularFile, but a path where nothing exists gives nothing instead of an error.
std::optional<QByteArray> readRegularFileIfExists(const QString& path, qint64 limit = MaxReadSize);

// The path as the user should see it in a message.
QString shown(const QString& path);

} // namespace Files
