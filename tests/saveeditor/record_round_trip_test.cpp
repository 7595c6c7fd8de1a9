// A record stored back unchanged keeps every byte, for every record kind: each
// record of every demo file, and of files of random bytes, decoded and encoded
// through its kind (the path of the views' Apply and of the command line) leaves
// the file and the files beside it as they were.
#include "demo_folder/demo_game_files.h"
#include "demo_folder/demo_save.h"
#include "neweditor/new_officer_kind.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/city_kind.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/force_kind.h"
#include "saveeditor/intimacy_kind.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/relation_kind.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/treasure_kind.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace varkel;

namespace {

// The files a kind is bound to: the one it loads, and the one beside it that it
// also writes (the scenario of a save's treasures, a system save's biographies).
struct Files {
    QByteArray main;
    QByteArray beside;
};

std::vector<Files> savedGames()
{
    std::vector<Files> files;
    const QByteArray scenario = demo::MakeScenario();
    for (const demo::SlotPlan& plan : demo::SlotPlans())
        files.push_back({demo::MakeSavedGame(plan), scenario});
    for (unsigned seed = 1; seed <= 3; ++seed)
        files.push_back({test::RandomBytes(save::kStartupBufferSize, seed),
                         test::RandomBytes(scenario.size(), seed + 100)});
    return files;
}

std::vector<Files> systemSaves()
{
    const QByteArray system = demo::MakeSystemSave();
    const QByteArray biographies = demo::MakeBiographyFile();
    return {{system, biographies}, {test::RandomBytes(system.size(), 7), test::RandomBytes(biographies.size(), 8)}};
}

qsizetype firstDifference(const QByteArray& a, const QByteArray& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}

struct Row {
    const char* name;
    std::function<std::vector<Files>()> files;
    std::function<std::unique_ptr<RecordKind>(QByteArray* beside)> make;
};

}  // namespace

TEST(RecordRoundTrip, AnUnchangedRecordKeepsEveryByte)
{
    const std::vector<Row> rows = {
        {"officers", savedGames, [](QByteArray*) { return std::make_unique<OfficerKind>(); }},
        {"family", savedGames, [](QByteArray*) { return std::make_unique<FamilyKind>(); }},
        {"relations", savedGames, [](QByteArray*) { return std::make_unique<RelationKind>(); }},
        {"cities", savedGames, [](QByteArray*) { return std::make_unique<CityKind>(); }},
        {"forces", savedGames, [](QByteArray*) { return std::make_unique<ForceKind>(); }},
        {"intimacy of slot 0", savedGames, [](QByteArray*) { return std::make_unique<IntimacyKind>(0, false); }},
        {"intimacy of slot 5", savedGames, [](QByteArray*) { return std::make_unique<IntimacyKind>(5, false); }},
        {"special intimacy", savedGames, [](QByteArray*) { return std::make_unique<IntimacyKind>(2, true); }},
        {"treasures", savedGames, [](QByteArray* scenario) { return std::make_unique<TreasureKind>(scenario); }},
        {"new officers", systemSaves, [](QByteArray* bios) { return std::make_unique<NewOfficerKind>(bios); }},
    };
    for (const Row& row : rows) {
        int written = 0;
        const std::vector<Files> all = row.files();
        for (std::size_t f = 0; f < all.size(); ++f) {
            Files files = all[f];
            const std::unique_ptr<RecordKind> kind = row.make(&files.beside);
            kind->load(files.main);
            for (int n = 0; n < kind->count(); ++n) {
                SCOPED_TRACE(testing::Message() << row.name << ", file " << f << ", record " << n);
                // A record the kind refuses as it stands (an officer without a name) is not written at all.
                if (!kind->write(n, {}))
                    ++written;
                ASSERT_TRUE(files.main == all[f].main) << "byte " << firstDifference(files.main, all[f].main);
                ASSERT_TRUE(files.beside == all[f].beside) << "byte " << firstDifference(files.beside, all[f].beside);
            }
        }
        EXPECT_GT(written, 0) << row.name;
    }
}
