// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace Files {

// Far above anything the program writes (a full configuration file is well under 1 MiB); a larger
// file is refused rather than read into memory.
inline constexpr qint64 MaxReadSize = 16 * 1024 * 1024;

// Reads a whole regular file (or a file a link points at). A FIFO, a device, a socket or a folder is
// refused without being opened, and the file is opened so that it can never block, so reading never
// waits on a pipe or a device; a file larger than `limit` is refused too. Every failure throws
// FileError with a text naming the file and the reason.
QByteArray readRegularFile(const QString& path, qint64 limit = MaxReadSize);

// As readRegularFile, but a path where nothing exists (nor can, a part of it being a file) gives
// nothing instead of an error. A link that points nowhere is something: it is reported.
std::optional<QByteArray> readRegularFileIfExists(const QString& path, qint64 limit = MaxReadSize);

// The path as the user should see it in a message.
QString shown(const QString& path);

// The system's text for an error number ("No space left on device"); never empty.
QString systemReason(int errorNumber);

// A name that stands for one entry directly inside a folder: not empty, not "." or "..", no path
// separator, no control character, and nothing a settings file could not store (an unpaired
// surrogate, U+FFFE, U+FFFF), so the name comes back exactly as it went out.
bool isPlainName(const QString& name);

} // namespace Files
