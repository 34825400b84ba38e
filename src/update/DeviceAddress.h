// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The converter's IPv4 address as the update dialog and the echo client read it.
namespace DeviceAddress {

// Splits a remembered address into the four texts of the dialog's edits. The text is trimmed; each of
// the first three parts ends at the next ".", the fourth is the rest; every part is trimmed. The split
// holds only when each part is a decimal number (digits alone) from 0 to 255; the parts are returned
// as the trimmed texts.
std::optional<QStringList> split(const QString& text);

// Reads "A.B.C.D": exactly four parts of one to three decimal digits, each 0 to 255 (a leading zero is
// still decimal). Anything else, a host name among them, is refused: the check never looks a name up.
// The result is in host byte order.
std::optional<quint32> parseDottedIPv4(const QString& text);

} // namespace DeviceAddress
