// SPDX-License-Identifier: MIT
#include "LoRaWANSetAccess.h"

#include "RuleTable.h"
#include "common/ReadFile.h"
#include "common/SaveFile.h"
#include "common/TextFormat.h"
#include "common/Xml.h"
#include "common/XmlTree.h"
#include "language/TextCatalogue.h"

#include <QXmlStreamWriter>
#include <limits>

namespace LoRaWAN {

namespace {

const QString kRoot = QStringLiteral("LoRaWAN_Set_Access");
const QString kUplink = QStringLiteral("LoRaWAN_Uplink");
const QString kDownlink = QStringLiteral("LoRaWAN_Downlink");
const QString kRow = QStringLiteral("row");
const QString kVersionComment = QStringLiteral("SW_VERSION = 1.001");

struct Attribute {
    const char16_t* name;
    const char16_t* fallback; // when the attribute is missing
};

// Data columns 1.. in order.
constexpr Attribute kUplinkAttributes[] = {
    {u"Enable", u"Y"},  {u"StartByte", u""}, {u"NumByte", u""}, {u"OnChange", u"N"}, {u"OnCMD", u"N"},
    {u"OnTimer", u"N"}, {u"Time", u""},      {u"FPort", u""},   {u"Mnemonic", u""},
};
constexpr Attribute kDownlinkAttributes[] = {
    {u"Enable", u"Y"}, {u"StartByte", u""}, {u"NumByte", u""}, {u"FPort", u""}, {u"Mnemonic", u""},
};
static_assert(std::size(kUplinkAttributes) == UplinkColumns - 1);
static_assert(std::size(kDownlinkAttributes) == DownlinkColumns - 1);

const Attribute* attributes(Direction d) {
    return d == Direction::Uplink ? kUplinkAttributes : kDownlinkAttributes;
}

constexpr Direction kDirections[] = {Direction::Uplink, Direction::Downlink};

constexpr qint64 MaxStartByte = 1536;
constexpr qint64 MinTime = 30;
constexpr qint64 MaxTime = 86400;
constexpr qint64 MinFPort = 1;
constexpr qint64 MaxFPort = 223;

struct RuleTexts {
    int startByte, numByte, time, fport;
};
constexpr RuleTexts kUplinkTexts{1244, 1245, 1246, 1254};
constexpr RuleTexts kDownlinkTexts{1247, 1248, 0, 1255};

bool inRange(const QString& text, qint64 low, qint64 high) {
    const qint64 n = decimal(text).value_or(-1);
    return n >= low && n <= high;
}

bool isBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

// Rule i's text in data column `column` (1..).
const QString& field(const Rule& rule, int column) {
    static const QString none;
    return column - 1 < rule.size() ? rule[column - 1] : none;
}

// The first rule the rule breaks; nothing when it passes or is not enabled.
std::optional<Failure> checkRule(Direction d, int row, const Rule& rule, const Settings& settings) {
    if (field(rule, 1).trimmed() != RuleTable::CheckedText)
        return std::nullopt;
    const bool up = d == Direction::Uplink;
    const RuleTexts& texts = up ? kUplinkTexts : kDownlinkTexts;
    if (!inRange(field(rule, startByteColumn(d)), 0, MaxStartByte))
        return Failure{d, row, texts.startByte, std::nullopt};
    const qint64 bound = qint64(settings.MaxPayloadSize) - 2;
    if (!inRange(field(rule, up ? int(Up_NumByte) : int(Down_NumByte)), 0, bound))
        return Failure{d, row, texts.numByte, bound};
    if (up && field(rule, Up_OnTimer).trimmed() == RuleTable::CheckedText &&
        !inRange(field(rule, Up_Time), MinTime, MaxTime))
        return Failure{d, row, texts.time, std::nullopt};
    if (!settings.FPortFixed && !inRange(field(rule, fportColumn(d)), MinFPort, MaxFPort))
        return Failure{d, row, texts.fport, std::nullopt};
    return std::nullopt;
}

// Runs the check over both lists; `all` goes on after a failure.
QList<Failure> check(const RuleLists& rules, const Settings& settings, bool all) {
    QList<Failure> out;
    for (Direction d : kDirections) {
        const QList<Rule>& list = rules.list(d);
        for (int i = 0; i < list.size(); ++i) {
            if (isBlank(field(list[i], startByteColumn(d))))
                break;
            if (const std::optional<Failure> f = checkRule(d, i + 1, list[i], settings)) {
                out.append(*f);
                if (!all)
                    return out;
            }
        }
    }
    return out;
}

QList<Rule> readList(const Xml::Element& list, Direction d) {
    QList<Rule> out;
    const Attribute* attrs = attributes(d);
    const int count = columnCount(d) - 1;
    // Only elements are rules: a comment a hand has put into the list is none.
    for (const Xml::Element& row : list.children()) {
        Rule rule;
        rule.reserve(count);
        for (int a = 0; a < count; ++a)
            rule.append(row.attribute(attrs[a].name).value_or(QString::fromUtf16(attrs[a].fallback)));
        out.append(rule);
    }
    return out;
}

void writeList(QXmlStreamWriter& w, const QString& name, const QList<Rule>& list, Direction d) {
    const Attribute* attrs = attributes(d);
    const int count = columnCount(d) - 1;
    w.writeStartElement(name);
    for (const Rule& rule : list) {
        w.writeStartElement(kRow);
        for (int a = 0; a < count; ++a)
            w.writeAttribute(QString::fromUtf16(attrs[a].name), Xml::xmlSafe(field(rule, a + 1)));
        w.writeEndElement();
    }
    w.writeEndElement();
}

QByteArray render(const RuleLists& rules, const QString& path) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    Xml::prepareWriter(w);
    w.writeStartElement(kRoot);
    writeList(w, kUplink, rules.uplink, Direction::Uplink);
    writeList(w, kDownlink, rules.downlink, Direction::Downlink);
    w.writeEndElement();
    w.writeComment(kVersionComment);
    Xml::checkWriter(w, path);
    return out;
}

} // namespace

int columnCount(Direction direction) {
    return direction == Direction::Uplink ? int(UplinkColumns) : int(DownlinkColumns);
}

int startByteColumn(Direction direction) {
    return direction == Direction::Uplink ? int(Up_StartByte) : int(Down_StartByte);
}

int fportColumn(Direction direction) {
    return direction == Direction::Uplink ? int(Up_FPort) : int(Down_FPort);
}

bool isCheckBoxColumn(Direction direction, int column) {
    if (direction == Direction::Downlink)
        return column == Down_Enable;
    return column == Up_Enable || column == Up_OnChange || column == Up_OnCMD || column == Up_OnTimer;
}

std::optional<qint64> decimal(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const int digitsFrom = (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) ? 1 : 0;
    if (digitsFrom == text.size())
        return std::nullopt;
    for (qsizetype k = digitsFrom; k < text.size(); ++k)
        if (text[k] < QLatin1Char('0') || text[k] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

Settings readSettings(const QString& parGenFile) {
    Settings settings;
    const std::optional<Xml::Tree> tree = Xml::loadTree(parGenFile);
    if (!tree)
        return settings;
    const Xml::Element root = tree->firstNodeAsRoot();
    if (const std::optional<QString> size = root.childText(u"LoRa_Payload_Size")) {
        const std::optional<qint64> n = decimal(*size);
        if (n && *n >= std::numeric_limits<int>::min() && *n <= std::numeric_limits<int>::max())
            settings.MaxPayloadSize = int(*n);
    }
    if (const std::optional<QString> port = root.childText(u"LoRa_FPort"))
        settings.FPortFixed = port->trimmed().toUpper() != QLatin1String("VARIABLE");
    return settings;
}

RuleLists parseRules(const QByteArray& data, const QString& path) {
    const Xml::Tree tree = Xml::parseTree(data, path);
    const Xml::Element root = tree.firstNodeAsRoot();
    RuleLists rules;
    rules.uplink = readList(root.firstChild(kUplink), Direction::Uplink);
    rules.downlink = readList(root.firstChild(kDownlink), Direction::Downlink);
    return rules;
}

std::optional<RuleLists> loadRules(const QString& path) {
    const std::optional<QByteArray> data = Files::readRegularFileIfExists(path);
    if (!data)
        return std::nullopt;
    return parseRules(*data, path);
}

QByteArray toXml(const RuleLists& rules) {
    return render(rules, QString());
}

void saveRules(const QString& path, const RuleLists& rules) {
    saveFileOrThrow(path, render(rules, path));
}

QList<Rule> tableRules(const RuleTable& table, Direction direction) {
    QList<Rule> out;
    const int start = startByteColumn(direction);
    for (int r = 1; r < table.gridRows(); ++r) {
        if (isBlank(table.cellText(r, start)))
            break;
        Rule rule;
        rule.reserve(table.gridColumns() - 1);
        for (int c = 1; c < table.gridColumns(); ++c)
            rule.append(table.cellText(r, c));
        out.append(rule);
    }
    return out;
}

void resetTable(RuleTable& table) {
    RuleTable::Batch batch(table);
    for (int r = 1; r < table.gridRows(); ++r) {
        table.setCellText(r, 0, QString::number(r - 1));
        for (int c = 1; c < table.gridColumns(); ++c)
            table.setCellText(r, c, c == 1 ? RuleTable::CheckedText : QString());
    }
}

int fillTable(RuleTable& table, const QList<Rule>& rules) {
    RuleTable::Batch batch(table);
    resetTable(table);
    const int rows = table.gridRows() - 1;
    const int shown = qMin(rows, int(rules.size()));
    for (int i = 0; i < shown; ++i)
        for (int c = 1; c < table.gridColumns(); ++c)
            table.setCellText(i + 1, c, field(rules[i], c));
    return int(rules.size()) - shown;
}

std::optional<Failure> firstFailure(const RuleLists& rules, const Settings& settings) {
    const QList<Failure> found = check(rules, settings, false);
    return found.isEmpty() ? std::nullopt : std::optional<Failure>(found.first());
}

QList<Failure> failures(const RuleLists& rules, const Settings& settings) {
    return check(rules, settings, true);
}

QString message(const Failure& failure, const TextCatalogue& texts) {
    QString out = texts.Text(TextErrorRow) + QString::number(failure.row) + texts.Text(failure.text);
    if (failure.bound)
        out += QString::number(*failure.bound);
    return out;
}

std::optional<QString> Controllo_dati(const RuleLists& rules, const Settings& settings, const TextCatalogue& texts) {
    const std::optional<Failure> failure = firstFailure(rules, settings);
    if (!failure)
        return std::nullopt;
    return message(*failure, texts);
}

QStringList checkFiles(const QString& parGenFile, const QString& rulesFile, const TextCatalogue& texts) {
    const Settings settings = readSettings(parGenFile);
    const RuleLists rules = loadRules(rulesFile).value_or(RuleLists());
    QStringList out;
    for (const Failure& f : failures(rules, settings))
        out.append(message(f, texts));
    return out;
}

QString notShownWarning(int uplinkNotShown, int downlinkNotShown, int capacity, const TextCatalogue& texts) {
    QStringList lines;
    if (uplinkNotShown > 0)
        lines.append(Texts::withNumbers(texts.Text(TextUplinkNotShown), {uplinkNotShown, capacity}));
    if (downlinkNotShown > 0)
        lines.append(Texts::withNumbers(texts.Text(TextDownlinkNotShown), {downlinkNotShown, capacity}));
    return lines.join(QLatin1Char('\n'));
}

} // namespace LoRaWAN
