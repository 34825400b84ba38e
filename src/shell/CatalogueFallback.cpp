// SPDX-License-Identifier: MIT
// Stand-in for the language loader while src/language provides only the catalogue's storage. CMake
// compiles this file only when no TextCatalogue::Load_Language exists there, so it drops out by itself
// once the loader is in; delete it then. It knows only the English texts of the shell's windows and
// reads no language file.
#include "language/TextCatalogue.h"

#include <QFileInfo>
#include <utility>

void TextCatalogue::Load_Language(const QString& languageFolder, QString& languageName) {
    static const std::pair<int, const char*> shellTexts[] = {
        {0, "Begin"},
        {1, "Step 1"},
        {2, "Step 2"},
        {3, "Step 3"},
        {4, "Step 4"},
        {5, "Step 5"},
        {9, "None Configuration Opened "},
        {10, "Use Step1 to open or create new configuration"},
        {11, "Opened Configuration of the Converter : "},
        {12, "Information"},
        {13, "Options"},
        {14, "Close Configurator"},
        {15, "New Configuration"},
        {16, "Open Configuration"},
        {17, "Update Device UDP"},
        {18, "Error! Project not Valid"},
        {20, "Set Communication"},
        {21, "Set LoRaWAN Access"},
        {22, "Create a new configuration for the device"},
        {23, "Open an exists configuration"},
        {24, "Set the main parameters of Protocols"},
        {25, "Set the Rules in Uplink and Downlink for LoRaWAN"},
        {26, "Update the actual Firmware and/or Configuration in the device"},
        {30, "Error in configuration, Num. Byte not conformed with Max Payload Size"},
        {76, "OPC UA Access"},
        {77, "Set the List of OPC UA Variables"},
        {100, "Create New Configuration"},
        {101, "Create New Configuration"},
        {102, "Name of the new Configuration"},
        {103, "OK"},
        {104, "Cancel"},
        {105, "Error! Name project is not valid"},
        {106, "Error! Name project is not valid because directory already exists"},
        {107, "Error! Name Project is not valid"},
        {108, "Insert here the name of new configuration"},
        {109, "Confirm the Name of new Configuration"},
        {110, "Cancel the New Configuration"},
        {200, "Open Configuration"},
        {201, "Open an Existing Configuration"},
        {202, "List of Avaliable Configurations"},
        {203, "OK"},
        {204, "Cancel"},
        {205, "Select from this list the configuration to open"},
        {206, "Open the Selected Configuration"},
        {207, "Cancel open of Configuration"},
    };
    Build_Default_Texts();
    for (const auto& [index, text] : shellTexts)
        m_texts[index] = QString::fromLatin1(text);
    if (!QFileInfo::exists(languageFolder + QLatin1Char('/') + languageName + QStringLiteral(".lng")))
        languageName = QStringLiteral("English");
}
