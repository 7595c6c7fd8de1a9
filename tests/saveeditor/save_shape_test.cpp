// Whether a file can be a saved game or a system save at all: what the windows ask
// about and the command line refuses before opening one.
#include "neweditor/system_save.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/picture_banks.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace varkel;

namespace {

enum class Kind { SavedGame, SystemSave };

QStringList problemsOf(Kind kind, const QByteArray& bytes)
{
    return kind == Kind::SavedGame ? SaveGame::shapeProblems(bytes) : SystemSave::shapeProblems(bytes);
}

qsizetype sizeOf(Kind kind)
{
    return kind == Kind::SavedGame ? save::kStartupBufferSize : 14'848;  // as the demo's system save
}

QByteArray utf16Text(qsizetype size)
{
    const QString line = QStringLiteral("Save game notes, written by hand.\r\n");
    return test::Repeated(QByteArray(reinterpret_cast<const char*>(line.utf16()), line.size() * 2), size);
}

class SaveShapeDemoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = std::make_unique<test::TempGameFolder>(); }
    static void TearDownTestSuite() { folder.reset(); }
    static QByteArray demoFile(const QString& name) { return test::FileBytes(folder->file(name)); }
    static QByteArray demoSave(int k) { return demoFile(QStringLiteral("svd_0%1.sav").arg(k)); }

    static inline std::unique_ptr<test::TempGameFolder> folder;
};

}  // namespace

TEST_F(SaveShapeDemoTest, EverySaveOfTheDemoFolderLooksLikeOne)
{
    for (int k = 0; k < save::kSlotCount; ++k) {
        QByteArray bytes = demoSave(k);
        ASSERT_GE(bytes.size(), save::kSlotMinimumSize) << "slot " << k;
        EXPECT_EQ(SaveGame::shapeProblems(bytes), QStringList()) << "slot " << k;
        // As the window reads the newest save: cut or padded to the start-up buffer.
        bytes.resize(save::kStartupBufferSize, '\0');
        EXPECT_EQ(SaveGame::shapeProblems(bytes), QStringList()) << "slot " << k << " at start-up";
    }
    const QByteArray system = demoFile(QStringLiteral("Svd_sys.sav"));
    ASSERT_FALSE(system.isEmpty());
    EXPECT_EQ(SystemSave::shapeProblems(system), QStringList());
}

TEST(SaveShapeTest, FilesOfTheRightSizeThatAreNoSaveAreTold)
{
    struct Case {
        const char* name;
        Kind kind;
        std::function<QByteArray(qsizetype)> bytes;
        bool looksLikeOne;
    };
    const QByteArray english = "This is a plain text file, not a saved game of Varkel; it only has the size of one.\n";
    const QByteArray chinese = QStringLiteral("這是一個文本文件，不是遊戲的存檔。\r\n").toUtf8();
    const std::vector<Case> cases = {
        {"saved game: English text", Kind::SavedGame, [&](qsizetype n) { return test::Repeated(english, n); }, false},
        {"saved game: Chinese text in UTF-8", Kind::SavedGame, [&](qsizetype n) { return test::Repeated(chinese, n); },
         false},
        {"saved game: UTF-16 text", Kind::SavedGame, utf16Text, false},
        {"saved game: zeros", Kind::SavedGame, [](qsizetype n) { return QByteArray(n, '\0'); }, false},
        {"saved game: random bytes", Kind::SavedGame, [](qsizetype n) { return test::RandomBytes(n, 1); }, false},
        {"saved game: other random bytes", Kind::SavedGame, [](qsizetype n) { return test::RandomBytes(n, 2); }, false},
        {"system save: English text", Kind::SystemSave, [&](qsizetype n) { return test::Repeated(english, n); }, false},
        {"system save: Chinese text in UTF-8", Kind::SystemSave,
         [&](qsizetype n) { return test::Repeated(chinese, n); }, false},
        {"system save: random bytes", Kind::SystemSave, [](qsizetype n) { return test::RandomBytes(n, 1); }, false},
        {"system save: other random bytes", Kind::SystemSave, [](qsizetype n) { return test::RandomBytes(n, 2); },
         false},
        // No officer has been made yet: every record is empty, and so are their faces.
        {"system save: zeros, a file of empty records", Kind::SystemSave,
         [](qsizetype n) { return QByteArray(n, '\0'); }, true},
    };
    for (const Case& c : cases) {
        const QStringList problems = problemsOf(c.kind, c.bytes(sizeOf(c.kind)));
        EXPECT_EQ(problems.isEmpty(), c.looksLikeOne)
            << c.name << ": " << problems.join(QStringLiteral("; ")).toStdString();
    }
}

// Each rule alone, at the edges of what it allows, on a save that keeps every other.
TEST_F(SaveShapeDemoTest, EachRuleOfASavedGameAtItsEdges)
{
    const QByteArray demo = demoSave(0);
    const int count = 780;  // demo slot 0: officers 0..779
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> change;
        const char* problem;  // what the one problem says; nullptr for none
    };
    const auto month = [](int m) { return [m](QByteArray& b) { setBits(b, save::kGameMonthOffset, 0xF0, m << 4); }; };
    const auto mapEntry = [](int officer) {
        return [officer](QByteArray& b) { setLe16(b, save::personMapEntry(save::kFirstPersonNumber + 3), officer); };
    };
    const auto lastMapEntry = [](int officer) {
        return [officer](QByteArray& b) { setLe16(b, save::personMapEntry(save::kLastPersonNumber), officer); };
    };
    const auto player = [](int slot, int person) {
        return [=](QByteArray& b) { setLe16(b, save::playerPerson(slot), person); };
    };
    const std::vector<Case> cases = {
        {"month 1", month(1), nullptr},
        {"month 12", month(12), nullptr},
        // No month, but what the officer view stores when 0 is typed.
        {"month 0", month(0), nullptr},
        {"month 13", month(13), "the game month is 13, beyond 12"},
        {"month 15", month(15), "the game month is 15, beyond 12"},
        {"the low half of the month byte is not the month",
         [](QByteArray& b) { setBits(b, save::kGameMonthOffset, 0x0F, 0x0F); }, nullptr},
        {"any year", [](QByteArray& b) { setByte(b, save::kGameYearOffset, 255); }, nullptr},
        {"person map: officer 0", mapEntry(0), nullptr},
        {"person map: an officer beyond the count is odd, not foreign", mapEntry(count + 5), nullptr},
        {"person map: officer 859", mapEntry(859), nullptr},
        {"person map: empty", mapEntry(save::kNoPerson), nullptr},
        {"person map: 860", mapEntry(860), "person 863 names officer 860, not 0..859 or 1720 for none"},
        {"person map: 1023", mapEntry(1023), "person 863 names officer 1023, not 0..859 or 1720 for none"},
        {"person map: 1721", mapEntry(1721), "person 863 names officer 1721, not 0..859 or 1720 for none"},
        {"person map: its last entry", lastMapEntry(0xFFFF),
         "person 1719 names officer 65535, not 0..859 or 1720 for none"},
        {"player slot: person 860", player(1, 860), nullptr},
        {"player slot: person 1719", player(7, 1719), nullptr},
        {"player slot: empty", player(0, save::kNoPerson), nullptr},
        {"player slot: person 859", player(0, 859), "player slot 0 names person 859, not 860..1719 or 1720 for none"},
        {"player slot: person 1721", player(7, 1721),
         "player slot 7 names person 1721, not 860..1719 or 1720 for none"},
        {"player slot: person 0", player(3, 0), "player slot 3 names person 0, not 860..1719 or 1720 for none"},
        {"a city above 50 is an odd value the views show",
         [](QByteArray& b) { setLe16(b, save::locationEntry(4), 1734 << 4); }, nullptr},
    };
    ASSERT_EQ(SaveGame::shapeProblems(demo), QStringList());
    for (const Case& c : cases) {
        QByteArray bytes = demo;
        c.change(bytes);
        const QStringList expected = c.problem ? QStringList{QString::fromUtf8(c.problem)} : QStringList();
        EXPECT_EQ(SaveGame::shapeProblems(bytes), expected) << c.name;
    }
}

TEST_F(SaveShapeDemoTest, EveryBrokenRuleOfASavedGameIsNamed)
{
    QByteArray bytes = demoSave(5);
    setBits(bytes, save::kGameMonthOffset, 0xF0, 14 << 4);
    setLe16(bytes, save::personMapEntry(900), 2000);
    setLe16(bytes, save::personMapEntry(901), 3000);  // the first one at fault is enough
    setLe16(bytes, save::playerPerson(2), 5);
    EXPECT_EQ(SaveGame::shapeProblems(bytes),
              (QStringList{QStringLiteral("the game month is 14, beyond 12"),
                           QStringLiteral("person 900 names officer 2000, not 0..859 or 1720 for none"),
                           QStringLiteral("player slot 2 names person 5, not 860..1719 or 1720 for none")}));
}

TEST_F(SaveShapeDemoTest, ANewOfficerWithANameHasAFaceOfTheBank)
{
    const QByteArray demo = demoFile(QStringLiteral("Svd_sys.sav"));
    const qsizetype named = system_save::record(0);
    ASSERT_FALSE(ReadFullName(demo, named).isEmpty());
    // A record whose full name is empty: what it holds is no new officer.
    qsizetype empty = -1;
    for (int i = 0; i < system_save::kRecordCount && empty < 0; ++i)
        if (ReadFullName(demo, system_save::record(i)).isEmpty())
            empty = system_save::record(i);
    ASSERT_GE(empty, 0);

    struct Case {
        const char* name;
        qsizetype record;
        int face;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {"named: face 0", named, 0, nullptr},
        {"named: the last face", named, kFaceCount - 1, nullptr},
        {"named: one beyond the bank", named, kFaceCount,
         "new officer 660 has face 846, beyond the 846 faces of the game"},
        {"named: 0xFFFF", named, 0xFFFF, "new officer 660 has face 65535, beyond the 846 faces of the game"},
        {"empty record: any face", empty, 0xFFFF, nullptr},
    };
    for (const Case& c : cases) {
        QByteArray bytes = demo;
        setLe16(bytes, c.record + person::kFace, c.face);
        const QStringList expected = c.problem ? QStringList{QString::fromUtf8(c.problem)} : QStringList();
        EXPECT_EQ(SystemSave::shapeProblems(bytes), expected) << c.name;
    }
}
