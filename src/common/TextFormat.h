// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

namespace Texts {

// A catalogue text with its printf-style "%d" placeholders filled: each "%d", from the left, takes the
// next of `numbers`. A "%d" beyond the numbers stays as written and numbers beyond the placeholders
// are left out, so a translation that drops a placeholder still reads. Text 497 holds one, text 5827
// two (a row number and a limit).
QString withNumbers(const QString& text, const QList<qint64>& numbers);

} // namespace Texts
