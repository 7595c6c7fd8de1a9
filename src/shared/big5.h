#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace varkel {

// Code page 950 (Big5 with the Windows extensions), as lookup tables built once
// from ICU's "windows-950-2000" converter.
class Big5 {
public:
    static const Big5& instance();

    // The text of one two-byte slot of a name field (lead byte first). A valid
    // double-byte code gives one character; a slot whose lead byte is a
    // single-byte character gives that character and, unless it is 0, its
    // second byte; anything else gives U+FFFD.
    QString decodeSlot(std::uint16_t code) const;

    // The code of one UTF-16 unit in code page 950: a double-byte code above
    // 255, a single-byte code, or 0 when the character has no code.
    std::uint16_t encode(char16_t ch) const;

private:
    Big5();
    std::array<char16_t, 65536> doubleByte_{};  // 0 when the code is not a character
    std::array<std::uint16_t, 65536> fromUnicode_{};
};

}  // namespace varkel
