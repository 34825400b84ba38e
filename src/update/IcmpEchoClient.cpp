// SPDX-License-Identifier: MIT
#include "IcmpEchoClient.h"

#include "DeviceAddress.h"

#include <QByteArray>
#include <QElapsedTimer>

#ifdef Q_OS_WIN

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

EchoResult IcmpEchoClient::echo(const QString& address) {
    const std::optional<quint32> target = DeviceAddress::parseDottedIPv4(address);
    if (!target)
        return {EchoResult::Kind::BadAddress, 0,
                QStringLiteral("\"%1\" is not an IPv4 address (four numbers 0 to 255 joined by dots)").arg(address)};
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return {EchoResult::Kind::Failed, 0, QStringLiteral("the ICMP service cannot be opened")};
    QByteArray payload(payloadSize, 'K');
    QByteArray reply(int(sizeof(ICMP_ECHO_REPLY)) + payloadSize + 8 + 64, Qt::Uninitialized);
    const IPAddr ip = htonl(*target);
    const DWORD n = IcmpSendEcho(icmp, ip, payload.data(), WORD(payload.size()), nullptr, reply.data(),
                                 DWORD(reply.size()), DWORD(timeoutMs));
    const DWORD error = n == 0 ? GetLastError() : 0;
    IcmpCloseHandle(icmp);
    if (n == 0) {
        if (error == IP_REQ_TIMED_OUT || error == IP_DEST_HOST_UNREACHABLE || error == IP_DEST_NET_UNREACHABLE)
            return {EchoResult::Kind::NoReply, 0, QString()};
        return {EchoResult::Kind::Failed, 0, QStringLiteral("the echo request failed (error %1)").arg(error)};
    }
    const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.constData());
    if (r->Status != IP_SUCCESS || r->Address != ip)
        return {EchoResult::Kind::NoReply, 0, QString()};
    return {EchoResult::Kind::Reply, int(r->DataSize), QString()};
}

#else

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int IcmpHeader = 8;
constexpr quint8 EchoRequest = 8;
constexpr quint8 EchoReply = 0;

class Socket {
public:
    ~Socket() {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
};

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool permissionError(int error) {
    return error == EACCES || error == EPERM;
}

// The Internet checksum over big-endian 16-bit words.
quint16 checksum(const uchar* data, int size) {
    quint32 sum = 0;
    for (int i = 0; i + 1 < size; i += 2)
        sum += quint32(data[i]) << 8 | data[i + 1];
    if (size % 2)
        sum += quint32(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

// Raw-socket identifiers: distinct per request, so a late reply to an earlier request is not taken
// for the answer to this one.
std::atomic<quint16> g_sequence{0};

bool transient(int error) {
    // An ICMP error (unreachable host) queued on the socket is no reply, not a failure of the request.
    return error == EINTR || error == EAGAIN || error == EWOULDBLOCK || error == ECONNREFUSED ||
           error == EHOSTUNREACH || error == ENETUNREACH || error == EHOSTDOWN;
}

} // namespace

EchoResult IcmpEchoClient::echo(const QString& address) {
    using Kind = EchoResult::Kind;
    const std::optional<quint32> target = DeviceAddress::parseDottedIPv4(address);
    if (!target)
        return {Kind::BadAddress, 0,
                QStringLiteral("\"%1\" is not an IPv4 address (four numbers 0 to 255 joined by dots)").arg(address)};

    Socket s;
    bool raw = false;
    s.fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (s.fd < 0) {
        const int datagramError = errno;
        s.fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
        raw = true;
        if (s.fd < 0) {
            const int rawError = errno;
            const Kind kind =
                permissionError(datagramError) || permissionError(rawError) ? Kind::NoPermission : Kind::Failed;
            return {kind, 0,
                    QStringLiteral("no ICMP socket can be opened (datagram socket: %1; raw socket: %2)")
                        .arg(reason(datagramError), reason(rawError))};
        }
    }
    ::fcntl(s.fd, F_SETFD, FD_CLOEXEC);

    const quint16 id = raw ? quint16(::getpid() + g_sequence.fetch_add(1)) : 0; // a datagram socket sets its own
    QByteArray packet(IcmpHeader + payloadSize, '\0');
    auto* p = reinterpret_cast<uchar*>(packet.data());
    p[0] = EchoRequest;
    p[4] = uchar(id >> 8);
    p[5] = uchar(id);
    // sequence number 0 in p[6], p[7]
    for (int i = 0; i < payloadSize; ++i)
        p[IcmpHeader + i] = uchar('A' + i % 26);
    const quint16 sum = checksum(p, int(packet.size()));
    p[2] = uchar(sum >> 8);
    p[3] = uchar(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(*target);
    if (::sendto(s.fd, p, size_t(packet.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0)
        return {Kind::Failed, 0, QStringLiteral("the echo request cannot be sent: %1").arg(reason(errno))};

    quint16 expectedId = id;
    if (!raw) {
        // The kernel numbered the request with the socket's own identifier, its "port".
        sockaddr_in self{};
        socklen_t length = sizeof self;
        if (::getsockname(s.fd, reinterpret_cast<sockaddr*>(&self), &length) < 0)
            return {Kind::Failed, 0, QStringLiteral("the echo socket has no identifier: %1").arg(reason(errno))};
        expectedId = ntohs(self.sin_port);
    }

    QElapsedTimer clock;
    clock.start();
    QByteArray buffer(65536, Qt::Uninitialized);
    auto* in = reinterpret_cast<uchar*>(buffer.data());
    for (;;) {
        const qint64 remaining = timeoutMs - clock.elapsed();
        if (remaining <= 0)
            return {Kind::NoReply, 0, QString()};
        pollfd waitFor{s.fd, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, int(remaining));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return {Kind::Failed, 0, QStringLiteral("waiting for the echo reply failed: %1").arg(reason(errno))};
        }
        if (ready == 0)
            return {Kind::NoReply, 0, QString()};

        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t got =
            ::recvfrom(s.fd, in, size_t(buffer.size()), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0) {
            if (transient(errno))
                continue;
            return {Kind::Failed, 0, QStringLiteral("the echo reply cannot be read: %1").arg(reason(errno))};
        }
        if (from.sin_addr.s_addr != to.sin_addr.s_addr)
            continue;
        // A raw socket (and a datagram one on some systems) hands over the IP header too.
        int offset = 0;
        if (got >= 20 && (in[0] >> 4) == 4)
            offset = (in[0] & 0x0F) * 4;
        if (got - offset < IcmpHeader)
            continue;
        const uchar* icmp = in + offset;
        const quint16 replyId = quint16(icmp[4] << 8 | icmp[5]);
        if (icmp[0] != EchoReply || icmp[1] != 0 || replyId != expectedId)
            continue;
        return {Kind::Reply, int(got - offset - IcmpHeader), QString()};
    }
}

#endif
