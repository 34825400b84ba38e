// SPDX-License-Identifier: MIT
#include "TextFormat.h"

namespace Texts {

QString withNumbers(const QString& text, const QList<qint64>& numbers) {
    static const QLatin1String placeholder("%d");
    QString out;
    out.reserve(text.size() + 16);
    qsizetype from = 0;
    for (const qint64 n : numbers) {
        const qsizetype at = text.indexOf(placeholder, from);
        if (at < 0)
            break;
        out += QStringView(text).mid(from, at - from);
        out += QString::number(n);
        from = at + placeholder.size();
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace Texts
