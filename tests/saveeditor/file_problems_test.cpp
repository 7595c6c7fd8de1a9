#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "neweditor/new_officer_kind.h"
#include "saveeditor/city_record.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/treasure_kind.h"
#include "shared/bytes.h"
#include "shared/file_problems.h"
#include "support/gtest_qt.h"
#include "support/loaded_save.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace varkel {
namespace {

using test::LoadedSave;

class FileProblems : public test::DemoSaves {};

// The problems in the command line's lines.
QString lines(const std::vector<FileProblem>& problems, const QString& path)
{
    QString text;
    for (const FileProblem& p : problems) {
        text += p.record >= 0 ? QStringLiteral("%1 %2%3")
                                    .arg(p.recordKind)
                                    .arg(p.number)
                                    .arg(p.recordName.isEmpty() ? QString() : QLatin1Char(' ') + p.recordName)
                              : QFileInfo(path).fileName();
        text += QStringLiteral(": %1 at offset %2 = %3: %4\n").arg(p.field).arg(p.offset).arg(p.value).arg(p.what);
    }
    return text;
}

bool hasChinese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() < 0xA000; });
}

// What every problem says besides the command line's words.
void expectWindowTexts(const RecordKinds& kinds, const std::vector<FileProblem>& problems)
{
    for (const FileProblem& p : problems) {
        SCOPED_TRACE(p.what.toStdString());
        EXPECT_TRUE(hasChinese(p.reason)) << p.reason.toStdString();
        EXPECT_EQ(p.kindName, kinds[p.kind]->name());
        const auto field = kinds[p.kind]->fieldIndex(p.field);
        if (field) {
            EXPECT_EQ(p.caption, kinds[p.kind]->fields()[*field]->label);
        }
        EXPECT_TRUE(hasChinese(p.caption)) << p.field.toStdString();
        EXPECT_EQ(bool(p.mend), !p.mendText.isEmpty());
        if (p.mend) {
            EXPECT_TRUE(hasChinese(p.mendText));
            EXPECT_EQ(p.mend->kind, p.kind);
            EXPECT_EQ(p.mend->record, p.record);
            EXPECT_FALSE(p.mend->changes.empty());
        }
    }
}

TEST_F(FileProblems, TheCommandLinePrintsTheProblemsWithTheWindowsWordsBeside)
{
    struct Row {
        int slot;
        const char* records;  // "": every kind
        std::optional<int> intimacy;
    };
    std::vector<Row> rows;
    for (int k = 0; k < 9; ++k)
        rows.push_back({k, "", {}});
    rows.push_back({demo::kDemoOddTacticSlot, "cities", {}});
    rows.push_back({demo::kDemoOddTacticSlot, "officers", 2});
    std::set<QString> fields;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "slot " << row.slot << " " << row.records);
        const auto save = slot(row.slot, row.intimacy);
        const QString records = QString::fromLatin1(row.records);
        const auto problems =
            FindProblems(save->kinds, records.isEmpty() ? std::nullopt : std::optional(save->kind(records)));
        QStringList arguments = {QStringLiteral("check"), path(row.slot), QStringLiteral("--game-folder"),
                                 folder->path()};
        if (!records.isEmpty())
            arguments << QStringLiteral("--records") << records;
        if (row.intimacy)
            arguments << QStringLiteral("--slot") << QString::number(*row.intimacy);
        const test::CliRun run = test::cli(arguments);
        EXPECT_EQ(run.status, problems.empty() ? 0 : 1) << run.err.toStdString();
        EXPECT_EQ(run.out, lines(problems, path(row.slot)));
        expectWindowTexts(save->kinds, problems);
        for (const FileProblem& p : problems)
            fields.insert(p.kindName + QLatin1Char('.') + p.field);
    }
    // The odd values planted in the demo saves, each found.
    for (const char* planted : {"officers.tactics", "officers.city", "officers.status", "officers.rank", "cities.corps",
                                "cities.bandit_leader", "cities.head", "relations.copies", "relations.a",
                                "treasures.owner", "treasures.skill", "family.biography"})
        EXPECT_TRUE(fields.count(QString::fromLatin1(planted))) << planted;
}

TEST_F(FileProblems, TheSystemSaveAndTheScenarioFileHaveTheWindowsWordsToo)
{
    QByteArray system = test::FileBytes(folder->file(QStringLiteral("Svd_sys.sav")));
    QByteArray biographies = test::FileBytes(folder->file(QStringLiteral("RDText.vk")));
    RecordKinds newOfficers;
    newOfficers.push_back(std::make_unique<NewOfficerKind>(&biographies));
    newOfficers.front()->load(system);
    const auto found = FindProblems(newOfficers);
    EXPECT_EQ(test::cli({QStringLiteral("check"), folder->file(QStringLiteral("Svd_sys.sav"))}).out,
              lines(found, QStringLiteral("Svd_sys.sav")));
    expectWindowTexts(newOfficers, found);
    ASSERT_FALSE(found.empty());
    // The biography in the file beside the checked one says where it is, in both words.
    const auto inFile = std::find_if(found.begin(), found.end(),
                                     [](const FileProblem& p) { return p.field == QLatin1String("biography"); });
    ASSERT_NE(inFile, found.end());
    EXPECT_TRUE(inFile->what.endsWith(QStringLiteral(" (in RDText.vk)"))) << inFile->what.toStdString();
    EXPECT_TRUE(inFile->reason.contains(QStringLiteral("RDText.vk"))) << inFile->reason.toStdString();

    QByteArray scenario = test::FileBytes(folder->file(QStringLiteral("d_sce.vk")));
    RecordKinds treasures;
    treasures.push_back(std::make_unique<TreasureKind>());
    treasures.front()->load(scenario);
    const auto odd = FindProblems(treasures);
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].record, demo::kDemoTreasureWithOddSkill);
    EXPECT_EQ(odd[0].value, demo::kDemoOddSkill);
    EXPECT_EQ(odd[0].caption, QStringLiteral("特技"));
    expectWindowTexts(treasures, odd);
}

// What a problem of the whole file is about has a Chinese caption too, as fields do.
TEST_F(FileProblems, ProblemsOfTheWholeFileAreCaptionedInChinese)
{
    const auto demo = slot(0);
    const struct {
        const char* field;
        std::function<void(QByteArray&)> damage;
    } rows[] = {
        {"person_map", [](QByteArray& b) { setLe16(b, save::personMapEntry(save::kFirstPersonNumber), 1700); }},
        {"player_slot", [](QByteArray& b) { setLe16(b, save::playerSlot(0) + save::kPlayerPersonField, 5); }},
        {"size", [](QByteArray& b) { b.truncate(1000); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        QByteArray bytes = demo->save;
        row.damage(bytes);
        const auto damaged = test::LoadedSave::of(bytes, demo->scenario, demo->context);
        const auto problems = FindProblems(damaged->kinds, damaged->kind(QStringLiteral("officers")));
        const auto found = std::find_if(problems.begin(), problems.end(),
                                        [&](const FileProblem& p) { return p.field == QLatin1String(row.field); });
        ASSERT_NE(found, problems.end());
        expectWindowTexts(damaged->kinds, problems);
    }
}

// The bytes a mend is to change: (offset, value) pairs over the save as it was.
using Bytes = std::vector<std::pair<qsizetype, int>>;

TEST_F(FileProblems, EachSafeMendWritesItsBytesAsOneUndoStep)
{
    struct Row {
        const char* name;
        int slot;
        const char* kind;
        int record;
        const char* field;
        std::function<Bytes(const QByteArray& save)> bytes;
    };
    auto copyZero = [](int record) {
        return [record](const QByteArray& save) {
            Bytes bytes;
            for (int copy = 1; copy < relation::kCopyCount; ++copy)
                for (int k = 0; k < relation::kRecordSize; ++k)
                    bytes.emplace_back(relation::record(record, copy) + k, byteAt(save, relation::record(record) + k));
            return bytes;
        };
    };
    auto emptyRelation = [](int record) {
        return [record](const QByteArray&) {
            Bytes bytes;
            for (int copy = 0; copy < relation::kCopyCount; ++copy)
                for (int k = 0; k < relation::kRecordSize; ++k)
                    bytes.emplace_back(relation::record(record, copy) + k, k < 3 ? 0xFF : 0x3F);
            return bytes;
        };
    };
    const std::vector<Row> rows = {
        {"copies of a relationship that differ from the first", 0, "relations", demo::kDemoRelationWithDifferingCopy,
         "copies", copyZero(demo::kDemoRelationWithDifferingCopy)},
        {"the same in the save with 860 officers", demo::kDemoSlotWith860Officers, "relations",
         demo::kDemoRelationWithDifferingCopy, "copies", copyZero(demo::kDemoRelationWithDifferingCopy)},
        {"甲方 at the officer count", 0, "relations", demo::kDemoRelationWithOutsideA, "a",
         emptyRelation(demo::kDemoRelationWithOutsideA)},
        {"a bandit leader above 1720", demo::kDemoOddTacticSlot, "cities", 16, "bandit_leader",
         [](const QByteArray&) {
             const qsizetype at = city::record(16) + city::kBanditLeader;
             return Bytes{{at, city::kNoLeader & 0xFF}, {at + 1, city::kNoLeader >> 8}};
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto save = slot(row.slot);
        const std::size_t kind = save->kind(QString::fromLatin1(row.kind));
        const std::vector<FileProblem> problems = FindProblems(save->kinds);
        auto it = std::find_if(problems.begin(), problems.end(), [&](const FileProblem& p) {
            return p.kind == kind && p.record == row.record && p.field == QLatin1String(row.field);
        });
        ASSERT_NE(it, problems.end());
        ASSERT_TRUE(it->mend);

        const QByteArray before = save->save;
        QByteArray wanted = before;
        const Bytes changed = row.bytes(before);
        for (const auto& [at, value] : changed)
            setByte(wanted, at, value);
        ASSERT_NE(wanted, before);

        SaveGame game;
        game.bytes = before;
        SaveDocument document(std::move(game), ScenarioData::decode(save->scenario));
        int announced = 0;
        QObject::connect(&document, &Document::changed, [&](const DocumentChange&) { ++announced; });
        std::vector<EditRefusal> refused;
        ASSERT_TRUE(ApplySaveEdits(document, QStringLiteral("修正"), save->context, {*it->mend}, &refused));
        EXPECT_TRUE(refused.empty());
        EXPECT_EQ(document.bytes(), wanted);
        EXPECT_EQ(announced, 1);

        // Mended, the problem is gone.
        const auto mended = LoadedSave::of(document.bytes(), save->scenario, save->context);
        for (const FileProblem& p : FindProblems(mended->kinds))
            EXPECT_FALSE(p.kind == kind && p.record == row.record && p.field == QLatin1String(row.field))
                << p.what.toStdString();

        ASSERT_TRUE(document.undo());
        EXPECT_EQ(document.bytes(), before);
        EXPECT_FALSE(document.canUndo());
    }
}

TEST_F(FileProblems, MendsAreOfferedOnlyWhereTheyAreSafeAndTheKindStoresThem)
{
    // Which problems of the demo saves carry a mend.
    const std::map<QString, bool> mendable = {
        {QStringLiteral("relations.copies"), true},     {QStringLiteral("relations.a"), true},
        {QStringLiteral("cities.bandit_leader"), true}, {QStringLiteral("cities.corps"), false},
        {QStringLiteral("cities.head"), false},         {QStringLiteral("officers.tactics"), false},
        {QStringLiteral("officers.city"), false},       {QStringLiteral("officers.status"), false},
        {QStringLiteral("officers.rank"), false},       {QStringLiteral("treasures.owner"), false},
        {QStringLiteral("treasures.skill"), false},     {QStringLiteral("family.biography"), false},
    };
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(testing::Message() << "slot " << k);
        const auto save = slot(k);
        const std::vector<FileProblem> problems = FindProblems(save->kinds);
        for (const FileProblem& p : problems) {
            const QString key = p.kindName + QLatin1Char('.') + p.field;
            ASSERT_TRUE(mendable.count(key)) << key.toStdString();
            EXPECT_EQ(bool(p.mend), mendable.at(key)) << key.toStdString();
        }
        // Every mend is stored as it is offered, and all of them leave no problem they mend.
        const std::vector<RecordEdit> mends = Mends(problems);
        EXPECT_TRUE(ApplyRecordEdits(save->kinds, mends).empty());
        const auto mended = save->copy();
        for (const FileProblem& p : FindProblems(mended->kinds))
            EXPECT_FALSE(mendable.at(p.kindName + QLatin1Char('.') + p.field)) << p.what.toStdString();
        // Picking mends: by the problems' indices, those without one give none.
        std::vector<std::size_t> picked;
        for (std::size_t i = 0; i < problems.size(); ++i)
            picked.push_back(i);
        EXPECT_EQ(Mends(problems, picked).size(), mends.size());
        EXPECT_TRUE(Mends(problems, {}).empty());
    }
}

}  // namespace
}  // namespace varkel
