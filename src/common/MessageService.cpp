// SPDX-License-Identifier: MIT
#include "MessageService.h"

#include <QStringList>

namespace Messages {

namespace {
Handler* g_handler = nullptr;
}

void setHandler(Handler* h) {
    g_handler = h;
}

Handler* handler() {
    return g_handler;
}

static void showWith(Icon icon, const QString& text) {
    if (g_handler)
        g_handler->show(icon, text);
}

void error(const QString& text) {
    showWith(Icon::Error, text);
}

void warning(const QString& text) {
    showWith(Icon::Warning, text);
}

void information(const QString& text) {
    showWith(Icon::Information, text);
}

bool question(const QString& text) {
    return g_handler && g_handler->ask(Icon::Question, text);
}

void generalError(const QString& text) {
    showWith(Icon::Error, text);
}

} // namespace Messages

MessageRecorder::MessageRecorder()
    : m_previous(Messages::handler()) {
    Messages::setHandler(this);
}

MessageRecorder::~MessageRecorder() {
    Messages::setHandler(m_previous);
}

void MessageRecorder::show(Messages::Icon icon, const QString& text) {
    m_entries.append({icon, text, false});
}

bool MessageRecorder::ask(Messages::Icon icon, const QString& text) {
    m_entries.append({icon, text, true});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

QStringList MessageRecorder::texts() const {
    QStringList out;
    for (const Entry& e : m_entries)
        out << e.text;
    return out;
}
