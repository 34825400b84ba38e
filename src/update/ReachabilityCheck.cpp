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

QString ReachabilityCheck::noPermissionMessage(const QString& reason) {
    return QStringLiteral("The device cannot be checked: this system does not let the configurator send ICMP echo "
                          "requests (%1).\n\nAllow it for the configurator's group with the setting "
                          "net.ipv4.ping_group_range, for example:\n"
                          "sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"\n"
                          "or give the configurator the capability CAP_NET_RAW.")
        .arg(reason);
}
