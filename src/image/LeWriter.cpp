// SPDX-License-Identifier: MIT
#include "LeWriter.h"

#include <cstring>

namespace Image {

bool LeWriter::fits(qsizetype offset, qsizetype count) {
    const qsizetype size = this->size();
    if (offset < 0 || count < 0 || offset > size || count > size - offset) {
        m_failed = true;
        return false;
    }
    return true;
}

bool LeWriter::u8(qsizetype offset, quint32 value) {
    if (!fits(offset, 1))
        return false;
    m_buffer[size_t(offset)] = quint8(value);
    return true;
}

bool LeWriter::u16(qsizetype offset, quint32 value) {
    if (!fits(offset, 2))
        return false;
    m_buffer[size_t(offset)] = quint8(value);
    m_buffer[size_t(offset) + 1] = quint8(value >> 8);
    return true;
}

bool LeWriter::u32(qsizetype offset, quint32 value) {
    if (!fits(offset, 4))
        return false;
    for (int i = 0; i < 4; ++i)
        m_buffer[size_t(offset) + size_t(i)] = quint8(value >> (8 * i));
    return true;
}

bool LeWriter::bytes(qsizetype offset, QByteArrayView data) {
    if (!fits(offset, data.size()))
        return false;
    if (!data.isEmpty())
        std::memcpy(m_buffer.data() + offset, data.data(), size_t(data.size()));
    return true;
}

bool LeWriter::zeros(qsizetype offset, qsizetype count) {
    if (!fits(offset, count))
        return false;
    if (count > 0)
        std::memset(m_buffer.data() + offset, 0, size_t(count));
    return true;
}

bool LeWriter::put(qsizetype base, const Field& field, quint32 value) {
    const qsizetype at = base + field.offset;
    switch (field.width) {
    case 1:
        return u8(at, value);
    case 2:
        return u16(at, value);
    case 4:
        return u32(at, value);
    default:
        m_failed = true; // not an integer field
        return false;
    }
}

bool LeWriter::putBytes(qsizetype base, const Field& field, QByteArrayView data) {
    const qsizetype at = base + field.offset;
    if (!fits(at, field.width))
        return false;
    const qsizetype n = qMin(data.size(), field.width);
    return bytes(at, data.first(n)) && zeros(at + n, field.width - n);
}

bool LeWriter::putText(qsizetype base, const Field& field, QStringView text) {
    const qsizetype at = base + field.offset;
    if (!fits(at, field.width))
        return false;
    const qsizetype n = qMin(text.size(), field.width - 1);
    for (qsizetype i = 0; i < n; ++i)
        m_buffer[size_t(at + i)] = quint8(text[i].unicode());
    return zeros(at + n, field.width - n);
}

qsizetype LeWriter::zeroTerminated(qsizetype offset, QStringView text) {
    if (!fits(offset, text.size() + 1))
        return -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        m_buffer[size_t(offset + i)] = quint8(text[i].unicode());
    m_buffer[size_t(offset + text.size())] = 0;
    return text.size() + 1;
}

quint32 LeReader::uint(qsizetype offset, qsizetype width) const {
    if (!contains(offset, width))
        return 0;
    quint32 v = 0;
    for (qsizetype i = 0; i < width && i < 4; ++i)
        v |= quint32(m_buffer[size_t(offset + i)]) << (8 * i);
    return v;
}

QByteArray LeReader::bytes(qsizetype offset, qsizetype count) const {
    if (!contains(offset, count))
        return {};
    return QByteArray(reinterpret_cast<const char*>(m_buffer.data() + offset), count);
}

} // namespace Image
