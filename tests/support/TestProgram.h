// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppState.h"
#include "common/MessageService.h"
#include "support/TestFiles.h"

namespace TestSupport {

// A program folder of its own (MASTER, PROJECTS and LANGUAGE created), the program-wide state over it
// with the default English catalogue, and a recorder for every message box. With a configuration name,
// that configuration's folder (and its bin folder) exists and it is the active one.
struct TestProgram {
    explicit TestProgram(const QString& activeConfiguration = QString());

    TempFolder folder;
    AppState state;
    MessageRecorder messages;
};

} // namespace TestSupport
