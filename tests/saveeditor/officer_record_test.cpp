#include "saveeditor/officer_fields.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using namespace varkel;

namespace {

constexpr int kOfficer = 7;
const qsizetype P = save::personBlock(kOfficer);
const qsizetype S = save::statusBlock(kOfficer);

QByteArray noiseSave(unsigned seed)
{
    return test::RandomBytes(save::kStartupBufferSize, seed);
}

// A save whose officers hold only values the view can show, so that a decode and
// an encode with nothing changed must give back every byte.
QByteArray representableSave(unsigned seed)
{
    QByteArray b = noiseSave(seed);
    std::mt19937 rng(seed + 1);
    const int year = 100 + static_cast<int>(rng() % 256);
    setByte(b, save::kGameYearOffset, year - 100);
    for (int n = 0; n < save::kMaxOfficers; ++n) {
        const qsizetype s = save::statusBlock(n);
        for (int k = 0; k < 8; ++k) {
            auto nibble = [&] {
                const int v = static_cast<int>(rng() % 9);
                return v == 0 ? 0 : v + 5;  // 0, 6..13: 6 and 7 are rewritten below
            };
            int lo = nibble(), hi = nibble();
            lo = lo < 8 ? 0 : lo;
            hi = hi < 8 || k == 7 ? 0 : hi;
            setByte(b, s + 60 + k, hi * 16 + lo);
        }
        // An entry year at or before the game year, or never.
        const int entry = rng() % 4 == 0 ? 0 : 1 + static_cast<int>(rng() % std::max(1, year - 100));
        setByte(b, s + 1, std::min(entry, year - 100));
        // The status block keeps a copy of the abilities.
        for (int i = 0; i < 4; ++i)
            setByte(b, s + 2 + i, byteAt(b, save::personBlock(n) + 37 + i));
    }
    return b;
}

}  // namespace

TEST(OfficerRecord, DecodeThenEncodeLeavesEverySaveByteAsItWas)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const QByteArray original = representableSave(seed);
        QByteArray copy = original;
        for (int n = 0; n < save::kMaxOfficers; ++n)
            EncodeOfficer(copy, n, DecodeOfficer(copy, n));
        ASSERT_EQ(copy.size(), original.size());
        for (qsizetype i = 0; i < copy.size(); ++i)
            ASSERT_EQ(byteAt(copy, i), byteAt(original, i)) << "seed " << seed << " byte " << i;
    }
}

TEST(OfficerRecord, EncodingKeepsEveryBitTheViewDoesNotOwn)
{
    // Zero every owned field: what stays must be exactly the unowned bits.
    const QByteArray original = noiseSave(9);
    QByteArray b = original;
    OfficerRecord r = DecodeOfficer(b, kOfficer);
    r.person = PersonBlock{};
    r.person.birthYear = 100;
    r.status.skills = 0;
    r.status.tactics = {};
    r.status.lifespan = r.status.health = r.status.rank = 0;
    EncodeOfficer(b, kOfficer, r);

    EXPECT_EQ(byteAt(b, P + 35), byteAt(original, P + 35));
    EXPECT_EQ(le16At(b, P + 46), le16At(original, P + 46));
    EXPECT_EQ(le16At(b, P + 50), le16At(original, P + 50));
    EXPECT_EQ(byteAt(b, P + 52), byteAt(original, P + 52) & 0x1F);
    EXPECT_EQ(byteAt(b, P + 53), byteAt(original, P + 53) & 0xFC);
    EXPECT_EQ(byteAt(b, P + 54), byteAt(original, P + 54) & 0x03);
    for (int i = 56; i < 60; ++i)
        EXPECT_EQ(byteAt(b, P + i), byteAt(original, P + i));
    EXPECT_EQ(byteAt(b, S + 0), byteAt(original, S + 0));  // force is shown only
    EXPECT_EQ(byteAt(b, S + 50), byteAt(original, S + 50) & 0xC3);  // rank cleared, flag, bit 1, status kept
    EXPECT_EQ(byteAt(b, S + 51), byteAt(original, S + 51) & 0x03);
    EXPECT_EQ(byteAt(b, S + 56), byteAt(original, S + 56) & 0x3F);
    for (int i : {6, 7, 8, 9, 12, 20, 33, 36, 37, 42, 49, 52, 55, 68, 79, 82, 87})
        EXPECT_EQ(byteAt(b, S + i), byteAt(original, S + i)) << "status byte " << i;
    EXPECT_EQ(le16At(b, save::locationEntry(kOfficer)), le16At(original, save::locationEntry(kOfficer)));
    EXPECT_EQ(byteAt(b, save::kGameMonthOffset) & 15, byteAt(original, save::kGameMonthOffset) & 15);
}

TEST(OfficerRecord, LifespanAndHealthShareByte51Independently)
{
    QByteArray b = noiseSave(4);
    const int statusBits = byteAt(b, S + 51) & 3;
    for (int lifespan = 0; lifespan < 8; ++lifespan) {
        for (int health = 0; health < 8; ++health) {
            OfficerRecord r = DecodeOfficer(b, kOfficer);
            r.status.lifespan = lifespan;
            r.status.health = health;
            EncodeOfficer(b, kOfficer, r);
            const OfficerRecord back = DecodeOfficer(b, kOfficer);
            ASSERT_EQ(back.status.lifespan, lifespan);
            ASSERT_EQ(back.status.health, health);
            ASSERT_EQ(byteAt(b, S + 51) & 3, statusBits);
        }
    }
}

TEST(OfficerRecord, SkillsFollowTheBitsOfTheirTexts)
{
    QByteArray b(save::kStartupBufferSize, '\0');
    OfficerRecord r = DecodeOfficer(b, kOfficer);
    // The box Check2(10j + b) stands for bit b of byte 59 - j, which is skill 8j + 7 - b.
    SetSkill(r.status.skills, 8 * 2 + 7 - 3, true);  // Check2(23): bit 3 of byte 57, "水軍"
    EncodeOfficer(b, kOfficer, r);
    EXPECT_EQ(byteAt(b, S + 57), 0x08);
    EXPECT_EQ(byteAt(b, S + 58) | byteAt(b, S + 59) | byteAt(b, S + 56), 0);

    r.status.skills = 0;
    SetSkill(r.status.skills, 0, true);   // "猛將": bit 7 of byte 59
    SetSkill(r.status.skills, 25, true);  // "神算": bit 6 of byte 56
    EncodeOfficer(b, kOfficer, r);
    EXPECT_EQ(byteAt(b, S + 59), 0x80);
    EXPECT_EQ(byteAt(b, S + 57), 0);
    EXPECT_EQ(byteAt(b, S + 56), 0x40);
    EXPECT_TRUE(HasSkill(DecodeOfficer(b, kOfficer).status.skills, 25));
}

TEST(OfficerRecord, TacticNibblesAreStoredAsGiven)
{
    QByteArray b(save::kStartupBufferSize, '\0');
    setByte(b, S + 60, 0x85);  // tactic 0: 5 ("未"), tactic 1: 8 ("初")
    setByte(b, S + 61, 0xE0);  // tactic 3: 14, outside the list
    setByte(b, S + 67, 0xFD);  // tactic 14: 13 ("極"); the high nibble is no tactic and stays
    OfficerRecord r = DecodeOfficer(b, kOfficer);
    EncodeOfficer(b, kOfficer, r);
    EXPECT_EQ(byteAt(b, S + 60), 0x85);
    EXPECT_EQ(byteAt(b, S + 61), 0xE0);
    EXPECT_EQ(byteAt(b, S + 67), 0xFD);
    r.status.tactics[14] = 8;
    r.status.loyalty = 70;
    EncodeOfficer(b, kOfficer, r);
    EXPECT_EQ(byteAt(b, S + 67), 0xF8);
}

// Only a level the user changes is normalised; one left as it was keeps its nibble.
// The view chooses a level, the command line types the list of levels: both store
// the same nibble.
TEST(OfficerRecord, TacticLevelsLeftAsTheyWereKeepTheirNibble)
{
    struct Row {
        int stored;
        int level;  // as chosen: a list index, or 14/15 for the extra item
        int nibble;
    };
    const std::vector<Row> rows = {
        {5, 0, 5},   {5, 1, 8},   {5, 6, 13},  {7, 0, 7},    {0, 0, 0},    {0, 3, 10},
        {9, 2, 9},   {9, 0, 0},   {13, 6, 13}, {14, 14, 14}, {15, 15, 15}, {14, 6, 13},
        {9, 14, 14}, {9, 15, 15}, {0, 14, 14}, {14, 15, 15}, {15, 14, 14}, {7, 15, 15},
    };
    const auto& tactics = OfficerField(QStringLiteral("tactics"));
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.stored << " -> " << row.level);
        OfficerRecord r;
        r.status.tactics.fill(0);
        r.status.tactics[4] = row.stored;
        FieldValue levels = tactics.get(r);
        levels.list[4] = row.level;
        OfficerRecord typed = r;
        tactics.set(r, levels);
        EXPECT_EQ(r.status.tactics[4], row.nibble);

        FieldProblem problem;
        const auto read = ParseFieldValue(tactics, FieldValueText(tactics, levels), &problem);
        ASSERT_TRUE(read) << problem.message.toStdString();
        tactics.set(typed, *read);
        EXPECT_EQ(typed.status.tactics, r.status.tactics);
    }
}

TEST(OfficerRecord, NamesOfOneAndTwoCharactersEndWithAZero)
{
    QByteArray b = noiseSave(5);
    OfficerRecord r = DecodeOfficer(b, kOfficer);
    r.person.surname = QStringLiteral("張");
    r.person.givenName = QStringLiteral("飛");
    r.person.fullName = QStringLiteral("張飛");
    EncodeOfficer(b, kOfficer, r);
    EXPECT_EQ(b.mid(P + 0, 3), QByteArray("\xB1\x69\x00", 3));
    EXPECT_EQ(b.mid(P + 5, 3), QByteArray("\xAD\xB8\x00", 3));
    EXPECT_EQ(b.mid(P + 26, 5), QByteArray("\xB1\x69\xAD\xB8\x00", 5));
    const OfficerRecord back = DecodeOfficer(b, kOfficer);
    EXPECT_EQ(back.person.surname, r.person.surname);
    EXPECT_EQ(back.person.fullName, r.person.fullName);
}

TEST(OfficerRecord, GameDateKeepsTheLowNibbleOfTheMonthByte)
{
    QByteArray b(save::kStartupBufferSize, '\0');
    setByte(b, save::kGameMonthOffset, 0x3B);
    EncodeGameDate(b, {355, 12});
    EXPECT_EQ(byteAt(b, save::kGameYearOffset), 255);
    EXPECT_EQ(byteAt(b, save::kGameMonthOffset), 0xCB);
    EXPECT_EQ(DecodeGameDate(b).month, 12);
}

TEST(OfficerRecord, YearsOfServiceAndEntryYear)
{
    EXPECT_EQ(YearsOfService(0, 200), 0);     // never served
    EXPECT_EQ(YearsOfService(101, 200), 0);   // enters in a later year
    EXPECT_EQ(YearsOfService(90, 200), 11);
    EXPECT_EQ(EntryYearByte(200, 11, 90), 90);
    EXPECT_EQ(EntryYearByte(200, 0, 0), 0);    // "never" stays never
    EXPECT_EQ(EntryYearByte(200, 0, 101), 101);  // 0 years: enters next year
    EXPECT_EQ(EntryYearByte(200, 150, 90), 0);
    EXPECT_EQ(EntryYearByte(355, 0, 40), 256);  // cannot be stored
    EXPECT_EQ(EntryYearByte(355, 1, 40), 255);  // the last that can
    EXPECT_EQ(YearsOfService(255, 355), 1);
}

// The entry-year byte is kept while the years of service are as read, whatever
// the game year; a change of the years derives it.
TEST(OfficerRecord, AnEntryYearIsRederivedOnlyWhenTheYearsOfServiceChange)
{
    struct Row {
        const char* name;
        int entryByte;
        int gameYear;     // stored
        int newGameYear;  // as applied
        int years;        // as applied; -1 for as read
        int stored;
    };
    const std::vector<Row> rows = {
        {"never served", 0, 200, 200, -1, 0},
        {"enters after the game year", 102, 200, 200, -1, 102},
        {"serving", 90, 200, 200, -1, 90},
        {"the game year changes alone", 90, 200, 210, -1, 90},
        {"an entry after a later game year", 102, 200, 199, -1, 102},
        {"years changed", 90, 200, 200, 5, 96},
        {"years given to one who enters later", 102, 200, 200, 3, 98},
        {"0 years typed for one serving", 90, 200, 200, 0, 101},
        {"years changed with the game year", 90, 200, 210, 5, 106},
        {"a long service in year 355", 40, 355, 355, -1, 40},
        // Entering in the game year 355 is the last entry year a byte holds.
        {"one year in year 355", 40, 355, 355, 1, 255},
        {"two years in year 355", 40, 355, 355, 2, 254},
        {"one year when the game year becomes 355", 90, 200, 355, 1, 255},
    };
    for (const Row& row : rows) {
        QByteArray b(save::kStartupBufferSize, '\0');
        setByte(b, save::kGameYearOffset, row.gameYear - 100);
        setByte(b, S + 1, row.entryByte);
        OfficerRecord r = DecodeOfficer(b, kOfficer);
        r.date.year = row.newGameYear;
        if (row.years >= 0)
            r.yearsOfService = row.years;
        EXPECT_FALSE(OfficerStorageProblem(r)) << row.name;
        EncodeOfficer(b, kOfficer, r);
        EXPECT_EQ(byteAt(b, S + 1), row.stored) << row.name;
    }
}

TEST(OfficerRecord, RankOutsideTheListIsKeptUnlessChanged)
{
    EXPECT_EQ(RankListIndex(12), 9);
    EXPECT_EQ(RankFromList(9, 12), 12);
    EXPECT_EQ(RankFromList(3, 12), 3);
    EXPECT_EQ(RankFromList(9, 4), 9);
    EXPECT_EQ(StatusListIndex(13), 11);
}

class OfficerFieldTable : public ::testing::Test {
protected:
    std::map<QString, QString> texts;
    OfficerRecord record;

    void SetUp() override
    {
        record.date = {200, 5};
        for (const auto& f : varkel::OfficerFields())
            if (!f.control.isEmpty())
                texts[f.control] = QStringLiteral("5");
        texts["Text3(8)"] = texts["Text5(0)"] = QStringLiteral("150");
    }

    std::optional<FieldProblem> read(std::vector<std::pair<QString, QString>>* shown = nullptr)
    {
        return ReadNumberFields<OfficerRecord>(
            varkel::OfficerFields(), [this](const QString& c) { return texts.at(c); }, record, shown);
    }
};

TEST_F(OfficerFieldTable, ClampsToTheLimitsAndReportsTheShownValues)
{
    texts["Text3(0)"] = "20";
    texts["Text3(7)"] = "200";
    texts["Text3(8)"] = "99";
    texts["Text5(0)"] = "356";
    texts["Text5(1)"] = "13";
    std::vector<std::pair<QString, QString>> shown;
    ASSERT_FALSE(read(&shown));
    EXPECT_EQ(record.person.bravery, 7);
    EXPECT_EQ(record.person.compatibility, 150);
    EXPECT_EQ(record.person.birthYear, 100);
    EXPECT_EQ(record.date.year, 355);
    EXPECT_EQ(record.date.month, 12);
    EXPECT_EQ(record.person.familyNumber, 5);
    const std::map<QString, QString> asMap(shown.begin(), shown.end());
    EXPECT_EQ(asMap.at("Text3(0)"), "7");
    EXPECT_EQ(asMap.at("Text3(8)"), "100");
    EXPECT_EQ(asMap.size(), 5u);
}

TEST_F(OfficerFieldTable, RefusesValuesThatCannotBeStoredAndChangesNothing)
{
    for (const auto& [control, text] : std::vector<std::pair<QString, QString>>{
             {"Text2(1)", "256"}, {"Text3(4)", ""}, {"Text3(16)", "7x"}, {"Text3(16)", "70000"}}) {
        SetUp();
        texts[control] = text;
        texts["Text3(0)"] = "20";  // a clamp before the fault must not be applied either
        const OfficerRecord before = record;
        const auto problem = read();
        ASSERT_TRUE(problem) << control.toStdString();
        EXPECT_EQ(problem->control, control);
        EXPECT_EQ(record.person.bravery, before.person.bravery);
        EXPECT_EQ(record.person.abilities, before.person.abilities);
    }
    texts["Text2(1)"] = "300";
    EXPECT_TRUE(read()->message.contains(QStringLiteral("智力")));
}

TEST_F(OfficerFieldTable, LongServiceIsStored)
{
    texts["Text3(14)"] = "150";  // more than the box lets one type, but shown for old officers
    ASSERT_FALSE(read());
    EXPECT_EQ(record.yearsOfService, 150);
}

TEST_F(OfficerFieldTable, AnEntryYearBeyond355IsAStorageProblem)
{
    record.date.year = 355;
    record.yearsOfService = 0;
    record.status.entryYearByte = 40;
    EXPECT_TRUE(OfficerStorageProblem(record));
    record.status.entryYearByte = 0;  // never served: stays 0
    EXPECT_FALSE(OfficerStorageProblem(record));
}

// The limits of an officer's own numbers (the game date belongs to the file), which
// the view, the command line and the batch all clamp to through this table.
TEST(OfficerFields, NumbersOfAnOfficerHaveTheirLimits)
{
    const std::map<std::string, int> limits = {
        {"bravery", 7},
        {"calmness", 7},
        {"duty", 15},
        {"ambition", 15},
        {"action", 200},
        {"lifespan", 7},
        {"compatibility", 150},
        {"birth_year", 355},
        {"loyalty", 100},
        {"fame", 60000},
        {"infamy", 60000},
        {"merit", 60000},
        {"related_officer", 65535},
        {"family", 65535},
    };
    std::map<std::string, int> stated;
    for (const auto& f : OfficerFields())
        if (f.kind == FieldKind::Number && f.upper && f.perRecord && !f.readOnly)
            stated[f.key.toStdString()] = *f.upper;
    EXPECT_EQ(stated, limits);
}

// Every number with a limit takes one above it as the limit and says it clamped:
// in the view (the box then shows the limit) and on the command line (the change
// is reported as clamped), with one rule for both. The game date belongs to the
// file, so only the view edits it.
TEST(OfficerFields, NumbersOneAboveTheirLimitAreClampedAndSaySo)
{
    std::vector<const RecordField<OfficerRecord>*> limited;
    for (const auto& f : OfficerFields())
        if (f.kind == FieldKind::Number && f.upper)
            limited.push_back(&f);
    ASSERT_FALSE(limited.empty());

    // Every limited field one below its limit, so that nothing else clamps and
    // one above is a change.
    QByteArray b = representableSave(21);
    OfficerRecord base = DecodeOfficer(b, kOfficer);
    for (const auto* each : limited)
        each->set(base, FieldValue{*each->upper - 1, {}, {}});
    base.person.surname = QStringLiteral("張");
    base.person.givenName = QStringLiteral("飛");
    base.person.fullName = QStringLiteral("張飛");
    EncodeOfficer(b, kOfficer, base);
    base = DecodeOfficer(b, kOfficer);

    for (const auto* each : limited) {
        const auto& field = *each;
        SCOPED_TRACE(field.key.toStdString());
        const int limit = *field.upper;
        const QString above = QString::number(limit + 1);

        std::map<QString, QString> boxes;
        for (const auto& f : OfficerFields())
            if (f.kind == FieldKind::Number && !f.control.isEmpty() && f.get)
                boxes[f.control] = NumberBoxText(f, base);
        boxes[field.control] = above;
        OfficerRecord r = base;
        std::vector<std::pair<QString, QString>> clamped;
        const auto problem =
            ReadNumberFields(OfficerFields(), [&](const QString& c) { return boxes.at(c); }, r, &clamped);
        ASSERT_FALSE(problem) << problem->message.toStdString();
        EXPECT_EQ(field.get(r).number, limit);
        EXPECT_EQ(clamped, (std::vector<std::pair<QString, QString>>{{field.control, QString::number(limit)}}));

        if (!field.perRecord)
            continue;
        QByteArray file = b;
        OfficerKind officers;
        officers.load(file);
        const EditResult edit = EditRecord(officers, file, kOfficer, {{field.key, above}});
        ASSERT_FALSE(edit.problem) << edit.problem->toStdString();
        ASSERT_EQ(edit.changes.size(), 1u);
        EXPECT_EQ(edit.changes[0].field, field.key);
        EXPECT_EQ(edit.changes[0].before, QString::number(limit - 1));
        EXPECT_EQ(edit.changes[0].after, QString::number(limit));
        EXPECT_TRUE(edit.changes[0].clamped);
        EXPECT_EQ(field.get(DecodeOfficer(file, kOfficer)).number, limit);
    }
}
