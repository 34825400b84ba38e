// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

// How the device-facing readers (image builder, payload check, configuration check) read the texts
// of the configuration files. Only ASCII is ever interpreted; anything else is kept or refused as it
// stands, so a value never depends on the locale.
namespace Values {

// An optional '+' or '-' followed by ASCII digits, nothing else (no blanks), within the signed 32-bit
// range; anything else gives nothing.
std::optional<qint32> toInt32(QStringView text);

// `text` without the characters with codes 0 to 32 at either end.
QString trimControls(QStringView text);

// `text` with the ASCII letters a-z changed to A-Z; every other character is kept.
QString asciiUpper(QStringView text);

// A check-box text of the rule files read leniently: "Y" once trimmed and upper-cased.
bool isYes(QStringView text);

} // namespace Values
