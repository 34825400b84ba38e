// SPDX-License-Identifier: MIT
#include "TextCatalogue.h"

#include "DefaultTexts.h"
#include "common/ReadFile.h"

#include <QStringDecoder>
#include <optional>

namespace {

constexpr QChar kPilcrow(0x00B6);
const QString kBlank(QLatin1Char(' '));

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

QStringView strip(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlankOrControl(s[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five unassigned bytes keep their C1 code
// point, as Windows itself decodes them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

QString decodeLanguageFile(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8).decode(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(bytes.sliced(2));
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes); // the ANSI code page
#else
    return decodeWindows1252(bytes);
#endif
}

// Decimal digits, leading zeros allowed, an optional "+". Anything else, a "-" included, gives no index.
std::optional<int> parseIndex(QStringView s) {
    if (s.startsWith(u'+'))
        s = s.sliced(1);
    if (s.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (value < TextCatalogue::Size) // beyond that the index is out of range anyway; avoid overflow
            value = value * 10 + (c.unicode() - u'0');
    }
    if (value >= TextCatalogue::Size)
        return std::nullopt;
    return value;
}

struct LanguageLine {
    int index;
    QString text;
};

std::optional<LanguageLine> parseLine(QStringView raw) {
    const QStringView line = strip(raw);
    if (!line.startsWith(u"STR"))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    // Characters 4 .. p-2 (1-based, p the position of "="): the one just before "=" is dropped.
    const qsizetype numberLength = eq - 4;
    if (numberLength <= 0)
        return std::nullopt;
    const std::optional<int> index = parseIndex(strip(line.sliced(3, numberLength)));
    if (!index)
        return std::nullopt;
    QStringView text = strip(line.sliced(eq + 1));
    if (text.isEmpty())
        return std::nullopt;
    if (const qsizetype comment = text.indexOf(u"/#/"); comment >= 0) {
        text = strip(text.first(comment));
        if (text.isEmpty())
            return std::nullopt;
    }
    if (text.startsWith(kPilcrow))
        text = text.sliced(1);
    if (const qsizetype pilcrow = text.indexOf(kPilcrow); pilcrow >= 0)
        text = text.first(pilcrow);
    return LanguageLine{*index, text.toString()};
}

} // namespace

const QString& TextCatalogue::Text(int index) const {
    static const QString empty;
    if (index < 0 || index >= m_texts.size())
        return empty;
    return m_texts[index];
}

void TextCatalogue::Build_Default_Texts() {
    fillWithBlanks();
    for (const DefaultTextEntry& e : defaultTextTable())
        m_texts[e.index] = defaultText(e.index);
}

void TextCatalogue::fillWithBlanks() {
    m_texts.clear();
    m_texts.reserve(Size);
    for (int i = 0; i < Size; ++i)
        m_texts.append(kBlank);
}

void TextCatalogue::Read_Language_File(const QString& path) {
    // Read whole before anything changes, so a file that cannot be read leaves the catalogue as it was.
    readLanguageBytes(Files::readRegularFile(path));
}

void TextCatalogue::readLanguageBytes(const QByteArray& bytes) {
    if (m_texts.size() != Size)
        fillWithBlanks();
    const QString content = decodeLanguageFile(bytes);
    // CR LF, LF and CR all end a line; the empty "line" between CR and LF is skipped like any other.
    qsizetype start = 0;
    while (start <= content.size()) {
        qsizetype end = start;
        while (end < content.size() && content[end] != u'\r' && content[end] != u'\n')
            ++end;
        if (const auto line = parseLine(QStringView(content).sliced(start, end - start)))
            m_texts[line->index] = line->text;
        start = end + 1;
    }
}

void TextCatalogue::Load_Language(const QString& languageFolder, QString& languageName) {
    Build_Default_Texts();
    // Something at the path, even a file that cannot be read, is the language file: the read reports
    // it. Only a name that leads to nothing, or that is no plain file name ("../x" would reach outside
    // the folder), falls back to English.
    if (Files::isPlainName(languageName)) {
        const QString path = languageFolder + QLatin1Char('/') + languageName + QStringLiteral(".lng");
        if (std::optional<QByteArray> bytes = Files::readRegularFileIfExists(path)) {
            readLanguageBytes(*bytes);
            return;
        }
    }
    languageName = DefaultLanguage;
    const QString english = languageFolder + QLatin1Char('/') + DefaultLanguage + QStringLiteral(".lng");
    if (std::optional<QByteArray> bytes = Files::readRegularFileIfExists(english))
        readLanguageBytes(*bytes);
}

QString TextCatalogue::toLanguageFile() const {
    QString out;
    out.reserve(count() * 24);
    for (int i = 0; i < count(); ++i) {
        const QString& text = m_texts[i];
        if (text == kBlank)
            continue;
        const bool protect = text.isEmpty() || isBlankOrControl(text.front()) || isBlankOrControl(text.back());
        out += QStringLiteral("STR%1 = ").arg(i, 4, 10, QLatin1Char('0'));
        if (protect)
            out += kPilcrow + text + kPilcrow;
        else
            out += text;
        out += QStringLiteral("\r\n");
    }
    return out;
}
