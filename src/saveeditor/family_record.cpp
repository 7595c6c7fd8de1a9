#include "saveeditor/family_record.h"

#include "shared/bytes.h"

namespace varkel {

namespace {

using namespace family;

// Where each growth value lies: byte (0 or 1 after kGrowthField) and lowest bit;
// each is three bits wide.
struct GrowthBits {
    qsizetype byte;
    int shift;
};
constexpr std::array<GrowthBits, 4> kGrowthBits = {{{0, 2}, {0, 5}, {1, 0}, {1, 3}}};
constexpr qsizetype kCaps = 2;

}  // namespace

FamilyMember DecodeFamilyMember(const QByteArray& save, int k)
{
    FamilyMember m;
    static_cast<MemberRecord&>(m) = DecodeMemberRecord(save, record(k));
    if (!isChild(k))
        return m;
    const qsizetype g = growthField(k);
    for (std::size_t a = 0; a < 4; ++a) {
        m.growth[a] = (byteAt(save, g + kGrowthBits[a].byte) >> kGrowthBits[a].shift) & kMaxGrowth;
        m.caps[a] = byteAt(save, g + kCaps + qsizetype(a));
    }
    return m;
}

void EncodeFamilyMember(QByteArray& save, int k, const FamilyMember& m)
{
    EncodeMemberRecord(save, record(k), m);
    if (!isChild(k))
        return;
    const qsizetype g = growthField(k);
    for (std::size_t a = 0; a < 4; ++a) {
        const GrowthBits bits = kGrowthBits[a];
        setBits(save, g + bits.byte, kMaxGrowth << bits.shift, m.growth[a] << bits.shift);
        setByte(save, g + kCaps + qsizetype(a), m.caps[a]);
    }
}

}  // namespace varkel
