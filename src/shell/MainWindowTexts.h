// SPDX-License-Identifier: MIT
#pragma once

// Catalogue indices the main window uses outside its step table (the table names the captions and
// hints of its buttons itself).
namespace MainWindowTexts {

inline constexpr int Begin = 0;                // "Begin"
inline constexpr int FirstStep = 1;            // "Step 1"; "Step 2" ... "Step 5" follow
inline constexpr int NoConfiguration = 9;      // "None Configuration Opened "
inline constexpr int UseStepOne = 10;          // "Use Step1 to open or create new configuration"
inline constexpr int OpenedConfiguration = 11; // "Opened Configuration of the Converter : "
inline constexpr int ProjectNotValid = 18;     // "Error! Project not Valid"

} // namespace MainWindowTexts
