#include "demo_folder/demo_folder.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "support/file_bytes.h"
#include "support/loaded_save.h"
#include "support/temp_game_folder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace varkel {
namespace {

// The newest demo save and its scenario file, opened as the editor opens them.
class SaveDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        document_ = test::OpenDemoDocument(folder_, demo::kDemoNewestSlot);
        QObject::connect(document_.get(), &Document::changed,
                         [this](const DocumentChange& change) { changes_.push_back(change); });
    }

    // Sets one byte of the save as an edit of officer `n`.
    bool setSaveByte(qsizetype at, int value, int n = 0)
    {
        const QString name = QStringLiteral("set %1").arg(at);
        return document_->apply(SaveRecord::Officer, {n}, name, [&](QByteArray& save, ScenarioData&) {
            setByte(save, at, value);
            return true;
        });
    }

    const test::TempGameFolder folder_;
    std::unique_ptr<SaveDocument> document_;
    std::vector<DocumentChange> changes_;
};

TEST_F(SaveDocumentTest, AnApplyIsOneStepNamingItsRecords)
{
    const QByteArray before = document_->bytes();
    const qsizetype at = save::statusBlock(3);
    ASSERT_TRUE(document_->apply(SaveRecord::Officer, {3}, {}, [&](QByteArray& save, ScenarioData&) {
        setByte(save, at, byteAt(save, at) ^ 0x01);
        setByte(save, at + 1, byteAt(save, at + 1) ^ 0x01);
        return true;
    }));
    ASSERT_EQ(changes_.size(), 1u);
    EXPECT_EQ(changes_[0].cause, DocumentChange::Cause::Apply);
    EXPECT_EQ(changes_[0].kind, int(SaveRecord::Officer));
    EXPECT_EQ(changes_[0].records, std::vector<int>{3});
    EXPECT_TRUE(changes_[0].touches(int(SaveRecord::Officer), 3));
    EXPECT_FALSE(changes_[0].touches(int(SaveRecord::Officer), 4));
    EXPECT_FALSE(changes_[0].touches(int(SaveRecord::City), 3));
    EXPECT_TRUE(document_->modified(SaveDocument::kSaveBuffer));
    EXPECT_FALSE(document_->modified(SaveDocument::kScenarioBuffer));
    // Both bytes go back in one undo.
    ASSERT_TRUE(document_->undo());
    EXPECT_EQ(document_->bytes(), before);
    EXPECT_FALSE(document_->canUndo());
}

TEST_F(SaveDocumentTest, ARefusedEditChangesNothingAndRecordsNoStep)
{
    const QByteArray save = document_->bytes();
    const QByteArray scenario = document_->scenario().bytes;
    int stateSignals = 0;
    QObject::connect(document_.get(), &Document::stateChanged, [&stateSignals] { ++stateSignals; });
    // Writes both buffers, then refuses, as an edit whose last check fails.
    EXPECT_FALSE(document_->apply(SaveRecord::Treasure, {0}, {}, [](QByteArray& s, ScenarioData& sc) {
        setByte(s, 100, byteAt(s, 100) ^ 0xFF);
        setByte(sc.bytes, 100, byteAt(sc.bytes, 100) ^ 0xFF);
        return false;
    }));
    EXPECT_EQ(document_->bytes(), save);
    EXPECT_EQ(document_->scenario().bytes, scenario);
    EXPECT_FALSE(document_->canUndo());
    EXPECT_FALSE(document_->anyModified());
    EXPECT_TRUE(changes_.empty());
    EXPECT_EQ(stateSignals, 0);
}

TEST_F(SaveDocumentTest, AnEditThatChangesNoByteIsNoStep)
{
    EXPECT_TRUE(setSaveByte(100, byteAt(document_->bytes(), 100)));
    EXPECT_FALSE(document_->canUndo());
    EXPECT_TRUE(changes_.empty());
}

// Each step keeps its name for the Edit menu and says, when taken back or made
// again, which records it touched.
TEST_F(SaveDocumentTest, UndoAndRedoRestoreTheBytesAndNameTheStep)
{
    const QByteArray before = document_->bytes();
    ASSERT_TRUE(setSaveByte(200, byteAt(before, 200) ^ 0x10, 7));
    const QByteArray after = document_->bytes();
    EXPECT_EQ(document_->undoName(), QStringLiteral("set 200"));
    EXPECT_EQ(document_->redoName(), QString());
    struct Row {
        const char* name;
        bool (SaveDocument::*step)();
        DocumentChange::Cause cause;
        const QByteArray& bytes;
        QString undoName, redoName;
    };
    const Row rows[] = {
        {"undo", &SaveDocument::undo, DocumentChange::Cause::Undo, before, {}, QStringLiteral("set 200")},
        {"redo", &SaveDocument::redo, DocumentChange::Cause::Redo, after, QStringLiteral("set 200"), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        changes_.clear();
        ASSERT_TRUE(((*document_).*row.step)());
        EXPECT_EQ(document_->bytes(), row.bytes);
        ASSERT_EQ(changes_.size(), 1u);
        EXPECT_EQ(changes_[0].cause, row.cause);
        EXPECT_EQ(changes_[0].kind, int(SaveRecord::Officer));
        EXPECT_EQ(changes_[0].records, std::vector<int>{7});
        EXPECT_EQ(document_->undoName(), row.undoName);
        EXPECT_EQ(document_->redoName(), row.redoName);
        // Nothing more to take back / make again.
        EXPECT_FALSE(((*document_).*row.step)());
    }
    // A new step drops the one that could be made again, and its name.
    ASSERT_TRUE(document_->undo());
    ASSERT_TRUE(setSaveByte(300, byteAt(before, 300) ^ 0x10));
    EXPECT_EQ(document_->undoName(), QStringLiteral("set 300"));
    EXPECT_FALSE(document_->canRedo());
    EXPECT_EQ(document_->redoName(), QString());
}

TEST_F(SaveDocumentTest, TheTablesFollowARenamedOfficer)
{
    const int n = 1;
    const QString renamed = QStringLiteral("張三李四");
    ASSERT_NE(document_->tables().officerNames[n], renamed);
    ASSERT_TRUE(document_->apply(SaveRecord::Officer, {n}, {}, [&](QByteArray& save, ScenarioData&) {
        WriteNameField(save, save::personBlock(n) + person::kFullName, renamed, 4);
        return true;
    }));
    EXPECT_EQ(ReadFullName(document_->bytes(), save::personBlock(n)), renamed);
    EXPECT_EQ(document_->tables().officerNames[n], renamed);
    document_->undo();
    EXPECT_NE(document_->tables().officerNames[n], renamed);
}

TEST_F(SaveDocumentTest, TheSavedStateFollowsSaveAndUndo)
{
    QTemporaryDir backups;
    FileStore files(backups.path());
    const QByteArray opened = document_->bytes();
    ASSERT_TRUE(setSaveByte(300, byteAt(opened, 300) ^ 0x01));
    ASSERT_FALSE(document_->save(files));
    EXPECT_FALSE(document_->modified(SaveDocument::kSaveBuffer));
    EXPECT_EQ(test::FileBytes(document_->path()), document_->bytes());
    // Undo goes back past the save: the buffer differs from the file again.
    document_->undo();
    EXPECT_TRUE(document_->modified(SaveDocument::kSaveBuffer));
    document_->redo();
    EXPECT_FALSE(document_->modified(SaveDocument::kSaveBuffer));
}

TEST_F(SaveDocumentTest, AnotherSaveKeepsUnwrittenScenarioChanges)
{
    ASSERT_TRUE(document_->apply(SaveRecord::Treasure, {0}, {}, [](QByteArray&, ScenarioData& scenario) {
        setByte(scenario.bytes, 10, byteAt(scenario.bytes, 10) ^ 0x01);
        return true;
    }));
    SaveGame other;
    other.path = SaveGame::slotPath(folder_.path(), 0);
    other.bytes = test::FileBytes(other.path);
    changes_.clear();
    document_->open(std::move(other));
    ASSERT_EQ(changes_.size(), 1u);
    EXPECT_EQ(changes_[0].cause, DocumentChange::Cause::Open);
    EXPECT_EQ(document_->path(), SaveGame::slotPath(folder_.path(), 0));
    EXPECT_FALSE(document_->modified(SaveDocument::kSaveBuffer));
    EXPECT_TRUE(document_->modified(SaveDocument::kScenarioBuffer));
    EXPECT_FALSE(document_->canUndo());
}

}  // namespace
}  // namespace varkel
