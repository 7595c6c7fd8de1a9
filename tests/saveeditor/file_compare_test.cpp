#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "neweditor/new_officer_kind.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/relation_record.h"
#include "shared/bytes.h"
#include "shared/file_compare.h"
#include "support/gtest_qt.h"
#include "support/loaded_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

namespace varkel {
namespace {

using Presence = RecordDifference::Presence;
using test::LoadedSave;

class FileCompare : public test::DemoSaves {};

// Edits record n of `file` as `varkel-cli set` does.
void set(LoadedSave& file, const QString& kind, int n, const std::vector<std::pair<QString, QString>>& values)
{
    const EditResult result = EditRecord(file.named(kind), file.save, n, values);
    ASSERT_FALSE(result.problem) << result.problem->toStdString();
    ASSERT_FALSE(result.changes.empty());
}

FileComparison compare(const LoadedSave& ours, const LoadedSave& theirs, std::optional<std::size_t> only = {})
{
    return CompareFiles(ours.kinds, ours.save, theirs.kinds, theirs.save, only);
}

// A biography's line breaks as the command line writes them.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

// The comparison in the command line's lines.
QString lines(const FileComparison& c, const QString& a, const QString& b)
{
    QString text;
    for (const KindDifference& kind : c.kinds)
        for (const RecordDifference& r : kind.records) {
            const QString line = QStringLiteral("%1 %2%3: ")
                                     .arg(r.recordKind)
                                     .arg(r.number)
                                     .arg(r.name.isEmpty() ? QString() : QLatin1Char(' ') + r.name);
            if (r.presence != Presence::Both)
                text += line + QStringLiteral("only in ") + (r.presence == Presence::OnlyOurs ? a : b) +
                        QLatin1Char('\n');
            for (const FieldDifference& f : r.fields)
                text += line + QStringLiteral("%1 %2 -> %3\n").arg(f.key, oneLine(f.oursText), oneLine(f.theirsText));
        }
    if (c.oursSize != c.theirsSize)
        text += QStringLiteral("sizes differ: %1 and %2 bytes\n").arg(c.oursSize).arg(c.theirsSize);
    if (c.unownedCount > 0) {
        text += QStringLiteral("%1 differing bytes that no field owns, at").arg(c.unownedCount);
        for (const qsizetype at : c.firstUnowned)
            text += QStringLiteral(" %1").arg(at);
        text += (c.unownedCount > 16 ? QStringLiteral(" ...\n") : QStringLiteral("\n"));
    }
    return text;
}

TEST_F(FileCompare, TheCommandLinePrintsTheComparison)
{
    struct Row {
        int a;
        int b;
        const char* records;  // "": every kind
        std::optional<int> intimacy;
        bool found;
    };
    const std::vector<Row> rows = {
        {demo::kDemoNewestSlot, demo::kDemoNewestSlot, "", {}, false},
        {0, demo::kDemoSlotWith860Officers, "", {}, true},
        {demo::kDemoOddTacticSlot, demo::kDemoSlotWith760Officers, "", {}, true},
        {demo::kDemoLongSlot, demo::kDemoShortSlot, "", {}, true},  // sizes differ
        {demo::kDemoSlotWith760Officers, demo::kDemoOddTacticSlot, "relations", {}, true},
        {demo::kDemoSlotWith860Officers, 0, "treasures", {}, true},
        {demo::kDemoSlotWith760Officers, demo::kDemoOddTacticSlot, "intimacy", 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.a << " against " << row.b << " " << row.records);
        const auto ours = slot(row.a, row.intimacy);
        const auto theirs = slot(row.b, row.intimacy);
        const QString records = QString::fromLatin1(row.records);
        const FileComparison c =
            compare(*ours, *theirs, records.isEmpty() ? std::nullopt : std::optional(ours->kind(records)));
        EXPECT_EQ(c.found(), row.found);
        EXPECT_EQ(c.unownedCompared, records.isEmpty());

        QStringList arguments = {QStringLiteral("diff"), path(row.a), path(row.b), QStringLiteral("--game-folder"),
                                 folder->path()};
        if (!records.isEmpty())
            arguments << QStringLiteral("--records") << records;
        if (row.intimacy)
            arguments << QStringLiteral("--slot") << QString::number(*row.intimacy);
        const test::CliRun run = test::cli(arguments);
        EXPECT_EQ(run.status, row.found ? 1 : 0) << run.err.toStdString();
        EXPECT_EQ(run.out, lines(c, path(row.a), path(row.b)));
    }
}

// Slot 5 and a copy of it with a few values changed as `set` changes them, and one
// byte that no field reads.
class Planted : public FileCompare {
protected:
    void SetUp() override
    {
        ours = slot(demo::kDemoNewestSlot);
        theirs = ours->copy();
        set(*theirs, QStringLiteral("officers"), 12,
            {{QStringLiteral("loyalty"), QStringLiteral("90")}, {QStringLiteral("given_name"), QStringLiteral("大")}});
        set(*theirs, QStringLiteral("officers"), 40, {{QStringLiteral("skills"), QStringLiteral("騎兵,水軍")}});
        set(*theirs, QStringLiteral("treasures"), 0, {{QStringLiteral("owner"), QStringLiteral("12")}});
        set(*theirs, QStringLiteral("relations"), 3, {{QStringLiteral("b"), QStringLiteral("12")}});
        set(*theirs, QStringLiteral("cities"), 9, {{QStringLiteral("bandit_strength"), QStringLiteral("3000")}});
        set(*theirs, QStringLiteral("family"), 1, {{QStringLiteral("might"), QStringLiteral("70")}});
        // Copies the views do not read, so no field differs: copy 3 of relationship 7,
        // and copy 3 of relationship 4, the byte right after copy 3 of relationship 3, which differs.
        for (const qsizetype stray : kStrayBytes)
            setByte(theirs->save, stray, byteAt(theirs->save, stray) ^ 0x01);
        // Read afresh, as a file would be: names follow the renamed officer.
        theirs = theirs->copy();
        original = ours->save;
    }

    static constexpr std::array<qsizetype, 2> kStrayBytes = {relation::record(4, 3), relation::record(7, 3)};
    std::unique_ptr<LoadedSave> ours;
    std::unique_ptr<LoadedSave> theirs;
    QByteArray original;
};

TEST_F(Planted, EachDifferenceIsFoundWithWhatTheViewsShow)
{
    struct Expected {
        const char* kind;
        int record;
        const char* key;
        const char* ours;  // as shown: a number that names an officer with the officer's name
        const char* theirs;
        bool readOnly = false;
    };
    const std::vector<Expected> expected = {
        {"officers", 12, "given_name", "華", "大"},
        {"officers", 12, "full_name", "石華", "石大", true},
        {"officers", 12, "loyalty", "83", "90"},
        {"officers", 40, "skills", "反計", "騎兵,水軍"},
        {"cities", 9, "bandit_strength", "5000", "3000"},
        {"family", 1, "might", "90", "70"},
        {"relations", 3, "b", "342 夏侯婉芳", "12 石大"},  // their officer 12 is named anew
        {"treasures", 0, "owner", "562 諸葛竹元", "12 石大"},
    };
    const FileComparison c = compare(*ours, *theirs);
    std::vector<Expected> found;
    std::size_t at = 0;
    for (const KindDifference& kind : c.kinds) {
        EXPECT_EQ(kind.name, ours->kinds[kind.kind]->name());
        for (const RecordDifference& r : kind.records) {
            EXPECT_EQ(r.presence, Presence::Both);
            EXPECT_EQ(r.number, r.record);
            for (const FieldDifference& f : r.fields) {
                SCOPED_TRACE(testing::Message()
                             << kind.name.toStdString() << " " << r.record << " " << f.key.toStdString());
                ASSERT_LT(at, expected.size());
                const Expected& e = expected[at++];
                EXPECT_EQ(kind.name, QString::fromLatin1(e.kind));
                EXPECT_EQ(r.record, e.record);
                EXPECT_EQ(f.key, QString::fromLatin1(e.key));
                EXPECT_EQ(f.oursShown(), QString::fromUtf8(e.ours));
                EXPECT_EQ(f.theirsShown(), QString::fromUtf8(e.theirs));
                EXPECT_EQ(f.readOnly, e.readOnly);
                EXPECT_EQ(f.caption, ours->kinds[kind.kind]->fields()[f.field]->label);
                EXPECT_FALSE(f.ours == f.theirs);
            }
        }
    }
    EXPECT_EQ(at, expected.size());
    EXPECT_EQ(c.unownedCount, qsizetype(kStrayBytes.size()));
    EXPECT_EQ(c.firstUnowned, std::vector<qsizetype>(kStrayBytes.begin(), kStrayBytes.end()));

    // One kind alone: no other kind, and no bytes outside the fields.
    const FileComparison relations = compare(*ours, *theirs, ours->kind(QStringLiteral("relations")));
    ASSERT_EQ(relations.kinds.size(), 1u);
    EXPECT_EQ(relations.kinds[0].records.size(), 1u);
    EXPECT_FALSE(relations.unownedCompared);
    EXPECT_EQ(relations.unownedCount, 0);
    ASSERT_NE(relations.record(ours->kind(QStringLiteral("relations")), 3), nullptr);
    EXPECT_EQ(relations.record(ours->kind(QStringLiteral("relations")), 4), nullptr);
}

TEST_F(Planted, TakingTheirsTurnsOurRecordsIntoTheirs)
{
    const std::size_t officers = ours->kind(QStringLiteral("officers"));
    const std::size_t relations = ours->kind(QStringLiteral("relations"));
    const std::size_t treasures = ours->kind(QStringLiteral("treasures"));
    struct Row {
        const char* name;
        TakeSelection selection;
        std::set<std::pair<std::size_t, int>> taken;  // (kind, record) whose bytes become theirs
    };
    std::set<std::pair<std::size_t, int>> all;
    for (const KindDifference& kind : compare(*ours, *theirs).kinds)
        for (const RecordDifference& r : kind.records)
            all.insert({kind.kind, r.record});
    const std::vector<Row> rows = {
        {"one record", TakeSelection::oneRecord(officers, 12), {{officers, 12}}},
        {"a record whose number names one of theirs", TakeSelection::oneRecord(treasures, 0), {{treasures, 0}}},
        {"one kind", TakeSelection::oneKind(relations), {{relations, 3}}},
        {"a kind without differences", TakeSelection::oneKind(ours->kind(QStringLiteral("forces"))), {}},
        {"everything", TakeSelection::everything(), all},
    };
    ASSERT_EQ(all.size(), 6u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto mine = ours->copy();
        const TakeTheirs take = TheirsEdits(compare(*mine, *theirs), row.selection);
        EXPECT_TRUE(take.refused.empty());
        ASSERT_EQ(take.edits.size(), row.taken.size());
        EXPECT_TRUE(ApplyRecordEdits(mine->kinds, take.edits).empty());

        // The bytes of the records taken are theirs; every other byte is as it was.
        std::vector<bool> taken(std::size_t(original.size()), false);
        for (const auto& [kind, record] : row.taken)
            for (const RecordKind::Extent& e : mine->kinds[kind]->extents(record))
                for (qsizetype i = e.offset; i < e.offset + e.size; ++i)
                    taken[std::size_t(i)] = true;
        for (qsizetype i = 0; i < original.size(); ++i)
            ASSERT_EQ(mine->save[i], taken[std::size_t(i)] ? theirs->save[i] : original[i]) << "byte " << i;
        EXPECT_EQ(mine->scenario, theirs->scenario);
    }
}

TEST_F(Planted, TakingOneFieldChangesThatFieldAlone)
{
    const std::size_t officers = ours->kind(QStringLiteral("officers"));
    const RecordKind& kind = *ours->kinds[officers];
    for (const char* key : {"loyalty", "given_name"}) {
        SCOPED_TRACE(key);
        const std::size_t field = *kind.fieldIndex(QString::fromLatin1(key));
        const auto mine = ours->copy();
        const TakeTheirs take = TheirsEdits(compare(*mine, *theirs), TakeSelection::oneField(officers, 12, field));
        ASSERT_EQ(take.edits.size(), 1u);
        EXPECT_EQ(take.edits[0].changes.values.size(), 1u);
        EXPECT_TRUE(ApplyRecordEdits(mine->kinds, take.edits).empty());
        const std::vector<FieldValue> before = ours->kinds[officers]->read(12);
        const std::vector<FieldValue> after = mine->kinds[officers]->read(12);
        const std::vector<FieldValue> wanted = theirs->kinds[officers]->read(12);
        for (std::size_t i = 0; i < before.size(); ++i) {
            const QString& name = kind.fields()[i]->key;
            // The full name follows the given name, as in the view.
            const bool follows = i == field || (field == *kind.fieldIndex(QStringLiteral("given_name")) &&
                                                name == QLatin1String("full_name"));
            EXPECT_EQ(after[i], follows ? wanted[i] : before[i]) << name.toStdString();
        }
    }
}

TEST_F(Planted, WhatCannotBeTakenIsRefusedWithItsReason)
{
    const std::size_t officers = ours->kind(QStringLiteral("officers"));
    const std::size_t fullName = *ours->kinds[officers]->fieldIndex(QStringLiteral("full_name"));
    const TakeTheirs readOnly = TheirsEdits(compare(*ours, *theirs), TakeSelection::oneField(officers, 12, fullName));
    EXPECT_TRUE(readOnly.edits.empty());
    ASSERT_EQ(readOnly.refused.size(), 1u);
    EXPECT_EQ(readOnly.refused[0].field, QStringLiteral("full_name"));
    EXPECT_TRUE(readOnly.refused[0].problem.contains(QStringLiteral("姓名")))
        << readOnly.refused[0].problem.toStdString();

    // Their save has 860 officers, ours 760: their officer 800 has no place here,
    // and a relationship naming it is refused by ours.
    const auto few = slot(demo::kDemoSlotWith760Officers);
    const auto many = slot(demo::kDemoSlotWith860Officers);
    set(*many, QStringLiteral("relations"), 3, {{QStringLiteral("a"), QStringLiteral("800")}});
    const FileComparison c = compare(*few, *many);
    const TakeTheirs beyond = TheirsEdits(c, TakeSelection::oneRecord(officers, 800));
    EXPECT_TRUE(beyond.edits.empty());
    ASSERT_EQ(beyond.refused.size(), 1u);
    EXPECT_TRUE(beyond.refused[0].problem.contains(QStringLiteral("只在對方")))
        << beyond.refused[0].problem.toStdString();

    const std::size_t relations = few->kind(QStringLiteral("relations"));
    const TakeTheirs relation = TheirsEdits(c, TakeSelection::oneRecord(relations, 3));
    ASSERT_EQ(relation.edits.size(), 1u);
    const QByteArray before = few->save;
    const std::vector<EditRefusal> refused = ApplyRecordEdits(few->kinds, relation.edits);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].kind, relations);
    EXPECT_EQ(refused[0].record, 3);
    EXPECT_TRUE(refused[0].problem.contains(QStringLiteral("800"))) << refused[0].problem.toStdString();
    EXPECT_EQ(few->save, before);

    // An edit of a record the file does not have (their officer 800) changes nothing either.
    RecordEdit beyondOurs{officers, 800, {}};
    beyondOurs.changes.values[*few->kinds[officers]->fieldIndex(QStringLiteral("loyalty"))] = FieldValue{50, {}, {}};
    ASSERT_EQ(ApplyRecordEdits(few->kinds, {beyondOurs}).size(), 1u);
    EXPECT_EQ(few->save, before);
}

TEST_F(Planted, TakenValuesAreOneUndoStepOfTheDocument)
{
    SaveGame save;
    save.bytes = ours->save;
    SaveDocument document(std::move(save), ScenarioData::decode(ours->scenario));
    std::vector<DocumentChange> changes;
    QObject::connect(&document, &Document::changed, [&](const DocumentChange& change) { changes.push_back(change); });

    const TakeTheirs take = TheirsEdits(compare(*ours, *theirs), TakeSelection::everything());
    std::vector<EditRefusal> refused;
    ASSERT_TRUE(ApplySaveEdits(document, QStringLiteral("取用"), ours->context, take.edits, &refused));
    EXPECT_TRUE(refused.empty());
    QByteArray wanted = theirs->save;
    for (const qsizetype stray : kStrayBytes)
        setByte(wanted, stray, byteAt(original, stray));  // no field owns it
    EXPECT_EQ(document.bytes(), wanted);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0].everything());

    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.bytes(), original);
    EXPECT_FALSE(document.canUndo());
}

// Their system save has no RDText.vk beside it, so their new officers have no
// biography to give: taking over from it stores their other values and leaves
// every biography here as it was.
TEST_F(FileCompare, TakingFromASystemSaveWithoutBiographiesKeepsOurs)
{
    constexpr int kOfficer = 3;  // with a biography of 74 characters
    const QByteArray system = test::FileBytes(folder->file(system_save::kFileName));
    const QByteArray biographies = test::FileBytes(folder->file(system_save::kBiographyFileName));
    QByteArray theirs = system;
    NewOfficerKind theirKind;
    theirKind.load(theirs);
    const EditResult edit =
        EditRecord(theirKind, theirs, kOfficer, {{QStringLiteral("lifespan"), QStringLiteral("2.5")}});
    ASSERT_FALSE(edit.problem);
    ASSERT_EQ(edit.changes.size(), 1u);
    RecordKinds theirKinds;
    theirKinds.push_back(std::make_unique<NewOfficerKind>());
    theirKinds[0]->load(theirs);
    const std::size_t biography = *theirKinds[0]->fieldIndex(QStringLiteral("biography"));

    struct Row {
        const char* name;
        TakeSelection selection;
        bool lifespanTaken;
    };
    const std::vector<Row> rows = {
        {"everything", TakeSelection::everything(), true},
        {"the record", TakeSelection::oneRecord(0, kOfficer), true},
        {"the biography alone", TakeSelection::oneField(0, kOfficer, biography), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray ours = system;
        QByteArray ourBiographies = biographies;
        RecordKinds ourKinds;
        ourKinds.push_back(std::make_unique<NewOfficerKind>(&ourBiographies));
        ourKinds[0]->load(ours);
        const FileComparison c = CompareFiles(ourKinds, ours, theirKinds, theirs);
        const RecordDifference* record = c.record(0, kOfficer);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(std::any_of(record->fields.begin(), record->fields.end(),
                                [&](const FieldDifference& f) { return f.field == biography && f.theirs.absent; }));

        const TakeTheirs take = TheirsEdits(c, row.selection);
        for (const RecordEdit& edit : take.edits)
            EXPECT_EQ(edit.changes.values.count(biography), 0u) << "record " << edit.record;
        EXPECT_TRUE(ApplyRecordEdits(ourKinds, take.edits).empty());
        EXPECT_EQ(ourBiographies, biographies);
        EXPECT_EQ(ours, row.lifespanTaken ? theirs : system);
    }
}

}  // namespace
}  // namespace varkel
