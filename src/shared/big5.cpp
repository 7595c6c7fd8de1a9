#include "shared/big5.h"

namespace varkel {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

const Big5& Big5::instance()
{
    static const Big5 table;
    return table;
}

QString Big5::decodeSlot(std::uint16_t code) const
{
    QString text;
    appendSlot(text, code);
    return text;
}

void Big5::appendSlot(QString& text, std::uint16_t code) const
{
    const int lead = code >> 8;
    const int trail = code & 0xFF;
    if (lead >= kFirstLead && lead <= kLastLead && trail >= kFirstTrail && trail <= kLastTrail) {
        if (const char16_t ch = kDecodeTable[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)]) {
            text += QChar(ch);
            return;
        }
    }
    if (lead > 0 && lead < 0x80) {
        text += QChar(static_cast<char16_t>(lead));
        if (trail != 0)
            text += QChar(trail < 0x80 ? static_cast<char16_t>(trail) : kReplacement);
        return;
    }
    text += QChar(kReplacement);
}

std::uint16_t Big5::encode(char16_t ch) const
{
    if (ch < kFirstEncoded)
        return ch;
    return kEncodeTable[ch - kFirstEncoded];
}

}  // namespace varkel
