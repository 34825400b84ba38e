// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>
#include <optional>

// A read-only element tree for the configuration and settings files, built in one pass with
// QXmlStreamReader: time and memory grow linearly with the file (QDomDocument does not on deep or
// attribute-heavy input), and every text is kept exactly as written, blanks-only texts included.
//
// Two things no file of this program holds are refused before they cost time or memory: an element
// with more than MaxAttributes attributes (QXmlStreamReader's time grows with the square of the
// attributes of one element) and a document type declaration (its entities could expand a small file
// into gigabytes).
namespace Xml {

inline constexpr int MaxAttributes = 256;

struct TreeData;

// A handle on one element of a Tree; it keeps the tree alive. A null handle answers every lookup
// with nothing, so lookups can be chained without checks.
class Element {
public:
    Element() = default;

    bool isNull() const { return !m_data; }
    QString name() const;

    // All text inside the element in document order, its descendants' included.
    QString text() const;

    std::optional<QString> attribute(QStringView name) const;
    QString attribute(QStringView name, const QString& fallback) const { return attribute(name).value_or(fallback); }

    // First child element, or first child element called `name`.
    Element firstChild() const;
    Element firstChild(QStringView name) const;
    // Next sibling element, or next sibling element called `name`.
    Element nextSibling() const;
    Element nextSibling(QStringView name) const;
    // Every child element, whatever its tag; comments and texts are not elements.
    QList<Element> children() const;

    // Text of the first child element called `name`; nothing when there is none.
    std::optional<QString> childText(QStringView name) const;
    // Text of this/first/second, each step taking the first child element of that name.
    std::optional<QString> pathText(QStringView first, QStringView second) const;

private:
    friend class Tree;
    Element(std::shared_ptr<const TreeData> data, int index)
        : m_data(std::move(data))
        , m_index(index) {}
    int findChild(int from, QStringView name) const;

    std::shared_ptr<const TreeData> m_data;
    int m_index = -1;
};

class Tree {
public:
    Tree();

    // The configuration files take the document's first node as their root. Blanks before the root
    // are not a node; an XML declaration, a comment or a processing instruction is, and then the
    // result is a null element.
    Element firstNodeAsRoot() const;
    // The root element, whatever stands before it.
    Element rootElement() const;

private:
    friend Tree parseTree(const QByteArray&, const QString&);
    std::shared_ptr<const TreeData> m_data;
};

// Parses `data` (at most Files::MaxReadSize bytes); throws FileError naming `path`, the parser's
// message, line and column when it is not well-formed or is refused.
Tree parseTree(const QByteArray& data, const QString& path);

// Reads and parses the file (a regular file, bounded in size). Nothing when the file does not exist;
// FileError when it cannot be read or is not well-formed.
std::optional<Tree> loadTree(const QString& path);

// As loadTree, for a file that has to be there.
Tree loadExistingTree(const QString& path);

} // namespace Xml
