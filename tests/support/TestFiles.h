// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// File helpers for tests: plain reads and writes whose failure the caller checks.
namespace TestSupport {

// Writes `bytes` to `path`, replacing it; false when the file cannot be written whole.
[[nodiscard]] bool writeFile(const QString& path, const QByteArray& bytes);

// The whole file; an empty array when it cannot be read.
QByteArray readFile(const QString& path);

// A temporary folder that goes away with the object, with paths relative to it.
class TempFolder {
public:
    TempFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes the file, making the folders above it first.
    [[nodiscard]] bool write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const { return readFile(path(relative)); }
    [[nodiscard]] bool makeDir(const QString& relative) const;
    bool exists(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

} // namespace TestSupport
