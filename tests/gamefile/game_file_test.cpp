// The open game file: its kind by name and size, the files of the game folder
// beside it, what it held when read, and its refusal to write over a file
// another program changed since.
#include "gamefile/game_file.h"
#include "saveeditor/treasure_record.h"
#include "support/file_bytes.h"
#include "support/temp_game_folder.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace varkel {
namespace {

TEST(GameFileKind, IsToldByNameThenSize)
{
    struct Row {
        const char* name;
        qint64 size;
        GameFileKind kind;
    };
    const std::vector<Row> rows = {
        {"Svd_sys.sav", 0, GameFileKind::SystemSave},  // by name, whatever it holds
        {"SVD_SYS.SAV", 374'534, GameFileKind::SystemSave},
        {"svd_05.sav", 374'534, GameFileKind::SavedGame},
        {"svd_05.sav", 14'848, GameFileKind::SystemSave},  // a .sav of a system save's size
        {"Svd_sys-copy.sav", 14'848, GameFileKind::SystemSave},
        {"Svd_sys-copy.sav", 374'534, GameFileKind::SavedGame},
        {"old.sav", 10, GameFileKind::SavedGame},  // too small for either: refused as a saved game
        {"backup.bin", 374'534, GameFileKind::SavedGame},
        {"backup.bin", 134'024, GameFileKind::Scenario},
        {"backup.bin", 14'848, GameFileKind::Unknown},
        {"D_SCE.VK", 5, GameFileKind::Scenario},
        {"m_msg.vk", 655'360, GameFileKind::Notes},
        {"RDText.vk", 20'392, GameFileKind::Biographies},
        {"g_maindy.vk", 61'950'612, GameFileKind::PictureBank},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GameFileKindOf(QStringLiteral("/games/") + row.name, row.size), row.kind)
            << row.name << ' ' << row.size;
}

TEST(GameFolderFiles, AreReadAsTheEditorsHoldThem)
{
    struct Row {
        const char* name;
        std::function<void(const test::TempGameFolder&)> damage;
        qsizetype notes;  // how many notes; -1: none could be read
        bool scenario;
    };
    const std::vector<Row> rows = {
        {"as made", [](const test::TempGameFolder&) {}, 80, true},
        {"no notes file",
         [](const test::TempGameFolder& f) { QFile::remove(f.file(QStringLiteral("m_msg.vk"))); }, -1, true},
        {"a notes file that ends before the notes",
         [](const test::TempGameFolder& f) { QFile(f.file(QStringLiteral("m_msg.vk"))).resize(1000); }, 0, true},
        {"a short scenario file, read as zeros beyond its end",
         [](const test::TempGameFolder& f) { QFile(f.file(QStringLiteral("d_sce.vk"))).resize(100); }, 80, true},
        {"no scenario file",
         [](const test::TempGameFolder& f) { QFile::remove(f.file(QStringLiteral("d_sce.vk"))); }, 80, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const test::TempGameFolder folder;
        row.damage(folder);
        RuntimeError error;
        const auto notes = ReadTreasureNotes(folder.path(), &error);
        EXPECT_EQ(notes ? notes->size() : -1, row.notes);
        EXPECT_EQ(error.isFileNotFound(), row.notes < 0);
        FileStore store;
        const GameFolderFiles files = ReadGameFolderFiles(store, folder.path());
        ASSERT_EQ(files.scenario.has_value(), row.scenario);
        EXPECT_EQ(files.treasureNotes.size(), std::max<qsizetype>(row.notes, 0));
        if (row.scenario) {
            EXPECT_EQ(files.scenario->bytes.size(), ScenarioData::kSize);
            EXPECT_EQ(files.kindsContext().cityNames, files.scenario->cityNames);
        }
    }
}

// A demo save opened as the command line opens it, with an officer's loyalty or a
// treasure's price (in the scenario file beside it) changed in memory.
class GameFileWrite : public ::testing::Test {
protected:
    std::unique_ptr<GameFile> openEdited(FileStore& store, const char* kind, const char* field)
    {
        QString error;
        auto file = GameFile::open(store, save(), ReadGameFolderFiles(store, folder.path()), {}, &error);
        if (!file)
            return nullptr;
        edit = EditRecord(*file->kind(QString::fromLatin1(kind)), file->bytes, 1,
                          {{QString::fromLatin1(field), QStringLiteral("7")}});
        EXPECT_FALSE(edit.problem);
        EXPECT_FALSE(edit.changes.empty());
        return file;
    }
    QString save() const { return folder.file(QStringLiteral("svd_05.sav")); }
    QString scenario() const { return folder.file(QStringLiteral("d_sce.vk")); }

    // Writes `bytes` over `path` as another program would, an hour later.
    static void writeAsAnotherProgram(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(test::WriteFileBytes(path, bytes));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    }

    test::TempGameFolder folder;
    QTemporaryDir backups;
    EditResult edit;  // what openEdited changed
};

TEST_F(GameFileWrite, RefusesToWriteOverAFileChangedOnDiskSinceItWasRead)
{
    struct Row {
        const char* name;
        const char* kind;
        const char* field;
        // What another program does meanwhile.
        std::function<void(const QString& save, const QString& scenario)> outside;
        bool written;
    };
    const std::vector<Row> rows = {
        {"nothing", "officers", "loyalty", [](const QString&, const QString&) {}, true},
        {"the same bytes written again", "officers", "loyalty",
         [](const QString& save, const QString&) { writeAsAnotherProgram(save, test::FileBytes(save)); }, true},
        {"a byte changed", "officers", "loyalty",
         [](const QString& save, const QString&) {
             QByteArray bytes = test::FileBytes(save);
             bytes[100] = char(bytes[100] ^ 1);
             writeAsAnotherProgram(save, bytes);
         },
         false},
        {"a byte added", "officers", "loyalty",
         [](const QString& save, const QString&) { writeAsAnotherProgram(save, test::FileBytes(save) + '\0'); },
         false},
        {"the file removed", "officers", "loyalty", [](const QString& save, const QString&) { QFile::remove(save); },
         false},
        {"the scenario file beside it changed", "treasures", "price",
         [](const QString&, const QString& scenario) {
             QByteArray bytes = test::FileBytes(scenario);
             bytes[0] = char(bytes[0] ^ 1);
             writeAsAnotherProgram(scenario, bytes);
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(test::WriteFileBytes(save(), test::FileBytes(folder.file(QStringLiteral("svd_04.sav")))));
        FileStore store(backups.path());
        const auto file = openEdited(store, row.kind, row.field);
        ASSERT_TRUE(file);
        const bool saveGone = QString::fromLatin1(row.name).contains(QLatin1String("removed"));
        row.outside(save(), scenario());
        const QByteArray saveBefore = saveGone ? QByteArray() : test::FileBytes(save());
        const QByteArray scenarioBefore = test::FileBytes(scenario());

        const auto failure = file->writeChanged(store);
        EXPECT_EQ(!failure, row.written);
        if (row.written) {
            EXPECT_EQ(test::FileBytes(save()), file->bytes);
            continue;
        }
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->written.isEmpty());
        EXPECT_EQ(QFile::exists(save()), !saveGone);
        if (!saveGone) {
            EXPECT_EQ(test::FileBytes(save()), saveBefore);
        }
        EXPECT_EQ(test::FileBytes(scenario()), scenarioBefore);
    }
}

TEST_F(GameFileWrite, ToldAgainstTheBytesAsReadNotTheDisk)
{
    FileStore store(backups.path());
    const auto file = openEdited(store, "treasures", "price");
    ASSERT_TRUE(file);
    const QByteArray scenarioAsRead = test::FileBytes(scenario());
    writeAsAnotherProgram(scenario(), QByteArray(ScenarioData::kSize, '\0'));
    writeAsAnotherProgram(save(), QByteArray(374'534, '\0'));

    const auto was = file->asItWasRead();
    EXPECT_EQ(was->bytes, file->asRead);
    ASSERT_EQ(was->companions.size(), 1u);
    EXPECT_EQ(was->companions[0]->bytes, scenarioAsRead);
    const RecordKind& treasures = *file->kind(QStringLiteral("treasures"));
    const std::vector<FieldChange> changes = DiffRecord(*was->kind(QStringLiteral("treasures")), treasures, 1);
    ASSERT_EQ(changes.size(), 1u);
    ASSERT_EQ(edit.changes.size(), 1u);
    EXPECT_EQ(changes[0].before, edit.changes[0].before);
    EXPECT_EQ(changes[0].after, edit.changes[0].after);
}

}  // namespace
}  // namespace varkel
