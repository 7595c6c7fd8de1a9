// The comparison of the open save with another saved game, and the list of its
// backups, as a user meets them: what differs, grouped by kind; values of theirs
// taken over (a field, everything) as one undo step; a record shown in its view;
// the backups of two runs newest first; a backup put back and saved; a save
// compared with its own backup.
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/backups_window.h"
#include "saveeditor/ui/compare_window.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/unlike_file.h"
#include "support/file_bytes.h"
#include "support/loaded_save.h"
#include "support/temp_game_folder.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace varkel;
using test::LoadedSave;

Q_DECLARE_METATYPE(SaveRecord)

class CompareBackupsTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveDocument> document_;
    std::unique_ptr<LoadedSave> ours_;  // the document's save as it was opened, with the folder's names
    QPointer<CompareWindow> compare_;
    QPointer<BackupsWindow> backups_;
    std::vector<std::pair<SaveRecord, int>> shown_;

    QString slotPath(int slot) const { return SaveGame::slotPath(session_.gameFolder, slot); }

    // Opens slot `slot` as the editor does, through `files`.
    std::unique_ptr<SaveDocument> openSlot(int slot, FileStore& files)
    {
        SaveGame save;
        if (save.openWhole(files, slotPath(slot), save::kSlotMinimumSize) != FileBuffer::Refusal::None)
            return nullptr;
        ours_ = LoadedSave::read(*folder_, slot);
        return std::make_unique<SaveDocument>(std::move(save), ScenarioData::decode(ours_->scenario),
                                              folder_->file(QStringLiteral("d_sce.vk")));
    }
    // The document's kinds over its bytes as they are now.
    std::unique_ptr<LoadedSave> now() const
    {
        return LoadedSave::of(document_->bytes(), document_->scenario().bytes, ours_->context);
    }

    CompareWindow* openCompare(const QString& otherPath)
    {
        compare_ = new CompareWindow(
            session_, *document_, ours_->context, otherPath, test::FileBytes(otherPath),
            [this](SaveRecord kind, int n) { shown_.push_back({kind, n}); }, nullptr);
        compare_->show();
        return QTest::qWaitForWindowExposed(compare_) ? compare_.data() : nullptr;
    }
    BackupsWindow* openBackups()
    {
        backups_ = new BackupsWindow(session_, *document_, [this](const QString& path) { openCompare(path); }, nullptr);
        backups_->show();
        return QTest::qWaitForWindowExposed(backups_) ? backups_.data() : nullptr;
    }

    // Changes `field` of record n of `kind` through the kinds' checked write, as one step.
    void edit(const QString& kind, int n, const QString& field, int value)
    {
        const std::size_t k = ours_->kind(kind);
        const auto i = ours_->kinds[k]->fieldIndex(field);
        QVERIFY(i);
        RecordEdit e{k, n, {}};
        e.changes.values[*i] = FieldValue{value, {}, {}};
        QVERIFY(ApplySaveEdits(*document_, QStringLiteral("取用"), ours_->context, {e}));
    }
    int valueOf(const QString& kind, int n, const QString& field) const
    {
        const auto loaded = now();
        return loaded->named(kind).read(n)[*loaded->named(kind).fieldIndex(field)].number;
    }

    // A backup the index does not know, named as the program names backups of the file at `path`.
    QString plantUnknownBackup(const QString& path, const QByteArray& bytes)
    {
        if (!QDir().mkpath(session_.files.backupFolder()))
            return {};
        const QString backup = QDir(session_.files.backupFolder())
                                   .filePath(QFileInfo(path).fileName() + QStringLiteral(".20200102-030405-006"));
        return test::WriteFileBytes(backup, bytes) ? backup : QString();
    }

    static void select(QTreeWidget* tree, QTreeWidgetItem* item)
    {
        tree->scrollToItem(item);
        tree->setCurrentItem(item);
        item->setSelected(true);
    }

    // The texts the window writes itself (the values of fields are the records'),
    // without the file name of its title and the mnemonics of its buttons.
    static QStringList ownTexts(QWidget& window, QTreeWidget* tree, int ownLevels)
    {
        QStringList texts{window.windowTitle().section(QStringLiteral(" - "), 0, 0)};
        for (const QPushButton* b : window.findChildren<QPushButton*>())
            texts << b->text().remove(QRegularExpression(QStringLiteral("\\(&[A-Z]\\)")));
        for (const QLabel* l : window.findChildren<QLabel*>())
            texts << l->text();
        for (const QStatusBar* s : window.findChildren<QStatusBar*>())
            texts << s->currentMessage();
        for (int c = 0; c < tree->columnCount(); ++c)
            texts << tree->headerItem()->text(c);
        texts << tree->toolTip();
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int level) {
            if (level >= ownLevels)
                return;
            for (int c = 0; c < tree->columnCount(); ++c)
                texts << item->text(c).remove(QRegularExpression(QStringLiteral("^\\d+ ")));
            for (int j = 0; j < item->childCount(); ++j)
                walk(item->child(j), level + 1);
        };
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            walk(tree->topLevelItem(i), 0);
        return texts;
    }
    static void verifyChinese(const QStringList& texts)
    {
        static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
        for (const QString& text : texts)
            QVERIFY2(!text.contains(latin), qPrintable(text));
    }

private slots:
    void initTestCase() { UseChineseLocale(); }
    void init()
    {
        prepare();
        shown_.clear();
        document_ = openSlot(demo::kDemoNewestSlot, session_.files);
        QVERIFY(document_);
    }
    void cleanup()
    {
        delete compare_;
        delete backups_;
        document_.reset();
    }

    // Each kind lists as many records as the comparison finds, each record its differing fields.
    void theTreeListsWhatDiffers_data()
    {
        QTest::addColumn<int>("other");
        QTest::newRow("slot 0") << 0;
        QTest::newRow("760 officers") << demo::kDemoSlotWith760Officers;
        QTest::newRow("860 officers") << demo::kDemoSlotWith860Officers;
        QTest::newRow("seven controlled") << demo::kDemoSlotWithSevenControlled;
    }
    void theTreeListsWhatDiffers()
    {
        QFETCH(int, other);
        CompareWindow* w = openCompare(slotPath(other));
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("比較存檔 - ") + QFileInfo(slotPath(other)).fileName());
        const auto theirs = LoadedSave::read(*folder_, other);
        const FileComparison wanted = CompareFiles(ours_->kinds, ours_->save, theirs->kinds, theirs->save);
        QVERIFY(wanted.kind(ours_->kind(QStringLiteral("officers"))));
        QCOMPARE(w->differences->topLevelItemCount(), int(wanted.kinds.size()));
        for (const KindDifference& kind : wanted.kinds) {
            QTreeWidgetItem* row = w->kindRow(kind.kind);
            QVERIFY(row);
            QCOMPARE(row->childCount(), int(kind.records.size()));
            for (const RecordDifference& record : kind.records) {
                QTreeWidgetItem* r = w->recordRow(kind.kind, record.record);
                QVERIFY(r);
                QVERIFY(r->text(CompareWindow::kFieldColumn).startsWith(QString::number(record.number)));
                QCOMPARE(r->text(CompareWindow::kOursColumn), record.presence == RecordDifference::Presence::OnlyOurs
                                                                  ? QStringLiteral("只在這裡")
                                                                  : QString());
                QCOMPARE(r->text(CompareWindow::kTheirsColumn),
                         record.presence == RecordDifference::Presence::OnlyTheirs ? QStringLiteral("只在那裡")
                                                                                   : QString());
                QCOMPARE(r->childCount(), int(record.fields.size()));
                for (int f = 0; f < r->childCount(); ++f) {
                    QCOMPARE(r->child(f)->text(CompareWindow::kFieldColumn), record.fields[std::size_t(f)].caption);
                    QCOMPARE(r->child(f)->text(CompareWindow::kOursColumn), record.fields[std::size_t(f)].oursShown());
                    QCOMPARE(r->child(f)->text(CompareWindow::kTheirsColumn),
                             record.fields[std::size_t(f)].theirsShown());
                }
            }
        }
        QCOMPARE(w->summary->text().contains(QStringLiteral("個字節不同，不屬於任何欄位")), wanted.unownedCount > 0);
        QCOMPARE(w->summary->text().contains(QStringLiteral("那裡")), wanted.oursSize != wanted.theirsSize);
        QVERIFY(w->takeAllButton->isEnabled());
        QVERIFY(!w->takeButton->isEnabled());  // nothing selected yet
        verifyChinese(ownTexts(*w, w->differences, 2));
    }

    void aSaveComparedWithItselfHasNoDifferences()
    {
        CompareWindow* w = openCompare(slotPath(demo::kDemoNewestSlot));
        QVERIFY(w);
        QCOMPARE(w->differences->topLevelItemCount(), 0);
        QCOMPARE(w->summary->text(), QStringLiteral("沒有不同"));
        QVERIFY(!w->takeAllButton->isEnabled());
    }

    // Taking one field stores their value of it and nothing outside its record, as one undo step.
    void takingOneFieldStoresTheirValue_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("planted");  // a field of their record 2 made to differ
        QTest::newRow("officers") << QStringLiteral("officers") << QString();
        QTest::newRow("cities") << QStringLiteral("cities") << QString();
        // The demo saves hold their forces alike.
        QTest::newRow("forces") << QStringLiteral("forces") << QStringLiteral("technology");
        QTest::newRow("family") << QStringLiteral("family") << QString();
        QTest::newRow("relations") << QStringLiteral("relations") << QString();
        QTest::newRow("treasures") << QStringLiteral("treasures") << QString();
    }
    void takingOneFieldStoresTheirValue()
    {
        QFETCH(QString, kind);
        QFETCH(QString, planted);
        const auto other = LoadedSave::read(*folder_, demo::kDemoSlotWith860Officers);
        if (!planted.isEmpty()) {
            RecordKind& plantedKind = other->named(kind);
            const int stored = plantedKind.read(2)[*plantedKind.fieldIndex(planted)].number;
            const EditResult result =
                EditRecord(plantedKind, other->save, 2, {{planted, QString::number(stored == 1 ? 2 : 1)}});
            QVERIFY(!result.problem);
        }
        const QString otherPath = temp_->filePath(QStringLiteral("other.sav"));
        QVERIFY(test::WriteFileBytes(otherPath, other->save));
        CompareWindow* w = openCompare(otherPath);
        QVERIFY(w);
        const std::size_t k = ours_->kind(kind);
        const KindDifference* differing = w->comparison().kind(k);
        QVERIFY(differing);
        // The first writable field of the first record both files have.
        const RecordDifference* record = nullptr;
        const FieldDifference* field = nullptr;
        for (const RecordDifference& r : differing->records)
            for (const FieldDifference& f : r.fields)
                if (!record && r.presence == RecordDifference::Presence::Both && !f.readOnly && !f.theirs.absent) {
                    record = &r;
                    field = &f;
                }
        QVERIFY(record && field);
        const int n = record->record;
        const std::size_t fieldIndex = field->field;
        const auto writable = [](const RecordDifference* r) {
            return r ? std::count_if(r->fields.begin(), r->fields.end(),
                                     [](const FieldDifference& f) { return !f.readOnly; })
                     : 0;
        };
        const auto writableBefore = writable(record);
        const FieldValue theirs = field->theirs;
        const QString caption = field->caption;
        QTreeWidgetItem* recordRow = w->recordRow(k, n);
        recordRow->setExpanded(true);
        QTreeWidgetItem* fieldRow = nullptr;
        for (int j = 0; j < recordRow->childCount(); ++j)
            if (recordRow->child(j)->text(CompareWindow::kFieldColumn) == caption)
                fieldRow = recordRow->child(j);
        QVERIFY(fieldRow);
        select(w->differences, fieldRow);
        QVERIFY(w->takeButton->isEnabled());
        const QByteArray before = document_->bytes();
        QTest::mouseClick(w->takeButton, Qt::LeftButton);

        const auto after = now();
        QCOMPARE(after->kinds[k]->read(n)[fieldIndex], theirs);
        // Only the bytes of that record changed.
        const auto extents = after->kinds[k]->extents(n);
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (before[i] == document_->bytes()[i])
                continue;
            const bool inRecord = std::any_of(extents.begin(), extents.end(), [i](const RecordKind::Extent& e) {
                return i >= e.offset && i < e.offset + e.size;
            });
            QVERIFY2(inRecord, qPrintable(QStringLiteral("byte %1 changed").arg(i)));
        }
        // The comparison follows: that field no longer differs, the record's others still do.
        const RecordDifference* still = w->comparison().record(k, n);
        QVERIFY(!still || std::none_of(still->fields.begin(), still->fields.end(),
                                       [&](const FieldDifference& f) { return f.field == fieldIndex; }));
        QCOMPARE(writable(still), writableBefore - 1);
        QVERIFY(prompter_.shown.empty());
        QVERIFY(document_->undo());
        QCOMPARE(document_->bytes(), before);
        QVERIFY(!document_->canUndo());
        const RecordDifference* again = w->comparison().record(k, n);
        QVERIFY(again && std::any_of(again->fields.begin(), again->fields.end(),
                                     [&](const FieldDifference& f) { return f.field == fieldIndex; }));
    }

    // Everything taken: every officer both files have holds their bytes; the
    // officers only they have are refused and named in a message. One step.
    void takingEverythingMakesTheOfficersTheirs()
    {
        // Another save on our game date: years of service are counted from it, so
        // on another date the same years are other bytes.
        QByteArray other = test::FileBytes(slotPath(demo::kDemoSlotWith860Officers));
        for (const qsizetype date : {save::kGameYearOffset, save::kGameMonthOffset})
            other[date] = ours_->save[date];
        const QString otherPath = temp_->filePath(QStringLiteral("other.sav"));
        QVERIFY(test::WriteFileBytes(otherPath, other));
        CompareWindow* w = openCompare(otherPath);
        QVERIFY(w);
        const auto theirs = LoadedSave::of(other, ours_->scenario, ours_->context);
        const std::size_t officers = ours_->kind(QStringLiteral("officers"));
        const int common = std::min(ours_->kinds[officers]->count(), theirs->kinds[officers]->count());
        QVERIFY(theirs->kinds[officers]->count() > ours_->kinds[officers]->count());
        const QByteArray before = document_->bytes();
        QTest::mouseClick(w->takeAllButton, Qt::LeftButton);

        // What stays different is what no take stores: who is controlled (the
        // player slots set it) and the officers only they have.
        const auto after = now();
        int madeTheirs = 0;
        for (int n = 0; n < common; ++n) {
            if (const RecordDifference* left = w->comparison().record(officers, n)) {
                QVERIFY(left->presence == RecordDifference::Presence::Both);
                for (const FieldDifference& f : left->fields)
                    QVERIFY2(f.readOnly, qPrintable(QStringLiteral("officer %1: %2").arg(n).arg(f.key)));
                continue;
            }
            for (const RecordKind::Extent& e : after->kinds[officers]->extents(n)) {
                QVERIFY2(document_->bytes().mid(e.offset, e.size) == theirs->save.mid(e.offset, e.size),
                         qPrintable(QStringLiteral("officer %1 at %2").arg(n).arg(e.offset)));
                madeTheirs += before.mid(e.offset, e.size) != theirs->save.mid(e.offset, e.size) ? 1 : 0;
            }
        }
        QVERIFY(madeTheirs > 100);
        QVERIFY(w->statusLine->currentMessage().startsWith(QStringLiteral("已採用對方的值")));
        QCOMPARE(prompter_.shown.size(), std::size_t(1));
        QVERIFY(prompter_.shown[0].text.contains(QStringLiteral("只在對方的檔案中")));
        verifyChinese(ownTexts(*w, w->differences, 2));
        QVERIFY(document_->undo());
        QCOMPARE(document_->bytes(), before);
        QVERIFY(!document_->canUndo());
    }

    // A double-click or Enter on a record or one of its fields shows that record.
    void aRecordRowShowsTheRecord_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("fieldRow");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<SaveRecord>("shown");
        QTest::newRow("officer, double-click") << QStringLiteral("officers") << false << true << SaveRecord::Officer;
        QTest::newRow("officer's field, Enter") << QStringLiteral("officers") << true << false << SaveRecord::Officer;
        QTest::newRow("city, Enter") << QStringLiteral("cities") << false << false << SaveRecord::City;
        QTest::newRow("relation's field, double-click")
            << QStringLiteral("relations") << true << true << SaveRecord::Relation;
    }
    void aRecordRowShowsTheRecord()
    {
        QFETCH(QString, kind);
        QFETCH(bool, fieldRow);
        QFETCH(bool, doubleClick);
        QFETCH(SaveRecord, shown);
        CompareWindow* w = openCompare(slotPath(demo::kDemoSlotWith860Officers));
        QVERIFY(w);
        const KindDifference* differing = w->comparison().kind(ours_->kind(kind));
        if (!differing)
            QSKIP("the two saves hold these records alike");
        // The last record both have, so that the place is not simply the first.
        const RecordDifference* record = nullptr;
        for (const RecordDifference& r : differing->records)
            if (r.presence == RecordDifference::Presence::Both)
                record = &r;
        QVERIFY(record);
        QTreeWidgetItem* row = w->recordRow(differing->kind, record->record);
        if (fieldRow) {
            row->setExpanded(true);
            row = row->child(0);
        }
        select(w->differences, row);
        if (doubleClick) {
            const QRect place = w->differences->visualItemRect(row);
            QVERIFY(place.isValid());
            QTest::mouseClick(w->differences->viewport(), Qt::LeftButton, {}, place.center());
            QTest::mouseDClick(w->differences->viewport(), Qt::LeftButton, {}, place.center());
        } else {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            w->differences->setFocus();
            QTest::keyClick(w->differences, Qt::Key_Return);
        }
        QCOMPARE(shown_.size(), std::size_t(1));
        QCOMPARE(shown_[0].first, shown);
        QCOMPARE(shown_[0].second, record->record);
        QVERIFY(w->isVisible());
    }

    // Three saves over two runs (two stores over one backup folder): a backup per
    // run, newest first; the one that holds what the disk holds is marked so.
    void theBackupsOfTwoRunsAreListedNewestFirst()
    {
        const QString path = slotPath(demo::kDemoNewestSlot);
        const QByteArray original = test::FileBytes(path);
        document_.reset();
        QByteArray afterFirstRun;
        {
            FileStore firstRun(session_.files.backupFolder());
            document_ = openSlot(demo::kDemoNewestSlot, firstRun);
            QVERIFY(document_);
            for (const int loyalty : {41, 42}) {
                edit(QStringLiteral("officers"), 12, QStringLiteral("loyalty"), loyalty);
                QVERIFY(!document_->save(firstRun));
            }
            afterFirstRun = document_->bytes();
        }
        document_ = openSlot(demo::kDemoNewestSlot, session_.files);
        QVERIFY(document_);
        BackupsWindow* w = openBackups();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("備份記錄 - ") + QFileInfo(path).fileName());
        QCOMPARE(w->backups->topLevelItemCount(), 1);
        QCOMPARE(test::FileBytes(w->rows()[0].path), original);

        // The second run's save makes its backup, which the list shows at once.
        edit(QStringLiteral("officers"), 12, QStringLiteral("loyalty"), 43);
        QCOMPARE(w->backups->topLevelItemCount(), 1);  // an Apply makes no backup
        QVERIFY(!document_->save(session_.files));
        QCOMPARE(w->backups->topLevelItemCount(), 2);
        QCOMPARE(test::FileBytes(w->rows()[0].path), afterFirstRun);
        QCOMPARE(test::FileBytes(w->rows()[1].path), original);
        QVERIFY(w->rows()[0].entry.made >= w->rows()[1].entry.made);
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* item = w->backups->topLevelItem(i);
            QCOMPARE(
                item->text(BackupsWindow::kTimeColumn),
                w->rows()[std::size_t(i)].entry.made.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            QCOMPARE(item->text(BackupsWindow::kSizeColumn), QStringLiteral("374,534"));
            QCOMPARE(item->text(BackupsWindow::kNoteColumn), QString());  // the disk holds the third save
        }

        // Saved back to what the first run left, the disk holds the newest backup.
        QVERIFY(document_->undo());
        QVERIFY(!document_->save(session_.files));
        QCOMPARE(w->backups->topLevelItemCount(), 2);
        QCOMPARE(w->backups->topLevelItem(0)->text(BackupsWindow::kNoteColumn), QStringLiteral("與磁碟上的文件相同"));
        QCOMPARE(w->backups->topLevelItem(1)->text(BackupsWindow::kNoteColumn), QString());

        // One the index does not know, named like the file, comes last.
        QVERIFY(!plantUnknownBackup(path, original).isEmpty());
        w->refresh();
        QCOMPARE(w->backups->topLevelItemCount(), 3);
        QCOMPARE(w->backups->topLevelItem(2)->text(BackupsWindow::kNoteColumn), QStringLiteral("來源不明"));
        QCOMPARE(w->backups->topLevelItem(2)->text(BackupsWindow::kTimeColumn), QStringLiteral("2020-01-02 03:04:05"));
        verifyChinese(ownTexts(*w, w->backups, 1));
    }

    void aFileWithoutBackupsSaysSo()
    {
        BackupsWindow* w = openBackups();
        QVERIFY(w);
        QCOMPARE(w->backups->topLevelItemCount(), 0);
        QCOMPARE(w->summary->text(), QStringLiteral("這個文件還沒有備份。"));
        QVERIFY(!w->compareButton->isEnabled());
        QVERIFY(!w->restoreButton->isEnabled());
        verifyChinese(ownTexts(*w, w->backups, 1));
    }

    // Restored after the question, the save holds the backup's bytes as one undo
    // step; saved, so does the disk. A backup of unknown origin named like the file
    // is read as the user's choice.
    void aRestoredBackupIsOneStepAndSavesAsItWas_data()
    {
        QTest::addColumn<bool>("unknownOrigin");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("listed backup") << false << Answer::Yes;
        QTest::newRow("backup of unknown origin") << true << Answer::Yes;
        QTest::newRow("answered No") << false << Answer::No;
    }
    void aRestoredBackupIsOneStepAndSavesAsItWas()
    {
        QFETCH(bool, unknownOrigin);
        QFETCH(Answer, answer);
        const QString path = slotPath(demo::kDemoNewestSlot);
        const QByteArray original = test::FileBytes(path);
        QByteArray backup = original;
        if (unknownOrigin) {
            backup[1000] = char(backup[1000] ^ 0x5a);  // any bytes of a saved game's length will do
            QVERIFY(!plantUnknownBackup(path, backup).isEmpty());
        } else {
            edit(QStringLiteral("officers"), 12, QStringLiteral("loyalty"), 44);
            QVERIFY(!document_->save(session_.files));
        }
        const QByteArray before = document_->bytes();
        QVERIFY(before != backup);
        BackupsWindow* w = openBackups();
        QVERIFY(w);
        QCOMPARE(w->backups->topLevelItemCount(), 1);
        const QString restored = w->rows()[0].path;
        select(w->backups, w->backups->topLevelItem(0));
        prompter_.answers.push_back(answer);
        const bool undoable = document_->canUndo();
        QTest::mouseClick(w->restoreButton, Qt::LeftButton);

        QCOMPARE(prompter_.shown.size(), std::size_t(1));
        QCOMPARE(prompter_.shown[0].text, QStringLiteral("把存檔內容還原為 %1 的備份？還原後需要保存才會寫入文件。")
                                              .arg(w->backups->topLevelItem(0)->text(BackupsWindow::kTimeColumn)));
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNo);
        if (answer == Answer::No) {
            QCOMPARE(document_->bytes(), before);
            QCOMPARE(document_->canUndo(), undoable);
            return;
        }
        QCOMPARE(document_->bytes(), backup);
        QVERIFY(document_->modified(SaveDocument::kSaveBuffer));
        QVERIFY(document_->undo());
        QCOMPARE(document_->bytes(), before);
        QCOMPARE(document_->canUndo(), undoable);
        QVERIFY(document_->redo());
        QVERIFY(!document_->save(session_.files));
        QCOMPARE(test::FileBytes(path), backup);
        // The save made its own backup of what the disk held; the restored one is marked as on disk.
        QCOMPARE(w->backups->topLevelItemCount(), unknownOrigin ? 2 : 1);
        for (int i = 0; i < w->backups->topLevelItemCount(); ++i)
            QCOMPARE(w->backups->topLevelItem(i)
                         ->text(BackupsWindow::kNoteColumn)
                         .contains(QStringLiteral("與磁碟上的文件相同")),
                     w->rows()[std::size_t(i)].path == restored);
        verifyChinese(ownTexts(*w, w->backups, 1));
    }

    // What the index lists for another file is not put back, whatever the list shows.
    void aBackupOfAnotherFileIsRefused()
    {
        // Slot 0's backup, renamed to look like this file's.
        const QString other = slotPath(0);
        SaveGame save;
        QCOMPARE(save.openWhole(session_.files, other, save::kSlotMinimumSize), FileBuffer::Refusal::None);
        SaveDocument otherDocument(std::move(save), ScenarioData::decode(ours_->scenario));
        QVERIFY(!otherDocument.save(session_.files));
        const BackupIndex index = BackupIndex::load(session_.files.backupFolder());
        QCOMPARE(index.entriesFor(other).size(), std::size_t(1));
        const QString backup = index.pathOf(index.entriesFor(other)[0]);
        const BackupRead read =
            ReadBackupFor(index, slotPath(demo::kDemoNewestSlot), backup, true, {0, save::kMaximumSaveSize});
        QCOMPARE(read.refusal, BackupRead::Refusal::OtherFile);
        BackupsWindow* w = openBackups();
        QVERIFY(w);
        QCOMPARE(w->backups->topLevelItemCount(), 0);  // not among this file's
    }

    // After one Apply and Save, the save compared with its backup differs in that
    // field alone; taking it back makes the save the backup again.
    void aSaveComparedWithItsBackup()
    {
        const QByteArray original = document_->bytes();
        const int loyalty = valueOf(QStringLiteral("officers"), 12, QStringLiteral("loyalty"));
        edit(QStringLiteral("officers"), 12, QStringLiteral("loyalty"), loyalty == 45 ? 46 : 45);
        QVERIFY(!document_->save(session_.files));
        BackupsWindow* b = openBackups();
        QVERIFY(b);
        QCOMPARE(b->backups->topLevelItemCount(), 1);
        b->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b));
        b->backups->setFocus();
        QTest::keyClick(b->backups, Qt::Key_Return);  // Enter compares
        QVERIFY(compare_);
        CompareWindow* w = compare_;
        QCOMPARE(w->windowTitle(), QStringLiteral("比較存檔 - ") + QFileInfo(b->rows()[0].path).fileName());
        const std::size_t officers = ours_->kind(QStringLiteral("officers"));
        QCOMPARE(w->differences->topLevelItemCount(), 1);
        QTreeWidgetItem* record = w->recordRow(officers, 12);
        QVERIFY(record);
        QCOMPARE(record->childCount(), 1);
        QCOMPARE(record->child(0)->text(CompareWindow::kTheirsColumn), QString::number(loyalty));
        verifyChinese(ownTexts(*w, w->differences, 1));
        select(w->differences, record->child(0));
        QTest::mouseClick(w->takeButton, Qt::LeftButton);
        QCOMPARE(document_->bytes(), original);
        QCOMPARE(w->differences->topLevelItemCount(), 0);
        QCOMPARE(w->summary->text(), QStringLiteral("沒有不同"));
        QVERIFY(w->statusLine->currentMessage().startsWith(QStringLiteral("已採用對方的值")));
        verifyChinese(ownTexts(*w, w->differences, 1));
    }

    // The editor's File menu opens both; a file that is no saved game is refused with why.
    void theEditorsFileMenuOpensBoth()
    {
        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session_, slotPath(demo::kDemoNewestSlot)));
        QVERIFY(form);
        form->show();
        dialogs_.opens.push_back(slotPath(0));
        form->menus().tCompare->trigger();
        auto* compare = form->findChild<CompareWindow*>();
        QVERIFY(compare);
        QVERIFY(compare->comparison().found());
        QVERIFY(compare->windowTitle().contains(QFileInfo(slotPath(0)).fileName()));

        dialogs_.opens.push_back(folder_->file(QStringLiteral("d_sce.vk")));
        form->menus().tCompare->trigger();
        QVERIFY(!prompter_.shown.empty());
        QVERIFY(prompter_.shown.back().text.contains(QStringLiteral("不是可以比較的存檔")));
        QCOMPARE(form->findChildren<CompareWindow*>().size(), 1);
        // One of a save's size that breaks a save's rules is asked about; No leaves it.
        dialogs_.opens.push_back(folder_->file(QStringLiteral("m_msg.vk")));
        prompter_.answers.push_back(Answer::No);
        form->menus().tCompare->trigger();
        QCOMPARE(prompter_.shown.back().text, QString::fromUtf8(kUnlikeSaveQuestion));
        QCOMPARE(form->findChildren<CompareWindow*>().size(), 1);

        form->menus().tBackups->trigger();
        QVERIFY(form->findChild<BackupsWindow*>());
    }

    // The comparison belongs to the file it was opened over; the backups list follows the document.
    void anotherFileClosesTheComparisonAndRelistsTheBackups()
    {
        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session_, slotPath(demo::kDemoNewestSlot)));
        QVERIFY(form);
        form->show();
        dialogs_.opens.push_back(slotPath(0));
        form->menus().tCompare->trigger();
        QPointer<CompareWindow> compare = form->findChild<CompareWindow*>();
        QVERIFY(compare && compare->takeEverything());
        QVERIFY(compare->statusLine->currentMessage().startsWith(QStringLiteral("已採用")));
        form->menus().tBackups->trigger();
        QPointer<BackupsWindow> backups = form->findChild<BackupsWindow*>();
        QVERIFY(backups);

        prompter_.answers.push_back(Answer::No);  // leave the changes taken over unsaved
        form->openPath(slotPath(1));
        QCOMPARE(form->document().path(), slotPath(1));
        QTRY_VERIFY(!compare || !compare->isVisible());
        QVERIFY(backups && backups->isVisible());
        QVERIFY(backups->windowTitle().endsWith(QFileInfo(slotPath(1)).fileName()));
    }

    void escapeClosesEachWindow_data()
    {
        QTest::addColumn<bool>("backupsWindow");
        QTest::newRow("compare") << false;
        QTest::newRow("backups") << true;
    }
    void escapeClosesEachWindow()
    {
        QFETCH(bool, backupsWindow);
        QPointer<QDialog> w;
        QTreeWidget* tree = nullptr;
        if (backupsWindow) {
            BackupsWindow* b = openBackups();
            QVERIFY(b);
            w = b;
            tree = b->backups;
        } else {
            CompareWindow* c = openCompare(slotPath(0));
            QVERIFY(c);
            w = c;
            tree = c->differences;
        }
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(tree, Qt::Key_Escape);
        QTRY_VERIFY(!w);
    }
};

QTEST_MAIN(CompareBackupsTest)
#include "compare_backups_uitest.moc"
