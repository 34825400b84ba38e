// SPDX-License-Identifier: MIT
#include "TextValues.h"

namespace Values {

std::optional<qint32> toInt32(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a magnitude with a bound, so a thousand digits cannot overflow anything.
    constexpr qint64 limit = qint64(1) << 31; // |INT32_MIN|
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    if (!negative && magnitude == limit)
        return std::nullopt;
    return qint32(negative ? -magnitude : magnitude);
}

QString trimControls(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin).toString();
}

QString asciiUpper(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return out;
}

bool isYes(QStringView text) {
    return asciiUpper(trimControls(text)) == u"Y";
}

} // namespace Values
