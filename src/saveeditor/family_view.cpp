#include "saveeditor/family_view.h"

#include "saveeditor/family_record.h"
#include "person/member_record.h"
#include "shared/bytes.h"
#include "shared/texts.h"

#include <algorithm>

namespace varkel {

namespace {

// Texts of the remarks and captions.
enum Text : int {
    kHusband = 190,
    kWife = 191,
    kSon = 192,
    kDaughter = 193,
    kHe = 194,
    kShe = 195,
    kNumeralBase = 195,  // + age: 一 .. 十四 for ages 1..14
    kParentOfficer = 210,  // "親武將"; its last two characters caption a member without an officer
    kChildIs = 211,
    kYearsOld = 212,
    kWhatWillItBecome = 213,
    kGrownUp1 = 214,
    kGrownUp2 = 215,
    kGrownUp3 = 216,
    kIsMy = 217,
    kMyMerit = 218,
    kHalf = 219,
    kRatingBase = 220,  // + 4 x ability: 95 and up, 90..94, 80..89, 70..79
    kLearned = 236,
    kOrdinary = 237,
    kNoTalentBody = 238,  // might and intellect
    kNoTalentMind = 239,  // politics and charisma
    kRoomMuch = 240,
    kRoomSome = 241,
    kRoomLittle = 242,
    kRoomNone = 243,
    kHobbyBase = 274,
    kFather = 289,
    kMother = 290,
    kHobbyButBase = 355,
};

constexpr qsizetype kOfficerSexByte = 52;
constexpr int kFemaleBit = 0x20;
constexpr int kSpouseSexBits = 0x30;  // with both clear a spouse has the other sex

// Tries before the likeness search falls back to a scan in number order.
constexpr int kLikenessDraws = 1000;

QString noOfficerCaption()
{
    return GetResText(kParentOfficer).right(2);
}

QString ageText(int age)
{
    // Only 1..14 have a numeral; a birth after the game year shows the number.
    return age >= 1 && age <= family::kOldestChild ? GetResText(kNumeralBase + age) : QString::number(age);
}

void showChild(FamilyDisplay& d, const MemberRecord& m, int officerSexByte)
{
    const bool female = m.person.female;
    d.memberCaption = GetResText(female ? kDaughter : kSon);
    d.officerCaption = GetResText(officerSexByte & kFemaleBit ? kMother : kFather);
    const QString pronoun = GetResText(female ? kShe : kHe);
    if (d.age > family::kOldestChild) {
        d.remark = GetResText(kChildIs) + GetResText(kGrownUp1) + pronoun + GetResText(kGrownUp2) + pronoun +
                   GetResText(kGrownUp3);
        d.editable = false;
    } else {
        d.remark = GetResText(kChildIs) + ageText(d.age) + GetResText(kYearsOld) + GetResText(kWhatWillItBecome);
        d.editable = true;
    }
    d.biographyEnabled = true;
}

void showSpouse(FamilyDisplay& d, const MemberRecord& m, int officerSexByte, const RandomSource& random)
{
    const bool female = (officerSexByte & kSpouseSexBits) == 0;
    d.spouseFemale = female;
    const QString pronoun = GetResText(female ? kShe : kHe);
    const QString role = GetResText(female ? kWife : kHusband);
    d.memberCaption = role;
    d.officerCaption = GetResText(female ? kHusband : kWife);

    // The largest ability; each one equal to the best so far takes its place on
    // a coin toss.
    int favourite = 0;
    int best = 0;
    for (int a = 0; a < 4; ++a) {
        const int value = m.person.abilities[a];
        if (value > best || (value == best && random() >= 0.5)) {
            favourite = a;
            best = value;
        }
    }
    QString hobby = GetResText(kHobbyBase + favourite);
    if (best < family::kHobbySkillful)
        hobby += GetResText(kHobbyButBase + favourite);

    d.remark = pronoun + GetResText(kIsMy) + role + GetResText(kMyMerit) + pronoun + GetResText(kHalf) + pronoun +
               hobby;
    d.editable = true;
    d.biographyEnabled = false;
}

QString ratingText(int ability, int forecast)
{
    if (forecast >= 95)
        return GetResText(kRatingBase + 4 * ability);
    if (forecast >= 90)
        return GetResText(kRatingBase + 4 * ability + 1);
    if (forecast >= 80)
        return GetResText(kRatingBase + 4 * ability + 2);
    if (forecast >= 70)
        return GetResText(kRatingBase + 4 * ability + 3);
    if (forecast >= 60)
        return GetResText(kLearned);
    if (forecast >= 40)
        return GetResText(kOrdinary);
    return GetResText(ability < 2 ? kNoTalentBody : kNoTalentMind);
}

QString roomText(int room)
{
    if (room >= 20)
        return GetResText(kRoomMuch);
    if (room >= 10)
        return GetResText(kRoomSome);
    if (room >= 1)
        return GetResText(kRoomLittle);
    return GetResText(kRoomNone);
}

}  // namespace

FamilyDisplay DisplayFamilyMember(const QByteArray& save, const SaveTables& tables, int k, const RandomSource& random)
{
    FamilyDisplay d;
    d.memberCaption = d.officerCaption = noOfficerCaption();
    if (k < 0 || k >= family::kMemberCount)
        return d;

    const int officer = tables.controlled[std::size_t(family::slotOf(k))];
    const MemberRecord m = DecodeMemberRecord(save, family::record(k));
    // The view's full-name box: surname followed by given name.
    const bool named = !m.person.surname.isEmpty() || !m.person.givenName.isEmpty();
    if (!named || officer == save::kNoControlledOfficer || officer < 0 || officer >= tables.officerCount)
        return d;

    d.officer = officer;
    d.age = byteAt(save, save::kGameYearOffset) + save::kYearBase - m.person.birthYear + 1;
    const int officerSexByte = byteAt(save, save::personBlock(officer) + kOfficerSexByte);
    if (family::isChild(k))
        showChild(d, m, officerSexByte);
    else
        showSpouse(d, m, officerSexByte, random);
    d.forecastShown = family::isChild(k) && d.editable;
    return d;
}

std::array<QString, 8> GrowthForecast(const std::array<int, 4>& abilities, const std::array<int, 4>& caps,
                                      const std::array<int, 4>& growth, int age, int monthByte, int flagByte)
{
    // Growth runs until 14: a child of 4 or younger still has ten years ahead. In
    // month 1 with the flag set the child gets one year more.
    int grown = std::max(age - 4, 0);
    if (monthByte >> 4 == 1 && (flagByte & 1))
        grown -= 1;

    std::array<QString, 8> lines;
    for (int a = 0; a < 4; ++a) {
        const std::size_t i = std::size_t(a);
        const int forecast = std::min(abilities[i] + growth[i] * (10 - grown), caps[i]);
        lines[i] = ratingText(a, forecast);
        lines[i + 4] = roomText(caps[i] - forecast);
    }
    return lines;
}

std::array<QString, 8> GrowthForecast(const std::array<int, 4>& abilities, const std::array<int, 4>& caps,
                                      const std::array<int, 4>& growth, int age, const QByteArray& save)
{
    return GrowthForecast(abilities, caps, growth, age, byteAt(save, save::kGameMonthOffset),
                          byteAt(save, family::kForecastYearFlagOffset));
}

int ChooseLikeness(const SaveTables& tables, const RandomSource& random)
{
    // Officers 0 .. count - 2 can be chosen, never the last one.
    const int last = tables.officerCount - 2;
    const auto named = [&tables](int k) { return !tables.officerNames.value(k).isEmpty(); };
    if (last < 0)
        return -1;
    for (int draw = 0; draw < kLikenessDraws; ++draw) {
        const double r = random();
        if (!(r >= 0.0 && r < 1.0))
            continue;
        const int k = std::min(static_cast<int>((last + 1) * r), last);
        if (named(k))
            return k;
    }
    // Few names among many officers: take the first named one rather than search on.
    for (int k = 0; k <= last; ++k)
        if (named(k))
            return k;
    return -1;
}

}  // namespace varkel
