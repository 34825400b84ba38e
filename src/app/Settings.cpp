// SPDX-License-Identifier: MIT
#include "Settings.h"

#include "AppState.h"
#include "common/FileError.h"
#include "common/SaveFile.h"
#include "common/Xml.h"
#include "common/XmlTree.h"

#include <QXmlStreamWriter>

namespace Settings {

namespace {

bool flag(const Xml::Element& root, const QString& name) {
    return root.pathText(u"lastinternet", name) == QStringLiteral("1");
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A null root (no file, or a first node that is not an element) makes every lookup miss.
void applyRoot(AppState& state, const Xml::Element& root) {
    state.ActiveConfigName = root.pathText(u"lastproj", u"projectname").value_or(QString());
    state.LastIpAddress = root.pathText(u"lastipadd", u"ipaddress").value_or(AppState::DefaultIpAddress);
    state.LanguageName = root.pathText(u"lastlang", u"language").value_or(TextCatalogue::DefaultLanguage);
    state.EnableInternet = flag(root, QStringLiteral("enable_internet"));
    state.EnableUpdate = flag(root, QStringLiteral("enable_update"));
    state.EnableJumpFieldTables = flag(root, QStringLiteral("enable_jump_field_tables"));
    state.DoubleClickAutoSize = flag(root, QStringLiteral("Double_Click_Auto_Size"));
}

void writeDocument(QXmlStreamWriter& w, const AppState& state) {
    Xml::prepareWriter(w);
    w.writeStartElement(QStringLiteral("Conf_Settings"));

    w.writeStartElement(QStringLiteral("lastproj"));
    Xml::writeTextElement(w, QStringLiteral("projectname"), state.ActiveConfigName);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastipadd"));
    Xml::writeTextElement(w, QStringLiteral("ipaddress"), state.LastIpAddress);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastlang"));
    Xml::writeTextElement(w, QStringLiteral("language"), state.LanguageName);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("lastinternet"));
    Xml::writeTextElement(w, QStringLiteral("enable_internet"), flagText(state.EnableInternet));
    Xml::writeTextElement(w, QStringLiteral("enable_update"), flagText(state.EnableUpdate));
    Xml::writeTextElement(w, QStringLiteral("enable_jump_field_tables"), flagText(state.EnableJumpFieldTables));
    Xml::writeTextElement(w, QStringLiteral("Double_Click_Auto_Size"), flagText(state.DoubleClickAutoSize));
    w.writeEndElement();

    w.writeEndElement();
}

} // namespace

QString filePath(const AppState& state) {
    return state.ProgramFolder + QLatin1Char('/') + FileName;
}

void Read_Setting(AppState& state) {
    std::optional<Xml::Tree> tree;
    try {
        tree = Xml::loadTree(filePath(state));
    } catch (const FileError&) {
        // A damaged or unreadable settings file (a folder, a FIFO, far too large) counts as a missing
        // one; the next save replaces it, or says why it cannot.
        tree.reset();
    }
    applyRoot(state, tree ? tree->firstNodeAsRoot() : Xml::Element());
}

QByteArray toXml(const AppState& state) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    writeDocument(w, state);
    return out;
}

void Save_Setting(const AppState& state) {
    const QString path = filePath(state);
    QByteArray out;
    QXmlStreamWriter w(&out);
    writeDocument(w, state);
    Xml::checkWriter(w, path);
    saveFileOrThrow(path, out);
}

} // namespace Settings
