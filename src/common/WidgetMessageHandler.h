// SPDX-License-Identifier: MIT
#pragma once

#include "MessageService.h"

class QWidget;

// Shows messages as real QMessageBox boxes over the active window.
class WidgetMessageHandler : public Messages::Handler {
public:
    void show(Messages::Icon icon, const QString& text) override;
    bool ask(Messages::Icon icon, const QString& text) override;
};
