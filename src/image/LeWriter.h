// SPDX-License-Identifier: MIT
#pragma once

#include "ImageLayout.h"

#include <QByteArrayView>
#include <QStringView>
#include <span>

namespace Image {

// Little-endian writes into a fixed buffer. Every write is checked against the buffer's end first: one
// that would not fit writes nothing at all and leaves the writer failed, so no caller can ever write
// past the buffer, whatever offset or length it computes.
class LeWriter {
public:
    explicit LeWriter(std::span<quint8> buffer)
        : m_buffer(buffer) {}

    bool failed() const { return m_failed; }
    qsizetype size() const { return qsizetype(m_buffer.size()); }

    // The integer is stored with the width of the write: its low 8, 16 or 32 bits (two's complement).
    bool u8(qsizetype offset, quint32 value);
    bool u16(qsizetype offset, quint32 value);
    bool u32(qsizetype offset, quint32 value);
    bool bytes(qsizetype offset, QByteArrayView data);
    bool zeros(qsizetype offset, qsizetype count);

    // Writes through a field of a record that starts at `base`. An integer field takes `value` at the
    // field's width.
    bool put(qsizetype base, const Field& field, quint32 value);
    // A Quad or Hex field: `data` at the start of the field, the rest of the field zero; a longer
    // `data` is cut at the field's end.
    bool putBytes(qsizetype base, const Field& field, QByteArrayView data);
    // A Text field: the low byte of each UTF-16 code unit, at most width - 1 of them, the rest of the
    // field zero (so the field always ends with a zero byte).
    bool putText(qsizetype base, const Field& field, QStringView text);

    // `text` as single bytes followed by a zero byte; the number of bytes written, or -1.
    qsizetype zeroTerminated(qsizetype offset, QStringView text);

private:
    bool fits(qsizetype offset, qsizetype count);

    std::span<quint8> m_buffer;
    bool m_failed = false;
};

// Reads through the same tables; a read outside the buffer gives 0 / nothing.
class LeReader {
public:
    explicit LeReader(std::span<const quint8> buffer)
        : m_buffer(buffer) {}

    qsizetype size() const { return qsizetype(m_buffer.size()); }
    bool contains(qsizetype offset, qsizetype count) const {
        return offset >= 0 && count >= 0 && offset <= size() && count <= size() - offset;
    }

    quint32 u8(qsizetype offset) const { return uint(offset, 1); }
    quint32 u16(qsizetype offset) const { return uint(offset, 2); }
    quint32 u32(qsizetype offset) const { return uint(offset, 4); }
    quint32 get(qsizetype base, const Field& field) const { return uint(base + field.offset, field.width); }
    QByteArray bytes(qsizetype offset, qsizetype count) const;

private:
    quint32 uint(qsizetype offset, qsizetype width) const;

    std::span<const quint8> m_buffer;
};

} // namespace Image
