// SPDX-License-Identifier: MIT
#include "Xml.h"

#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace Xml {

static QDomDocument parse(const QString& path, QFile& file) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot read the file %1: %2").arg(shown, file.errorString()));
    QDomDocument doc;
    QString message;
    int line = 0;
    int column = 0;
    if (!doc.setContent(&file, &message, &line, &column))
        throw FileError(QStringLiteral("The file %1 is not valid XML: %2 (line %3, column %4)")
                            .arg(shown, message)
                            .arg(line)
                            .arg(column));
    return doc;
}

std::optional<QDomDocument> loadFile(const QString& path) {
    QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return std::nullopt;
    QFile file(path);
    return parse(path, file);
}

QDomDocument loadExistingFile(const QString& path) {
    QFile file(path);
    return parse(path, file);
}

QDomElement firstNodeAsRoot(const QDomDocument& doc) {
    return doc.firstChild().toElement();
}

std::optional<QString> childText(const QDomNode& parent, const QString& name) {
    if (parent.isNull())
        return std::nullopt;
    const QDomElement e = parent.firstChildElement(name);
    if (e.isNull())
        return std::nullopt;
    return e.text();
}

std::optional<QString> pathText(const QDomNode& parent, const QString& first, const QString& second) {
    if (parent.isNull())
        return std::nullopt;
    return childText(parent.firstChildElement(first), second);
}

void prepareWriter(QXmlStreamWriter& writer) {
    writer.setAutoFormatting(false);
}

} // namespace Xml
