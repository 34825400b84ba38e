// SPDX-License-Identifier: MIT
#include "Settings.h"

#include "AppState.h"
#include "common/FileError.h"
#include "common/SaveFile.h"
#include "common/Xml.h"

#include <QXmlStreamWriter>

namespace Settings {

namespace {

const QString DefaultIpAddress = QStringLiteral("192.168.2.205");
const QString DefaultLanguage = QStringLiteral("English");

bool flag(const QDomElement& root, const QString& name) {
    return Xml::pathText(root, QStringLiteral("lastinternet"), name) == QStringLiteral("1");
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void applyDocument(AppState& state, const QDomDocument* doc) {
    // A null root (no document, or a first node that is not an element) makes every lookup miss.
    const QDomElement root = doc ? Xml::firstNodeAsRoot(*doc) : QDomElement();
    state.ActiveConfigName =
        Xml::pathText(root, QStringLiteral("lastproj"), QStringLiteral("projectname")).value_or(QString());
    state.LastIpAddress =
        Xml::pathText(root, QStringLiteral("lastipadd"), QStringLiteral("ipaddress")).value_or(DefaultIpAddress);
    state.LanguageName =
        Xml::pathText(root, QStringLiteral("lastlang"), QStringLiteral("language")).value_or(DefaultLanguage);
    state.EnableInternet = flag(root, QStringLiteral("enable_internet"));
    state.EnableUpdate = flag(root, QStringLiteral("enable_update"));
    state.EnableJumpFieldTables = flag(root, QStringLiteral("enable_jump_field_tables"));
    state.DoubleClickAutoSize = flag(root, QStringLiteral("Double_Click_Auto_Size"));
}

} // namespace

QString filePath(const AppState& state) {
    return state.ProgramFolder + QLatin1Char('/') + FileName;
}

void Read_Setting(AppState& state) {
    std::optional<QDomDocument> doc;
    try {
        doc = Xml::loadFile(filePath(state));
    } catch (const FileError&) {
        // A damaged settings file counts as a missing one.
        doc.reset();
    }
    applyDocument(state, doc ? &*doc : nullptr);
}

QByteArray toXml(const AppState& state) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    Xml::prepareWriter(w);
    w.writeStartElement(QStringLiteral("Conf_Settings"));

    w.writeStartElement(QStringLiteral("lastproj"));
    w.writeTextElement(QStringLiteral("projectname"), state.ActiveConfigName);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastipadd"));
    w.writeTextElement(QStringLiteral("ipaddress"), state.LastIpAddress);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastlang"));
    w.writeTextElement(QStringLiteral("language"), state.LanguageName);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastinternet"));
    w.writeTextElement(QStringLiteral("enable_internet"), flagText(state.EnableInternet));
    w.writeTextElement(QStringLiteral("enable_update"), flagText(state.EnableUpdate));
    w.writeTextElement(QStringLiteral("enable_jump_field_tables"), flagText(state.EnableJumpFieldTables));
    w.writeTextElement(QStringLiteral("Double_Click_Auto_Size"), flagText(state.DoubleClickAutoSize));
    w.writeEndElement();

    w.writeEndElement();
    return out;
}

void Save_Setting(const AppState& state) {
    saveFileOrThrow(filePath(state), toXml(state));
}

} // namespace Settings
