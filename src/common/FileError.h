// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <exception>

// A file that cannot be read, parsed or written. Carries a text ready for the user (path, reason,
// line and column where the parser gave them). Thrown by the file helpers and caught only at a
// command boundary (a button handler, an editor's show or OK handler), where the general error box
// shows it; never let it reach the Qt event loop.
class FileError : public std::exception {
public:
    explicit FileError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
