// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

// The identity of this build and the maker's web addresses.
namespace Product {

inline const QString Code = QStringLiteral("SWKV210");
inline const QString Description = QStringLiteral("OPC UA Server / LoRaWAN - Converter");
inline const QString Version = QStringLiteral("1.001");
inline const QString DocumentCode = QStringLiteral("MNKV210");
inline const QString WindowCaption = QStringLiteral("Velmora - Configurator SWKV210 OPC UA Server / LoRaWAN ");

// The maker's web host. Every link the program opens and the version request are built on it; change
// it here and nowhere else.
inline const QString WebHost = QStringLiteral("www.velmora.example");

// Shown by the main window's web-address label and the About window.
inline const QString WebAddress = WebHost;

QUrl homePageUrl();     // /HOME/default.asp?frompg=SWKV210
QUrl downloadPageUrl(); // /Home/download/download.asp#HDKV210
QUrl versionUrl();      // /home/download/GetversionSW.asp?nomesw=SWKV210

} // namespace Product
