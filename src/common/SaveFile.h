// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes `data` to `path` through QSaveFile: the old file is replaced only when every byte reached the
// disk, so a failed write leaves it whole. Only a regular file, or a path where nothing is yet, is
// replaced; a link is followed (the file it points at is replaced, the link stays). A device, a pipe, a
// socket or a folder is refused untouched. Returns false and sets `error` to a text naming the file and
// the system's reason.
bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error);

// As above, but throws FileError on failure.
void saveFileOrThrow(const QString& path, const QByteArray& data);

// Writes `data` to an already opened device and reports short writes; used by saveFileAtomically and
// by tests that hand in a failing device.
bool writeAll(QIODevice& device, const QByteArray& data, QString* error);

// Where a command-line tool puts its output: "-" is the standard output; a character device or a FIFO
// is opened and written as it is (a terminal, a pipe to another program), never replaced; anything
// else is saved as by saveFileAtomically. A block device (no output of this program belongs on a
// disk), a socket and a folder are refused. Throws FileError naming the output and the system's
// reason.
void writeOutputOrThrow(const QString& path, const QByteArray& data);
