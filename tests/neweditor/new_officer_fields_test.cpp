#include "demo_folder/demo_game_files.h"
#include "neweditor/new_officer_fields.h"
#include "neweditor/system_save.h"
#include "saveeditor/officer_fields.h"
#include "shared/bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

using namespace varkel;

namespace {

constexpr qsizetype R = system_save::kHeaderSize;  // record 0

// Reads the number boxes as the view would after showing `record`, with the
// boxes of `typed` changed.
std::optional<FieldProblem> applyBoxes(MemberRecord& record, const std::map<QString, QString>& typed,
                                       std::vector<std::pair<QString, QString>>* shown = nullptr)
{
    const MemberRecord before = record;
    auto textOf = [&](const QString& control) {
        const auto found = typed.find(control);
        if (found != typed.end())
            return found->second;
        for (const auto& f : NewOfficerFields())
            if (f.control == control)
                return NumberBoxText(f, before);
        return QString();
    };
    return ReadNumberFields(NewOfficerFields(), std::function<QString(const QString&)>(textOf), record, shown);
}

// A value of `field` other than `now`.
FieldValue otherValue(const RecordField<MemberRecord>& field, const FieldValue& now)
{
    FieldValue v = now;
    if (field.kind == FieldKind::Name) {
        v.text = now.text == QStringLiteral("乙") ? QStringLiteral("丙") : QStringLiteral("乙");
    } else if (field.kind == FieldKind::Skills) {
        const auto held = std::find(v.list.begin(), v.list.end(), 3);  // skill 3: bit 4 of byte 119
        if (held == v.list.end())
            v.list.push_back(3);
        else
            v.list.erase(held);
    } else if (field.kind == FieldKind::Flag) {
        v.number = 1 - now.number;
    } else if (field.kind == FieldKind::Tactics) {
        v.list[0] = now.list[0] == 6 ? 2 : 6;  // tactic 0: low nibble of byte 120
    } else if (field.kind == FieldKind::Choice) {
        v.number = now.number == 0 ? 1 : 0;
    } else {
        const int top = std::min(field.upper.value_or(field.storableMax), field.storableMax);
        v.number = now.number >= top ? top - 1 : std::max(now.number + 1, field.lower.value_or(0));
    }
    return v;
}

}  // namespace

TEST(NewOfficerFields, SharedFieldsAreTheOfficerViewsFields)
{
    const std::set<QString> shared = {
        "surname",         "given_name",      "courtesy_name", "title",    "full_name",
        "bravery",         "calmness",        "duty",          "ambition", "related_officer",
        "family",          "compatibility",   "birth_year",    "might",    "intellect",
        "politics",        "charisma",        "face",          "female",   "tactic_direct",
        "tactic_shooting", "tactic_surprise", "tactic_scheme", "skills",   "tactics",
    };
    for (const QString& key : shared) {
        SCOPED_TRACE(key.toStdString());
        // All but the box, which each view places at its own index.
        auto settings = [](const FieldSpec& f) {
            return std::tuple(f.label, f.kind, f.maxDigits, f.lower, f.upper, f.storableMax, f.capacity, f.items,
                              f.readOnly);
        };
        EXPECT_EQ(settings(NewOfficerField(key)), settings(OfficerField(key)));
    }
}

TEST(NewOfficerFields, BoxesClampOrAreRefusedByName)
{
    struct Row {
        const char* control;
        const char* typed;
        qsizetype at;   // the byte that shows the stored value, or -1 when refused
        int want;       // that byte, or the label the message names
        const char* shownBack;  // the clamped text the box shows, or null
        const char* label = nullptr;
    };
    const std::vector<Row> rows = {
        {"Text3(8)", "99", 36, 0, "100"},
        {"Text3(8)", "400", 36, 255, "355"},
        {"Text3(8)", "150", 36, 50, nullptr},
        {"Text3(6)", "151", 41, 150, "150"},
        {"Text3(0)", "9", 54, 7 << 2, "7"},
        {"Text3(7)", "70000", 56, 0xFF, "65535"},
        {"Text3(9)", "9", 111, 14 << 4, "7"},
        {"Text3(9)", "3", 111, 6 << 4, nullptr},
        {"Text2(1)", "256", -1, 0, nullptr, "智力"},
        {"Text3(2)", "", -1, 0, nullptr, "義理"},
        {"Text3(5)", "1a", -1, 0, nullptr, "家族"},
        {"Text3(9)", "3.5", 111, 7 << 4, nullptr},  // the box's filter lets only digits in
        {"Text3(9)", "7.5", 111, 14 << 4, "7"},
        {"Text3(9)", "3.4", -1, 0, nullptr, "壽命"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.control << " " << row.typed);
        QByteArray b(system_save::kMinimumSize, '\0');
        MemberRecord m = DecodeMemberRecord(b, R);
        std::vector<std::pair<QString, QString>> shown;
        const QString control = QString::fromLatin1(row.control);
        const auto problem = applyBoxes(m, {{control, QString::fromLatin1(row.typed)}}, &shown);
        if (row.at < 0) {
            ASSERT_TRUE(problem);
            EXPECT_EQ(problem->control, control);
            EXPECT_TRUE(problem->message.contains(QString::fromUtf8(row.label))) << problem->message.toStdString();
            QByteArray after = b;
            EncodeMemberRecord(after, R, m);
            EXPECT_EQ(after, b);  // the record is as it was
            continue;
        }
        ASSERT_FALSE(problem) << problem->message.toStdString();
        EncodeMemberRecord(b, R, m);
        EXPECT_EQ(byteAt(b, R + row.at), row.want);
        if (row.shownBack) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].second, QString::fromLatin1(row.shownBack));
        } else {
            EXPECT_TRUE(shown.empty());
        }
    }
}

TEST(NewOfficerFields, AHalfYearIsKeptWhileTheBoxStillShowsIt)
{
    struct Row {
        int halves;
        const char* typed;  // null: left as shown
        int want;
    };
    const std::vector<Row> rows = {
        {15, nullptr, 15}, {15, "7", 14}, {7, nullptr, 7}, {7, "3", 6}, {7, "4", 8}, {6, nullptr, 6}, {6, "3", 6},
    };
    const auto& lifespan = NewOfficerField(QStringLiteral("lifespan"));
    for (const Row& row : rows) {
        MemberRecord m;
        m.lifespanHalves = row.halves;
        std::map<QString, QString> typed;
        if (row.typed)
            typed[lifespan.control] = QString::fromLatin1(row.typed);
        ASSERT_FALSE(applyBoxes(m, typed));
        EXPECT_EQ(m.lifespanHalves, row.want) << row.halves << " " << (row.typed ? row.typed : "as shown");
    }
    MemberRecord m;
    m.lifespanHalves = 15;
    EXPECT_EQ(NumberBoxText(lifespan, m), QStringLiteral("7.5"));
}

TEST(NewOfficerFields, TacticLevelsShowAndStoreTheirNibbles)
{
    struct Row {
        int stored;
        int shown;   // list level, or the raw 14/15
        int chosen;  // -1: left as shown
        int want;
    };
    const std::vector<Row> rows = {
        {0, 0, -1, 0}, {5, 0, -1, 5}, {7, 0, -1, 7},    {8, 1, -1, 8},    {13, 6, -1, 13}, {0, 0, 6, 13},
        {5, 0, 1, 8},  {9, 2, 0, 0},  {14, 14, -1, 14}, {15, 15, -1, 15}, {14, 14, 6, 13},
    };
    const auto& tactics = NewOfficerField(QStringLiteral("tactics"));
    for (const int k : {0, 7, 14}) {
        for (const Row& row : rows) {
            QByteArray b(system_save::kMinimumSize, '\0');
            const qsizetype at = R + 120 + k / 2;
            setByte(b, at, k % 2 == 0 ? row.stored : row.stored << 4);
            MemberRecord m = DecodeMemberRecord(b, R);
            FieldValue levels = tactics.get(m);
            EXPECT_EQ(levels.list[std::size_t(k)], row.shown) << "tactic " << k << " nibble " << row.stored;
            if (row.chosen >= 0)
                levels.list[std::size_t(k)] = row.chosen;
            tactics.set(m, levels);
            EncodeMemberRecord(b, R, m);
            EXPECT_EQ(byteAt(b, at), k % 2 == 0 ? row.want : row.want << 4) << "tactic " << k;
        }
    }
}

TEST(NewOfficerFields, ListsHoldTheirTexts)
{
    struct Row {
        const char* key;
        int count;
        const char* last;
    };
    const std::vector<Row> rows = {
        {"character_tendency", 4, "隨機"}, {"strategic_tendency", 7, "私欲"}, {"personality", 5, "怯懦"},
        {"aspiration", 5, "私欲"},         {"growth_tendency", 9, "提督"},
    };
    for (const Row& row : rows) {
        const auto& f = NewOfficerField(QString::fromLatin1(row.key));
        EXPECT_EQ(f.kind, FieldKind::Choice);
        ASSERT_EQ(f.items.size(), row.count) << row.key;
        EXPECT_EQ(f.items.last(), QString::fromUtf8(row.last)) << row.key;
    }
}

// An Apply that changes one field changes only that field's bytes, on every
// record of the demo system save.
TEST(NewOfficerFields, AChangeOfOneFieldChangesOnlyItsBytes)
{
    struct Bytes {
        int from;
        int count;
    };
    const std::map<QString, std::vector<Bytes>> owned = {
        {"surname", {{0, 5}}},
        {"given_name", {{5, 5}}},
        {"courtesy_name", {{10, 5}}},
        {"title", {{15, 11}}},
        {"full_name", {{26, 9}}},
        {"bravery", {{54, 1}}},
        {"calmness", {{54, 1}}},
        {"duty", {{55, 1}}},
        {"ambition", {{55, 1}}},
        {"related_officer", {{44, 2}}},
        {"family", {{42, 2}}},
        {"compatibility", {{41, 1}}},
        {"compatible_officer", {{56, 2}}},
        {"birth_year", {{36, 1}}},
        {"lifespan", {{111, 1}}},
        {"might", {{37, 1}, {62, 1}}},
        {"intellect", {{38, 1}, {63, 1}}},
        {"politics", {{39, 1}, {64, 1}}},
        {"charisma", {{40, 1}, {65, 1}}},
        {"face", {{48, 2}}},
        {"female", {{52, 1}}},
        {"tactic_direct", {{52, 1}}},
        {"tactic_shooting", {{52, 1}}},
        {"tactic_surprise", {{53, 1}}},
        {"tactic_scheme", {{53, 1}}},
        {"character_tendency", {{53, 1}}},
        {"strategic_tendency", {{53, 1}}},
        {"personality", {{59, 1}}},
        {"aspiration", {{59, 1}}},
        {"growth_tendency", {{53, 2}, {59, 1}}},
        {"skills", {{119, 1}}},
        {"tactics", {{120, 1}}},
    };
    const QByteArray original = demo::MakeSystemSave();
    ASSERT_EQ(NewOfficerFields().size(), owned.size());
    for (const auto& field : NewOfficerFields()) {
        ASSERT_TRUE(owned.count(field.key)) << field.key.toStdString() << " has no row";
        for (int i = 0; i < system_save::kRecordCount; i += 3) {
            SCOPED_TRACE(testing::Message() << field.key.toStdString() << " record " << i);
            const qsizetype r = system_save::record(i);
            MemberRecord m = DecodeMemberRecord(original, r);
            field.set(m, otherValue(field, field.get(m)));
            QByteArray edited = original;
            EncodeMemberRecord(edited, r, m);
            if (!field.readOnly) {
                ASSERT_NE(edited, original);
            }
            EXPECT_EQ(field.get(DecodeMemberRecord(edited, r)), field.get(m));
            for (const Bytes& b : owned.at(field.key))
                edited.replace(r + b.from, b.count, original.mid(r + b.from, b.count));
            ASSERT_TRUE(edited == original);
        }
    }
}
