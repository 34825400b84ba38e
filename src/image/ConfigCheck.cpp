// SPDX-License-Identifier: MIT
#include "ConfigCheck.h"

#include "RuleFiles.h"
#include "common/FileError.h"
#include "language/TextCatalogue.h"
#include "params/ParGenSet.h"
#include "rules/LoRaWANSetAccess.h"
#include "rules/OpcUaVariables.h"
#include "rules/PayloadCheck.h"

#include <QFileInfo>
#include <algorithm>

namespace ConfigCheck {

namespace {

using Severity = Finding::Severity;

// Highest byte a LoRaWAN rule and an OPC UA variable may reach in the device's data array.
constexpr int LoRaWANLastByte = 1536;
constexpr int OpcUaLastByte = 1999;

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

QList<Finding> payload(const ConfigFiles& files, const TextCatalogue& texts) {
    const QList<PayloadCheck::Failure> failures = PayloadCheck::failingRules(files.parGen, files.loRaWAN);
    if (failures.isEmpty())
        return {};
    const int size = PayloadCheck::payloadSize(files.parGen);
    QList<Finding> out;
    for (const PayloadCheck::Failure& f : failures) {
        const QString numByte = f.numByte ? QStringLiteral("Num. Byte %1").arg(*f.numByte)
                                          : QStringLiteral("Num. Byte missing or not a number");
        const QString room = size >= 2 ? QStringLiteral("Max Payload Size %1 allows 0 to %2").arg(size).arg(size - 2)
                                       : QStringLiteral("Max Payload Size %1 leaves no room for a rule").arg(size);
        out.append({Severity::Error, fileName(files.loRaWAN), QStringLiteral("LoRaWAN_Uplink"), f.row,
                    QStringLiteral("%1 (%2; %3)").arg(texts.Text(PayloadCheck::TextNumByteTooLarge), numByte, room)});
    }
    return out;
}

QList<Finding> communication(const ConfigFiles& files, const TextCatalogue& texts) {
    if (!QFileInfo::exists(files.parGen)) {
        return {{Severity::Warning, fileName(files.parGen), QString(), 0,
                 QStringLiteral("the file does not exist: the images are built from default values and every "
                                "enabled uplink rule fails the payload check")}};
    }
    const ParGenSet set = ParGenSet::load(files.parGen);
    QList<Finding> out;
    for (int rule : ParGen::failingRules(set))
        out.append({Severity::Error, fileName(files.parGen), QString(), 0, ParGen::ruleMessage(set, rule, texts)});
    return out;
}

// The LoRaWAN editor's data check over the stored rules, every failing rule.
QList<Finding> loRaWANData(const ConfigFiles& files, const TextCatalogue& texts) {
    const std::optional<LoRaWAN::RuleLists> rules = LoRaWAN::loadRules(files.loRaWAN);
    if (!rules)
        return {};
    QList<Finding> out;
    for (const LoRaWAN::Failure& f : LoRaWAN::failures(*rules, LoRaWAN::readSettings(files.parGen)))
        out.append({Severity::Error, fileName(files.loRaWAN),
                    f.direction == LoRaWAN::Direction::Uplink ? QStringLiteral("LoRaWAN_Uplink")
                                                              : QStringLiteral("LoRaWAN_Downlink"),
                    f.row, LoRaWAN::message(f, texts)});
    return out;
}

// The OPC UA editor's data check over the stored variables, every failing row.
QList<Finding> opcUaData(const ConfigFiles& files, const TextCatalogue& texts) {
    QList<Finding> out;
    for (int row : OpcUaVariables::failingRows(OpcUaVariables::load(files.opcUa).rows))
        out.append({Severity::Error, fileName(files.opcUa), QStringLiteral("OPC_UA_Server_Variables"), row,
                    OpcUaVariables::positionError(row, texts)});
    return out;
}

// A run of bytes in the device's data array: its first and last byte. Empty runs have none.
struct Run {
    int row;
    int first;
    int last;
};

QString bytesText(const Run& r) {
    return r.first == r.last ? QStringLiteral("(byte %1)").arg(r.first)
                             : QStringLiteral("(bytes %1 to %2)").arg(r.first).arg(r.last);
}

// Runs ending beyond `lastByte`, and every pair of runs sharing a byte.
QList<Finding> runWarnings(QList<Run> runs, int lastByte, const QString& file, const QString& list,
                           const QString& what) {
    QList<Finding> out;
    for (const Run& r : runs) {
        if (r.last > lastByte)
            out.append({Severity::Warning, file, list, r.row,
                        QStringLiteral("%1 run %2 ends beyond byte %3").arg(what, bytesText(r)).arg(lastByte)});
    }
    std::stable_sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.first < b.first; });
    QList<std::pair<Run, Run>> pairs;
    for (qsizetype i = 0; i < runs.size(); ++i)
        for (qsizetype j = i + 1; j < runs.size() && runs[j].first <= runs[i].last; ++j)
            pairs.append(runs[i].row < runs[j].row ? std::pair(runs[i], runs[j]) : std::pair(runs[j], runs[i]));
    std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        return std::pair(a.first.row, a.second.row) < std::pair(b.first.row, b.second.row);
    });
    for (const auto& [a, b] : pairs)
        out.append({Severity::Warning, file, list, a.row,
                    QStringLiteral("%1 run %2 overlaps the run of row %3 %4")
                        .arg(what, bytesText(a))
                        .arg(b.row)
                        .arg(bytesText(b))});
    return out;
}

QList<Finding> loRaWANRuns(const ConfigFiles& files, const TextCatalogue&) {
    // The port mode does not change where the rules lie.
    const std::optional<RuleFiles::LoRaWANLists> lists = RuleFiles::readLoRaWAN(files.loRaWAN, false);
    if (!lists)
        return {};
    QList<Finding> out;
    const QString file = fileName(files.loRaWAN);
    const auto check = [&](const QList<RuleFiles::LoRaWANRule>& rules, const QString& list) {
        if (rules.size() > Image::RuleTableEntries)
            out.append({Severity::Warning, file, list, rules[Image::RuleTableEntries].row,
                        QStringLiteral("%1 enabled rules: only the first %2 reach the device; this row and the "
                                       "enabled rows after it are left out")
                            .arg(rules.size())
                            .arg(Image::RuleTableEntries)});
        QList<Run> runs;
        for (const RuleFiles::LoRaWANRule& r : rules.first(qMin<qsizetype>(rules.size(), Image::RuleTableEntries)))
            if (r.numByte > 0)
                runs.append({r.row, r.startByte, r.startByte + r.numByte - 1});
        out += runWarnings(runs, LoRaWANLastByte, file, list, QStringLiteral("the rule's"));
    };
    check(lists->uplink, QStringLiteral("LoRaWAN_Uplink"));
    check(lists->downlink, QStringLiteral("LoRaWAN_Downlink"));
    return out;
}

QList<Finding> opcUaVariables(const ConfigFiles& files, const TextCatalogue&) {
    const std::optional<QList<RuleFiles::OpcUaVariable>> variables = RuleFiles::readOpcUa(files.opcUa);
    if (!variables)
        return {};
    const QString file = fileName(files.opcUa);
    const QString list = QStringLiteral("OPC_UA_Server_Variables");
    QList<Run> runs;
    for (const RuleFiles::OpcUaVariable& v : *variables)
        if (v.length > 0)
            runs.append({v.row, v.position, v.position + v.length - 1});
    QList<Finding> out = runWarnings(runs, OpcUaLastByte, file, list, QStringLiteral("the variable's"));

    QHash<QString, int> firstRow;
    for (const RuleFiles::OpcUaVariable& v : *variables) {
        if (v.name.isEmpty())
            continue;
        const auto it = firstRow.constFind(v.name);
        if (it == firstRow.cend())
            firstRow.insert(v.name, v.row);
        else
            out.append({Severity::Warning, file, list, v.row,
                        QStringLiteral("the name \"%1\" is also the name of row %2").arg(v.name).arg(*it)});
    }
    return out;
}

} // namespace

const QList<Check>& checks() {
    // Another editor's data check joins here as a row of its own.
    static const QList<Check> list = {
        {"payload", payload},           {"communication", communication}, {"lorawan-rules", loRaWANData},
        {"opcua-positions", opcUaData}, {"lorawan-runs", loRaWANRuns},    {"opcua-variables", opcUaVariables},
    };
    return list;
}

QList<Finding> checkConfiguration(const ConfigFiles& files, const TextCatalogue& texts) {
    QList<Finding> out;
    QStringList fileErrors;
    for (const Check& check : checks()) {
        try {
            out += check.run(files, texts);
        } catch (const FileError& e) {
            if (!fileErrors.contains(e.message())) {
                fileErrors.append(e.message());
                out.append({Severity::Error, QString(), QString(), 0, e.message()});
            }
        }
    }
    return out;
}

QString describe(const Finding& f) {
    QString where = f.file;
    if (!f.list.isEmpty() || f.row > 0) {
        QString row = f.list;
        if (f.row > 0)
            row += (row.isEmpty() ? QStringLiteral("row ") : QStringLiteral(" row ")) + QString::number(f.row);
        where += (where.isEmpty() ? QString() : QStringLiteral(", ")) + row;
    }
    return (f.isError() ? QStringLiteral("error: ") : QStringLiteral("warning: ")) +
           (where.isEmpty() ? QString() : where + QStringLiteral(": ")) + f.message;
}

} // namespace ConfigCheck
