#pragma once

#include <QByteArray>

namespace varkel {

// Bounds-checked byte access for file buffers: reads past the end give 0 and
// writes past the end are dropped, so a short or damaged file never crashes a view.
inline int byteAt(const QByteArray& b, qsizetype at)
{
    return at >= 0 && at < b.size() ? static_cast<unsigned char>(b[at]) : 0;
}

inline int le16At(const QByteArray& b, qsizetype at)
{
    return byteAt(b, at) | (byteAt(b, at + 1) << 8);
}

inline void setByte(QByteArray& b, qsizetype at, int value)
{
    if (at >= 0 && at < b.size())
        b[at] = static_cast<char>(value & 0xFF);
}

inline void setLe16(QByteArray& b, qsizetype at, int value)
{
    setByte(b, at, value & 0xFF);
    setByte(b, at + 1, (value >> 8) & 0xFF);
}

// Replaces the bits of `mask` in the byte at `at` with those of `value`, keeping the rest.
inline void setBits(QByteArray& b, qsizetype at, int mask, int value)
{
    setByte(b, at, (byteAt(b, at) & ~mask) | (value & mask));
}

// Gives `b` exactly `size` bytes, zeros added at the end. A buffer of that size
// already is left alone: resizing one still shared (the file store keeps what it
// read) would copy it for nothing.
inline void setSize(QByteArray& b, qsizetype size)
{
    if (b.size() != size)
        b.resize(size, '\0');
}

}  // namespace varkel
