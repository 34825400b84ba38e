// SPDX-License-Identifier: MIT
#include "XmlTree.h"

#include "FileError.h"
#include "ReadFile.h"

#include <QHash>
#include <QXmlStreamReader>
#include <vector>

namespace Xml {

// Nodes live in one array and link by index: a few words per element whatever the file holds.
struct TreeData {
    struct Node {
        int name = -1; // index into names; -1 for a text node
        int parent = -1;
        int firstChild = -1;
        int nextSibling = -1;
        int attrBegin = 0;
        int attrCount = 0;
        int text = -1; // index into texts, for a text node
    };
    std::vector<Node> nodes;
    QStringList names; // each tag and attribute name once
    QHash<QString, int> nameIds;
    std::vector<std::pair<int, QString>> attributes; // (name, value)
    QStringList texts;
    int root = -1;
    bool firstNodeIsRoot = false;

    int intern(QStringView name) {
        const auto it = nameIds.constFind(name.toString());
        if (it != nameIds.cend())
            return it.value();
        const int id = int(names.size());
        names.append(name.toString());
        nameIds.insert(names.last(), id);
        return id;
    }
    int idOf(QStringView name) const { return nameIds.value(name.toString(), -2); }

    // Walks the subtree through the links, without recursion: nesting may be deep.
    void appendText(QString& out, int index) const {
        int c = nodes[size_t(index)].firstChild;
        while (c >= 0) {
            const Node& n = nodes[size_t(c)];
            if (n.name < 0)
                out += texts[n.text];
            if (n.firstChild >= 0) {
                c = n.firstChild;
                continue;
            }
            while (c != index && nodes[size_t(c)].nextSibling < 0)
                c = nodes[size_t(c)].parent;
            if (c == index)
                break;
            c = nodes[size_t(c)].nextSibling;
        }
    }
};

QString Element::name() const {
    return m_data ? m_data->names[m_data->nodes[size_t(m_index)].name] : QString();
}

QString Element::text() const {
    if (!m_data)
        return {};
    const auto& nodes = m_data->nodes;
    const TreeData::Node& n = nodes[size_t(m_index)];
    // The usual case, one text and nothing else, shares the stored string.
    if (n.firstChild >= 0 && nodes[size_t(n.firstChild)].name < 0 && nodes[size_t(n.firstChild)].nextSibling < 0)
        return m_data->texts[nodes[size_t(n.firstChild)].text];
    QString out;
    m_data->appendText(out, m_index);
    return out;
}

std::optional<QString> Element::attribute(QStringView name) const {
    if (!m_data)
        return std::nullopt;
    const int id = m_data->idOf(name);
    const TreeData::Node& n = m_data->nodes[size_t(m_index)];
    for (int i = n.attrBegin; i < n.attrBegin + n.attrCount; ++i) {
        if (m_data->attributes[size_t(i)].first == id)
            return m_data->attributes[size_t(i)].second;
    }
    return std::nullopt;
}

int Element::findChild(int from, QStringView name) const {
    const int id = name.isNull() ? -1 : m_data->idOf(name);
    for (int c = from; c >= 0; c = m_data->nodes[size_t(c)].nextSibling) {
        const int n = m_data->nodes[size_t(c)].name;
        if (n >= 0 && (id == -1 || n == id))
            return c;
    }
    return -1;
}

Element Element::firstChild() const {
    return firstChild(QStringView());
}

Element Element::firstChild(QStringView name) const {
    if (!m_data)
        return {};
    const int c = findChild(m_data->nodes[size_t(m_index)].firstChild, name);
    return c < 0 ? Element() : Element(m_data, c);
}

Element Element::nextSibling() const {
    return nextSibling(QStringView());
}

Element Element::nextSibling(QStringView name) const {
    if (!m_data)
        return {};
    const int c = findChild(m_data->nodes[size_t(m_index)].nextSibling, name);
    return c < 0 ? Element() : Element(m_data, c);
}

QList<Element> Element::children() const {
    QList<Element> out;
    for (Element e = firstChild(); !e.isNull(); e = e.nextSibling())
        out.append(e);
    return out;
}

std::optional<QString> Element::childText(QStringView name) const {
    const Element e = firstChild(name);
    if (e.isNull())
        return std::nullopt;
    return e.text();
}

std::optional<QString> Element::pathText(QStringView first, QStringView second) const {
    return firstChild(first).childText(second);
}

Tree::Tree()
    : m_data(std::make_shared<TreeData>()) {}

Element Tree::firstNodeAsRoot() const {
    return m_data->firstNodeIsRoot ? Element(m_data, m_data->root) : Element();
}

Element Tree::rootElement() const {
    return m_data->root >= 0 ? Element(m_data, m_data->root) : Element();
}

Tree parseTree(const QByteArray& data, const QString& path) {
    auto d = std::make_shared<TreeData>();
    QXmlStreamReader reader(data);
    reader.setNamespaceProcessing(false);

    std::vector<int> open;      // the elements not yet closed
    std::vector<int> lastChild; // beside each, its last child so far
    bool sawNode = false;       // anything before the root that counts as a node

    auto append = [&](TreeData::Node node) {
        const int index = int(d->nodes.size());
        node.parent = open.empty() ? -1 : open.back();
        if (!open.empty()) {
            int& last = lastChild.back();
            if (last < 0)
                d->nodes[size_t(open.back())].firstChild = index;
            else
                d->nodes[size_t(last)].nextSibling = index;
            last = index;
        }
        d->nodes.push_back(node);
        return index;
    };

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            if (!reader.documentVersion().isEmpty())
                sawNode = true; // an XML declaration is the document's first node
            break;
        case QXmlStreamReader::StartElement: {
            TreeData::Node node;
            node.name = d->intern(reader.qualifiedName());
            node.attrBegin = int(d->attributes.size());
            const QXmlStreamAttributes attrs = reader.attributes();
            node.attrCount = int(attrs.size());
            for (const QXmlStreamAttribute& a : attrs)
                d->attributes.emplace_back(d->intern(a.qualifiedName()), a.value().toString());
            const int index = append(node);
            if (open.empty()) {
                d->root = index;
                d->firstNodeIsRoot = !sawNode;
            }
            open.push_back(index);
            lastChild.push_back(-1);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            lastChild.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (open.empty())
                break; // blanks around the root
            {
                // Adjacent pieces (text, CDATA, entity references) join into one text node.
                const int last = lastChild.back();
                if (last >= 0 && d->nodes[size_t(last)].name < 0) {
                    d->texts[d->nodes[size_t(last)].text] += reader.text();
                } else {
                    TreeData::Node node;
                    node.text = int(d->texts.size());
                    d->texts.append(reader.text().toString());
                    append(node);
                }
            }
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            if (open.empty() && d->root < 0)
                sawNode = true;
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        throw FileError(QStringLiteral("The file %1 is not valid XML: %2 (line %3, column %4)")
                            .arg(Files::shown(path), reader.errorString())
                            .arg(reader.lineNumber())
                            .arg(reader.columnNumber()));
    }
    d->nodes.shrink_to_fit();
    Tree tree;
    tree.m_data = std::move(d);
    return tree;
}

std::optional<Tree> loadTree(const QString& path) {
    const std::optional<QByteArray> data = Files::readRegularFileIfExists(path);
    if (!data)
        return std::nullopt;
    return parseTree(*data, path);
}

Tree loadExistingTree(const QString& path) {
    return parseTree(Files::readRegularFile(path), path);
}

} // namespace Xml
