// SPDX-License-Identifier: MIT
#include "EchoClient.h"

#include <QStringList>

std::optional<quint32> parseDottedIPv4(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        uint value = 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            value = value * 10 + uint(c.unicode() - '0');
        }
        if (value > 255)
            return std::nullopt;
        address = (address << 8) | value;
    }
    return address;
}
