// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QXmlStreamWriter;

// Writing the configuration and settings files. Reading them is XmlTree.h's work.
namespace Xml {

// A writer set up for the configuration files: no declaration, no indentation, UTF-8.
void prepareWriter(QXmlStreamWriter& writer);

// `text` without the characters an XML file cannot hold (controls other than tab, line feed and
// carriage return, unpaired surrogates, U+FFFE and U+FFFF). Every value goes through this before it
// is written, so whatever a user typed, the file reads back.
QString xmlSafe(const QString& text);

// <name>value</name> with the value cleaned by xmlSafe. A carriage return is written as a character
// reference: written as it is, a reader would turn it (and CR LF) into a line feed.
void writeTextElement(QXmlStreamWriter& writer, const QString& name, const QString& value);

// An attribute with its value cleaned by xmlSafe (the writer escapes tabs and line ends in attributes).
void writeAttribute(QXmlStreamWriter& writer, const QString& name, const QString& value);

// Throws FileError naming `path` when the writer failed; call before the bytes are saved, so a
// broken document never replaces a good file.
void checkWriter(const QXmlStreamWriter& writer, const QString& path);

} // namespace Xml
