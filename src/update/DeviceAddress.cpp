// SPDX-License-Identifier: MIT
#include "DeviceAddress.h"

namespace DeviceAddress {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A part that is no number counts as out of range.
int partValue(const QString& part) {
    constexpr int NoNumber = 1000;
    if (part.isEmpty())
        return NoNumber;
    int value = 0;
    for (const QChar c : part) {
        if (!isDigit(c))
            return NoNumber;
        value = qMin(value * 10 + (c.unicode() - '0'), NoNumber);
    }
    return value;
}

} // namespace

std::optional<QStringList> split(const QString& text) {
    QStringList parts;
    QString rest = text.trimmed();
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return std::nullopt;
        parts << rest.left(dot).trimmed();
        rest = rest.mid(dot + 1).trimmed();
    }
    parts << rest;
    for (const QString& part : parts) {
        if (partValue(part) > 255)
            return std::nullopt;
    }
    return parts;
}

std::optional<quint32> parseDottedIPv4(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        if (part.size() > 3)
            return std::nullopt;
        const int value = partValue(part);
        if (value > 255)
            return std::nullopt;
        address = (address << 8) | quint32(value);
    }
    return address;
}

} // namespace DeviceAddress
