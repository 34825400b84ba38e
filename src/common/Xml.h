// SPDX-License-Identifier: MIT
#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <optional>

class QXmlStreamWriter;

namespace Xml {

// Parses the file at `path`. Returns nothing when the file does not exist; throws FileError when it
// exists but cannot be read or is not well-formed (the text names the file, line and column).
std::optional<QDomDocument> loadFile(const QString& path);

// Parses a file that has to be there and well-formed; any failure throws FileError.
QDomDocument loadExistingFile(const QString& path);

// The configuration files take the document's first node as their root, whatever its name. When that
// node is not an element (a comment or a processing instruction stands first), the result is a null
// element and every lookup beneath it finds nothing.
QDomElement firstNodeAsRoot(const QDomDocument& doc);

// Text of the first child element of `parent` called `name`; nothing when there is none.
std::optional<QString> childText(const QDomNode& parent, const QString& name);

// Text of parent/first/second, each step taking the first child element with that name.
std::optional<QString> pathText(const QDomNode& parent, const QString& first, const QString& second);

// A writer set up for the configuration files: no declaration, no indentation, UTF-8.
void prepareWriter(QXmlStreamWriter& writer);

// `text` without the characters an XML file cannot hold (controls other than tab, line feed and
// carriage return, unpaired surrogates, U+FFFE and U+FFFF). Every value goes through this before it
// is written, so whatever a user typed, the file reads back.
QString xmlSafe(const QString& text);

// Throws FileError naming `path` when the writer failed; call before the bytes are saved, so a
// broken document never replaces a good file.
void checkWriter(const QXmlStreamWriter& writer, const QString& path);

} // namespace Xml
