// SPDX-License-Identifier: MIT
#pragma once

// Linux helpers for tests that run as root: take a capability away for a while, and run a piece of
// code in a child process inside a network namespace of its own.

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace SystemTest {

// Clears one capability from the calling thread's effective set and restores it on destruction. A
// root test can then meet a read-only folder (CAP_DAC_OVERRIDE) or a refused raw socket (CAP_NET_RAW).
class DropCapability {
public:
    explicit DropCapability(int capability) {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct changed[2] = {m_saved[0], m_saved[1]};
        changed[capability / 32].effective &= ~(1u << (capability % 32));
        m_active = ::syscall(SYS_capset, &m_header, changed) == 0;
    }
    ~DropCapability() {
        if (m_active)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    DropCapability(const DropCapability&) = delete;
    DropCapability& operator=(const DropCapability&) = delete;
    bool active() const { return m_active; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};

// Exit status of a child that could not set its namespace up; the test skips then.
inline constexpr int NoNamespace = 77;

inline QByteArray netNamespaceId() {
    return QFile::symLinkTarget(QStringLiteral("/proc/self/ns/net")).toUtf8();
}

// Writes a sysctl of the child's own network namespace.
inline bool writeNamespaceSysctl(const char* path, const QByteArray& value) {
    QFile f(QString::fromLatin1(path));
    return f.open(QIODevice::WriteOnly) && f.write(value) == value.size() && f.flush();
}

inline bool loopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    ifreq ifr{};
    std::snprintf(ifr.ifr_name, sizeof ifr.ifr_name, "lo");
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &ifr) == 0;
    ifr.ifr_flags |= IFF_UP;
    ok = ok && ::ioctl(fd, SIOCSIFFLAGS, &ifr) == 0;
    ::close(fd);
    return ok;
}

// Forks; the child leaves for a new network namespace with only `lo`, brought up, and returns
// `body()` as its exit status. Nothing is changed in the namespace the tests run in: the child checks
// that it really left before `body` may touch any setting. Returns the child's exit status, or
// NoNamespace when namespaces are not permitted here.
inline int inOwnNetNamespace(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return NoNamespace;
    if (pid == 0) {
        const QByteArray before = netNamespaceId();
        if (before.isEmpty() || ::unshare(CLONE_NEWNET) != 0 || netNamespaceId() == before || !loopbackUp())
            ::_exit(NoNamespace);
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace SystemTest
