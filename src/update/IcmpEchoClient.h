// SPDX-License-Identifier: MIT
#pragma once

#include "EchoClient.h"

// ICMP echo over IPv4: one request of `payloadSize` bytes with sequence number 0, then up to
// `timeoutMs` for the reply. A reply counts only when it comes from the address asked and carries the
// request's identifier.
//
// An unprivileged datagram ICMP socket is tried first (allowed by net.ipv4.ping_group_range on Linux),
// a raw socket second (needs CAP_NET_RAW); when neither opens, the result is NoPermission.
class IcmpEchoClient : public EchoClient {
public:
    int timeoutMs = 400;
    int payloadSize = 1024;

    EchoResult echo(const QString& address) override;
};
