// SPDX-License-Identifier: MIT
#include "XmlTree.h"

#include "FileError.h"
#include "ReadFile.h"

#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <string_view>
#include <vector>

namespace Xml {

// Nodes live in one array and link by index; every text and attribute value lives in one buffer of
// characters. A few words per element whatever the file holds, and no allocation per text.
struct TreeData {
    struct Node {
        int name = -1; // index into names; -1 for a text node
        int parent = -1;
        int firstChild = -1;
        int nextSibling = -1;
        int first = 0; // an element's first attribute; a text's first character in chars
        int count = 0; // an element's number of attributes; a text's length
    };
    struct Attribute {
        int name;
        int first; // in chars
        int length;
    };
    std::vector<Node> nodes;
    std::vector<Attribute> attributes;
    QString chars;
    QStringList names; // each tag and attribute name once
    QHash<QString, int> nameIds;
    int root = -1;
    bool firstNodeIsRoot = false;

    // The configuration files use a few dozen names: a scan without allocation finds them faster than
    // a hash lookup that first copies the name. Past that, a file of many names goes by the hash.
    static constexpr qsizetype ScanNames = 48;

    int idOf(QStringView name) const {
        if (names.size() <= ScanNames) {
            for (qsizetype i = 0; i < names.size(); ++i) {
                if (names.at(i) == name)
                    return int(i);
            }
            return -2;
        }
        return nameIds.value(name.toString(), -2);
    }
    int intern(QStringView name) {
        const int known = idOf(name);
        if (known >= 0)
            return known;
        const QString key = name.toString();
        const int id = int(names.size());
        names.append(key);
        nameIds.insert(key, id);
        return id;
    }

    QStringView textOf(const Node& n) const { return QStringView(chars).sliced(n.first, n.count); }

    // Walks the subtree through the links, without recursion: nesting may be deep.
    void appendText(QString& out, int index) const {
        int c = nodes[size_t(index)].firstChild;
        while (c >= 0) {
            const Node& n = nodes[size_t(c)];
            if (n.name < 0)
                out += textOf(n);
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
    // The usual case: one text and nothing else.
    if (n.firstChild >= 0 && nodes[size_t(n.firstChild)].name < 0 && nodes[size_t(n.firstChild)].nextSibling < 0)
        return m_data->textOf(nodes[size_t(n.firstChild)]).toString();
    QString out;
    m_data->appendText(out, m_index);
    return out;
}

std::optional<QString> Element::attribute(QStringView name) const {
    if (!m_data)
        return std::nullopt;
    const int id = m_data->idOf(name);
    const TreeData::Node& n = m_data->nodes[size_t(m_index)];
    for (int i = n.first; i < n.first + n.count; ++i) {
        const TreeData::Attribute& a = m_data->attributes[size_t(i)];
        if (a.name == id)
            return QStringView(m_data->chars).sliced(a.first, a.length).toString();
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

namespace {

FileError refused(const QString& path, const QString& reason) {
    return FileError(QStringLiteral("Cannot read the file %1: %2").arg(Files::shown(path), reason));
}

// One linear pass over the markup before the parser sees it: QXmlStreamReader compares every attribute
// of an element with every other, so one element with a hundred thousand attributes costs minutes.
// Comments, CDATA sections, processing instructions and quoted values are stepped over, so only real
// attributes count. A document type declaration is refused here, before anything expands it.
template <typename Char> void checkMarkup(std::basic_string_view<Char> s, const QString& path) {
    using View = std::basic_string_view<Char>;
    const auto startsAt = [&](size_t i, const char* what) {
        for (size_t k = 0; what[k]; ++k) {
            if (i + k >= s.size() || s[i + k] != Char(what[k]))
                return false;
        }
        return true;
    };
    const auto lineOf = [&](size_t at) { return 1 + std::count(s.begin(), s.begin() + qsizetype(at), Char('\n')); };
    const auto skipPast = [&](size_t from, const char* end) {
        const size_t length = std::char_traits<char>::length(end);
        std::basic_string<Char> needle(end, end + length);
        const size_t at = s.find(View(needle), from);
        return at == View::npos ? s.size() : at + length;
    };

    size_t i = 0;
    while (i < s.size()) {
        const size_t lt = s.find(Char('<'), i);
        if (lt == View::npos)
            return;
        if (startsAt(lt, "<!--")) {
            i = skipPast(lt + 4, "-->");
        } else if (startsAt(lt, "<![CDATA[")) {
            i = skipPast(lt + 9, "]]>");
        } else if (startsAt(lt, "<?")) {
            i = skipPast(lt + 2, "?>");
        } else if (startsAt(lt, "<!DOCTYPE")) {
            throw refused(path, QStringLiteral("it holds a document type declaration (line %1), which no file of this "
                                               "program has")
                                    .arg(lineOf(lt)));
        } else {
            // A tag: count the '=' outside quoted values, up to its closing '>'.
            int attributes = 0;
            size_t k = lt + 1;
            while (k < s.size() && s[k] != Char('>') && s[k] != Char('<')) {
                const Char c = s[k];
                if (c == Char('"') || c == Char('\'')) {
                    const size_t close = s.find(c, k + 1);
                    k = close == View::npos ? s.size() : close + 1;
                    continue;
                }
                if (c == Char('=') && ++attributes > MaxAttributes) {
                    throw refused(path, QStringLiteral("the element at line %1 has more than %2 attributes, far more "
                                                       "than any file of this program")
                                            .arg(lineOf(lt))
                                            .arg(MaxAttributes));
                }
                ++k;
            }
            i = k;
        }
    }
}

void checkMarkup(const QByteArray& data, const QString& path) {
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(data, u'<');
    if (!encoding || *encoding == QStringConverter::Utf8) {
        checkMarkup(std::string_view(data.constData(), size_t(data.size())), path);
        return;
    }
    // UTF-16 or UTF-32: a byte of another character may look like a quote or '<'; look at characters.
    const QString text = QStringDecoder(*encoding).decode(data);
    checkMarkup(std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()), size_t(text.size())), path);
}

} // namespace

Tree parseTree(const QByteArray& data, const QString& path) {
    // The buffer offsets are ints; the bound keeps every file far below that.
    if (data.size() > Files::MaxReadSize)
        throw refused(path, QStringLiteral("it is larger than %1 bytes").arg(Files::MaxReadSize));
    checkMarkup(data, path);

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
            node.first = int(d->attributes.size());
            const QXmlStreamAttributes attrs = reader.attributes();
            node.count = int(attrs.size());
            for (const QXmlStreamAttribute& a : attrs) {
                const QStringView value = a.value();
                d->attributes.push_back({d->intern(a.qualifiedName()), int(d->chars.size()), int(value.size())});
                d->chars += value;
            }
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
                // Adjacent pieces (text, CDATA, character references) join into one text node. Only
                // an element's start adds characters between two pieces, and it also ends the run,
                // so the text being joined always ends the buffer.
                const QStringView piece = reader.text();
                const int last = lastChild.back();
                if (last >= 0 && d->nodes[size_t(last)].name < 0) {
                    d->nodes[size_t(last)].count += int(piece.size());
                } else {
                    TreeData::Node node;
                    node.first = int(d->chars.size());
                    node.count = int(piece.size());
                    append(node);
                }
                d->chars += piece;
            }
            break;
        case QXmlStreamReader::DTD:
            // Stopped by checkMarkup already; kept so that no path ever expands its entities.
            throw refused(path, QStringLiteral("it holds a document type declaration, which no file of this "
                                               "program has"));
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
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
    d->chars.squeeze();
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
