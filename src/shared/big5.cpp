#include "shared/big5.h"

#include <unicode/ucnv.h>

#include <stdexcept>

namespace varkel {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint16_t kNotLookedUp = 0xFFFF;  // no code: a trail byte is never FF

}  // namespace

struct Big5::Converter {
    UConverter* handle = nullptr;
    ~Converter() { ucnv_close(handle); }
};

const Big5& Big5::instance()
{
    static const Big5 table;
    return table;
}

Big5::Big5() : converter_(std::make_unique<Converter>())
{
    UErrorCode status = U_ZERO_ERROR;
    // Never "cp950": ICU maps that name to IBM's table, which differs from Windows.
    converter_->handle = ucnv_open("windows-950-2000", &status);
    if (U_FAILURE(status))
        throw std::runtime_error("ICU has no windows-950-2000 converter");
    fromUnicode_.fill(kNotLookedUp);
}

Big5::~Big5() = default;

void Big5::decodeRow(int lead) const
{
    rowDone_[lead] = true;
    if (lead < 0x81 || lead > 0xFE)
        return;
    UConverter* conv = converter_->handle;
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        UChar out[4];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(conv);
        const int32_t n = ucnv_toUChars(conv, out, 4, bytes, 2, &status);
        if (U_SUCCESS(status) && n == 1 && out[0] != kReplacement && out[0] != 0x1A)
            doubleByte_[lead * 256 + trail] = out[0];
    }
}

QString Big5::decodeSlot(std::uint16_t code) const
{
    if (!rowDone_[code >> 8])
        decodeRow(code >> 8);
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
    if (ch < 0x80)
        return ch;
    std::uint16_t& code = fromUnicode_[ch];
    if (code != kNotLookedUp)
        return code;
    // Where two codes share a character (A2 CC and A4 51), the converter's own
    // round-trip mapping decides which code a character is written as; a code that
    // does not read back as the character (a one-way fallback) is no code for it.
    code = 0;
    char back[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(converter_->handle);
    const UChar unit = ch;
    const int32_t len = ucnv_fromUChars(converter_->handle, back, 4, &unit, 1, &status);
    if (U_SUCCESS(status) && len == 2) {
        const auto found = static_cast<std::uint16_t>(static_cast<unsigned char>(back[0]) * 256 +
                                                      static_cast<unsigned char>(back[1]));
        if (!rowDone_[found >> 8])
            decodeRow(found >> 8);
        if (doubleByte_[found] == ch)
            code = found;
    }
    return code;
}

}  // namespace varkel
