#include "demo_folder/demo_folder.h"
#include "person/biography.h"
#include "saveeditor/family_record.h"
#include "saveeditor/intimacy_stream.h"
#include "person/member_record.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

using namespace varkel;

namespace {

int byteAt(const QByteArray& b, qsizetype at)
{
    return static_cast<unsigned char>(b[at]);
}

int le16(const QByteArray& b, qsizetype at)
{
    return byteAt(b, at) | byteAt(b, at + 1) << 8;
}

qsizetype person(int i)
{
    return 82736 + 60 * qsizetype(i);
}
qsizetype status(int i)
{
    return 3616 + 88 * qsizetype(i);
}
qsizetype location(int i)
{
    return 79296 + 4 * qsizetype(i);
}

QString fullName(const QByteArray& save, int i)
{
    return ReadNameField(save, person(i) + 26, 8);
}
int statusWord(const QByteArray& save, int i)
{
    return le16(save, status(i) + 50);
}
int statusOf(const QByteArray& save, int i)
{
    return statusWord(save, i) >> 6 & 15;
}
int cityOf(const QByteArray& save, int i)
{
    return le16(save, location(i)) >> 4;
}
bool away(const QByteArray& save, int i)
{
    return byteAt(save, location(i) + 3) != 0;
}
qsizetype cityRecord(int c)
{
    return save::kCityRecordOffset + save::kCityRecordSize * c;
}
qsizetype forceRecord(int s)
{
    return save::kForceRecordOffset + save::kForceRecordSize * s;
}

// How the editor counts officers: 0..759 always, then up to the first empty name.
int officerCount(const QByteArray& save)
{
    int i = 760;
    while (i < 1024 && !fullName(save, i).isEmpty())
        ++i;
    return i;
}

const QStringList kSlotFiles = [] {
    QStringList names;
    for (int k = 0; k < 9; ++k)
        names << QStringLiteral("svd_0%1.sav").arg(k);
    return names;
}();

const QStringList kAllFiles = kSlotFiles + QStringList{QStringLiteral("Svd_sys.sav"), QStringLiteral("RDText.vk"),
                                                       QStringLiteral("d_sce.vk"),    QStringLiteral("m_msg.vk"),
                                                       QStringLiteral("g_maindy.vk"), QStringLiteral("Selgame.vk")};

class DemoFolderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        ASSERT_EQ(demo::WriteDemoGameFolder(dir_->path()), QString());
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QString path(const QString& name) { return QDir(dir_->path()).filePath(name); }
    static QByteArray read(const QString& name) { return test::FileBytes(path(name)); }
    static QByteArray slot(int k) { return read(kSlotFiles[k]); }

    static std::unique_ptr<QTemporaryDir> dir_;
};

std::unique_ptr<QTemporaryDir> DemoFolderTest::dir_;

TEST_F(DemoFolderTest, WritesEveryGameFileAtTheSizeTheEditorExpects)
{
    EXPECT_EQ(QFileInfo(path("Svd_sys.sav")).size(), 14848);  // at least 14,841
    EXPECT_GE(QFileInfo(path("RDText.vk")).size(), 24 + 152 * 100);
    EXPECT_EQ(QFileInfo(path("d_sce.vk")).size(), 134024);
    EXPECT_GE(QFileInfo(path("m_msg.vk")).size(), 639906 + 5373);
    EXPECT_EQ(QFileInfo(path("g_maindy.vk")).size(), 60798612 + 1152000);
    EXPECT_EQ(QFileInfo(path("Selgame.vk")).size(), 215040);
    std::multiset<qint64> sizes;
    for (int k = 0; k < 9; ++k)
        sizes.insert(QFileInfo(path(kSlotFiles[k])).size());
    EXPECT_EQ(sizes.count(374534), 7u);
    EXPECT_EQ(sizes.count(374520), 1u);
    EXPECT_EQ(sizes.count(374600), 1u);
}

TEST_F(DemoFolderTest, TheLongSaveHasANonZeroTailAndTheShortOneOpensOnlyFromTheSlotMenu)
{
    const QByteArray longSave = slot(demo::kDemoLongSlot);
    ASSERT_EQ(longSave.size(), 374600);
    for (qsizetype i = 374534; i < longSave.size(); ++i)
        EXPECT_NE(byteAt(longSave, i), 0) << i;
    EXPECT_EQ(slot(demo::kDemoShortSlot).size(), 374520);
}

TEST_F(DemoFolderTest, SaveTimesAreDistinctAndTheNewestIsAFullSizeSlot)
{
    std::map<QDateTime, int> byTime;
    for (int k = 0; k < 9; ++k)
        byTime[QFileInfo(path(kSlotFiles[k])).lastModified()] = k;
    ASSERT_EQ(byTime.size(), 9u);
    const int newest = byTime.rbegin()->second;
    EXPECT_EQ(newest, demo::kDemoNewestSlot);
    EXPECT_EQ(slot(newest).size(), 374534);
    EXPECT_NE(newest, 0);  // start-up must really compare dates
}

TEST_F(DemoFolderTest, OfficerNamesDecodeAndTheFullNameIsSurnameThenGivenName)
{
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        int titled = 0;
        for (int i = 0; i < 760; ++i) {
            const QString surname = ReadNameField(save, person(i), 4);
            const QString given = ReadNameField(save, person(i) + 5, 4);
            const QString courtesy = ReadNameField(save, person(i) + 10, 4);
            const QString full = fullName(save, i);
            ASSERT_FALSE(surname.isEmpty()) << k << ":" << i;
            ASSERT_FALSE(given.isEmpty()) << k << ":" << i;
            ASSERT_FALSE(courtesy.isEmpty()) << k << ":" << i;
            ASSERT_EQ(full, surname + given) << k << ":" << i;
            ASSERT_FALSE(full.contains(QChar(0xFFFD))) << k << ":" << i;
            // Each character has one code, so writing the name again gives the same bytes.
            QByteArray again = save;
            WriteNameField(again, person(i) + 26, full);
            ASSERT_EQ(again.mid(person(i) + 26, 9), save.mid(person(i) + 26, 9)) << k << ":" << i;
            titled += ReadNameField(save, person(i) + 15, 8).isEmpty() ? 0 : 1;
        }
        EXPECT_GT(titled, 20) << k;
    }
}

TEST_F(DemoFolderTest, OfficerCountsVaryFrom760To860)
{
    std::set<int> counts;
    for (int k = 0; k < 9; ++k) {
        const int count = officerCount(slot(k));
        counts.insert(count);
        EXPECT_LE(count, 860) << k;
        if (k != demo::kDemoSlotWith760Officers && k != demo::kDemoSlotWith860Officers) {
            EXPECT_GT(count, 760) << k;
        }
    }
    EXPECT_GE(counts.size(), 7u);

    const QByteArray all = slot(demo::kDemoSlotWith860Officers);
    EXPECT_EQ(officerCount(all), 860);
    EXPECT_TRUE(fullName(all, 860).isEmpty());  // the first byte of the city records

    const QByteArray fewest = slot(demo::kDemoSlotWith760Officers);
    EXPECT_EQ(officerCount(fewest), 760);
    EXPECT_FALSE(fullName(fewest, 761).isEmpty());  // named, but after the gap
}

TEST_F(DemoFolderTest, EveryStatusRankHealthAndLifespanAppears)
{
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        std::set<int> statuses, ranks, pairs;
        for (int i = 0; i < officerCount(save); ++i) {
            const int w = statusWord(save, i);
            statuses.insert(w >> 6 & 15);
            ranks.insert(w >> 2 & 15);
            pairs.insert(w >> 10);  // health and lifespan
        }
        EXPECT_EQ(statuses.size(), 16u) << k;
        for (int r = 0; r <= 9; ++r)
            EXPECT_TRUE(ranks.count(r)) << k << " rank " << r;
        EXPECT_GT(ranks.size(), 11u) << k;
        EXPECT_EQ(pairs.size(), 64u) << k;
    }
}

TEST_F(DemoFolderTest, OfficerFieldsStayInTheirRanges)
{
    int oddTactics = 0;
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const int count = officerCount(save);
        std::map<int, int> leadersPerForce;
        int lowNibbles = 0;
        int neverServed = 0;
        for (int i = 0; i < count; ++i) {
            const int force = byteAt(save, status(i));
            ASSERT_LE(force, 68) << k << ":" << i;
            const int code = statusWord(save, i) >> 6 & 15;
            if (code == 0 || code == 5)
                ++leadersPerForce[force];
            // One slot stores a city beyond the city names.
            const int city = le16(save, location(i)) >> 4;
            if (k == demo::kDemoOddCitySlot && i == demo::kDemoOfficerInOddCity) {
                ASSERT_EQ(city, demo::kDemoOddCity);
            } else {
                ASSERT_LE(city, 50) << k << ":" << i;
            }
            ASSERT_LE(le16(save, person(i) + 48), 845) << k << ":" << i;
            ASSERT_EQ(byteAt(save, status(i) + 67) >> 4, 0) << k << ":" << i;
            for (int t = 0; t < 15; ++t) {
                const int nibble = byteAt(save, status(i) + 60 + t / 2) >> (t % 2 * 4) & 15;
                if (nibble >= 14) {
                    ++oddTactics;
                    EXPECT_EQ(k, demo::kDemoOddTacticSlot);
                    EXPECT_EQ(i, demo::kDemoOddTacticOfficer);
                }
                lowNibbles += nibble >= 1 && nibble <= 7 ? 1 : 0;
            }
            neverServed += byteAt(save, status(i) + 1) == 0 ? 1 : 0;
        }
        EXPECT_GT(leadersPerForce.size(), 20u) << k;
        int shared = 0;
        for (const auto& [force, leaders] : leadersPerForce)
            shared += leaders > 1 ? 1 : 0;
        EXPECT_GE(shared, 1) << k;
        EXPECT_GT(lowNibbles, 0) << k;
        EXPECT_GT(neverServed, 0) << k;
        const int month = byteAt(save, 1891) >> 4;
        EXPECT_GE(month, 1);
        EXPECT_LE(month, 12);
        EXPECT_NE(byteAt(save, 1891) & 15, 0);
    }
    EXPECT_EQ(oddTactics, 1);
}

TEST_F(DemoFolderTest, ControlledOfficersFillThreeToEightPlayerSlots)
{
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const int count = officerCount(save);
        int controlled = 0;
        int unflagged = 0;
        int empty = 0;
        std::set<int> controlledOfficers;
        for (int p = 0; p < 8; ++p) {
            const int u = le16(save, 146406 + 972 * p);
            if (u == 1720) {
                ++empty;
                continue;
            }
            ASSERT_GE(u, 860);
            ASSERT_LE(u, 1719);
            const int m = le16(save, 1896 + 2 * (u - 860));
            ASSERT_LT(m, count);
            const bool flag = byteAt(save, status(m) + 50) & 1;
            (flag ? controlled : unflagged)++;
            if (flag) {
                controlledOfficers.insert(m);
                EXPECT_EQ(statusWord(save, m) >> 6 & 15, 0) << k << ":" << m;  // a ruler
            }
        }
        if (k == demo::kDemoSlotWithEightControlled) {
            EXPECT_EQ(controlled, 8);
            EXPECT_EQ(unflagged, 0);
        } else if (k == demo::kDemoSlotWithSevenControlled) {
            EXPECT_EQ(controlled, 7);
            EXPECT_EQ(unflagged, 1);
        } else {
            EXPECT_GE(controlled, 3) << k;
            EXPECT_LE(controlled, 5) << k;
            EXPECT_EQ(unflagged, 1) << k;
        }
        EXPECT_EQ(controlled + unflagged + empty, 8) << k;
        int flags = 0;
        for (int i = 0; i < count; ++i)
            flags += byteAt(save, status(i) + 50) & 1;
        EXPECT_EQ(flags, controlled) << k;
        // The current officer is one of them.
        EXPECT_TRUE(controlledOfficers.count(le16(save, 1882))) << k;
    }
}

TEST_F(DemoFolderTest, PersonMapsHaveEmptyEntriesButOneIsFull)
{
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const int count = officerCount(save);
        std::map<int, int> listed;  // officer -> entries
        int empty = 0;
        for (int j = 0; j < 860; ++j) {
            const int m = le16(save, 1896 + 2 * j);
            if (m == 1720)
                ++empty;
            else
                ++listed[m];
        }
        for (const auto& [officer, entries] : listed) {
            EXPECT_LT(officer, count) << k;
            EXPECT_EQ(entries, 1) << k << ":" << officer;
        }
        const bool full = k == demo::kDemoFullPersonMapSlot;
        EXPECT_EQ(empty == 0, full) << k;
        EXPECT_EQ(listed.count(demo::kDemoUnlistedFreeOfficer), full ? 1u : 0u) << k;
        EXPECT_EQ(listed.count(demo::kDemoUnlistedDeadOfficer), full ? 1u : 0u) << k;
        EXPECT_EQ(listed.count(demo::kDemoListedNotAppearedOfficer), 1u) << k;
        EXPECT_EQ(statusWord(save, demo::kDemoUnlistedFreeOfficer) >> 6 & 15, 7) << k;
        EXPECT_EQ(statusWord(save, demo::kDemoUnlistedDeadOfficer) >> 6 & 15, 10) << k;
        EXPECT_EQ(statusWord(save, demo::kDemoListedNotAppearedOfficer) >> 6 & 15, 9) << k;
    }
}

TEST_F(DemoFolderTest, FamiliesOfControlledOfficersAreNamed)
{
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        int named = 0;
        for (int m = 0; m < 16; ++m) {
            const qsizetype r = 177646 + 148 * m;
            const QString full = ReadNameField(save, r + 26, 8);
            if (full.isEmpty())
                continue;
            ++named;
            EXPECT_EQ(full, ReadNameField(save, r, 4) + ReadNameField(save, r + 5, 4));
        }
        EXPECT_GE(named, 3) << k;
    }
}

TEST_F(DemoFolderTest, BytesNoViewOwnsCarryNonZeroNoise)
{
    const QByteArray save = slot(demo::kDemoNewestSlot);
    for (int i = 0; i < 760; ++i) {
        for (const int at : {6, 9, 12, 33, 36, 42, 49, 52, 55, 68, 79, 82, 87})
            ASSERT_NE(byteAt(save, status(i) + at), 0) << i << "+" << at;
        for (const int at : {35, 46, 47, 50, 51, 56, 59})
            ASSERT_NE(byteAt(save, person(i) + at), 0) << i << "+" << at;
        ASSERT_NE(byteAt(save, status(i) + 56) & 0x3F, 0) << i;
        ASSERT_NE(byteAt(save, person(i) + 53) & 0xFC, 0) << i;
        ASSERT_NE(byteAt(save, person(i) + 54) & 3, 0) << i;
    }
    // City bytes but corps, bandits and disasters, and byte 26 of city 0: the end
    // of the full name officer 860 would have.
    const std::set<int> cityFields = {0, 3, 18, 19, 23, 25};
    for (int c = 0; c < save::kCityRecordCount; ++c) {
        for (int at = 0; at < save::kCityRecordSize; ++at) {
            if (!cityFields.count(at) && !(c == 0 && at == 26)) {
                ASSERT_NE(byteAt(save, cityRecord(c) + at), 0) << c << "+" << at;
            }
        }
    }
    EXPECT_EQ(byteAt(save, cityRecord(0) + 26), 0);
    // Force bytes after the name field but technology, troops, machines and rank.
    const std::set<int> forceFields = {27, 28, 29, 31};
    for (int s = 0; s < 30; ++s) {
        for (int at = 15; at < save::kForceRecordSize; ++at) {
            if (!forceFields.count(at)) {
                ASSERT_NE(byteAt(save, forceRecord(s) + at), 0) << s << "+" << at;
            }
        }
    }
}

TEST_F(DemoFolderTest, ScenarioHoldsCityAndTreasureNamesAndValidTreasures)
{
    const QByteArray scenario = read("d_sce.vk");
    QSet<QString> cities;
    for (int c = 0; c <= 50; ++c) {
        const QString name = ReadNameField(scenario, 2036 + 16 * c, 2);
        EXPECT_EQ(name.size(), 2) << c;
        cities.insert(name);
    }
    EXPECT_EQ(cities.size(), 51);
    for (int i = 0; i < 32; ++i)
        EXPECT_FALSE(ReadNameField(scenario, 3454 + 12 * i, 8).isEmpty()) << i;
    std::set<int> kinds;
    for (int t = 0; t < 255; ++t) {
        const qsizetype r = 3838 + 21 * t;
        const QString name = ReadNameField(scenario, r, 10);
        EXPECT_FALSE(name.isEmpty()) << t;
        EXPECT_FALSE(name.contains(QChar(0xFFFD))) << t;
        EXPECT_EQ(byteAt(scenario, r + 12), 0) << t;
        EXPECT_LE(byteAt(scenario, r + 13), 11) << t;
        EXPECT_LE(byteAt(scenario, r + 14), 79) << t;
        const int skill = byteAt(scenario, r + 17);
        EXPECT_TRUE(skill <= 26 || skill == 255 || t == demo::kDemoTreasureWithOddSkill) << t;
        kinds.insert(byteAt(scenario, r + 13));
    }
    EXPECT_EQ(kinds.size(), 12u);
}

TEST_F(DemoFolderTest, TreasureNotesHoldEightyEndedNotes)
{
    const QByteArray notes = read("m_msg.vk").mid(639906, 5373);
    QStringList texts(1);
    for (qsizetype p = 0; p < notes.size() && texts.size() <= 80;) {
        if (byteAt(notes, p) == 0) {
            ++p;
            continue;
        }
        const int code = byteAt(notes, p) << 8 | byteAt(notes, p + 1);
        p += 2;
        if (code == 0x2422)
            texts.append(QString());
        else if (code != 0x4052)
            texts.last() += QStringLiteral("x");
    }
    ASSERT_EQ(texts.size(), 81);  // 80 ended notes, then nothing
    for (int n = 0; n < 80; ++n)
        EXPECT_GT(texts[n].size(), 8) << n;
}

TEST_F(DemoFolderTest, SomeNewOfficersAreNamedWithBiographiesOfTheEdgeLengths)
{
    const QByteArray officers = read("Svd_sys.sav");
    const QByteArray biographies = read("RDText.vk");
    const std::set<int> named(std::begin(demo::kDemoNewOfficers), std::end(demo::kDemoNewOfficers));
    std::set<int> growths;
    for (int i = 0; i < 100; ++i) {
        const qsizetype r = 24 + 148 * i;
        const QString full = ReadNameField(officers, r + 26, 8);
        ASSERT_EQ(!full.isEmpty(), named.count(i) == 1) << i;
        if (full.isEmpty()) {
            EXPECT_EQ(officers.mid(r, 148), QByteArray(148, '\0')) << i;
            continue;
        }
        EXPECT_EQ(full, ReadNameField(officers, r, 4) + ReadNameField(officers, r + 5, 4));
        growths.insert(DecodeMemberRecord(officers, r).growthTendency);
        const QString story = DecodeBiography(biographies, 24 + 152 * i).remove(QLatin1Char('\n'));
        if (i < int(std::size(demo::kDemoBiographyLengths)))
            EXPECT_EQ(story.size(), demo::kDemoBiographyLengths[i]) << i;
        else
            EXPECT_FALSE(story.isEmpty()) << i;
    }
    EXPECT_EQ(growths.size(), 9u);
    EXPECT_EQ(byteAt(officers, 24 + 148 * demo::kDemoAdmiralWithBitZero + 59) & 3, 3);
    EXPECT_EQ(byteAt(officers, 24 + 111) >> 4, 15);
    EXPECT_EQ(byteAt(officers, 24 + 148 * 2 + 120), 15 << 4 | 14);
}

TEST_F(DemoFolderTest, FamiliesHoldTheEdgeCasesOfTheFamilyView)
{
    for (int slot = 0; slot < 9; ++slot) {
        const QByteArray save = read(QStringLiteral("svd_0%1.sav").arg(slot));
        const int gameYear = byteAt(save, save::kGameYearOffset) + 100;
        EXPECT_EQ(byteAt(save, save::kGameMonthOffset - 1) & 1, slot == demo::kDemoMonthOneSlot ? 1 : 0) << slot;
        for (int k = 0; k < 8; ++k) {
            const bool named = le16At(save, save::playerPerson(k)) != save::kNoPerson;
            const FamilyMember child = DecodeFamilyMember(save, k);
            ASSERT_EQ(!child.person.fullName.isEmpty(), named) << slot << " " << k;
            const bool hasSpouse = !DecodeFamilyMember(save, k + 8).person.fullName.isEmpty();
            EXPECT_EQ(hasSpouse, named && k != demo::kDemoSlotWithoutSpouse) << slot << " " << k;
            if (!named)
                continue;
            EXPECT_EQ(gameYear - child.person.birthYear + 1, demo::kDemoChildAges[k]) << slot << " " << k;
            const int length = demo::kDemoChildBiographyLengths[k];
            const QString story = DecodeBiography(save, family::biographyRecord(k)).remove(QLatin1Char('\n'));
            if (length >= 0)
                EXPECT_EQ(story.size(), length) << slot << " " << k;
            else
                EXPECT_FALSE(story.isEmpty());
        }
        const auto& tied = DecodeFamilyMember(save, 8 + demo::kDemoSpouseWithTiedAbilities).person.abilities;
        EXPECT_EQ(tied[0], tied[1]);
        EXPECT_EQ(*std::max_element(tied.begin(), tied.end()), tied[0]);
    }
    // A woman's husband.
    const QByteArray save = read(QStringLiteral("svd_0%1.sav").arg(demo::kDemoSaveWithAFemaleOfficer));
    const int person = le16At(save, save::playerPerson(demo::kDemoFemaleOfficersSlot));
    const int officer = le16At(save, save::personMapEntry(person));
    EXPECT_TRUE(byteAt(save, save::personBlock(officer) + 52) & 0x20);
    EXPECT_FALSE(DecodeFamilyMember(save, 8 + demo::kDemoFemaleOfficersSlot).person.female);
}

// The relationship view's cases in every save, read as the editor reads them.
TEST_F(DemoFolderTest, RelationshipsHoldEveryKindAndTheEdgeCases)
{
    enum Parties { kOfficers, kAAtTheCount, kNoThirdParty, kEmpty };
    struct Row {
        int record;
        int kind;
        Parties parties;
    };
    const std::vector<Row> rows = {
        {0, relation::kSworn, kOfficers},
        {1, relation::kFeud, kOfficers},
        {2, relation::kRivals, kOfficers},
        {3, relation::kMarried, kOfficers},
        {demo::kDemoRelationWithDifferingCopy, relation::kFeud, kOfficers},
        {demo::kDemoRelationWithOutsideA, relation::kNone, kAAtTheCount},
        {demo::kDemoFeudWithoutThirdParty, relation::kFeud, kNoThirdParty},
        {demo::kDemoRelationsInUse, relation::kNone, kEmpty},
        {relation::kCount - 1, relation::kNone, kEmpty},
    };
    const QByteArray emptyRecord("\xFF\xFF\xFF\x3F", relation::kRecordSize);
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const int count = SaveTables::countOfficers(save);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "save " << k << ", record " << row.record);
            const Relation r = DecodeRelation(save, count, row.record);
            EXPECT_EQ(r.kind, row.kind);
            if (row.parties == kEmpty) {
                EXPECT_EQ(save.mid(relation::record(row.record), relation::kRecordSize), emptyRecord);
                continue;
            }
            EXPECT_EQ(r.a == count, row.parties == kAAtTheCount);
            EXPECT_LT(r.b, count);
            EXPECT_NE(r.a, r.b);
            // Only a feud names the one it avenges.
            const bool avenges = r.kind == relation::kFeud && row.parties != kNoThirdParty;
            EXPECT_EQ(r.c != relation::kNoParty, avenges);
            if (avenges) {
                EXPECT_LT(r.c, count);
            }
        }
        for (int i = 0; i < relation::kCount; ++i) {
            const std::vector<int> planted = {demo::kDemoDifferingRelationCopy};
            EXPECT_EQ(DisagreeingRelationCopies(save, i),
                      i == demo::kDemoRelationWithDifferingCopy ? planted : std::vector<int>{})
                << k << ":" << i;
        }
    }
}

// Player slots that name a person hold every level among the officers the
// intimacy list shows, and varied levels toward the special persons.
TEST_F(DemoFolderTest, IntimacyStreamsHoldEveryLevel)
{
    int slotsWithLevels = 0;
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const int rows = GeneralListRows(SaveTables::countOfficers(save));
        for (int p = 0; p < save::kPlayerSlotCount; ++p) {
            if (le16At(save, save::playerPerson(p)) == save::kNoPerson)
                continue;
            ++slotsWithLevels;
            std::set<int> general, special;
            for (int position = 0; position < rows; ++position)
                general.insert(*GeneralStream(p).read(save, position));
            for (int position = 0; position < intimacy::kSpecialPositions; ++position)
                special.insert(*SpecialStream(p).read(save, position));
            EXPECT_EQ(general.size(), std::size_t(intimacy::kLevelCount)) << k << ":" << p;
            EXPECT_EQ(special.size(), std::size_t(intimacy::kSpecialPositions)) << k << ":" << p;
        }
    }
    EXPECT_GE(slotsWithLevels, 9 * 4);
}

// The cities of a save as the city editor works them out from the bytes: the corps
// of each city, who commands each corps, who stands in each city.
struct World {
    int count = 0;
    std::array<int, save::kCityRecordCount> corps{};
    std::map<int, std::pair<int, int>> commanders;  // corps -> officer, its force
    std::vector<int> sharedCorps;                   // commanders whose corps was already taken
    using Officers = std::array<std::vector<int>, save::kCityRecordCount>;
    Officers standing, candidates, heads;

    int commanderOf(int corps) const
    {
        const auto e = commanders.find(corps);
        return e == commanders.end() ? -1 : e->second.first;
    }
    int forceOfCity(int c) const
    {
        const auto e = commanders.find(corps[std::size_t(c)]);
        return e == commanders.end() ? save::kNoForce : e->second.second;
    }
    int corpsCount(int force) const
    {
        int n = 0;
        for (const auto& [number, commander] : commanders)
            n += commander.second == force ? 1 : 0;
        return n;
    }
};

World decodeWorld(const QByteArray& save)
{
    World w;
    w.count = officerCount(save);
    for (int c = 0; c < save::kCityRecordCount; ++c)
        w.corps[std::size_t(c)] = byteAt(save, cityRecord(c));
    for (int i = 0; i < w.count; ++i) {
        const int c = cityOf(save, i);
        const int s = statusOf(save, i);
        if (c >= save::kCityRecordCount)
            continue;
        w.standing[std::size_t(c)].push_back(i);
        if (s <= 1 && !w.commanders.emplace(w.corps[std::size_t(c)], std::pair(i, byteAt(save, status(i)))).second)
            w.sharedCorps.push_back(i);
        if (away(save, i) || s > 4)
            continue;
        w.candidates[std::size_t(c)].push_back(i);
        if (s <= 2)
            w.heads[std::size_t(c)].push_back(i);
    }
    return w;
}

// Every serving officer stands in a city of its force, every city with serving
// officers has one head (but the city planted without), every corps one commander.
TEST_F(DemoFolderTest, CitiesCorpsAndTheirOfficersAreCoherent)
{
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(testing::Message() << "save " << k);
        const QByteArray save = slot(k);
        const World w = decodeWorld(save);
        EXPECT_EQ(w.sharedCorps, std::vector<int>{});
        EXPECT_EQ(w.commanders.count(save::kNoForce), 0u);  // no force holds the cities without corps
        const bool odd = k == demo::kDemoOddCitySlot;
        for (int i = 0; i < w.count; ++i) {
            if (statusOf(save, i) > 2)
                continue;
            EXPECT_FALSE(away(save, i)) << i;
            EXPECT_LT(cityOf(save, i), save::kCityRecordCount) << i;
        }
        for (const auto& [number, commander] : w.commanders)
            EXPECT_LT(number, save::kNoForce) << commander.first;
        for (int c = 0; c < save::kCityRecordCount; ++c) {
            const int corps = w.corps[std::size_t(c)];
            const bool oddCorps = odd && c == demo::kDemoCityWithOddCorps;
            EXPECT_TRUE(corps == save::kNoForce || w.commanders.count(corps) || oddCorps) << c;
            const auto& candidates = w.candidates[std::size_t(c)];
            if (candidates.empty())
                continue;
            EXPECT_EQ(w.heads[std::size_t(c)].size(), c == demo::kDemoCityWithoutHead ? 0u : 1u) << c;
            for (const int i : candidates) {
                if (!oddCorps) {
                    EXPECT_EQ(byteAt(save, status(i)), w.forceOfCity(c)) << c << ":" << i;
                }
            }
        }
    }
}

// Rulers and corps commanders head the city they stand in, which their own corps holds.
TEST_F(DemoFolderTest, RulersAndCommandersHeadCitiesTheirCorpsHold)
{
    struct Row {
        int officer;
        int status;
        bool everySlot;  // else only in the slot of 860 officers
    };
    const std::vector<Row> rows = {
        {0, 0, true},
        {30 * 23, 0, true},
        {700, 0, true},
        {demo::kDemoCommanderIn700s, 1, true},
        {demo::kDemoHighCommander, 1, false},
    };
    const int highCity = cityOf(slot(demo::kDemoSlotWith860Officers), demo::kDemoHighCommander);
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const World w = decodeWorld(save);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "save " << k << ", officer " << row.officer);
            const bool present = row.everySlot || k == demo::kDemoSlotWith860Officers;
            ASSERT_EQ(row.officer < w.count, present);
            if (!present) {
                EXPECT_EQ(w.corps[std::size_t(highCity)], save::kNoForce);
                EXPECT_TRUE(w.candidates[std::size_t(highCity)].empty());
                continue;
            }
            EXPECT_EQ(statusOf(save, row.officer), row.status);
            const std::size_t c = std::size_t(cityOf(save, row.officer));
            ASSERT_LT(c, w.corps.size());
            EXPECT_EQ(w.commanderOf(w.corps[c]), row.officer);
            EXPECT_EQ(w.heads[c], std::vector<int>{row.officer});
        }
        int rulers = 0;
        for (int i = 0; i < w.count; ++i) {
            if (statusOf(save, i) != 0)
                continue;
            ++rulers;
            EXPECT_EQ(w.heads[std::size_t(cityOf(save, i))], std::vector<int>{i}) << k << ":" << i;
        }
        EXPECT_EQ(rulers, 25) << k;
    }
}

TEST_F(DemoFolderTest, ForcesHoldOneToFiveCorpsNumberedOverTheWholeRange)
{
    struct Row {
        int force;
        int corps;
        int corpsWith860Officers;
    };
    const std::vector<Row> rows = {
        {demo::kDemoForceWithOneCorps, 1, 1},
        {demo::kDemoForceWithFourCorps, 4, 4},
        {5, 2, 2},  // the commander in the 700s
        {demo::kDemoForceOfHighCommander, 1, 2},
        {24, 0, 0},  // bandits
    };
    for (int k = 0; k < 9; ++k) {
        const World w = decodeWorld(slot(k));
        for (const Row& row : rows) {
            const int expected = k == demo::kDemoSlotWith860Officers ? row.corpsWith860Officers : row.corps;
            EXPECT_EQ(w.corpsCount(row.force), expected) << k << ": force " << row.force;
        }
        ASSERT_FALSE(w.commanders.empty());
        EXPECT_LT(w.commanders.begin()->first, 4) << k;
        EXPECT_GT(w.commanders.rbegin()->first, 63) << k;
        // Commanders, and governed cities their corps hold.
        const QByteArray save = slot(k);
        int commanders = 0, governedByCommanders = 0;
        for (const auto& [number, commander] : w.commanders)
            commanders += statusOf(save, commander.first) == 1 ? 1 : 0;
        for (int c = 0; c < save::kCityRecordCount; ++c) {
            const auto& heads = w.heads[std::size_t(c)];
            const int commander = w.commanderOf(w.corps[std::size_t(c)]);
            governedByCommanders += heads.size() == 1 && statusOf(save, heads[0]) == 2 && commander >= 0 &&
                                    statusOf(save, commander) == 1;
        }
        EXPECT_GE(commanders, 7) << k;
        EXPECT_GE(governedByCommanders, 3) << k;
    }
}

TEST_F(DemoFolderTest, CitiesHoldTheHeadAndCandidateCases)
{
    struct Row {
        int city;
        int headStatus;  // -1: no head
        int candidates;  // at least; 0: no serving officer stands there
        bool corps;      // held by a corps with a commander
        std::vector<int> standingButNoCandidates;
    };
    const std::vector<Row> rows = {
        {demo::kDemoGovernedCity, 2, 4, true, {demo::kDemoAwayOfficer, demo::kDemoUnservingOfficer}},
        {demo::kDemoCityWithoutHead, -1, 2, true, {}},
        {demo::kDemoCityWithoutCorps, -1, 0, false, {}},
        {0, 0, 2, true, {}},
    };
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        const World w = decodeWorld(save);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "save " << k << ", city " << row.city);
            const std::size_t c = std::size_t(row.city);
            EXPECT_GE(w.candidates[c].size(), std::size_t(row.candidates));
            ASSERT_EQ(w.heads[c].size(), row.headStatus < 0 ? 0u : 1u);
            if (row.headStatus >= 0) {
                EXPECT_EQ(statusOf(save, w.heads[c][0]), row.headStatus);
            }
            EXPECT_EQ(w.corps[c] != save::kNoForce, row.corps);
            EXPECT_EQ(w.forceOfCity(row.city) != save::kNoForce, row.corps);
            std::set<int> statuses;
            for (const int i : w.standing[c]) {
                if (row.candidates == 0) {
                    EXPECT_GE(statusOf(save, i), 5) << i;
                }
                if (!away(save, i))
                    statuses.insert(statusOf(save, i));
            }
            if (row.headStatus == 2) {
                EXPECT_EQ(w.heads[c][0], demo::kDemoGovernor);
                EXPECT_TRUE(statuses.count(3) && statuses.count(4));
            }
            for (const int i : row.standingButNoCandidates) {
                EXPECT_EQ(cityOf(save, i), row.city) << i;
                EXPECT_EQ(std::count(w.candidates[c].begin(), w.candidates[c].end(), i), 0) << i;
            }
        }
        EXPECT_LE(statusOf(save, demo::kDemoAwayOfficer), 4);
        EXPECT_TRUE(away(save, demo::kDemoAwayOfficer));
        EXPECT_GE(statusOf(save, demo::kDemoUnservingOfficer), 5);
    }
}

TEST_F(DemoFolderTest, CitiesHoldTheBanditCases)
{
    struct Row {
        int city;
        int present;   // byte 25
        int strength;  // byte 3; -1: some
        int leader;    // -1: any
    };
    const std::vector<Row> rows = {
        {demo::kDemoBanditCity, 240, 250, demo::kDemoBanditLeader},
        {demo::kDemoLeaderlessBanditCity, 240, 255, 1720},
        {demo::kDemoCityWithoutBandits, 0, 0, 1720},
        {demo::kDemoBanditCityMarkedOne, 1, -1, -1},
    };
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "save " << k << ", city " << row.city);
            const qsizetype r = cityRecord(row.city);
            EXPECT_EQ(byteAt(save, r + 25), row.present);
            if (row.strength >= 0) {
                EXPECT_EQ(byteAt(save, r + 3), row.strength);
            } else {
                EXPECT_GT(byteAt(save, r + 3), 0);
            }
            if (row.leader >= 0) {
                EXPECT_EQ(le16(save, r + 18), row.leader);
            }
        }
        EXPECT_EQ(statusOf(save, demo::kDemoBanditLeader), 5);
        EXPECT_EQ(cityOf(save, demo::kDemoBanditLeader), demo::kDemoBanditCity);
    }
}

TEST_F(DemoFolderTest, DisasterBytesHoldEveryFlagAloneNoneAllAndFF)
{
    const std::vector<int> planted = {0x05, 0x0A, 0x13, 0x21, 0x42, 0x83, 0x00, 0xFC, 0xFF};
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        for (std::size_t j = 0; j < planted.size(); ++j)
            EXPECT_EQ(byteAt(save, cityRecord(demo::kDemoDisasterCities[j]) + 23), planted[j]) << k << ":" << j;
        std::set<int> bytes, lowBits;
        for (int c = 0; c < save::kCityRecordCount; ++c) {
            bytes.insert(byteAt(save, cityRecord(c) + 23));
            lowBits.insert(byteAt(save, cityRecord(c) + 23) & 3);
        }
        EXPECT_GT(bytes.size(), planted.size() + 3) << k;
        EXPECT_EQ(lowBits.size(), 4u) << k;
    }
}

// One slot, not the newest, stores values beyond the ranges; the others do not.
TEST_F(DemoFolderTest, OneSlotHoldsTheOddCityValues)
{
    struct Row {
        const char* what;
        std::function<int(const QByteArray&)> value;
        int odd;
        int usualAtMost;
    };
    const std::vector<Row> rows = {
        {"corps", [](const QByteArray& s) { return byteAt(s, cityRecord(demo::kDemoCityWithOddCorps)); },
         demo::kDemoOddCorps, 68},
        {"city", [](const QByteArray& s) { return cityOf(s, demo::kDemoOfficerInOddCity); }, demo::kDemoOddCity, 50},
        {"bandit leader",
         [](const QByteArray& s) { return le16(s, cityRecord(demo::kDemoCityWithOddBanditLeader) + 18); },
         demo::kDemoOddBanditLeader, 1720},
    };
    EXPECT_NE(demo::kDemoOddCitySlot, demo::kDemoNewestSlot);
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        for (const Row& row : rows) {
            if (k == demo::kDemoOddCitySlot) {
                EXPECT_EQ(row.value(save), row.odd) << row.what;
            } else {
                EXPECT_LE(row.value(save), row.usualAtMost) << k << " " << row.what;
            }
        }
    }
    // The odd leader leads bandits.
    EXPECT_NE(byteAt(slot(demo::kDemoOddCitySlot), cityRecord(demo::kDemoCityWithOddBanditLeader) + 25), 0);
}

TEST_F(DemoFolderTest, ForceRecordsHoldTheEdgeCases)
{
    struct Row {
        int force;
        int nameLength;
        std::vector<std::pair<int, int>> bytes;  // offset, value; -1: non-zero
    };
    const std::vector<Row> rows = {
        {demo::kDemoForceWithSevenCharacterName, 7, {{14, 0}}},
        {demo::kDemoForceWithBytesAfterName,
         3,
         {{6, 0}, {7, -1}, {8, -1}, {9, -1}, {10, -1}, {11, -1}, {12, -1}, {13, -1}, {14, -1}}},
        {demo::kDemoForceWithTechnologyE5, -1, {{27, 0xE5}}},
        {demo::kDemoForceWithRank83, -1, {{31, 0x83}}},
        {demo::kDemoForceWithEveryTroop, -1, {{28, 0xFF}, {29, 0x3F}}},
        {demo::kDemoForceWithMachineByteFF, -1, {{29, 0xFF}}},
    };
    for (int k = 0; k < 9; ++k) {
        const QByteArray save = slot(k);
        for (const Row& row : rows) {
            const qsizetype r = forceRecord(row.force);
            if (row.nameLength > 0) {
                EXPECT_EQ(ReadNameField(save, r, 12).size(), row.nameLength) << row.force;
            }
            for (const auto& [at, value] : row.bytes) {
                if (value < 0) {
                    EXPECT_NE(byteAt(save, r + at), 0) << row.force << "+" << at;
                } else {
                    EXPECT_EQ(byteAt(save, r + at), value) << row.force << "+" << at;
                }
            }
        }
        // Forces with a leader are named with 1..7 characters and hold every technology level.
        std::set<int> leaders, lengths, levels;
        for (int i = 0; i < officerCount(save); ++i)
            if (statusOf(save, i) == 0 || statusOf(save, i) == 5)
                leaders.insert(byteAt(save, status(i)));
        for (int s = 0; s < 30; ++s) {
            EXPECT_TRUE(leaders.count(s)) << k << ": force " << s;
            const QString name = ReadNameField(save, forceRecord(s), 12);
            EXPECT_FALSE(name.contains(QChar(0xFFFD))) << s;
            lengths.insert(int(name.size()));
            levels.insert(byteAt(save, forceRecord(s) + 27) >> 5);
        }
        EXPECT_EQ(lengths, (std::set<int>{1, 2, 3, 4, 5, 6, 7})) << k;
        EXPECT_EQ(levels.size(), 8u) << k;
        // Forces without a leader hold noise.
        for (int s = 30; s < 68; ++s)
            for (int at = 0; at < 40; ++at)
                ASSERT_NE(byteAt(save, forceRecord(s) + at), 0) << k << ": force " << s << "+" << at;
    }
}

TEST_F(DemoFolderTest, FacesAndTreasurePicturesAreAllDifferent)
{
    QFile file(path("g_maindy.vk"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.seek(24374192));
    const QByteArray faces = file.read(846 * 5120);
    ASSERT_TRUE(file.seek(60798612));
    const QByteArray pictures = file.read(80 * 14400);
    QSet<QByteArray> distinct;
    for (int n = 0; n < 846; ++n) {
        const QByteArray face = faces.mid(n * 5120, 5120);
        EXPECT_EQ(byteAt(face, 0), 0) << n;  // green background
        EXPECT_GT(face.count(char(0)), 1000) << n;
        EXPECT_LT(face.count(char(0)), 4000) << n;
        distinct.insert(face);
    }
    EXPECT_EQ(distinct.size(), 846);
    distinct.clear();
    for (int n = 0; n < 80; ++n)
        distinct.insert(pictures.mid(n * 14400, 14400));
    EXPECT_EQ(distinct.size(), 80);
}

TEST_F(DemoFolderTest, BackgroundIsAnEightBitBitmapOf480By360)
{
    const QByteArray bmp = read("Selgame.vk");
    ASSERT_EQ(bmp.size(), 215040);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le16(bmp, 10), 1078);
    EXPECT_EQ(byteAt(bmp, 14), 40);
    EXPECT_EQ(le16(bmp, 18), 480);
    EXPECT_EQ(le16(bmp, 22), 360);
    EXPECT_EQ(byteAt(bmp, 26), 1);
    EXPECT_EQ(byteAt(bmp, 28), 8);
    EXPECT_EQ(le16(bmp, 30), 0);  // not compressed
    EXPECT_LE(1078 + 480 * 360, bmp.size());
}

TEST_F(DemoFolderTest, WritingAgainGivesTheSameBytesAndTimes)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    ASSERT_EQ(demo::WriteDemoGameFolder(other.path() + "/again"), QString());
    for (const QString& name : kAllFiles) {
        QFile again(other.path() + "/again/" + name);
        ASSERT_TRUE(again.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(again.readAll() == read(name)) << name.toStdString();
    }
    for (const QString& name : kSlotFiles)
        EXPECT_EQ(QFileInfo(other.path() + "/again/" + name).lastModified(), QFileInfo(path(name)).lastModified());
}

}  // namespace
