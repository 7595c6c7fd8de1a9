#pragma once

#include <QByteArray>

namespace varkel::demo {

inline void PutByte(QByteArray& b, qsizetype at, int value)
{
    b[at] = static_cast<char>(value & 0xFF);
}

inline void PutLE16(QByteArray& b, qsizetype at, int value)
{
    PutByte(b, at, value);
    PutByte(b, at + 1, value >> 8);
}

inline int ByteAt(const QByteArray& b, qsizetype at)
{
    return static_cast<unsigned char>(b[at]);
}

// Replaces the bits of `mask` in byte `at` by those of `value`.
inline void PutBits(QByteArray& b, qsizetype at, int mask, int value)
{
    PutByte(b, at, (ByteAt(b, at) & ~mask) | (value & mask));
}

}  // namespace varkel::demo
