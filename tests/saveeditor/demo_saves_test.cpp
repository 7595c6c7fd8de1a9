// Every officer of every demo save survives a decode and an encode with nothing
// changed; the only bytes that may move are those the write rules normalise.
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

// Why the write rules may change byte `at` of officer `n`, or nullptr.
const char* normalisation(const QByteArray& before, const QByteArray& after, int n, qsizetype at)
{
    const qsizetype s = save::statusBlock(n);
    if (at >= s + 60 && at <= s + 67) {
        for (int shift : {0, 4}) {
            const int old = (byteAt(before, at) >> shift) & 15;
            const int now = (byteAt(after, at) >> shift) & 15;
            if (old != now && !(old >= 1 && old <= 7 && now == 0) && !(at == s + 67 && shift == 4 && now == 0))
                return nullptr;
        }
        return "tactic level below 8 stored as 0";
    }
    if (at == s + 1) {
        const int year = DecodeGameDate(before).year;
        if (YearsOfService(byteAt(before, at), year) == 0 && byteAt(after, at) == year + 1 - save::kYearBase)
            return "entry year re-derived from 0 years of service";
    }
    return nullptr;
}

}  // namespace

TEST(DemoSaves, DecodeThenEncodeOfEveryOfficerKeepsEveryByteButNormalisedOnes)
{
    const test::TempGameFolder folder;
    for (int k = 0; k < save::kSlotCount; ++k) {
        SaveGame game;
        FileStore store;
        ASSERT_EQ(game.openWhole(store, SaveGame::slotPath(folder.path(), k), save::kSlotMinimumSize),
                  SaveGame::Refusal::None);
        const QByteArray original = game.bytes;
        const int count = SaveTables::countOfficers(original);
        for (int n = 0; n < count; ++n)
            EncodeOfficer(game.bytes, n, DecodeOfficer(game.bytes, n));
        ASSERT_EQ(game.bytes.size(), original.size());
        int normalised = 0;
        for (qsizetype i = 0; i < original.size(); ++i) {
            if (game.bytes[i] == original[i])
                continue;
            const int n = i >= save::kStatusBlockOffset && i < save::kLocationOffset
                              ? int((i - save::kStatusBlockOffset) / save::kStatusBlockSize)
                              : -1;
            ASSERT_TRUE(n >= 0 && normalisation(original, game.bytes, n, i))
                << "slot " << k << " byte " << i << " officer " << n;
            ++normalised;
        }
        // Encoding again changes nothing more.
        const QByteArray once = game.bytes;
        for (int n = 0; n < count; ++n)
            EncodeOfficer(game.bytes, n, DecodeOfficer(game.bytes, n));
        EXPECT_EQ(game.bytes, once) << "slot " << k;
        EXPECT_LT(normalised, count) << "slot " << k;
    }
}
