#include "shared/big5.h"

#include <unicode/ucnv.h>

#include <memory>
#include <stdexcept>

namespace varkel {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

const Big5& Big5::instance()
{
    static const Big5 table;
    return table;
}

Big5::Big5()
{
    UErrorCode status = U_ZERO_ERROR;
    // Never "cp950": ICU maps that name to IBM's table, which differs from Windows.
    std::unique_ptr<UConverter, ConverterCloser> conv(ucnv_open("windows-950-2000", &status));
    if (U_FAILURE(status))
        throw std::runtime_error("ICU has no windows-950-2000 converter");

    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            UChar out[4];
            status = U_ZERO_ERROR;
            ucnv_reset(conv.get());
            const int32_t n = ucnv_toUChars(conv.get(), out, 4, bytes, 2, &status);
            if (U_FAILURE(status) || n != 1 || out[0] == kReplacement || out[0] == 0x1A)
                continue;
            const auto code = static_cast<std::uint16_t>(lead * 256 + trail);
            doubleByte_[code] = out[0];
            // Where two codes share a character (A2 CC and A4 51), the converter's
            // own round-trip mapping decides which code a character is written as.
            if (fromUnicode_[out[0]] == 0) {
                char back[4];
                status = U_ZERO_ERROR;
                ucnv_reset(conv.get());
                const int32_t len = ucnv_fromUChars(conv.get(), back, 4, out, 1, &status);
                if (U_SUCCESS(status) && len == 2)
                    fromUnicode_[out[0]] = static_cast<std::uint16_t>(
                        static_cast<unsigned char>(back[0]) * 256 + static_cast<unsigned char>(back[1]));
            }
        }
    }
    for (int c = 1; c < 0x80; ++c)
        fromUnicode_[c] = static_cast<std::uint16_t>(c);
}

QString Big5::decodeSlot(std::uint16_t code) const
{
    if (const char16_t ch = doubleByte_[code])
        return QString(QChar(ch));
    const int lead = code >> 8;
    const int trail = code & 0xFF;
    if (lead > 0 && lead < 0x80) {
        QString text(QChar(static_cast<char16_t>(lead)));
        if (trail != 0)
            text += QChar(trail < 0x80 ? static_cast<char16_t>(trail) : kReplacement);
        return text;
    }
    return QString(QChar(kReplacement));
}

std::uint16_t Big5::encode(char16_t ch) const
{
    return fromUnicode_[ch];
}

}  // namespace varkel
