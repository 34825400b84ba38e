// SPDX-License-Identifier: MIT
#pragma once

// Catalogue indices of the communication parameters: the editor's own texts and panel captions, and
// the messages of the data check. The captions and hints of the panels' rows are named by the editor's
// text table, control by control.
namespace ParGenTexts {

inline constexpr int Caption = 400;       // "Set Communication"
inline constexpr int Description = 401;   // "Set Communication Setting"
inline constexpr int OkCaption = 402;     // "OK"
inline constexpr int CancelCaption = 403; // "Cancel"
inline constexpr int OkHint = 404;        // "Confirm and Save the current configuration"
inline constexpr int CancelHint = 405;    // "Exit and Discard the current configuration"

inline constexpr int EthernetPanel = 2906; // "Ethernet Connection"
inline constexpr int LoRaPanel = 406;      // "LoRaWAN"
inline constexpr int OpcUaPanel = 2746;    // "OPC UA Server"
inline constexpr int NtpPanel = 2557;      // "NTP (Network Time Protocol)"

// The data check. The octet messages come in fours, octet 1 first.
inline constexpr int PrimaryDnsOctet = 2925;   // "Error Primary DNS!! DNS 1 must be between 0 and 255"
inline constexpr int SecondaryDnsOctet = 2929; // "Error Secondary DNS!! DNS 1 must be between 0 and 255"
inline constexpr int RegionEmpty = 493;        // "Error LoRa!! RF Band cannot be empty"
inline constexpr int NetworkTypeEmpty = 494;   // "Error LoRa!! Network Type cannot be empty"
inline constexpr int DataRateEmpty = 495;      // "Error LoRa!! DataRate cannot be empty"
inline constexpr int TransmissionEmpty = 496;  // "Error LoRa!! Transmission Type cannot be empty"
inline constexpr int PayloadRange = 497;       // "Error LoRa!! Payload Size must be between 1 and %d"
inline constexpr int ActivationEmpty = 499;    // "Error LoRa!! Activation Method cannot be empty"
inline constexpr int LnCheckRange = 2935;      // "Error LoRa!! LNCHECK must be between 5 and 60 minutes"
inline constexpr int PollTimeRange = 2562;     // "Error NTP!! Poll Time must be between 0 and 10000000 seconds"
inline constexpr int AddressOctet = 2771;      // "Error OPC UA Server!! IP Address 1 must be between 0 and 255"
inline constexpr int MaskOctet = 2775;         // "Error OPC UA Server!! SubNet Mask 1 must be between 0 and 255"
inline constexpr int GatewayOctet = 2779;      // "Error OPC UA Server!! GATEWAY IP 1 must be between 0 and 255"
inline constexpr int PortRange =
    2783; // "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000"

} // namespace ParGenTexts
