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

static bool allowed(char32_t c) {
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false; // only reached for a surrogate without its partner
    return c != 0xFFFE && c != 0xFFFF;
}

QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    bool changed = false;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (allowed(c.unicode()))
            out += c;
        else
            changed = true;
    }
    return changed ? out : text;
}

void checkWriter(const QXmlStreamWriter& writer, const QString& path) {
    if (writer.hasError())
        throw FileError(QStringLiteral("Cannot write the file %1: the XML writer failed")
                            .arg(QDir::toNativeSeparators(path)));
}

} // namespace Xml
