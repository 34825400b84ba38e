// SPDX-License-Identifier: MIT
#include "Xml.h"

#include "FileError.h"
#include "ReadFile.h"

#include <QXmlStreamWriter>

namespace Xml {

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
    const qsizetype n = text.size();
    QString out;
    bool changed = false;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate();
        if (pair || allowed(c.unicode())) {
            if (changed) {
                out += c;
                if (pair)
                    out += text.at(i + 1);
            }
        } else if (!changed) {
            // The first character to drop: copy what came before it, then go on copying.
            changed = true;
            out = text.first(i);
            out.reserve(n);
        }
        if (pair)
            ++i;
    }
    return changed ? out : text;
}

void writeTextElement(QXmlStreamWriter& writer, const QString& name, const QString& value) {
    const QString text = xmlSafe(value);
    writer.writeStartElement(name);
    qsizetype from = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
        if (cr > from)
            writer.writeCharacters(text.sliced(from, cr - from));
        writer.writeEntityReference(QStringLiteral("#13"));
        from = cr + 1;
    }
    if (from < text.size() || text.isEmpty())
        writer.writeCharacters(text.sliced(from));
    writer.writeEndElement();
}

void writeAttribute(QXmlStreamWriter& writer, const QString& name, const QString& value) {
    writer.writeAttribute(name, xmlSafe(value));
}

void checkWriter(const QXmlStreamWriter& writer, const QString& path) {
    if (writer.hasError())
        throw FileError(QStringLiteral("Cannot write the file %1: a value holds a character that an XML file cannot "
                                       "hold; the file was left as it was")
                            .arg(Files::shown(path)));
}

} // namespace Xml
