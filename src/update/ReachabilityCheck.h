// SPDX-License-Identifier: MIT
#pragma once

#include "EchoClient.h"

#include <QString>
#include <functional>

// Does the device answer echo requests? Attempts of one request each until two replies came back or
// 5000 ms have passed. Between attempts the thread sleeps in 10 ms steps and processes pending events,
// so a window stays painted; the caller decides which input it lets through meanwhile.
class ReachabilityCheck {
public:
    // Status of the last echo request.
    enum PingStatus { NoStatus = 0, Answered = 1, NotAnswered = 2 };

    static constexpr int AttemptMs = 400;
    static constexpr int CheckMs = 5000;
    static constexpr int PauseMs = 10;
    static constexpr int RepliesNeeded = 2;

    explicit ReachabilityCheck(EchoClient& client);

    // Runs the check against `address`. True when the last attempt was answered. An error of the echo
    // client (an address that is no IPv4 address, no permission) ends the check at once with false and
    // leaves ping_res as it was; lastError tells which.
    bool Send_Ping(const QString& address);

    // Sets ping_res from one attempt's outcome: answered only by a reply carrying data.
    void PingReply(const EchoResult& result);

    int ping_res = NoStatus;
    EchoResult lastError; // the error that ended the last check; kind Reply when none did

    // What to tell the user when the system lets the program open no ICMP socket: that the check
    // cannot run, why, and the setting that allows it.
    static QString noPermissionMessage(const QString& reason);

    // The clock (milliseconds from any origin) and the pause; tests replace them.
    std::function<qint64()> now;
    std::function<void(int ms)> sleep;

private:
    EchoClient& m_client;
};
