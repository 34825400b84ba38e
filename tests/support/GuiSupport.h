// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <source_location>

namespace TestSupport {

// The named child of `parent` of type T. A missing control ends the test run with its name: every
// later step of the test would only dereference a null pointer.
template <class T = QWidget> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no child \"%s\" of type %s", qPrintable(parent->objectName()), name,
               T::staticMetaObject.className());
    return found;
}

// A left click in the middle of the named child.
void click(const QObject* parent, const char* name);

// Catches the links the program opens (QDesktopServices, http and https) for its lifetime.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    LinkCatcher();
    ~LinkCatcher() override;

    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url);
};

// Drives the next modal dialog: `drive` runs on it as soon as it is up, from that dialog's own event
// loop. The test fails, at the line that made the driver, when no modal dialog came up while the driver
// lived, or when the dialog was still open after `drive` returned (it is then rejected, so the test
// does not hang). The driver waits for nothing after its object is gone: a dialog that never came up
// cannot be driven by a stray timer in a later test.
class ModalDriver : public QObject {
    Q_OBJECT
public:
    using Drive = std::function<void(QDialog&)>;

    explicit ModalDriver(Drive drive, std::source_location where = std::source_location::current());
    ~ModalDriver() override;
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The dialog came up and the driver ran on it.
    bool ran() const { return m_ran; }
    // It ran and the dialog was closed when it returned.
    bool done() const { return m_ran && !m_leftOpen; }

private:
    void poll();
    void fail(const char* what);

    Drive m_drive;
    std::source_location m_where;
    QTimer m_timer;
    bool m_ran = false;
    bool m_leftOpen = false;
};

// Clicks the named child and drives the modal dialog the click opens, as a ModalDriver made at the
// caller's line.
void clickAndDrive(const QObject* parent, const char* name, ModalDriver::Drive drive,
                   std::source_location where = std::source_location::current());

} // namespace TestSupport
