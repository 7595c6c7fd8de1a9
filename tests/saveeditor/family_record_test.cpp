#include "saveeditor/family_fields.h"
#include "saveeditor/family_record.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace varkel;

namespace {

using Four = std::array<int, 4>;

// A save-sized buffer of noise, so that a write where none belongs shows.
QByteArray noiseSave()
{
    return test::RandomBytes(save::kBiographyOffset + 8 * biography::kRecordSize + 64, 11);
}

// The byte ranges a write of member k may change.
bool mayChange(int k, qsizetype at)
{
    if (at >= family::record(k) && at < family::record(k) + member::kRecordSize)
        return true;
    return family::isChild(k) && at >= family::growthField(k) && at < family::growthField(k) + 6;
}

}  // namespace

TEST(FamilyRecord, AChildsGrowthAndCapsLieInItsSlotWithTheOtherBitsKept)
{
    struct Row {
        int g0, g1;                  // the two growth bytes as stored
        Four growth;  // as decoded
        Four newGrowth;
        int want0, want1;
    };
    const std::vector<Row> rows = {
        // might bits 4-2, intellect 7-5; politics bits 2-0, charisma 5-3; bits 1-0 and 7-6 kept
        {0b101'110'11, 0b11'011'100, {6, 5, 4, 3}, {1, 2, 3, 4}, 0b010'001'11, 0b11'100'011},
        {0, 0, {0, 0, 0, 0}, {7, 7, 7, 7}, 0b111'111'00, 0b00'111'111},
        {0xFF, 0xFF, {7, 7, 7, 7}, {0, 0, 0, 0}, 0b000'000'11, 0b11'000'000},
    };
    for (int k : {0, 7}) {
        for (const Row& row : rows) {
            QByteArray b = noiseSave();
            const qsizetype g = family::growthField(k);
            setByte(b, g, row.g0);
            setByte(b, g + 1, row.g1);
            FamilyMember m = DecodeFamilyMember(b, k);
            EXPECT_EQ(m.growth, row.growth) << k << " " << row.g0;
            EXPECT_EQ(m.caps[0], byteAt(b, g + 2));
            EXPECT_EQ(m.caps[3], byteAt(b, g + 5));
            m.growth = row.newGrowth;
            m.caps = {90, 0, 255, 1};
            EncodeFamilyMember(b, k, m);
            EXPECT_EQ(byteAt(b, g), row.want0) << k << " " << row.g0;
            EXPECT_EQ(byteAt(b, g + 1), row.want1) << k << " " << row.g1;
            EXPECT_EQ(DecodeFamilyMember(b, k).caps, (Four{90, 0, 255, 1}));
        }
    }
}

// Whatever a member's write changes stays in its record (and, for a child, its
// growth bytes): a spouse never reaches the player slots, no one the biographies.
TEST(FamilyRecord, AWriteStaysInsideWhatTheMemberOwns)
{
    for (int k = 0; k < family::kMemberCount; ++k) {
        const QByteArray original = noiseSave();
        QByteArray b = original;
        FamilyMember m = DecodeFamilyMember(b, k);
        if (!family::isChild(k)) {
            EXPECT_EQ(m.growth, Four{}) << k;
        }
        m.person.surname = QStringLiteral("張");
        m.person.givenName = QStringLiteral("飛");
        m.person.fullName = QStringLiteral("張飛");
        m.person.abilities = {99, 98, 97, 96};
        m.growthTendency = member::kAdmiralGrowth;
        m.personality = member::kPersonalityFour;
        m.growth = {7, 6, 5, 4};
        m.caps = {100, 100, 100, 100};
        EncodeFamilyMember(b, k, m);
        for (qsizetype at = 0; at < b.size(); ++at) {
            if (!mayChange(k, at)) {
                ASSERT_EQ(byteAt(b, at), byteAt(original, at)) << "member " << k << " byte " << at;
            }
        }
        const FamilyMember back = DecodeFamilyMember(b, k);
        EXPECT_EQ(back.person.fullName, QStringLiteral("張飛"));
        EXPECT_EQ(back.growthTendency, member::kAdmiralGrowth);
        EXPECT_EQ(back.personality, member::kPersonalityFour);
        EXPECT_EQ(back.person.abilities[0], 99);
        EXPECT_EQ(byteAt(b, family::record(k) + 37), 99);  // the copy
        const Four wanted = family::isChild(k) ? Four{7, 6, 5, 4} : Four{};
        EXPECT_EQ(back.growth, wanted);
    }
}

TEST(FamilyFields, BoxesAreTheFamilyViewsWithTheSharedLimits)
{
    struct Row {
        const char* control;
        const char* key;
        const char* typed;
        int stored;        // -1: refused
        const char* shown;  // the box after a clamp, or empty
    };
    const std::vector<Row> rows = {
        {"Text10(0)", "bravery", "9", 7, "7"},         {"Text10(4)", "compatibility", "200", 150, "150"},
        {"Text10(5)", "birth_year", "99", 100, "100"}, {"Text10(6)", "lifespan", "9", 14, "7"},
        {"Text9(2)", "politics", "256", -1, ""},       {"Text9(5)", "intellect_cap", "256", -1, ""},
        {"Text12(3)", "charisma_growth", "8", 7, "7"}, {"Text12(0)", "might_growth", "", -1, ""},
    };
    QByteArray b = noiseSave();
    const FamilyMember original = DecodeFamilyMember(b, 2);
    for (const Row& row : rows) {
        std::map<QString, QString> boxes;
        for (const auto& f : FamilyFields())
            if (f.kind == FieldKind::Number && !f.control.isEmpty())
                boxes[f.control] = NumberBoxText(f, original);
        ASSERT_EQ(boxes.count(QString::fromLatin1(row.control)), 1u) << row.control;
        boxes[QString::fromLatin1(row.control)] = QString::fromLatin1(row.typed);
        FamilyMember m = original;
        std::vector<std::pair<QString, QString>> clamped;
        const auto problem =
            ReadNumberFields(FamilyFields(), [&](const QString& c) { return boxes.at(c); }, m, &clamped);
        const auto& field = FamilyField(QString::fromLatin1(row.key));
        EXPECT_EQ(field.control, QString::fromLatin1(row.control));
        if (row.stored < 0) {
            ASSERT_TRUE(problem) << row.control;
            EXPECT_EQ(problem->control, field.control);
            EXPECT_TRUE(problem->message.contains(field.label)) << qPrintable(problem->message);
            continue;
        }
        ASSERT_FALSE(problem) << row.control << " " << qPrintable(problem->message);
        const int value = row.key == std::string("lifespan") ? m.lifespanHalves : field.get(m).number;
        EXPECT_EQ(value, row.stored) << row.control;
        ASSERT_EQ(clamped.size(), 1u) << row.control;
        EXPECT_EQ(clamped[0].second, QString::fromLatin1(row.shown));
    }
}
