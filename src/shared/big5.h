#pragma once

#include <QString>

#include <cstdint>

namespace varkel {

// Code page 950 (Big5 with the Windows extensions), as constant lookup tables the
// build writes from ICU's "windows-950-2000" converter (tools/cp950_table), so
// no converter is opened at run time.
class Big5 {
public:
    static const Big5& instance();

    // The text of one two-byte slot of a name field (lead byte first). A valid
    // double-byte code gives one character; a slot whose lead byte is a
    // single-byte character gives that character and, unless it is 0, its
    // second byte; anything else gives U+FFFD.
    QString decodeSlot(std::uint16_t code) const;
    // The same text appended to `text`, without a string for each slot.
    void appendSlot(QString& text, std::uint16_t code) const;

    // The code of one UTF-16 unit in code page 950: a double-byte code above
    // 255, a single-byte code, or 0 when the character has no code.
    std::uint16_t encode(char16_t ch) const;

    Big5(const Big5&) = delete;
    Big5& operator=(const Big5&) = delete;

private:
    Big5() = default;

    // Double-byte codes have a lead byte 81..FE and a trail byte 40..FE.
    static constexpr int kFirstLead = 0x81;
    static constexpr int kLastLead = 0xFE;
    static constexpr int kFirstTrail = 0x40;
    static constexpr int kLastTrail = 0xFE;
    static constexpr int kTrails = kLastTrail - kFirstTrail + 1;
    // Units below this are their own code.
    static constexpr int kFirstEncoded = 0x80;

    static constexpr int kDecodeTableSize = (kLastLead - kFirstLead + 1) * kTrails;
    static constexpr int kEncodeTableSize = 65536 - kFirstEncoded;
    // Written by the build (generated/cp950_table.cpp). The character of each
    // double-byte code, row by row of lead bytes, 0 when the code is not one.
    static const char16_t kDecodeTable[kDecodeTableSize];
    // The code of each unit from kFirstEncoded up, 0 when it has none.
    static const std::uint16_t kEncodeTable[kEncodeTableSize];
};

}  // namespace varkel
