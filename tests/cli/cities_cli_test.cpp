#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "saveeditor/city_record.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace varkel;
using test::cli;
using test::CliRun;

namespace {

const QString kNewest = QStringLiteral("svd_0%1.sav").arg(demo::kDemoNewestSlot);

// The planted cities and officers: a ruler's city and a governor's city held by the
// ruler's corps, a corps commander's city, a city of another force, a city of odd
// stored values with officers but no head, and a corps without a commander.
constexpr int kRulerCity = 40, kGovernorCity = 41, kCommanderCity = 42, kOtherCity = 43, kOddCity = 44,
              kLonelyCity = 45;
constexpr int kRuler = 740, kRulerAide = 741, kGovernor = 742, kGovernorAide = 743, kCommander = 744,
              kCommanderAide = 745, kOtherRuler = 746, kOddAide = 747, kOutside = 748;
constexpr int kOutsideCity = 55;

int statusOf(const QByteArray& save, int n)
{
    return le16At(save, save::statusBlock(n) + save::status::kWord) >> 6 & 15;
}

void place(QByteArray& save, int n, int c, int status, int force)
{
    SetStatusCode(save, n, status);
    setByte(save, save::statusBlock(n) + save::status::kForce, force);
    setBits(save, save::locationEntry(n), 0xF0, c << 4);
    setByte(save, save::locationEntry(n) + 1, c >> 4);
    setByte(save, save::locationEntry(n) + 3, 0);
}

class CitiesCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete demo; }
    void SetUp() override
    {
        before = test::FileBytes(demo->file(kNewest));
        const int count = SaveTables::countOfficers(before);
        const std::vector<int> mine = {kRuler,         kRulerAide,  kGovernor, kGovernorAide, kCommander,
                                       kCommanderAide, kOtherRuler, kOddAide,  kOutside};
        auto isMine = [&](int n) { return std::find(mine.begin(), mine.end(), n) != mine.end(); };
        // Two forces no officer serves and four corps no other city holds.
        std::vector<int> forces, corps;
        for (int f = 0; f < force::kCount; ++f) {
            bool served = false;
            for (int n = 0; n < count; ++n)
                served = served || (!isMine(n) && byteAt(before, save::statusBlock(n)) == f);
            if (!served)
                forces.push_back(f);
        }
        for (int k = 0; k < city::kNoCorps; ++k) {
            bool held = false;
            for (int c = 0; c < kRulerCity; ++c)
                held = held || byteAt(before, city::record(c)) == k;
            for (int c = kLonelyCity + 1; c < city::kCount; ++c)
                held = held || byteAt(before, city::record(c)) == k;
            if (!held)
                corps.push_back(k);
        }
        ASSERT_GE(forces.size(), 2u);
        ASSERT_GE(corps.size(), 4u);
        f1 = forces[0], f2 = forces[1], k1 = corps[0], k2 = corps[1], k3 = corps[2], k4 = corps[3];

        // No officer but the planted ones stays in the planted cities.
        for (int n = 0; n < count; ++n) {
            const int c = le16At(before, save::locationEntry(n)) >> 4;
            if (c >= kRulerCity && c <= kLonelyCity && !isMine(n))
                setByte(before, save::locationEntry(n) + 3, 1);
        }
        const std::pair<int, int> records[] = {{kRulerCity, k1}, {kGovernorCity, k1}, {kCommanderCity, k2},
                                               {kOtherCity, k3}, {kOddCity, 70},      {kLonelyCity, k4}};
        for (const auto& [c, k] : records) {
            QByteArray record(save::kCityRecordSize, '\0');
            record[0] = static_cast<char>(k);
            before.replace(city::record(c), record.size(), record);
            setLe16(before, city::record(c) + city::kBanditLeader, c == kOddCity ? 1800 : city::kNoLeader);
        }
        place(before, kRuler, kRulerCity, city::kRuler, f1);
        place(before, kRulerAide, kRulerCity, city::kOrdinary, f1);
        place(before, kGovernor, kGovernorCity, city::kGovernor, f1);
        place(before, kGovernorAide, kGovernorCity, city::kOrdinary, f1);
        place(before, kCommander, kCommanderCity, city::kCorpsCommander, f1);
        place(before, kCommanderAide, kCommanderCity, 3, f1);
        place(before, kOtherRuler, kOtherCity, city::kRuler, f2);
        place(before, kOddAide, kOddCity, city::kOrdinary, f2);
        place(before, kOutside, kOutsideCity, city::kOrdinary, f2);
        for (qsizetype b = force::kTechnology; b <= force::kRank; ++b)
            setByte(before, force::record(f1) + b, 0);
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        tables = SaveTables::build(before);
        cities = ScenarioData::decodeCityNames(test::FileBytes(demo->file("d_sce.vk")));
    }
    QString save() const { return scratch.filePath(kNewest); }
    QByteArray now() const { return test::FileBytes(save()); }
    CliRun run(const QStringList& arguments) const
    {
        return cli(QStringList{arguments.front(), save()} + arguments.mid(1) +
                   QStringList{"--game-folder", demo->path()});
    }
    QString name(int officer) const { return tables.officerNames[officer]; }
    QString cityLine(int c) const { return QStringLiteral("city %1 %2: ").arg(c).arg(cities[c]); }

    static test::TempGameFolder* demo;
    QTemporaryDir scratch;
    QByteArray before;
    SaveTables tables;
    QStringList cities;
    int f1 = 0, f2 = 0, k1 = 0, k2 = 0, k3 = 0, k4 = 0;
};

test::TempGameFolder* CitiesCli::demo = nullptr;

}  // namespace

TEST_F(CitiesCli, DumpShowsTheFieldsAndTheNamesBesideThem)
{
    const QByteArray scenario = test::FileBytes(demo->file("d_sce.vk"));
    const ForceRecord force = DecodeForce(before, f1);
    struct Row {
        const char* records;
        int number;
        std::vector<std::pair<const char*, QJsonValue>> expected;
    };
    const std::vector<Row> rows = {
        {"cities",
         kGovernorCity,
         {{"corps", k1},
          {"force", f1},
          {"head", kGovernor},
          {"bandit_leader", city::kNoLeader},
          {"city_name", cities[kGovernorCity]},
          {"corps_commander", name(kRuler)},
          {"force_text", name(kRuler)},
          {"head_name", name(kGovernor)},
          {"bandit_leader_name", "無"},
          {"plague", false}}},
        {"cities",
         kCommanderCity,
         {{"corps", k2},
          {"force", f1},
          {"head", kCommander},
          {"corps_commander", name(kCommander)},
          {"force_text", name(kRuler)}}},
        // Odd stored values are shown as they are.
        {"cities",
         kOddCity,
         {{"corps", 70},
          {"force", save::kNoForce},
          {"head", -1},
          {"bandit_leader", 1800},
          {"bandit_leader_name", "1800"},
          {"corps_commander", ""},
          {"force_text", tables.forceNames[save::kNoForce]}}},
        {"forces",
         f1,
         {{"name", force.name},
          {"rank", force.rank()},
          {"technology", force.technology() + 1},
          {"elephants", force.troop(8)},
          {"tower_ship", force.machine(4)},
          {"force_text", name(kRuler)},
          {"rank_text", ScenarioData::decodeCourtRanks(scenario)[force.rank()]}}},
        {"forces", 67, {{"force_text", tables.forceNames[67]}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        const CliRun dump = run({"dump", "--records", row.records, "--only", QString::number(row.number)});
        ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
        const QJsonObject o = dumped(dump)[0].toObject();
        EXPECT_EQ(o["number"].toInt(), row.number);
        for (const auto& [key, value] : row.expected)
            EXPECT_EQ(o[key], value) << key;
    }
}

// Each set stores exactly its bytes (a new head: the two officers' status bits);
// diff shows what set printed; the dumps applied back change nothing.
TEST_F(CitiesCli, SetStoresExactlyItsBytes)
{
    const QString original = scratch.filePath("original.sav");
    ASSERT_TRUE(test::WriteFileBytes(original, before));
    using Edit = std::function<void(QByteArray&)>;
    const qsizetype governorCity = city::record(kGovernorCity);
    auto renamed = [&](QByteArray& s) {
        ForceRecord r = DecodeForce(s, f1);
        r.name = QStringLiteral("大漢");
        r.rankByte = (r.rankByte & 0x83) | 5 << 2;
        EncodeForce(s, f1, r);
    };
    struct Row {
        const char* kind;
        int number;
        QStringList assignments;
        Edit edit;
        std::vector<std::pair<int, int>> statuses = {};  // officers and the status they get
    };
    const std::vector<Row> rows = {
        {"city",
         kGovernorCity,
         {QStringLiteral("corps=%1").arg(k2)},
         [&](QByteArray& s) { setByte(s, governorCity, k2); }},
        {"city",
         kGovernorCity,
         {"bandits=1", "bandit_strength=1234"},
         [&](QByteArray& s) {
             setByte(s, governorCity + city::kBandits, city::kBanditsPresent);
             setByte(s, governorCity + city::kBanditStrength, 61);
         }},
        {"city",
         kGovernorCity,
         {"bandit_leader=12", "plague=1", "harvest=1"},
         [&](QByteArray& s) {
             setLe16(s, governorCity + city::kBanditLeader, 12);
             setByte(s, governorCity + city::kDisasters, 0x84);
         }},
        {"city",
         kGovernorCity,
         {QStringLiteral("head=%1").arg(kGovernorAide)},
         {},
         {{kGovernor, city::kOrdinary}, {kGovernorAide, city::kGovernor}}},
        {"city",
         kCommanderCity,
         {QStringLiteral("head=%1").arg(kCommanderAide)},
         {},
         {{kCommander, city::kOrdinary}, {kCommanderAide, city::kCorpsCommander}}},
        // The odd corps and leader stay as stored.
        {"city",
         kOddCity,
         {"snow=1"},
         [](QByteArray& s) { setByte(s, city::record(kOddCity) + city::kDisasters, 0x40); }},
        {"force",
         f1,
         {"technology=8", "light_infantry=1", "elephants=1"},
         [&](QByteArray& s) {
             const qsizetype r = force::record(f1);
             setBits(s, r + force::kTechnology, 0xE0, 0xE0);
             setBits(s, r + force::kTroops, 1, 1);
             setBits(s, r + force::kMachines, 1, 1);
         }},
        {"force", f1, {"name=大漢", "rank=5"}, renamed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.assignments.join(' ').toStdString());
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        const CliRun set = run(QStringList{"set", row.kind, QString::number(row.number)} + row.assignments);
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        QByteArray expected = before;
        if (row.edit)
            row.edit(expected);
        for (const auto& [officer, status] : row.statuses) {
            SetStatusCode(expected, officer, status);
            EXPECT_EQ(statusOf(now(), officer), status) << officer;
        }
        EXPECT_TRUE(now() == expected);
        EXPECT_NE(now(), before);
        EXPECT_EQ(set.out.count('\n'), qsizetype(row.assignments.size() + row.statuses.size()))
            << set.out.toStdString();
        const CliRun diff = cli({"diff", original, save(), "--game-folder", demo->path()});
        EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
        EXPECT_EQ(diff.out, set.out);
    }

    for (const char* records : {"cities", "forces"}) {
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        const QString edits = scratch.filePath("edits.jsonl");
        ASSERT_TRUE(test::WriteFileBytes(edits, run({"dump", "--records", records, "--format", "jsonl"}).out.toUtf8()));
        const CliRun apply = run({"apply", edits});
        EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
        EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
        EXPECT_TRUE(now() == before) << records;
    }
}

TEST_F(CitiesCli, RefusedEditsExit2AndWriteNothing)
{
    const QString governorCity = QString::number(kGovernorCity);
    const QString f = QString::number(f1);
    struct Row {
        QStringList arguments;  // after "set SAVE"
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {{"city", QString::number(kRulerCity), QStringLiteral("head=%1").arg(kRulerAide)}, "head: "},
        {{"city", governorCity, QStringLiteral("head=%1").arg(kRulerAide)}, "head: "},  // stays elsewhere
        {{"city", governorCity, QStringLiteral("corps=%1").arg(k3)}, "corps: "},       // another force's
        {{"city", QString::number(kCommanderCity), QStringLiteral("corps=%1").arg(k1)}, "corps: "},  // its seat
        {{"city", governorCity, "corps="}, "corps: "},
        {{"city", governorCity, "plague=2"}, "plague: "},
        {{"city", governorCity, QStringLiteral("bandit_leader=%1").arg(tables.officerCount)}, "bandit_leader: "},
        {{"city", governorCity, "force=3"}, "force is read-only"},
        {{"city", "50", "plague=1"}, "no such record"},
        {{"force", f, "name=ABC"}, "name: "},
        {{"force", f, "name=一二三四五六七八"}, "name: "},
        {{"force", f, "technology="}, "technology: "},
        {{"force", f, "rank=32"}, "rank: "},
        {{"force", "68", "rank=1"}, "no such record"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun set = run(QStringList{"set"} + row.arguments);
        EXPECT_EQ(set.status, 2);
        EXPECT_EQ(set.err.count('\n'), 1) << set.err.toStdString();
        EXPECT_TRUE(set.err.contains(row.complaint)) << set.err.toStdString();
        EXPECT_TRUE(set.out.isEmpty()) << set.out.toStdString();
        EXPECT_TRUE(now() == before);
    }
}

TEST_F(CitiesCli, CheckNamesTheOddStoredValues)
{
    const CliRun check = run({"check", "--records", "cities"});
    EXPECT_EQ(check.status, 1) << check.err.toStdString();
    const qsizetype odd = city::record(kOddCity);
    const QStringList expected = {
        cityLine(kOddCity) + QStringLiteral("corps at offset %1 = 70: ").arg(odd),
        cityLine(kOddCity) + QStringLiteral("bandit_leader at offset %1 = 1800: ").arg(odd + city::kBanditLeader),
        cityLine(kOddCity) + QStringLiteral("head at offset %1 = -1: officers serve here (1 of them)").arg(odd),
        cityLine(kLonelyCity) +
            QStringLiteral("corps at offset %1 = %2: no ruler").arg(city::record(kLonelyCity)).arg(k4),
        QStringLiteral("location at offset %1 = %2: officer %3 ")
            .arg(save::locationEntry(kOutside))
            .arg(kOutsideCity)
            .arg(kOutside),
    };
    for (const QString& line : expected)
        EXPECT_TRUE(check.out.contains(line)) << line.toStdString() << '\n' << check.out.toStdString();
    for (const int c : {kRulerCity, kGovernorCity, kCommanderCity, kOtherCity})
        EXPECT_FALSE(check.out.contains(cityLine(c))) << c;
}
