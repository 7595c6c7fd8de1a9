#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

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

    Big5(const Big5&) = delete;
    Big5& operator=(const Big5&) = delete;
    ~Big5();

private:
    Big5();
    // The tables fill as codes are asked for, one lead byte's row at a time: a run
    // that reads a few names converts a few rows, not all of code page 950. The
    // program asks from one thread only.
    void decodeRow(int lead) const;

    struct Converter;
    std::unique_ptr<Converter> converter_;
    mutable std::array<char16_t, 65536> doubleByte_{};  // 0 when the code is not a character
    mutable std::array<bool, 256> rowDone_{};
    mutable std::array<std::uint16_t, 65536> fromUnicode_;  // kNotLookedUp until asked for
};

}  // namespace varkel
