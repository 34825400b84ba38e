// SPDX-License-Identifier: MIT
#pragma once

#include "params/ParGenSet.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QStringList>
#include <QTest>

namespace ParamsTest {

using TestSupport::readFile;
using TestSupport::writeFile;

inline ParGen::Field fieldNamed(const QString& element) {
    for (int f = 0; f < ParGen::FieldCount; ++f)
        if (element == QLatin1String(ParGen::info(ParGen::Field(f)).element))
            return ParGen::Field(f);
    qFatal("unknown element %s", qPrintable(element));
}

// Applies "Element=value" entries to a set.
inline void apply(ParGenSet& set, const QStringList& changes) {
    for (const QString& c : changes) {
        const qsizetype eq = c.indexOf(QLatin1Char('='));
        set.setValue(fieldNamed(c.left(eq)), c.mid(eq + 1));
    }
}

// A set that passes every rule of the data check: the defaults with a poll time.
inline ParGenSet validSet() {
    ParGenSet set = ParGenSet::noFileDefaults();
    set.setValue(ParGen::NTP_Poll_Time, QStringLiteral("3600"));
    return set;
}

inline QString goldenDefaultsPath() {
    return QStringLiteral(TESSARO_FIXTURES "/params/pargen_defaults.xml");
}

} // namespace ParamsTest

// QCOMPARE shows two parameter sets as the files they would write.
inline char* toString(const ParGenSet& set) {
    return QTest::toString(QString::fromUtf8(set.toXml()));
}
