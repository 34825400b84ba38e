// SPDX-License-Identifier: MIT
#pragma once

#include "ImageBuilder.h"

#include <QList>
#include <QString>

class TextCatalogue;

// Every check a user would otherwise meet one dialog at a time, run over the stored files of one
// configuration, reporting every failing row at once; plus warnings where the files say something the
// device will not do as the user may think.
namespace ConfigCheck {

struct Finding {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    QString file; // file name within the configuration folder; empty for a file error (its text names it)
    QString list; // "LoRaWAN_Uplink", "LoRaWAN_Downlink", "OPC_UA_Server_Variables" or empty
    int row = 0;  // the row in its list, counted from 1; 0 when the finding has no row
    QString message;

    bool isError() const { return severity == Severity::Error; }
};

// One check: reads what it needs of the files and returns its findings. It may throw FileError; the
// runner reports that as an error of its own (once, however many checks meet the same broken file).
struct Check {
    const char* name;
    QList<Finding> (*run)(const ConfigFiles& files, const TextCatalogue& texts);
};

// The checks in the order they run. A data check of another editor joins by adding a row here.
const QList<Check>& checks();

QList<Finding> checkConfiguration(const ConfigFiles& files, const TextCatalogue& texts);

// "error: LoRaWAN_SetAccess.xml, LoRaWAN_Uplink row 3: <message>"
QString describe(const Finding& finding);

} // namespace ConfigCheck
