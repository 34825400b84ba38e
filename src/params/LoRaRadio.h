// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// LoRaWAN regions, their data-rate items and the payload limit of every item. Item texts are exact:
// tabs and runs of blanks are part of the stored value.
namespace LoRaRadio {

// The seven region texts in list order.
const QStringList& regions();

// Position of `region` in regions() compared exactly, or -1.
int regionPosition(const QString& region);

// The data-rate items of the region named exactly `region`; empty when it names none.
QStringList dataRateItems(const QString& region);

// Maximum payload in bytes for the exact pair (region, data-rate item); 0 when the pair is unknown.
int Find_Max_PayLoad(const QString& region, const QString& dataRate);

// True for the regions that use a frequency sub-band (positions 1, 5 and 6).
bool subBandApplies(int regionPosition);

} // namespace LoRaRadio
