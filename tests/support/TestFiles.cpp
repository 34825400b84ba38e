// SPDX-License-Identifier: MIT
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TempFolder::TempFolder() {
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder: %s", qPrintable(m_dir.errorString()));
}

bool TempFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString file = path(relative);
    return QDir().mkpath(QFileInfo(file).absolutePath()) && writeFile(file, bytes);
}

bool TempFolder::makeDir(const QString& relative) const {
    return QDir().mkpath(path(relative));
}

bool TempFolder::exists(const QString& relative) const {
    return QFileInfo::exists(path(relative));
}

} // namespace TestSupport
