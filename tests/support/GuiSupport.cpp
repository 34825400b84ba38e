// SPDX-License-Identifier: MIT
#include "support/GuiSupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTest>

namespace TestSupport {

void click(const QObject* parent, const char* name) {
    QTest::mouseClick(child<QWidget>(parent, name), Qt::LeftButton);
}

LinkCatcher::LinkCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
}

LinkCatcher::~LinkCatcher() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void LinkCatcher::open(const QUrl& url) {
    urls << url;
}

ModalDriver::ModalDriver(Drive drive, std::source_location where)
    : m_drive(std::move(drive))
    , m_where(where) {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start();
}

ModalDriver::~ModalDriver() {
    m_timer.stop();
    if (!m_ran)
        fail("no modal dialog came up for this driver");
}

void ModalDriver::poll() {
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;
    m_timer.stop();
    m_ran = true;
    m_drive(*dialog);
    if (dialog && dialog->isVisible()) {
        m_leftOpen = true;
        fail("the dialog was still open after its driver returned");
        dialog->reject();
    }
}

void ModalDriver::fail(const char* what) {
    QTest::qFail(what, m_where.file_name(), int(m_where.line()));
}

void clickAndDrive(const QObject* parent, const char* name, ModalDriver::Drive drive, std::source_location where) {
    ModalDriver driver(std::move(drive), where);
    click(parent, name);
}

} // namespace TestSupport
