// SPDX-License-Identifier: MIT
#pragma once

// Catalogue indices of the Open Configuration dialog.
namespace OpenConfTexts {

inline constexpr int Caption = 200;       // "Open Configuration"
inline constexpr int Description = 201;   // "Open an Existing Configuration"
inline constexpr int ListLabel = 202;     // "List of Avaliable Configurations"
inline constexpr int OkCaption = 203;     // "OK"
inline constexpr int CancelCaption = 204; // "Cancel"
inline constexpr int ListHint = 205;      // "Select from this list the configuration to open"
inline constexpr int OkHint = 206;        // "Open the Selected Configuration"
inline constexpr int CancelHint = 207;    // "Cancel open of Configuration"

} // namespace OpenConfTexts
