// SPDX-License-Identifier: MIT
#include "ReachabilityCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <memory>

ReachabilityCheck::ReachabilityCheck(EchoClient& client)
    : m_client(client) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    now = [clock] { return clock->elapsed(); };
    sleep = [](int ms) { QThread::msleep(ulong(ms)); };
    lastError.kind = EchoResult::Kind::Reply;
}

void ReachabilityCheck::PingReply(const EchoResult& result) {
    ping_res = result.kind == EchoResult::Kind::Reply && result.bytes > 0 ? Answered : NotAnswered;
}

bool ReachabilityCheck::Send_Ping(const QString& address) {
    ping_res = NoStatus;
    lastError = EchoResult{EchoResult::Kind::Reply, 0, QString()};
    const qint64 start = now();
    int replies = 0;
    for (;;) {
        const qint64 attempt = now();
        const EchoResult result = m_client.echo(address);
        if (result.isError()) {
            lastError = result;
            return false;
        }
        PingReply(result);
        do {
            sleep(PauseMs);
            QCoreApplication::processEvents();
        } while (ping_res == NoStatus && now() - attempt <= AttemptMs);

        if (ping_res == Answered && ++replies >= RepliesNeeded)
            break;
        if (now() - start > CheckMs)
            break;
    }
    return ping_res == Answered;
}
