#include "demo_folder/demo_game_files.h"

#include "demo_folder/demo_bytes.h"
#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_layout.h"
#include "demo_folder/demo_records.h"
#include "shared/big5.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"

namespace varkel::demo {

namespace {

constexpr int kNoSkill = 255;

// Treasure picture shapes (picture number mod 8) and the kind each one shows.
constexpr int kKindOfShape[8] = {1, 0, 5, 9, 2, 10, 1, 11};

int shapeForKind(int kind, int t)
{
    switch (kind) {
    case 0:
        return 1;
    case 1:
        return t % 2 == 0 ? 0 : 6;
    case 2:
        return 4;
    case 9:
        return 3;
    case 10:
        return 5;
    case 11:
        return 7;
    default:
        return t % 3 == 0 ? 4 : 2;  // books and scrolls
    }
}

void fillNoise(QByteArray& bytes, qsizetype from, qsizetype to, DemoRandom& random)
{
    for (qsizetype i = from; i < to; ++i)
        PutByte(bytes, i, random.noiseByte());
}

void writeTreasureRecord(QByteArray& scenario, int t)
{
    DemoRandom random(Stream::Treasure, static_cast<std::uint32_t>(t));
    const qsizetype r = kTreasureRecordOffset + qsizetype(kTreasureRecordSize) * t;
    const int kind = t % 12;
    scenario.replace(r, 13, QByteArray(13, '\0'));
    WriteNameField(scenario, r, MakeTreasureName(t, kind));
    PutByte(scenario, r + 13, kind);
    PutByte(scenario, r + 14, shapeForKind(kind, t) + 8 * (t / 12 % 10));
    PutByte(scenario, r + 15, random.between(1, 250));
    const bool raisesAbility = kind == 1 || (kind >= 4 && kind <= 8);
    PutByte(scenario, r + 16, raisesAbility ? random.between(1, 15) : kind == 9 ? random.between(0, 30) : 0);
    // One treasure stores skill 26, which reads as none, and one a byte outside the list.
    const int skill = t == 200 ? 26 : random.percent(70) ? kNoSkill : random.below(26);
    PutByte(scenario, r + 17, t == kDemoTreasureWithOddSkill ? kDemoOddSkill : skill);
    fillNoise(scenario, r + 18, r + 21, random);
}

void putCode(QByteArray& bytes, qsizetype at, int code)
{
    PutByte(bytes, at, code >> 8);
    PutByte(bytes, at + 1, code);
}

}  // namespace

QByteArray MakeScenario()
{
    QByteArray scenario(kScenarioFileSize, '\0');
    DemoRandom random(Stream::Region, 1);
    fillNoise(scenario, 0, scenario.size(), random);
    for (int c = 0; c < kCityNameCount; ++c)
        WriteNameField(scenario, kCityNameOffset + kCityNameStride * c, MakeCityName(c));
    for (int i = 0; i < kCourtRankCount; ++i) {
        const qsizetype r = kCourtRankOffset + kCourtRankStride * i;
        scenario.replace(r, kCourtRankStride, QByteArray(kCourtRankStride, '\0'));
        WriteNameField(scenario, r, MakeCourtRankName(i));
    }
    for (int t = 0; t < kTreasureCount; ++t)
        writeTreasureRecord(scenario, t);
    return scenario;
}

QByteArray MakeMessages()
{
    QByteArray messages(kMessageFileSize, '\0');
    const Big5& big5 = Big5::instance();
    qsizetype at = kNoteOffset;
    const qsizetype end = kNoteOffset + kNoteBytes;
    for (int n = 0; n < kTreasurePictureCount; ++n) {
        DemoRandom random(Stream::Text, static_cast<std::uint32_t>(n));
        const QString note = MakeTreasureNote(random, kKindOfShape[n % 8], 28);
        const qsizetype breakAt = note.indexOf(QStringLiteral("，"));
        for (qsizetype j = 0; j < note.size() && at + 4 <= end; ++j) {
            if (j == breakAt + 1) {
                putCode(messages, at, kNoteLineBreak);
                at += 2;
            }
            putCode(messages, at, big5.encode(note[j].unicode()));
            at += 2;
        }
        putCode(messages, at, kNoteEnd);
        at += 2;
        // A lone 0 byte, which the reader skips: the codes after it start one byte later.
        if (n == kDemoNoteBeforeLoneZero)
            at += 1;
    }
    return messages;
}

QByteArray MakeSystemSave()
{
    QByteArray file(kSystemSaveFileSize, '\0');
    DemoRandom noise(Stream::Region, 2);
    fillNoise(file, 0, kFileHeaderSize, noise);
    fillNoise(file, kFileHeaderSize + qsizetype(kFamilyRecordSize) * kNewOfficerRecords, file.size(), noise);
    for (int k = 0; k < int(std::size(kDemoNewOfficers)); ++k) {
        const int i = kDemoNewOfficers[k];
        DemoRandom random(Stream::NewOfficer, static_cast<std::uint32_t>(i));
        MemberPlan plan = PlanMember(random, QString(), random.percent(30), random.between(50, 120));
        SetGrowth(plan, k % 9, random);
        if (i == kDemoAdmiralWithBitZero)
            plan.byte59 |= 3;  // reads as its other bits, not as 提督
        if (i < 2)
            plan.lifespanHalves = i == 0 ? 15 : 5;
        if (i == 2) {
            plan.tactics[0] = 14;
            plan.tactics[1] = 15;
        }
        WriteMemberRecord(file, kFileHeaderSize + qsizetype(kFamilyRecordSize) * i, plan, noise);
    }
    return file;
}

QByteArray MakeBiographyFile()
{
    QByteArray file(kBiographyFileSize, '\0');
    DemoRandom noise(Stream::Region, 3);
    fillNoise(file, 0, kFileHeaderSize, noise);
    for (int k = 0; k < int(std::size(kDemoNewOfficers)); ++k) {
        DemoRandom random(Stream::Text, static_cast<std::uint32_t>(1000 + k));
        const int i = kDemoNewOfficers[k];
        const QString story = i < int(std::size(kDemoBiographyLengths))
                                  ? MakeStoryOfLength(random, kDemoBiographyLengths[i])
                                  : MakePersonStory(random, 74);
        PutBiography(file, kFileHeaderSize + qsizetype(kBiographySize) * i, story);
    }
    // The rest of the game's text file: more stories, never read as records.
    DemoRandom random(Stream::Text, 2000);
    for (qsizetype at = kFileHeaderSize + qsizetype(kBiographySize) * kNewOfficerRecords; at < file.size();
         at += kBiographySize)
        PutBiography(file, at, MakePersonStory(random, 74));
    return file;
}

}  // namespace varkel::demo
