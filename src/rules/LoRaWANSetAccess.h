// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class RuleTable;
class TextCatalogue;

// The LoRaWAN uplink and downlink rules of a configuration: the file LoRaWAN_SetAccess.xml, the
// settings the editor takes from ParGen.xml, the editor's grids as tables, and the data check.
namespace LoRaWAN {

enum class Direction { Uplink, Downlink };

// Grid columns; column 0 shows the rule number. The data columns are in the order of the file's
// attributes.
enum UplinkColumn : int {
    Up_N,
    Up_Enable,
    Up_StartByte,
    Up_NumByte,
    Up_OnChange,
    Up_OnCMD,
    Up_OnTimer,
    Up_Time,
    Up_FPort,
    Up_Mnemonic,
    UplinkColumns
};
enum DownlinkColumn : int {
    Down_N,
    Down_Enable,
    Down_StartByte,
    Down_NumByte,
    Down_FPort,
    Down_Mnemonic,
    DownlinkColumns
};

int columnCount(Direction direction);
int startByteColumn(Direction direction);
int fportColumn(Direction direction);
// True for the columns that hold "Y"/"N" check-box texts.
bool isCheckBoxColumn(Direction direction, int column);

// Rules per grid in the two FPort modes; the grid has one row more, the header.
inline constexpr int FixedModeRules = 256;
inline constexpr int VariableModeRules = 223;
inline int ruleCount(bool fportFixed) {
    return fportFixed ? FixedModeRules : VariableModeRules;
}

// Catalogue texts.
inline constexpr int TextPayloadNotSet = 1242;    // "Warning!! Max Payload Size not Set Up. ..."
inline constexpr int TextErrorRow = 1243;         // "Error row "
inline constexpr int TextDeleteRow = 1249;        // "Are you sure to delete the Row number "
inline constexpr int TextUplinkNotShown = 1258;   // "%d" rules not shown, "%d" the table's size
inline constexpr int TextDownlinkNotShown = 1259; // the same for the downlink list

// One rule: the texts of the data columns 1 to C-1, exactly as shown and stored.
using Rule = QStringList;

struct RuleLists {
    QList<Rule> uplink;
    QList<Rule> downlink;
    const QList<Rule>& list(Direction d) const { return d == Direction::Uplink ? uplink : downlink; }
    QList<Rule>& list(Direction d) { return d == Direction::Uplink ? uplink : downlink; }
};

// What the editor takes from ParGen.xml.
struct Settings {
    int MaxPayloadSize = 0; // LoRa_Payload_Size as a decimal integer; 0 when missing or not one
    bool FPortFixed = true; // false only for LoRa_FPort "Variable" (trimmed, any case)
};

// Reads the two settings from ParGen.xml; a missing file gives the defaults. Throws FileError when
// the file exists but cannot be read or is not well-formed.
Settings readSettings(const QString& parGenFile);

// A decimal integer: an optional sign and digits, nothing else (no blanks). Any other text is not a
// number; so what the check passes is what every reader of the file takes for the same number.
std::optional<qint64> decimal(const QString& text);

// Reads LoRaWAN_SetAccess.xml: the rules of LoRaWAN_Uplink and LoRaWAN_Downlink under the document's
// first node, every child element a rule, each missing attribute its default. A list that is missing
// reads as empty. Nothing when the file does not exist; FileError when it cannot be read or parsed.
std::optional<RuleLists> loadRules(const QString& path);
RuleLists parseRules(const QByteArray& data, const QString& path);

// The file's bytes: root LoRaWAN_Set_Access with the two lists, the SW_VERSION comment after it; no
// declaration, no indentation, every value as it is (characters XML cannot hold are left out).
QByteArray toXml(const RuleLists& rules);
// Writes toXml() atomically; FileError on failure, the old file then left whole.
void saveRules(const QString& path, const RuleLists& rules);

// The rules a grid holds: its rows from row 1 down to the last one before the first row whose Start
// Byte is blank.
QList<Rule> tableRules(const RuleTable& table, Direction direction);
// Every rule row: its number (row - 1) in column 0, "Y" in column 1, the other data columns empty.
void resetTable(RuleTable& table);
// Resets the table and fills rows 1.. from `rules`; returns how many rules found no row.
int fillTable(RuleTable& table, const QList<Rule>& rules);

// A broken rule of the data check: the rule's row (grid row, the rule number + 1), the catalogue text
// of the rule and, for the number of bytes, the bound it broke.
struct Failure {
    Direction direction;
    int row;
    int text;
    std::optional<qint64> bound;
    bool operator==(const Failure&) const = default;
};

// The check's rules in their order, the uplink list first; each list ends before its first rule with
// a blank Start Byte, and only rules whose Enable is "Y" (trimmed) are checked.
std::optional<Failure> firstFailure(const RuleLists& rules, const Settings& settings);
// Every failing rule with the first rule it breaks, in the same order.
QList<Failure> failures(const RuleLists& rules, const Settings& settings);
// "Error row " + row + the rule's text (+ the bound).
QString message(const Failure& failure, const TextCatalogue& texts);

// The editor's data check: the message of the first failure, or nothing when the rules pass.
std::optional<QString> Controllo_dati(const RuleLists& rules, const Settings& settings, const TextCatalogue& texts);

// The messages of every failure of the configuration's files, as the editor would check them: for a
// check without the editor. Throws FileError when a file cannot be read or parsed.
QStringList checkFiles(const QString& parGenFile, const QString& rulesFile, const TextCatalogue& texts);

// The warning for rules the grids cannot show (text 1258/1259 per list); empty when all fit.
QString notShownWarning(int uplinkNotShown, int downlinkNotShown, int capacity, const TextCatalogue& texts);

} // namespace LoRaWAN
