// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <optional>

// The check the main window runs before an update: every enabled uplink rule of LoRaWAN_SetAccess.xml
// against the maximum payload size of ParGen.xml, from the two files alone (never the editor).
namespace PayloadCheck {

// Catalogue text shown when the check fails.
inline constexpr int TextNumByteTooLarge =
    30; // "Error in configuration, Num. Byte not conformed with Max Payload Size"

struct Failure {
    int row = 0;                   // the rule's row in LoRaWAN_Uplink, counted from 1
    std::optional<qint32> numByte; // nothing when missing or not a number
};

// LoRa_Payload_Size of ParGen.xml as a number; 0 when the file, the element or a number is missing.
// Throws FileError when the file cannot be read or is not well-formed.
int payloadSize(const QString& parGenFile);

// Every enabled uplink rule whose NumByte is missing, not a number, below 0 or above the payload size
// minus 2. A rule counts as enabled exactly when the image builder sends it (Enable "Y" once trimmed
// and upper-cased, or no Enable at all). No rule file: nothing fails. Throws FileError when a file
// cannot be read or is not well-formed, or the rule file has no LoRaWAN_Uplink list.
QList<Failure> failingRules(const QString& parGenFile, const QString& loRaWANFile);

} // namespace PayloadCheck

// True when every enabled uplink rule fits the payload; throws FileError as failingRules.
bool Check_Config_LoraWAN(const QString& parGenFile, const QString& loRaWANFile);
