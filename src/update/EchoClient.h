// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

// The outcome of one ICMP echo request.
struct EchoResult {
    enum class Kind {
        Reply,        // an echo reply came back from the address asked
        NoReply,      // nothing within the receive timeout
        BadAddress,   // the text is not a dotted IPv4 address
        NoPermission, // the system lets this program open no ICMP socket
        Failed,       // the request could not be sent (no route, a refused address, ...)
    };
    Kind kind = Kind::NoReply;
    int bytes = 0; // payload bytes of the reply
    QString error; // the reason, for the three error kinds

    bool isError() const { return kind != Kind::Reply && kind != Kind::NoReply; }
};

// Sends one echo request and waits for its reply. The reachability check talks to this, so its loop
// can be tested without a network.
class EchoClient {
public:
    virtual ~EchoClient() = default;
    virtual EchoResult echo(const QString& address) = 0;
};

// Reads "A.B.C.D": exactly four parts of one to three decimal digits, each 0 to 255 (a leading zero is
// still decimal). Anything else, a host name among them, is refused: the check never looks a name up.
// The result is in host byte order.
std::optional<quint32> parseDottedIPv4(const QString& text);
