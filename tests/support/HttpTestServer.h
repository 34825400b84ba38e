// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVariant>

// A tiny HTTP server on 127.0.0.1 for the version check: it reads one request head per connection and
// then answers as told, stays silent, or sends a body that never ends.
class HttpTestServer : public QTcpServer {
public:
    enum class Mode { Answer, Silent, Endless };

    explicit HttpTestServer(QObject* parent = nullptr)
        : QTcpServer(parent) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, &HttpTestServer::accept);
    }

    // Answers every request with these raw bytes (status line, headers, body), then closes.
    void answer(const QByteArray& raw) {
        mode = Mode::Answer;
        response = raw;
    }
    static QByteArray ok(const QByteArray& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

    // Answers the requests held in the Silent mode.
    void release(const QByteArray& raw) {
        for (QTcpSocket* s : std::as_const(m_held)) {
            if (s) {
                s->write(raw);
                s->disconnectFromHost();
            }
        }
        m_held.clear();
    }

    Mode mode = Mode::Answer;
    QByteArray response;
    QList<QByteArray> requests; // request heads as received
    int connections = 0;

private:
    void accept() {
        while (QTcpSocket* s = nextPendingConnection()) {
            ++connections;
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QTcpSocket::readyRead, this, [this, s] { readHead(s); });
        }
    }

    void readHead(QTcpSocket* s) {
        if (s->property("answered").toBool()) {
            s->readAll(); // a body, if any, is not looked at
            return;
        }
        QByteArray head = s->property("head").toByteArray() + s->readAll();
        s->setProperty("head", head);
        if (!head.contains("\r\n\r\n"))
            return;
        s->setProperty("answered", true);
        head.truncate(head.indexOf("\r\n\r\n") + 4);
        requests << head;
        switch (mode) {
        case Mode::Answer:
            s->write(response);
            s->disconnectFromHost();
            break;
        case Mode::Silent:
            m_held << s;
            break;
        case Mode::Endless:
            s->write("HTTP/1.0 200 OK\r\n\r\nVER. 9.999");
            connect(s, &QTcpSocket::bytesWritten, s, [s] {
                if (s->bytesToWrite() < 8192)
                    s->write(QByteArray(4096, ' '));
            });
            s->write(QByteArray(4096, ' '));
            break;
        }
    }

    QList<QPointer<QTcpSocket>> m_held;
};
