// SPDX-License-Identifier: MIT
#pragma once

// Odd things in the place of a file, made by the test itself inside its own temporary folder: never a
// real device of the machine (tests run as root).

#include <QFile>
#include <QString>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// Verifies that the odd file was made; skips the test where the system does not let this user make
// device nodes (the tests normally run as root).
#define VERIFY_MADE(made)                                                                                              \
    do {                                                                                                               \
        const bool made_ = (made);                                                                                     \
        if (!made_ && errno == EPERM)                                                                                  \
            QSKIP("this user may not make device nodes");                                                              \
        QVERIFY(made_);                                                                                                \
    } while (false)

namespace NodeFiles {

// The numbers of the kernel's null, zero and full character devices: a node made with them in a
// temporary folder behaves like the real one without being it.
struct DeviceNumbers {
    unsigned major, minor;
};
inline constexpr DeviceNumbers Null{1, 3};
inline constexpr DeviceNumbers Zero{1, 5};
inline constexpr DeviceNumbers Full{1, 7};

inline bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

inline bool makeCharDevice(const QString& path, DeviceNumbers numbers) {
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(numbers.major, numbers.minor)) == 0;
}

// A block device node with numbers no driver answers to: it is never opened, only looked at.
inline bool makeBlockDevice(const QString& path) {
    return ::mknod(QFile::encodeName(path).constData(), S_IFBLK | 0600, makedev(240, 254)) == 0;
}

inline bool makeLink(const QString& target, const QString& path) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}

// A file of `size` bytes that takes no room on the disk.
inline bool makeSparseFile(const QString& path, qint64 size) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

// What stands at `path`, without following a link: "fifo", "char", "block", "dir", "file", "link" or
// "none".
inline QString kindOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("none");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("char");
    if (S_ISBLK(st.st_mode))
        return QStringLiteral("block");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("dir");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link");
    return QStringLiteral("file");
}

inline QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace NodeFiles
