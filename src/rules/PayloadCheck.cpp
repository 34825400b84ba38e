// SPDX-License-Identifier: MIT
#include "PayloadCheck.h"

#include "common/FileError.h"
#include "common/ReadFile.h"
#include "common/TextValues.h"
#include "common/XmlTree.h"

namespace PayloadCheck {

int payloadSize(const QString& parGenFile) {
    const std::optional<Xml::Tree> tree = Xml::loadTree(parGenFile);
    if (!tree)
        return 0;
    const std::optional<QString> text = tree->firstNodeAsRoot().childText(u"LoRa_Payload_Size");
    return text ? Values::toInt32(*text).value_or(0) : 0;
}

QList<Failure> failingRules(const QString& parGenFile, const QString& loRaWANFile) {
    const qint64 bound = qint64(payloadSize(parGenFile)) - 2;
    const std::optional<Xml::Tree> tree = Xml::loadTree(loRaWANFile);
    if (!tree)
        return {};
    const Xml::Element uplink = tree->firstNodeAsRoot().firstChild(u"LoRaWAN_Uplink");
    if (uplink.isNull())
        throw FileError(QStringLiteral("The file %1 has no element LoRaWAN_Uplink.").arg(Files::shown(loRaWANFile)));

    QList<Failure> failures;
    int row = 0;
    for (Xml::Element e = uplink.firstChild(); !e.isNull(); e = e.nextSibling()) {
        ++row;
        // The same test as the image builder's: a rule the device gets is a rule that is checked.
        const std::optional<QString> enable = e.attribute(u"Enable");
        if (enable && !Values::isYes(*enable))
            continue;
        const std::optional<QString> text = e.attribute(u"NumByte");
        const std::optional<qint32> numByte = text ? Values::toInt32(*text) : std::nullopt;
        if (!numByte || *numByte < 0 || *numByte > bound)
            failures.append({row, numByte});
    }
    return failures;
}

} // namespace PayloadCheck

bool Check_Config_LoraWAN(const QString& parGenFile, const QString& loRaWANFile) {
    return PayloadCheck::failingRules(parGenFile, loRaWANFile).isEmpty();
}
