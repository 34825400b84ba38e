// SPDX-License-Identifier: MIT
#include "LoRaRadio.h"

#include <array>

namespace LoRaRadio {

namespace {

struct Region {
    const char* name;
    bool subBand; // the frequency sub-band applies
};

// In list order; the position is what the sub-band rule looks at.
const std::array<Region, 7> kRegions{{
    {"AS923", false},
    {"AU915", true},
    {"EU868", false},
    {"KR920", false},
    {"IN865", false},
    {"US915", true},
    {"US915-Hybrid", true},
}};

struct PayloadLimit {
    const char* region;
    const char* dataRate; // stored in ParGen.xml as it stands here, tabs and doubled blanks included
    int maxPayload;
};

// Each region's data-rate list in list order, with the payload limit of every item.
// clang-format off
const PayloadLimit kPayloadTable[] = {
    {"AS923", "0\t- LoRa: SF12/125kHz 250 [bit/s]", 59},
    {"AS923", "1\t- LoRa: SF11/125kHz 440 [bit/s]", 59},
    {"AS923", "2\t- LoRa: SF10/125kHz 980 [bit/s]", 59},
    {"AS923", "3\t- LoRa: SF9/125kHz 1760 [bit/s]", 123},
    {"AS923", "4\t- LoRa: SF8/125kHz 3125 [bit/s]", 230},
    {"AS923", "5\t- LoRa: SF7/125kHz 5470 [bit/s]", 230},
    {"AS923", "6\t- LoRa: SF7/250kHz 11000 [bit/s]", 230},
    {"AS923", "7\t- FSK: 50kbps 50000 [bit/s]", 230},
    {"AU915", "0  - LoRa: SF12/125kHz 250 [bit/s]", 51},
    {"AU915", "1  - LoRa: SF11/125kHz 440 [bit/s]", 51},
    {"AU915", "2  - LoRa: SF10/125kHz 980 [bit/s]", 51},
    {"AU915", "3  - LoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"AU915", "4  - LoRa: SF8/125kHz 3125 [bit/s]", 222},
    {"AU915", "5  - LoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"AU915", "6  - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"AU915", "8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {"AU915", "9  - LoRa: SF11/500kHz 1760 [bit/s]", 109},
    {"AU915", "10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"AU915", "11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},
    {"AU915", "12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"AU915", "13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
    {"EU868", "0 -\tLoRa: SF12/125kHz 250 [bit/s]", 51},
    {"EU868", "1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"EU868", "2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},
    {"EU868", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"EU868", "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222},
    {"EU868", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"EU868", "6 - LoRa: SF7/250kHz 11000 [bit/s]", 222},
    {"EU868", "7 - FSK: 50kbps 50000 [bit/s]", 222},
    {"KR920", "0 - LoRa: SF12/125kHz 250 [bit/s]", 51},
    {"KR920", "1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"KR920", "2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},
    {"KR920", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"KR920", "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222},
    {"KR920", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"IN865", "0 - LoRa: SF12/125kHz 250 [bit/s]", 51},
    {"IN865", "1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"IN865", "2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},
    {"IN865", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"IN865", "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222},
    {"IN865", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"IN865", "7 -\tFSK: 50kbps 50000 [bit/s]", 222},
    {"US915", "0  -\tLoRa: SF10/125kHz 980 [bit/s]", 11},
    {"US915", "1  -\tLoRa: SF9/125kHz 1760 [bit/s]", 53},
    {"US915", "2  -\tLoRa: SF8/125kHz 3125 [bit/s]", 125},
    {"US915", "3  -\tLoRa: SF7/125kHz 5470 [bit/s]", 242},
    {"US915", "4  -\tLoRa: SF8/500kHz 12500 [bit/s]", 242},
    {"US915", "8  -\tLoRa: SF12/500kHz 980 [bit/s]", 33},
    {"US915", "9  -\tLoRa: SF11/500kHz 1760 [bit/s]", 109},
    {"US915", "10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"US915", "11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},
    {"US915", "12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"US915", "13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
    {"US915-Hybrid", "0  - LoRa: SF10/125kHz 980 [bit/s]", 11},
    {"US915-Hybrid", "1  - LoRa: SF9/125kHz 1760 [bit/s]", 53},
    {"US915-Hybrid", "2  - LoRa: SF8/125kHz 3125 [bit/s]", 125},
    {"US915-Hybrid", "3  - LoRa: SF7/125kHz 5470 [bit/s]", 242},
    {"US915-Hybrid", "4  - LoRa: SF8/500kHz 12500 [bit/s]", 242},
    {"US915-Hybrid", "8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {"US915-Hybrid", "9  - LoRa: SF11/500kHz 1760 [bit/s]", 109},
    {"US915-Hybrid", "10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"US915-Hybrid", "11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},
    {"US915-Hybrid", "12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"US915-Hybrid", "13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};
// clang-format on

} // namespace

const QStringList& regions() {
    static const QStringList list = [] {
        QStringList out;
        for (const Region& r : kRegions)
            out << QString::fromLatin1(r.name);
        return out;
    }();
    return list;
}

int regionPosition(const QString& region) {
    return int(regions().indexOf(region));
}

QStringList dataRateItems(const QString& region) {
    QStringList out;
    for (const PayloadLimit& row : kPayloadTable)
        if (region == QLatin1String(row.region))
            out << QString::fromLatin1(row.dataRate);
    return out;
}

int Find_Max_PayLoad(const QString& region, const QString& dataRate) {
    for (const PayloadLimit& row : kPayloadTable)
        if (region == QLatin1String(row.region) && dataRate == QLatin1String(row.dataRate))
            return row.maxPayload;
    return 0;
}

bool subBandApplies(int regionPosition) {
    return regionPosition >= 0 && regionPosition < int(kRegions.size()) && kRegions[regionPosition].subBand;
}

} // namespace LoRaRadio
