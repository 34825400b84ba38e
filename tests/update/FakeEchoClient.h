// SPDX-License-Identifier: MIT
#pragma once

#include "update/EchoClient.h"
#include "update/ReachabilityCheck.h"

#include <QList>
#include <QStringList>
#include <functional>

// An echo client that plays back a script of outcomes on a clock of its own: a reply takes 1 ms, an
// attempt without a reply the whole receive timeout. Once the script is used up its last outcome
// repeats. Attach it to a check to make the check's pauses advance the same clock.
class FakeEchoClient : public EchoClient {
public:
    QList<EchoResult> script;
    QStringList asked;
    qint64 clock = 0;
    std::function<void()> onEcho; // runs inside every request, as the real one would block there

    EchoResult echo(const QString& address) override {
        asked << address;
        if (onEcho)
            onEcho();
        const EchoResult r = script.isEmpty() ? EchoResult{} : script.at(qMin(asked.size(), script.size()) - 1);
        clock += r.kind == EchoResult::Kind::NoReply ? ReachabilityCheck::AttemptMs : 1;
        return r;
    }

    void attach(ReachabilityCheck& check) {
        check.now = [this] { return clock; };
        check.sleep = [this](int ms) { clock += ms; };
    }

    static EchoResult reply(int bytes = 1024) { return {EchoResult::Kind::Reply, bytes, QString()}; }
    static EchoResult silence() { return {EchoResult::Kind::NoReply, 0, QString()}; }
    static EchoResult error(EchoResult::Kind kind) { return {kind, 0, QStringLiteral("refused for the test")}; }
};
