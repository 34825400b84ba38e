// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

// Every box the program shows goes through here. The program installs a handler that shows real
// message boxes; tests install a MessageRecorder, so no test ever waits on a modal box.
namespace Messages {

enum class Icon { Error, Warning, Question, Information };

class Handler {
public:
    virtual ~Handler() = default;
    // A box with one OK button.
    virtual void show(Icon icon, const QString& text) = 0;
    // A box with Yes and No; true for Yes.
    virtual bool ask(Icon icon, const QString& text) = 0;
};

// The handler in use; nullptr restores the silent default (messages dropped, questions answered No).
void setHandler(Handler* handler);
Handler* handler();

void error(const QString& text);
void warning(const QString& text);
void information(const QString& text);
bool question(const QString& text);

// The general error box for a failed command (a file that cannot be read or written).
void generalError(const QString& text);

} // namespace Messages

// Records every message and answers questions from a queue (No when the queue is empty). Installs
// itself for its lifetime.
class MessageRecorder : public Messages::Handler {
public:
    struct Entry {
        Messages::Icon icon;
        QString text;
        bool question = false;
    };

    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void show(Messages::Icon icon, const QString& text) override;
    bool ask(Messages::Icon icon, const QString& text) override;

    void setNextAnswer(bool yes) { m_answers.append(yes); }
    const QList<Entry>& entries() const { return m_entries; }
    QStringList texts() const;
    QString lastText() const { return m_entries.isEmpty() ? QString() : m_entries.last().text; }
    void clear() { m_entries.clear(); }

private:
    Messages::Handler* m_previous;
    QList<Entry> m_entries;
    QList<bool> m_answers;
};
