// The saved-game editor's edit history as a user meets it: the title mark and
// the status line through Apply, Save, undo and redo; undo and redo restoring
// the save and the scenario buffer byte for byte after each kind of Apply; and
// the question about typed edits when the user leaves the record they are in.
#include "demo_folder/demo_folder.h"
#include "saveeditor/intimacy_stream.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/backup_index.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/record_list.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace varkel;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

enum class Kind { Officer, Treasure, Intimacy };
enum class Leave { ListClick, ModeSwitch, OtherSlot, Close, Undo };

constexpr int kTreasure = 3;

// A one-digit value other than `shown`, for a box that takes 0..7.
QString otherDigit(const QString& shown)
{
    return shown == QLatin1String("3") ? QStringLiteral("4") : QStringLiteral("3");
}

}  // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Leave)

class EditHistoryTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveGameEditor> form_;

    QString slot(int k) const { return SaveGame::slotPath(session_.gameFolder, k); }
    QString savePath() const { return slot(demo::kDemoNewestSlot); }
    QString saveName() const { return QFileInfo(savePath()).fileName(); }
    const QByteArray& save() const { return form_->saveGame().bytes; }
    const QByteArray& scenario() const { return form_->scenario().bytes; }
    QString status() const { return control<QStatusBar>(*form_, QStringLiteral("StatusLine"))->currentMessage(); }
    QLineEdit* bravery() const { return form_->modes().officerPanel()->Text3[0]; }
    int storedBravery(int officer) const { return DecodeOfficer(save(), officer).person.bravery; }
    int pendingQuestions() const
    {
        int n = 0;
        for (const auto& shown : prompter_.shown)
            n += shown.text == QString::fromUtf8(kPendingEditsQuestion);
        return n;
    }

    void openForm()
    {
        form_.reset(SaveGameEditor::open(session_));
        QVERIFY(form_);
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    // Officer `n` shown, its bravery retyped to another value; returns that value.
    QString typeBravery(int n)
    {
        form_->column().List1->setCurrentRow(n);
        const QString value = otherDigit(bravery()->text());
        test::Retype(bravery(), value);
        return value;
    }
    void applyBravery(int n)
    {
        typeBravery(n);
        QTest::mouseClick(form_->modes().Command7[0], Qt::LeftButton);
    }

    // Treasure kTreasure gets another price and owner and is applied.
    void applyTreasure()
    {
        form_->modes().Option3[1]->click();
        TreasurePanel* p = form_->modes().treasurePanel();
        p->List2->setCurrentRow(kTreasure);
        const int price = p->Text4[1]->text().toInt();
        test::Retype(p->Text4[1], QString::number(price >= 1000 ? price - 100 : price + 100));
        const int owner = p->currentOwner() == 42 ? 43 : 42;
        form_->setPicker(test::ScriptedPicker(PickerKind::Officer, owner));
        p->Command2->click();
        p->Command7->click();
    }

    // The first row of the intimacy window of controlled-officer slot 0, as the
    // window shows it; with `apply` that row gets another level first.
    QString runIntimacy(bool apply)
    {
        const int officer = form_->tables().controlled[0];
        form_->column().List1->setCurrentRow(officer);
        const int level = GeneralStream(0).read(save(), 0).value_or(0);
        QString shown;
        form_->setSideWindowRunner([&](QDialog& window) {
            auto& f = dynamic_cast<IntimacyEditor&>(window);
            shown = f.List1->item(0)->text();
            if (!apply)
                return;
            f.List1->item(0)->setCheckState(Qt::Checked);
            f.Combo1->setCurrentIndex(level == 5 ? 6 : 5);
            f.applyLevelToTicked();
        });
        QTest::mouseClick(form_->modes().officerPanel()->Command10, Qt::LeftButton);
        return shown;
    }

    // What the view of `kind` shows of the record the Apply changed.
    QString shownValue(Kind kind)
    {
        switch (kind) {
        case Kind::Officer:
            return bravery()->text();
        case Kind::Treasure:
            return form_->modes().treasurePanel()->Text4[1]->text() + QLatin1Char('/') +
                   form_->modes().treasurePanel()->Text4[3]->text();
        case Kind::Intimacy:
            return runIntimacy(false);
        }
        return {};
    }

    void undo(bool keys)
    {
        if (keys)
            QTest::keyClick(form_->column().List1, Qt::Key_Z, Qt::ControlModifier);
        else
            form_->menus().tUndo->trigger();
    }
    void redo(bool keys)
    {
        if (keys)
            QTest::keyClick(form_->column().List1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            form_->menus().tRedo->trigger();
    }

    // The side editor `editor` running over the editor as the user meets it, while
    // `work` runs in it; the city editor on a city that has bandits.
    void runSideEditor(const QString& editor, const std::function<void(QDialog&)>& work)
    {
        bool ran = false;
        form_->setSideWindowRunner([&](QDialog& window) {
            QTimer::singleShot(0, &window, [&] {
                ran = true;
                if (auto* cities = qobject_cast<CityEditor*>(&window))
                    cities->chooseRecord(demo::kDemoBanditCity);
                window.activateWindow();
                // The window that has the keys (a dialog counts as active while its owner is).
                if (QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }))
                    work(window);
                else
                    QTest::qFail("the side editor did not become active", __FILE__, __LINE__);
                // Closed without the question about edits left typed.
                window.QDialog::done(QDialog::Accepted);
            });
            window.exec();
        });
        if (editor == QLatin1String("intimacy editor")) {
            form_->column().List1->setCurrentRow(form_->tables().controlled[0]);
            QTest::mouseClick(form_->modes().officerPanel()->Command10, Qt::LeftButton);
        } else {
            (editor == QLatin1String("city editor") ? form_->menus().sCity : form_->menus().sBingQi)->trigger();
        }
        QVERIFY(ran);
    }

    // What a side editor shows of the value the tests change: a force's technology,
    // a city's bandits, the first row of the intimacy list.
    static QString sideValue(QDialog& window)
    {
        if (auto* forces = qobject_cast<ForceEditor*>(&window))
            return forces->Combo2->currentText();
        if (auto* cities = qobject_cast<CityEditor*>(&window))
            return cities->Text1->text();
        return static_cast<IntimacyEditor&>(window).List1->item(0)->text();
    }
    // Changes that value in the view, not yet applied.
    static void changeSideValue(QDialog& window)
    {
        if (auto* forces = qobject_cast<ForceEditor*>(&window)) {
            forces->Combo2->setCurrentIndex((forces->Combo2->currentIndex() + 1) % forces->Combo2->count());
        } else if (auto* cities = qobject_cast<CityEditor*>(&window)) {
            test::Retype(cities->Text1,
                         cities->Text1->text() == QLatin1String("300") ? QStringLiteral("400") : QStringLiteral("300"));
        } else {
            auto& intimacy = static_cast<IntimacyEditor&>(window);
            intimacy.List1->item(0)->setCheckState(Qt::Checked);
            intimacy.Combo1->setCurrentIndex(intimacy.Combo1->currentIndex() == 5 ? 6 : 5);
        }
    }
    static void applySide(QDialog& window)
    {
        const bool city = qobject_cast<CityEditor*>(&window) != nullptr;
        const QString apply = city ? QStringLiteral("Command2") : QStringLiteral("Command1");
        QTest::mouseClick(control<QPushButton>(window, apply), Qt::LeftButton);
    }
    static void pressInSide(QDialog& window, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(control<QListWidget>(window, QStringLiteral("List1")), Qt::Key_Z, modifiers);
    }

    // The rows of `name` (first column `where`): nothing typed, then edits typed
    // and the question answered apply, discard and stay.
    template <typename Where>
    static void addAnswerRows(const char* name, const Where& where)
    {
        QTest::addRow("%s, nothing typed", name) << where << false << Answer::Cancel;
        QTest::addRow("%s, apply", name) << where << true << Answer::Yes;
        QTest::addRow("%s, discard", name) << where << true << Answer::No;
        QTest::addRow("%s, stay", name) << where << true << Answer::Cancel;
    }

private slots:
    void init()
    {
        prepare();
        openForm();
    }
    void cleanup() { form_.reset(); }

    // The Edit menu and the status line name the step undo and redo would take:
    // the record as it was named before, and the fields that changed.
    void theEditMenuNamesEachStep_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("officer") << 0;
        QTest::newRow("treasure") << 1;
    }
    void theEditMenuNamesEachStep()
    {
        QFETCH(int, mode);
        QCOMPARE(form_->menus().tUndo->text(), QStringLiteral("復原(&U)"));
        QString step;
        if (mode == 0) {
            step = QStringLiteral("修改 武將 %1: 勇猛").arg(form_->tables().officerNames[1]);
            applyBravery(1);
        } else {
            step = QStringLiteral("修改 寶物 %1: 價格、所屬").arg(form_->scenario().treasureNames[kTreasure]);
            applyTreasure();
        }
        QCOMPARE(form_->menus().tUndo->text(), QStringLiteral("復原 %1(&U)").arg(step));
        QCOMPARE(form_->menus().tRedo->text(), QStringLiteral("重做(&R)"));
        form_->menus().tUndo->trigger();
        QCOMPARE(form_->menus().tUndo->text(), QStringLiteral("復原(&U)"));
        QCOMPARE(form_->menus().tRedo->text(), QStringLiteral("重做 %1(&R)").arg(step));
        QCOMPARE(form_->findChild<QStatusBar*>()->currentMessage(), QStringLiteral("已復原：%1").arg(step));
    }

    // A full name typed into its box is what Apply stores, as a new surname or
    // given name is; emptied, it is refused and nothing is stored.
    void aTypedFullNameIsStored()
    {
        form_->column().List1->setCurrentRow(1);
        auto* fullName = form_->findChild<QLineEdit*>(QStringLiteral("Text1(4)"));
        fullName->setFocus();
        fullName->selectAll();
        QTest::keyClick(fullName, Qt::Key_Backspace);
        test::CommitText(fullName, QStringLiteral("王大明"));
        QTest::mouseClick(form_->modes().Command7[0], Qt::LeftButton);
        QCOMPARE(DecodeOfficer(save(), 1).person.fullName, QStringLiteral("王大明"));
        QCOMPARE(form_->column().List1->item(1)->text().endsWith(QStringLiteral("王大明")), true);

        const QByteArray named = save();
        test::Retype(fullName, QString());
        form_->modes().officerPanel()->applyShown(form_->documentKinds());
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.contains(QStringLiteral("姓名")));
        QCOMPARE(save(), named);
    }

    void theTitleMarkFollowsApplySaveUndoAndRedo()
    {
        const QByteArray opened = save();
        QVERIFY(form_->windowTitle().contains(saveName() + QStringLiteral("[*]")));
        QVERIFY(!form_->isWindowModified());
        QVERIFY(!form_->menus().tUndo->isEnabled() && !form_->menus().tRedo->isEnabled());

        applyBravery(1);
        const QByteArray applied = save();
        QVERIFY(form_->isWindowModified());
        form_->menus().tUndo->trigger();
        QCOMPARE(save(), opened);
        QVERIFY(!form_->isWindowModified());  // back to what was opened
        form_->menus().tRedo->trigger();
        QCOMPARE(save(), applied);
        QVERIFY(form_->isWindowModified());

        form_->menus().tSaveFile->trigger();
        QVERIFY(!form_->isWindowModified());
        QCOMPARE(test::FileBytes(savePath()), applied);
        const QString backup = session_.files.backupOf(savePath());
        QVERIFY(!backup.isEmpty());
        QCOMPARE(test::FileBytes(backup), opened);
        QCOMPARE(status(),
                 QStringLiteral("已保存 %1（原檔已備份到 %2）").arg(saveName(), QDir::toNativeSeparators(backup)));
        QVERIFY(form_->menus().tUndo->isEnabled());  // saving keeps the history

        form_->menus().tUndo->trigger();
        QCOMPARE(save(), opened);
        QVERIFY(form_->isWindowModified());  // now differs from what was saved
        form_->menus().tRedo->trigger();
        QVERIFY(!form_->isWindowModified());

        applyBravery(2);
        form_->menus().tSaveFile->trigger();
        QCOMPARE(status(), QStringLiteral("已保存 %1").arg(saveName()));  // the backup is named once
        QCOMPARE(test::FileBytes(savePath()), save());

        form_->menus().sSavSum[0]->trigger();
        QVERIFY(form_->windowTitle().contains(QFileInfo(slot(0)).fileName() + QStringLiteral("[*]")));
        QVERIFY(!form_->isWindowModified());
        QVERIFY(!form_->menus().tUndo->isEnabled());
        QVERIFY(prompter_.shown.empty());
    }

    void aFailedSaveKeepsTheMarkAndTheBuffer_data()
    {
        QTest::addColumn<int>("failing");  // FailingFileIo::Op of the save's own write that fails
        QTest::newRow("a write") << int(test::FailingFileIo::Op::Write);
        QTest::newRow("the flush") << int(test::FailingFileIo::Op::Flush);
        QTest::newRow("the rename") << int(test::FailingFileIo::Op::Commit);
    }
    void aFailedSaveKeepsTheMarkAndTheBuffer()
    {
        QFETCH(int, failing);
        const QByteArray onDisk = test::FileBytes(savePath());
        applyBravery(1);
        const QByteArray applied = save();
        // The first write over the file backs it up first: a read and a write per
        // chunk and a flush. Then the save's chunks, flush and rename.
        const auto chunks = [](qint64 size) { return int((size + kFileChunkSize - 1) / kFileChunkSize); };
        const int backup = 2 * chunks(onDisk.size()) + 1;
        const int index = backup + (failing == int(test::FailingFileIo::Op::Write) ? 0 : chunks(applied.size())) +
                          (failing == int(test::FailingFileIo::Op::Commit) ? 1 : 0);
        test::FailingFileIo io;
        io.failAt(index);
        const auto usingIo = test::UseIo(session_.files, io);
        form_->menus().tSaveFile->trigger();
        session_.files.setIo(nullptr);

        QVERIFY(int(io.calls.size()) > index);
        QCOMPARE(int(io.calls[std::size_t(index)].op), failing);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(status(), QStringLiteral("未能保存 %1：%2").arg(saveName(), prompter_.shown[0].text));
        QVERIFY(form_->isWindowModified());
        QCOMPARE(save(), applied);
        QCOMPARE(test::FileBytes(savePath()), onDisk);
        QVERIFY(session_.files.backupOf(savePath()).isEmpty());
        QVERIFY(BackupIndex::load(session_.files.backupFolder()).entries().empty());

        // The failed save kept no backup; the next one goes through, backs up and names it.
        form_->menus().tSaveFile->trigger();
        QVERIFY(!form_->isWindowModified());
        QCOMPARE(test::FileBytes(savePath()), applied);
        QCOMPARE(status(),
                 QStringLiteral("已保存 %1（原檔已備份到 %2）")
                     .arg(saveName(), QDir::toNativeSeparators(session_.files.backupOf(savePath()))));
        QCOMPARE(test::FileBytes(session_.files.backupOf(savePath())), onDisk);
    }

    void undoAndRedoRestoreBothBuffers_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("keys");
        QTest::newRow("officer") << Kind::Officer << false;
        QTest::newRow("officer, Ctrl+Z and Ctrl+Shift+Z") << Kind::Officer << true;
        QTest::newRow("treasure") << Kind::Treasure << false;
        QTest::newRow("intimacy") << Kind::Intimacy << false;
    }
    void undoAndRedoRestoreBothBuffers()
    {
        QFETCH(Kind, kind);
        QFETCH(bool, keys);
        const QByteArray saveBefore = save();
        const QByteArray scenarioBefore = scenario();
        QString shownBefore;
        switch (kind) {
        case Kind::Officer:
            form_->column().List1->setCurrentRow(1);
            shownBefore = shownValue(kind);
            applyBravery(1);
            break;
        case Kind::Treasure:
            form_->modes().Option3[1]->click();
            form_->modes().treasurePanel()->List2->setCurrentRow(kTreasure);
            shownBefore = shownValue(kind);
            applyTreasure();
            break;
        case Kind::Intimacy:
            shownBefore = runIntimacy(true);
            break;
        }
        const QByteArray saveAfter = save();
        const QByteArray scenarioAfter = scenario();
        const QString shownAfter = shownValue(kind);
        QVERIFY(saveAfter != saveBefore);
        QCOMPARE(scenarioAfter != scenarioBefore, kind == Kind::Treasure);
        QVERIFY(shownAfter != shownBefore);
        QCOMPARE(form_->modes().treasurePanel()->Command13->isEnabled(), kind == Kind::Treasure);
        QVERIFY(form_->isWindowModified());

        undo(keys);
        QCOMPARE(save(), saveBefore);
        QCOMPARE(scenario(), scenarioBefore);
        QCOMPARE(shownValue(kind), shownBefore);
        QVERIFY(!form_->modes().treasurePanel()->Command13->isEnabled());
        QVERIFY(!form_->isWindowModified());
        QVERIFY(!form_->menus().tUndo->isEnabled() && form_->menus().tRedo->isEnabled());
        QCOMPARE(form_->modes().Option3[1]->isChecked(), kind == Kind::Treasure);  // the same mode and row
        if (kind == Kind::Treasure)
            QCOMPARE(form_->modes().treasurePanel()->List2->currentRow(), kTreasure);

        redo(keys);
        QCOMPARE(save(), saveAfter);
        QCOMPARE(scenario(), scenarioAfter);
        QCOMPARE(shownValue(kind), shownAfter);
        QCOMPARE(form_->modes().treasurePanel()->Command13->isEnabled(), kind == Kind::Treasure);
        QVERIFY(form_->isWindowModified());
        QVERIFY(form_->menus().tUndo->isEnabled() && !form_->menus().tRedo->isEnabled());
        QVERIFY(prompter_.shown.empty());
    }

    // Undo and redo pressed in a side editor take back and bring back its Apply,
    // and it shows the record as stored then: its next Apply stores nothing undone.
    void undoInASideEditorReadsItsRecordAgain_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::newRow("force editor") << "force editor";
        QTest::newRow("city editor") << "city editor";
        QTest::newRow("intimacy editor") << "intimacy editor";
    }
    void undoInASideEditorReadsItsRecordAgain()
    {
        QFETCH(QString, editor);
        const QByteArray opened = save();
        runSideEditor(editor, [&](QDialog& window) {
            const QString stored = sideValue(window);
            changeSideValue(window);
            applySide(window);
            const QByteArray applied = save();
            const QString shownApplied = sideValue(window);
            QVERIFY(applied != opened);
            QVERIFY(shownApplied != stored);

            pressInSide(window, Qt::ControlModifier);
            QCOMPARE(save(), opened);
            QCOMPARE(sideValue(window), stored);
            pressInSide(window, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(save(), applied);
            QCOMPARE(sideValue(window), shownApplied);

            pressInSide(window, Qt::ControlModifier);
            if (qobject_cast<IntimacyEditor*>(&window))
                return;  // its Apply sets the rows ticked, none now
            applySide(window);
            QCOMPARE(save(), opened);
        });
        QVERIFY(prompter_.shown.empty());
    }

    // Undo pressed in a side editor that holds typed edits asks about them as the
    // views do; applying them makes them the newest step, and nothing is undone.
    void undoInASideEditorAsksAboutTypedEdits_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<Answer>("answer");
        for (const char* editor : {"force editor", "city editor"})
            addAnswerRows(editor, QString::fromLatin1(editor));
    }
    void undoInASideEditorAsksAboutTypedEdits()
    {
        QFETCH(QString, editor);
        QFETCH(bool, typed);
        QFETCH(Answer, answer);
        const QByteArray opened = save();
        applyBravery(2);  // something to undo
        const QByteArray applied = save();
        runSideEditor(editor, [&](QDialog& window) {
            const QString stored = sideValue(window);
            if (typed)
                changeSideValue(window);
            const QString value = sideValue(window);
            prompter_.answers = {answer};

            pressInSide(window, Qt::ControlModifier);

            const bool stays = typed && answer == Answer::Cancel;
            const bool kept = typed && answer == Answer::Yes;
            QCOMPARE(pendingQuestions(), typed ? 1 : 0);
            QCOMPARE(sideValue(window), stays || kept ? value : stored);
            QCOMPARE(storedBravery(2), DecodeOfficer(stays || kept ? applied : opened, 2).person.bravery);
            QCOMPARE(save() == applied, stays);
            QCOMPARE(form_->menus().tRedo->isEnabled(), !stays && !kept);
        });
    }

    void undoingEveryApplyGivesTheFilesAsOpened()
    {
        const QByteArray saveOpened = save();
        const QByteArray scenarioOpened = scenario();
        applyBravery(1);
        applyBravery(2);
        runIntimacy(true);
        applyTreasure();
        form_->modes().Option3[2]->click();
        QComboBox* kind = form_->modes().relationPanel()->Combo4;
        kind->setCurrentIndex((kind->currentIndex() + 1) % kind->count());
        form_->modes().Command7[2]->click();
        QVERIFY(form_->modes().Option3[3]->isEnabled());
        form_->modes().Option3[3]->click();
        QLineEdit* member = control<QLineEdit>(*form_->modes().familyPanel(), QStringLiteral("Text9(0)"));
        test::Retype(member, QString::number(member->text().toInt() >= 100 ? 1 : member->text().toInt() + 1));
        form_->modes().Command7[3]->click();
        const QByteArray saveEdited = save();
        const QByteArray scenarioEdited = scenario();

        int undone = 0;
        while (form_->menus().tUndo->isEnabled() && undone < 20) {
            form_->menus().tUndo->trigger();
            ++undone;
        }
        QCOMPARE(undone, 6);
        QCOMPARE(save(), saveOpened);
        QCOMPARE(scenario(), scenarioOpened);
        QVERIFY(!form_->isWindowModified());
        QVERIFY(!form_->modes().treasurePanel()->Command13->isEnabled());
        QVERIFY(!form_->menus().tSaveFile->isEnabled());

        while (form_->menus().tRedo->isEnabled())
            form_->menus().tRedo->trigger();
        QCOMPARE(save(), saveEdited);
        QCOMPARE(scenario(), scenarioEdited);
        QVERIFY(form_->modes().treasurePanel()->Command13->isEnabled());
        QVERIFY(prompter_.shown.empty());
    }

    void leavingARecordWithTypedEditsAsks_data()
    {
        QTest::addColumn<Leave>("leave");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<Answer>("answer");
        const std::pair<const char*, Leave> ways[] = {{"click another officer", Leave::ListClick},
                                                      {"switch mode", Leave::ModeSwitch},
                                                      {"open another slot", Leave::OtherSlot},
                                                      {"close", Leave::Close},
                                                      {"undo", Leave::Undo}};
        for (const auto& [name, leave] : ways)
            addAnswerRows(name, leave);
    }
    void leavingARecordWithTypedEditsAsks()
    {
        QFETCH(Leave, leave);
        QFETCH(bool, typed);
        QFETCH(Answer, answer);
        const QByteArray onDisk = test::FileBytes(savePath());
        if (leave == Leave::Undo)
            applyBravery(2);  // something to undo
        const int officer2 = storedBravery(2);
        const int original = storedBravery(1);
        form_->column().List1->setCurrentRow(1);
        const QString value = typed ? typeBravery(1) : bravery()->text();
        const QByteArray before = save();
        // Apply is followed by the question about saving before a slot is opened or the window closes.
        prompter_.answers = {answer, Answer::Yes};

        bool closed = false;
        switch (leave) {
        case Leave::ListClick: {
            QListWidgetItem* two = form_->column().List1->item(2);
            form_->column().List1->scrollToItem(two);
            QListWidget* list = form_->column().List1;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(two).center());
            break;
        }
        case Leave::ModeSwitch:
            QTest::mouseClick(form_->modes().Option3[1], Qt::LeftButton);
            break;
        case Leave::OtherSlot:
            form_->menus().sSavSum[0]->trigger();
            break;
        case Leave::Close:
            closed = form_->close();
            break;
        case Leave::Undo:
            form_->menus().tUndo->trigger();
            break;
        }
        QTest::qWait(0);  // a list put back is put back once more after the click

        const bool stays = typed && answer == Answer::Cancel;
        const bool stored = typed && answer == Answer::Yes;
        QCOMPARE(pendingQuestions(), typed ? 1 : 0);
        if (typed)
            QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNoCancel);
        switch (leave) {
        case Leave::ListClick:
            QCOMPARE(form_->column().List1->currentRow(), stays ? 1 : 2);
            QCOMPARE(form_->modes().records(0).shownRecord(), stays ? 1 : 2);
            break;
        case Leave::ModeSwitch:
            QCOMPARE(form_->modes().Option3[0]->isChecked(), stays);
            QCOMPARE(form_->modes().officerPanel()->isVisible(), stays);
            break;
        case Leave::OtherSlot:
            QCOMPARE(form_->saveGame().path, stays ? savePath() : slot(0));
            break;
        case Leave::Close:
            QCOMPARE(closed, !stays);
            QCOMPARE(form_->isVisible(), stays);
            break;
        case Leave::Undo:
            // Applying keeps the typed edit: it becomes the newest step and nothing
            // is undone, so the next undo would take it back.
            QCOMPARE(storedBravery(2), stays || stored ? officer2 : DecodeOfficer(onDisk, 2).person.bravery);
            QCOMPARE(form_->menus().tRedo->isEnabled(), !stays && !stored);
            QCOMPARE(storedBravery(1), stored ? value.toInt() : original);
            if (stored) {
                form_->menus().tUndo->trigger();
                QCOMPARE(storedBravery(1), original);
                QCOMPARE(storedBravery(2), officer2);
            }
            break;
        }
        if (leave == Leave::OtherSlot || leave == Leave::Close) {
            // Apply, then Yes to saving: the file holds the typed edit; otherwise it is as it was.
            const QByteArray file = test::FileBytes(savePath());
            QCOMPARE(DecodeOfficer(file, 1).person.bravery, stored ? value.toInt() : original);
            if (!stored)
                QCOMPARE(file, onDisk);
        } else if (leave != Leave::Undo) {
            QCOMPARE(storedBravery(1), stored ? value.toInt() : original);
            if (!stored)
                QCOMPARE(save(), before);
        }
        if (stays) {
            QCOMPARE(form_->modes().records(0).shownRecord(), 1);
            QCOMPARE(bravery()->text(), value);
            QCOMPARE(save(), before);
        }
    }
};

QTEST_MAIN(EditHistoryTest)
#include "edit_history_uitest.moc"
