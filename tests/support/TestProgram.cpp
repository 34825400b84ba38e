// SPDX-License-Identifier: MIT
#include "support/TestProgram.h"

#include "app/Configurations.h"

#include <QDir>

namespace TestSupport {

TestProgram::TestProgram(const QString& activeConfiguration) {
    state.setProgramFolder(folder.path());
    for (const QString& sub : {state.MasterFolder, state.ProjectsFolder, state.LanguageFolder})
        QDir().mkpath(sub);
    state.catalogue.Build_Default_Texts();
    if (!activeConfiguration.isEmpty()) {
        QDir().mkpath(state.ProjectsFolder + QLatin1Char('/') + activeConfiguration + QStringLiteral("/bin"));
        Configurations::activate(state, activeConfiguration);
    }
}

} // namespace TestSupport
