#include "saveeditor/save_layout.h"
#include "saveeditor/treasure_record.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace varkel;
using namespace varkel::treasure;

namespace {

constexpr int kT = 5;  // the treasure most tests change
const qsizetype R = record(kT);

// Big5 codes of the characters the tests use.
const QByteArray kZhang("\xB1\x69", 2);  // 張
const QByteArray kFei("\xAD\xB8", 2);    // 飛
const QByteArray kGuan("\xC3\xF6", 2);   // 關
const QByteArray kYu("\xA6\xD0", 2);     // 羽
const QByteArray kLiu("\xBC\x42", 2);    // 劉
const QByteArray kBei("\xB3\xC6", 2);    // 備

// A scenario buffer whose every byte differs from its neighbours, so a stray write shows.
QByteArray patterned(qsizetype size)
{
    QByteArray b(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        b[i] = static_cast<char>(1 + (i * 37) % 251);
    return b;
}

QByteArray scenarioWith(int kind, int points, int skill = kNoSkillByte, int price = 0)
{
    QByteArray s = patterned(record(kCount));
    setByte(s, R + kKind, kind);
    setByte(s, R + kPoints, points);
    setByte(s, R + kSkill, skill);
    setByte(s, R + kPrice, price);
    return s;
}

// Reads `typed` for field `key` as the views and the command line read it, and stores it.
void apply(TreasureRecord& r, const char* key, const QString& typed)
{
    const auto& field = TreasureField(QString::fromLatin1(key));
    FieldProblem problem;
    const auto value = ParseFieldValue(field, typed, &problem);
    ASSERT_TRUE(value) << problem.message.toStdString();
    field.set(r, *value);
}

// Bytes of the code list, each code as lead byte then trail byte.
QByteArray codes(std::initializer_list<int> list)
{
    QByteArray b;
    for (const int c : list) {
        b.append(static_cast<char>(c >> 8));
        b.append(static_cast<char>(c & 0xFF));
    }
    return b;
}

constexpr int kYi = 0xA440;   // 一
constexpr int kYi2 = 0xA441;  // 乙

}  // namespace

// The points box follows the kind: the seal shows 100, kinds raising no ability
// show 0; 100 typed keeps what is stored, any other number is stored.
TEST(TreasureFields, PointsFollowTheKind)
{
    struct Row {
        int kind;
        int stored;
        int raised;  // the raised ability shown
        int shown;
        const char* typed;  // typed over the shown value
        int storedAfter;
    };
    const std::vector<Row> rows = {
        {9, 30, 3, 100, "100", 30},   // the seal shows 100 and keeps its byte
        {9, 30, 3, 100, "40", 40},
        {1, 12, 0, 12, "100", 12},    // exactly 100 keeps the byte for any kind
        {4, 9, 1, 9, "100", 9},
        {7, 9, 2, 9, "50", 50},
        {0, 7, kNoAbility, 0, "0", 0},  // no ability raised: shown 0, applying it stores 0
        {2, 7, kNoAbility, 0, "0", 0},
        {3, 7, kNoAbility, 0, "0", 0},
        {10, 7, kNoAbility, 0, "0", 0},
        {11, 7, kNoAbility, 0, "0", 0},
        {11, 7, kNoAbility, 0, "100", 7},
        {12, 7, kNoAbility, 7, "7", 7},  // a kind outside the list keeps its points shown
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind << " typed " << row.typed);
        QByteArray scenario = scenarioWith(row.kind, row.stored);
        TreasureRecord r = DecodeTreasure(scenario, nullptr, kT);
        EXPECT_EQ(RaisedAbility(r.kind), row.raised);
        EXPECT_EQ(TreasureField("raised_ability").get(r).number, row.raised);
        EXPECT_EQ(ShownPoints(r.kind, r.points), row.shown);
        apply(r, "points", QString::fromLatin1(row.typed));
        const QByteArray before = scenario;
        EncodeTreasure(scenario, nullptr, kT, r);
        EXPECT_EQ(byteAt(scenario, R + kPoints), row.storedAfter);
        setByte(scenario, R + kPoints, row.stored);
        EXPECT_EQ(scenario, before);
    }
}

TEST(TreasureFields, SkillListIndexAndStoredByte)
{
    struct Row {
        int storedByte;
        int shownIndex;
        const char* chosen;  // a list index or its text
        int storedAfter;
    };
    const std::vector<Row> rows = {
        {255, 26, "26", 255},  // "無" stores 255
        {255, 26, "0", 0},    {26, 26, "26", 26},    // stored 26 reads as "無"; choosing it again keeps 26
        {26, 26, "5", 5},     {30, 30, "30", 30},    // a byte outside the list shows raw and stays
        {30, 30, "26", 255},  {5, 5, "26", 255},  {25, 25, "25", 25},
    };
    const auto& skill = TreasureField("skill");
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "byte " << row.storedByte << " chosen " << row.chosen);
        QByteArray scenario = scenarioWith(1, 5, row.storedByte);
        TreasureRecord r = DecodeTreasure(scenario, nullptr, kT);
        EXPECT_EQ(skill.get(r).number, row.shownIndex);
        EXPECT_EQ(SkillListIndex(row.storedByte), row.shownIndex);
        // As EditRecord does: what still reads as stored is left alone.
        if (QString::fromLatin1(row.chosen) != FieldValueText(skill, skill.get(r)) &&
            ParseFieldValue(skill, QString::fromLatin1(row.chosen), nullptr) != skill.get(r))
            apply(r, "skill", QString::fromLatin1(row.chosen));
        EncodeTreasure(scenario, nullptr, kT, r);
        EXPECT_EQ(byteAt(scenario, R + kSkill), row.storedAfter);
    }
    EXPECT_EQ(skill.items.size(), kSkillItemCount);
    EXPECT_EQ(skill.items[kNoSkillItem], QStringLiteral("無"));
}

TEST(TreasureFields, PriceIsShownInCoinsAndStoredInHundreds)
{
    struct Row {
        const char* typed;
        int stored;  // -1: refused
        int shown;
    };
    const std::vector<Row> rows = {
        {"1250", 12, 1200},    {"1200", 12, 1200}, {"99", 0, 0},  {"100", 1, 100},
        {"25599", 255, 25500}, {"25600", -1, 0},   {"-5", -1, 0}, {"abc", -1, 0},
    };
    const auto& price = TreasureField("price");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        QByteArray scenario = scenarioWith(1, 5, kNoSkillByte, 77);
        TreasureRecord r = DecodeTreasure(scenario, nullptr, kT);
        EXPECT_EQ(price.get(r).number, 7700);
        const auto value = ParseFieldValue(price, QString::fromLatin1(row.typed), nullptr);
        ASSERT_EQ(value.has_value(), row.stored >= 0);
        if (!value)
            continue;
        price.set(r, *value);
        EncodeTreasure(scenario, nullptr, kT, r);
        EXPECT_EQ(byteAt(scenario, R + kPrice), row.stored);
        EXPECT_EQ(price.get(DecodeTreasure(scenario, nullptr, kT)).number, row.shown);
    }
}

// The name takes bytes 0..11 and at most the 0 byte after a shorter name; byte 12
// and everything after the name's end stay.
TEST(TreasureRecord, NamesWriteOnlyTheirOwnBytes)
{
    const QByteArray four = kZhang + kFei + kGuan + kYu;
    const QByteArray six = kZhang + kFei + kGuan + kYu + kLiu + kBei;
    struct Row {
        const char* what;
        QByteArray stored;  // at byte 0 of the record, the rest patterned
        QString typed;
        QString readBack;
        QByteArray written;  // bytes from byte 0 after the write; the rest must stay
    };
    const std::vector<Row> rows = {
        {"shorter name", four + QByteArray(1, '\0'), QStringLiteral("張飛"), QStringLiteral("張飛"),
         kZhang + kFei + QByteArray(1, '\0')},
        {"full name, no 0 byte", four + QByteArray(1, '\0'), QStringLiteral("張飛關羽劉備"),
         QStringLiteral("張飛關羽劉備"), six},
        {"full name kept", six, QStringLiteral("張飛關羽劉備"), QStringLiteral("張飛關羽劉備"), six},
        {"single-byte character keeps its two bytes", four + QByteArray(1, '\0'), QStringLiteral("張a關"), QString(),
         kZhang + four.mid(2, 2) + kGuan + QByteArray(1, '\0')},
        {"longer than the field: the first six characters", four + QByteArray(1, '\0'),
         QStringLiteral("張飛關羽劉備張"), QStringLiteral("張飛關羽劉備"), six},
        {"untouched duplicate code", QByteArray("\xA2\xCC", 2) + QByteArray(1, '\0'), QStringLiteral("十"),
         QStringLiteral("十"), QByteArray("\xA2\xCC", 2) + QByteArray(1, '\0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray scenario = scenarioWith(1, 5);
        scenario.replace(R, row.stored.size(), row.stored);
        TreasureRecord r = DecodeTreasure(scenario, nullptr, kT);
        QByteArray expected = scenario;
        expected.replace(R, row.written.size(), row.written);
        r.name = row.typed;
        EncodeTreasure(scenario, nullptr, kT, r);
        EXPECT_EQ(scenario, expected);
        if (!row.readBack.isNull()) {
            EXPECT_EQ(DecodeTreasure(scenario, nullptr, kT).name, row.readBack);
        }
    }
}

TEST(TreasureRecord, PictureNumbersWrapIntoTheBank)
{
    const std::vector<std::pair<int, int>> rows = {{-1, 79}, {85, 5},  {95, 15},  {0, 0},   {79, 79},
                                                   {80, 0},  {-80, 0}, {159, 79}, {200, 40}};
    for (const auto& [n, wrapped] : rows)
        EXPECT_EQ(WrapPictureNumber(n), wrapped) << n;
}

// The owner is set as its view and the command line set it: typed, read through
// the field table, stored. Officer 0 owns a treasure like any other.
TEST(TreasureRecord, OwnerIsTheSavesLe16AndLeavesItsOtherTwoBytes)
{
    struct Row {
        int t;
        qsizetype at;
        int owner;
        int newOwner;
    };
    const std::vector<Row> rows = {{0, 153'234, 0, 321},   {254, 154'250, 1720, 321}, {254, 154'250, 1800, 0},
                                   {100, 153'634, 859, 0}, {100, 153'634, 0xFFFF, 0}, {7, 153'262, 1, 0},
                                   {7, 153'262, 0, 1720}};
    const QByteArray scenario = scenarioWith(1, 5);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "treasure " << row.t << " owner " << row.owner << " -> " << row.newOwner);
        EXPECT_EQ(ownerEntry(row.t), row.at);
        QByteArray save = patterned(save::kStartupBufferSize);
        setLe16(save, row.at, row.owner);
        EXPECT_EQ(DecodeTreasure(scenario, &save, row.t).owner, row.owner);
        EXPECT_EQ(DecodeTreasure(scenario, nullptr, row.t).owner, -1);

        TreasureRecord r = DecodeTreasure(scenario, &save, row.t);
        apply(r, "owner", QString::number(row.newOwner));
        EXPECT_EQ(r.owner, row.newOwner);
        QByteArray expected = save;
        setLe16(expected, row.at, row.newOwner);
        QByteArray s = scenario;
        EncodeTreasure(s, &save, row.t, r);
        EXPECT_EQ(save, expected);
        EXPECT_EQ(s, scenario);
    }
}

// Notes are double-byte codes: the end code closes a note, the line-feed code
// breaks a line, a lone 0 byte is skipped (the pairs after it start one byte
// later), and reading ends at the 80th end code or the end of the stretch.
TEST(TreasureNotes, DecodeTheStretch)
{
    const QByteArray eighty = codes({kNoteEnd}).repeated(80);
    struct Row {
        const char* what;
        QByteArray stretch;
        QString first, second, last;  // notes 0, 1 and 79
    };
    const std::vector<Row> rows = {
        {"line feed and end", codes({kYi, kNoteLineFeed, kYi2, kNoteEnd, kYi2}), QStringLiteral("一\n乙"),
         QStringLiteral("乙"), QString()},
        {"lone 0 at an even position", codes({kYi, kNoteEnd}) + QByteArray(1, '\0') + codes({kYi2, kNoteEnd}),
         QStringLiteral("一"), QStringLiteral("乙"), QString()},
        {"zeros between notes", codes({kYi, kNoteEnd}) + QByteArray(4, '\0') + codes({kYi2}), QStringLiteral("一"),
         QStringLiteral("乙"), QString()},
        {"80 end codes stop the reading", codes({kYi}) + eighty + codes({kYi2, kNoteEnd, kYi2}), QStringLiteral("一"),
         QString(), QString()},
        {"the last note", eighty.left(2 * 79) + codes({kYi2, kYi}), QString(), QString(), QStringLiteral("乙一")},
        {"empty stretch", QByteArray(), QString(), QString(), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QStringList notes = DecodeTreasureNotes(row.stretch);
        ASSERT_EQ(notes.size(), 80);
        EXPECT_EQ(notes[0], row.first);
        EXPECT_EQ(notes[1], row.second);
        EXPECT_EQ(notes[79], row.last);
        for (int n = 2; n < 79; ++n)
            EXPECT_TRUE(notes[n].isEmpty()) << n;
    }
}

// The stretch is 5,373 bytes: a lead byte in its last byte has no trail byte in it,
// and what lies beyond the stretch is never read.
TEST(TreasureNotes, NothingPastTheStretchIsRead)
{
    QByteArray full(kNotesSize, '\0');
    full.replace(0, 4, codes({kYi, kNoteEnd}));
    full[kNotesSize - 3] = '\xA4';  // 一 ending at the stretch's last but one byte
    full[kNotesSize - 2] = '\x40';
    full[kNotesSize - 1] = '\xA4';  // a lead byte with its trail outside
    struct Row {
        const char* what;
        QByteArray input;
    };
    const std::vector<Row> rows = {
        {"exactly the stretch", full},
        {"a trail byte after it", full + QByteArray("\x41", 1)},
        {"codes after it", full + codes({kYi2, kNoteEnd, kYi2})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QStringList notes = DecodeTreasureNotes(row.input);
        ASSERT_EQ(notes.size(), 80);
        EXPECT_EQ(notes[0], QStringLiteral("一"));
        EXPECT_EQ(notes[1], QStringLiteral("一"));
        EXPECT_TRUE(notes[2].isEmpty());
    }
}

// The bitmap of a treasure picture: the 54-byte header, the picture's own palette,
// then its rows bottom row first.
TEST(TreasureBitmap, IsTheCompleteFileOfThePicture)
{
    PictureBanks banks{QByteArray(), QByteArray(kTreasureBankSize, '\0')};
    for (qsizetype i = 0; i < banks.treasures.size(); ++i)
        banks.treasures[i] = static_cast<char>(1 + (i / kTreasurePictureSide * 3 + i % kTreasurePictureSide) % 251);
    const QByteArray palettes = TreasurePalettes();
    ASSERT_EQ(palettes.size(), kPaletteBytes * kTreasurePictureCount);
    for (const int n : {3, 79}) {
        SCOPED_TRACE(n);
        QByteArray expected(kTreasureBitmapBytes, '\0');
        const std::vector<std::pair<int, int>> header = {{0, 'B'},   {1, 'M'},   {2, 0x76}, {3, 0x3C},
                                                         {10, 0x36}, {11, 0x04}, {14, 40},  {18, 120},
                                                         {22, 120},  {26, 1},    {28, 8}};
        for (const auto& [at, value] : header)
            expected[at] = static_cast<char>(value);
        expected.replace(kBitmapHeaderBytes, kPaletteBytes, palettes.mid(qsizetype(kPaletteBytes) * n, kPaletteBytes));
        const qsizetype pixels = kBitmapHeaderBytes + kPaletteBytes;
        for (int row = 0; row < kTreasurePictureSide; ++row)
            expected.replace(pixels + qsizetype(kTreasurePictureSide) * (kTreasurePictureSide - 1 - row),
                             kTreasurePictureSide,
                             banks.treasures.mid(qsizetype(kTreasurePictureBytes) * n + kTreasurePictureSide * row,
                                                 kTreasurePictureSide));
        EXPECT_EQ(TreasureBitmapBytes(banks, n), expected);
    }
}

// Every demo treasure with every demo save: an encode of the unchanged decode keeps
// every byte of both files.
TEST(TreasureRecord, UnchangedRecordsOfTheDemoKeepEveryByte)
{
    const test::TempGameFolder folder;
    const QByteArray scenario = test::FileBytes(folder.file(QStringLiteral("d_sce.vk")));
    ASSERT_GT(scenario.size(), record(kCount));
    for (int k = 0; k < save::kSlotCount; ++k) {
        const QByteArray save = test::FileBytes(folder.file(QStringLiteral("svd_0%1.sav").arg(k)));
        QByteArray s = scenario, g = save;
        for (int t = 0; t < kCount; ++t)
            EncodeTreasure(s, &g, t, DecodeTreasure(s, &g, t));
        EXPECT_EQ(s, scenario) << "slot " << k;
        EXPECT_EQ(g, save) << "slot " << k;
    }
}
