#include "shared/big5.h"

#include <unicode/ucnv.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace varkel;

namespace {

// Code page 950 straight from ICU's converter, code by code, as the tables the
// build writes are meant to answer.
class IcuCp950 {
public:
    IcuCp950()
    {
        UErrorCode status = U_ZERO_ERROR;
        conv_.reset(ucnv_open("windows-950-2000", &status));
        if (U_FAILURE(status))
            conv_.reset();
    }
    bool isOpen() const { return conv_ != nullptr; }

    // The character of a double-byte code, 0 when the converter has none.
    char16_t doubleByte(int code) const
    {
        const int lead = code >> 8;
        const int trail = code & 0xFF;
        if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE)
            return 0;
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        UChar out[4];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(conv_.get());
        const int32_t n = ucnv_toUChars(conv_.get(), out, 4, bytes, 2, &status);
        return U_SUCCESS(status) && n == 1 && out[0] != 0xFFFD && out[0] != 0x1A ? out[0] : 0;
    }

    QString decodeSlot(int code) const
    {
        if (const char16_t ch = doubleByte(code))
            return QString(QChar(ch));
        const int lead = code >> 8;
        const int trail = code & 0xFF;
        if (lead > 0 && lead < 0x80) {
            QString text(QChar(static_cast<char16_t>(lead)));
            if (trail != 0)
                text += QChar(trail < 0x80 ? static_cast<char16_t>(trail) : u'\uFFFD');
            return text;
        }
        return QString(QChar(u'\uFFFD'));
    }

    // The converter's round-trip code of a unit, when it reads back as the unit.
    std::uint16_t encode(char16_t ch) const
    {
        if (ch < 0x80)
            return ch;
        char back[4];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(conv_.get());
        const UChar unit = ch;
        const int32_t len = ucnv_fromUChars(conv_.get(), back, 4, &unit, 1, &status);
        if (U_FAILURE(status) || len != 2)
            return 0;
        const int code = static_cast<unsigned char>(back[0]) * 256 + static_cast<unsigned char>(back[1]);
        return doubleByte(code) == ch ? static_cast<std::uint16_t>(code) : 0;
    }

private:
    struct Close {
        void operator()(UConverter* c) const { ucnv_close(c); }
    };
    std::unique_ptr<UConverter, Close> conv_;
};

std::string hex(int code)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", code);
    return text;
}

}  // namespace

TEST(Big5, EverySlotDecodesAsIcuDecodesIt)
{
    const IcuCp950 icu;
    ASSERT_TRUE(icu.isOpen());
    const Big5& big5 = Big5::instance();
    for (int code = 0; code < 65536; ++code)
        ASSERT_EQ(big5.decodeSlot(static_cast<std::uint16_t>(code)), icu.decodeSlot(code)) << hex(code);
}

TEST(Big5, EveryUnitEncodesAsIcuEncodesIt)
{
    const IcuCp950 icu;
    ASSERT_TRUE(icu.isOpen());
    const Big5& big5 = Big5::instance();
    int encodable = 0;
    for (int unit = 0; unit < 65536; ++unit) {
        const std::uint16_t code = big5.encode(static_cast<char16_t>(unit));
        ASSERT_EQ(code, icu.encode(static_cast<char16_t>(unit))) << hex(unit);
        encodable += code > 255;
    }
    // The tables are not empty: code page 950 has some 19,700 characters.
    EXPECT_GT(encodable, 19000);
}

TEST(Big5, DuplicateCodesReadAlikeAndWriteAsOne)
{
    const Big5& big5 = Big5::instance();
    EXPECT_EQ(big5.decodeSlot(0xA2CC), QStringLiteral("\u5341"));
    EXPECT_EQ(big5.decodeSlot(0xA451), QStringLiteral("\u5341"));
    EXPECT_EQ(big5.encode(u'\u5341'), 0xA451);
    EXPECT_EQ(big5.decodeSlot(0xF9F9), QStringLiteral("\u2550"));
    EXPECT_EQ(big5.decodeSlot(0xA2A4), QStringLiteral("\u2550"));
    EXPECT_EQ(big5.encode(u'\u2550'), 0xF9F9);
    EXPECT_EQ(big5.encode(u'\u256D'), 0xA27E);
}

TEST(Big5, WindowsExtensionsAndUserDefinedCodes)
{
    const Big5& big5 = Big5::instance();
    EXPECT_EQ(big5.decodeSlot(0xA3E1), QStringLiteral("\u20AC"));  // the euro sign
    EXPECT_EQ(big5.decodeSlot(0xFA40), QStringLiteral("\uE000"));
    EXPECT_EQ(big5.decodeSlot(0x8140), QStringLiteral("\uEEB8"));
    EXPECT_EQ(big5.decodeSlot(0xC6A1), QStringLiteral("\uF6B1"));
    EXPECT_EQ(big5.encode(u'\uE000'), 0xFA40);
    EXPECT_EQ(big5.encode(u'\u20AC'), 0xA3E1);
}

TEST(Big5, SlotsThatAreNoDoubleByteCode)
{
    const Big5& big5 = Big5::instance();
    EXPECT_EQ(big5.decodeSlot(0x4100), QStringLiteral("A"));
    EXPECT_EQ(big5.decodeSlot(0x4142), QStringLiteral("AB"));
    EXPECT_EQ(big5.decodeSlot(0x41FF), QStringLiteral("A\uFFFD"));
    for (int code : {0x0000, 0x8000, 0xA3FE, 0xA17F, 0xFF40, 0xA13F})
        EXPECT_EQ(big5.decodeSlot(static_cast<std::uint16_t>(code)), QStringLiteral("\uFFFD")) << hex(code);
    EXPECT_EQ(big5.encode(u'A'), 'A');
    EXPECT_EQ(big5.encode(u'\u00E9'), 0);  // no code page 950 character
    EXPECT_EQ(big5.encode(char16_t(0xD800)), 0);  // half a surrogate pair
    EXPECT_EQ(big5.encode(u'\uFFFD'), 0);
}
