#include "demo_folder/demo_folder.h"
#include "saveeditor/biography.h"
#include "saveeditor/family_record.h"
#include "saveeditor/intimacy_stream.h"
#include "saveeditor/member_record.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

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

qsizetype person(int i) { return 82736 + 60 * qsizetype(i); }
qsizetype status(int i) { return 3616 + 88 * qsizetype(i); }
qsizetype location(int i) { return 79296 + 4 * qsizetype(i); }

QString fullName(const QByteArray& save, int i) { return ReadNameField(save, person(i) + 26, 8); }
int statusWord(const QByteArray& save, int i) { return le16(save, status(i) + 50); }

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

const QStringList kAllFiles = kSlotFiles + QStringList{
    QStringLiteral("Svd_sys.sav"), QStringLiteral("RDText.vk"), QStringLiteral("d_sce.vk"),
    QStringLiteral("m_msg.vk"), QStringLiteral("g_maindy.vk"), QStringLiteral("Selgame.vk")};

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
    static QByteArray read(const QString& name)
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
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
            ASSERT_LE(le16(save, location(i)) >> 4, 50) << k << ":" << i;
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
            if (flag)
                controlledOfficers.insert(m);
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
