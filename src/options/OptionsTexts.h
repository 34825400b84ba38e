// SPDX-License-Identifier: MIT
#pragma once

// Catalogue indices of the options dialog and of the main window's version notice.
namespace OptionsTexts {

inline constexpr int Caption = 300;          // "Software Options"
inline constexpr int Subtitle = 301;         // "Software Options"
inline constexpr int TabLanguage = 302;      // "Language"
inline constexpr int TabConnection = 303;    // "Connection Options"
inline constexpr int SelectedLanguage = 304; // "Selected Language : "
inline constexpr int Page = 305;             // "Page "
inline constexpr int PageOf = 306;           // " / "
inline constexpr int Previous = 307;         // "Previous"
inline constexpr int Next = 308;             // "Next"
inline constexpr int EnableInternet = 309;   // "Enable Internet Connection"
inline constexpr int CheckAtStart = 310;     // "Check Software Update at Start of Program"
inline constexpr int CheckNow = 311;         // "Check Available Update"
inline constexpr int Ok = 312;               // "OK"
inline constexpr int Cancel = 313;           // "Cancel"
inline constexpr int NewVersion = 314;       // "New Version Available. Click Here for more Details"
inline constexpr int NoUpdate = 315;         // "No Update Available"
inline constexpr int AskChangeFrom = 316;    // "Do you want to change the Language from "
inline constexpr int AskChangeTo = 317;      // " to "
inline constexpr int AskChangeEnd = 318;     // "?"
inline constexpr int TabSettings = 319;      // "Software Settings"
inline constexpr int JumpInTables = 320;     // "Jump into next field in the tables by pressing the Enter Key"
inline constexpr int AutoSizeColumns = 321;  // "Enable Auto Size of Table Columns by Double Click"

inline constexpr int MainNewVersion = 19; // the main window's notice: "New Version Available. Click Here ..."

} // namespace OptionsTexts
