// SPDX-License-Identifier: MIT
#include "WidgetMessageHandler.h"

#include <QApplication>
#include <QMessageBox>

static QMessageBox::Icon boxIcon(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Error:
        return QMessageBox::Critical;
    case Messages::Icon::Warning:
        return QMessageBox::Warning;
    case Messages::Icon::Question:
        return QMessageBox::Question;
    case Messages::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

static QString boxTitle(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Error:
        return QStringLiteral("Error");
    case Messages::Icon::Warning:
        return QStringLiteral("Warning");
    case Messages::Icon::Question:
        return QStringLiteral("Confirm");
    case Messages::Icon::Information:
        return QStringLiteral("Information");
    }
    return QString();
}

void WidgetMessageHandler::show(Messages::Icon icon, const QString& text) {
    QMessageBox box(boxIcon(icon), boxTitle(icon), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool WidgetMessageHandler::ask(Messages::Icon icon, const QString& text) {
    QMessageBox box(boxIcon(icon), boxTitle(icon), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
