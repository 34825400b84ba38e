// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

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
