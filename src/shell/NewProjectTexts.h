// SPDX-License-Identifier: MIT
#pragma once

// Catalogue indices of the New Configuration dialog (its refusals are named in app/Configurations.h).
namespace NewProjectTexts {

inline constexpr int Caption = 100;       // "Create New Configuration"
inline constexpr int Description = 101;   // "Create New Configuration"
inline constexpr int NameLabel = 102;     // "Name of the new Configuration"
inline constexpr int OkCaption = 103;     // "OK"
inline constexpr int CancelCaption = 104; // "Cancel"
inline constexpr int NameHint = 108;      // "Insert here the name of new configuration"
inline constexpr int OkHint = 109;        // "Confirm the Name of new Configuration"
inline constexpr int CancelHint = 110;    // "Cancel the New Configuration"

} // namespace NewProjectTexts
