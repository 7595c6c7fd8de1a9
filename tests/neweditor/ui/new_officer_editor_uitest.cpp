// The new-officer editor as a user meets it: finding officers, editing and
// applying a record with its biography, refusals that store nothing, and the
// file commands with their unsaved-changes prompt.
#include "demo_folder/demo_folder.h"
#include "neweditor/new_officer_fields.h"
#include "neweditor/ui/new_officer_editor.h"
#include "person/biography.h"
#include "person/member_record.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/officer_search.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/input_filters.h"
#include "support/file_bytes.h"
#include "support/number_box_check.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace varkel;
using test::FileBytes;
using test::WriteFileBytes;

namespace {

QString biographyWithoutBreaks(const QString& text)
{
    return QString(text).remove(QLatin1Char(biography::kLineBreak));
}

}  // namespace

Q_DECLARE_METATYPE(varkel::Answer)

class Form1Test : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString systemSavePath() const { return folder_->file(QStringLiteral("Svd_sys.sav")); }
    QString biographyPath() const { return folder_->file(QStringLiteral("RDText.vk")); }

    std::unique_ptr<NewOfficerEditor> openForm(int record = 0)
    {
        std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
        if (!form)
            qFatal("Form1 did not open");
        form->show();
        form->List1->setCurrentRow(record);
        return form;
    }

    static void apply(NewOfficerEditor& f) { QTest::mouseClick(f.Command2, Qt::LeftButton); }

    // The Save button and both menu items agree and are offered whenever there are unsaved changes
    // (also for typed edits not yet applied, which Save asks about).
    static bool showsModified(const NewOfficerEditor& f)
    {
        const bool on = f.Command3->isEnabled();
        if (f.sSavefile->isEnabled() != on || f.sSaveAs->isEnabled() != on)
            qFatal("the save commands disagree");
        if (f.modified() && !on)
            qFatal("unsaved changes but no Save offered");
        return on;
    }

    // Types a new bravery into record `record` and applies it.
    static void applyAnEdit(NewOfficerEditor& f, int record)
    {
        f.List1->setCurrentRow(record);
        test::Retype(f.Text3[0], QStringLiteral("3"));
        apply(f);
        QVERIFY(showsModified(f));
    }

    static MemberRecord recordIn(const QByteArray& bytes, int i)
    {
        return DecodeMemberRecord(bytes, system_save::record(i));
    }

private slots:
    void init() { prepare(); }

    // One Apply over both files (a bravery and a biography) taken back and made
    // again: exact bytes, the title mark and the status line follow.
    void undoAndSaveFollowBothFiles()
    {
        auto form = openForm(1);
        const QByteArray save0 = form->systemSave().bytes, bios0 = form->biographies().bytes;
        QVERIFY(!form->isWindowModified());
        QVERIFY(form->windowTitle().startsWith(QStringLiteral("Svd_sys.sav[*]")));
        const QString shown = form->Text3[0]->text();
        test::Retype(form->Text3[0], QStringLiteral("3"));
        form->Text4->selectAll();
        test::CommitText(form->Text4, QStringLiteral("字字字"));
        apply(*form);
        const QByteArray save1 = form->systemSave().bytes, bios1 = form->biographies().bytes;
        QVERIFY(save1 != save0 && bios1 != bios0);
        QVERIFY(form->isWindowModified());

        form->editState().undoAction()->trigger();
        QVERIFY(form->systemSave().bytes == save0 && form->biographies().bytes == bios0);
        QVERIFY(!form->isWindowModified() && !showsModified(*form));
        QCOMPARE(form->List1->currentRow(), 1);
        QCOMPARE(form->Text3[0]->text(), shown);

        form->editState().redoAction()->trigger();
        QVERIFY(form->systemSave().bytes == save1 && form->biographies().bytes == bios1);
        QCOMPARE(form->Text3[0]->text(), QStringLiteral("3"));
        QVERIFY(showsModified(*form));

        form->Command3->click();
        QVERIFY(!form->isWindowModified());
        QVERIFY(FileBytes(biographyPath()) == bios1);
        const QString status = form->editState().statusLine()->currentMessage();
        QVERIFY2(status.contains(QStringLiteral("已保存")), qPrintable(status));
        // Saving keeps the history: undo is a change again.
        form->editState().undoAction()->trigger();
        QVERIFY(showsModified(*form));
    }

    // Save rewrites both files: the status line names each, with each file's backup
    // the first time only.
    void theStatusLineNamesEveryFileASaveWrote()
    {
        auto form = openForm(2);
        test::Retype(form->Text2[0], QStringLiteral("77"));  // an ability: only Svd_sys.sav changes
        apply(*form);
        form->Command3->click();
        const QString systemBackup = session_.files.backupOf(systemSavePath());
        const QString biographyBackup = session_.files.backupOf(biographyPath());
        QVERIFY(!systemBackup.isEmpty() && !biographyBackup.isEmpty());
        // Both backups lie in one folder: named once, then each backup by its name.
        QCOMPARE(QFileInfo(systemBackup).absolutePath(), QFileInfo(biographyBackup).absolutePath());
        const QString saved = QStringLiteral("已保存 Svd_sys.sav、RDText.vk（原檔已備份到 %1：%2、%3）")
                                  .arg(QDir::toNativeSeparators(QFileInfo(systemBackup).absolutePath()),
                                       QFileInfo(systemBackup).fileName(), QFileInfo(biographyBackup).fileName());
        QCOMPARE(form->editState().statusLine()->currentMessage(), saved);
        QCOMPARE(form->editState().statusLine()->toolTip(), saved);

        applyAnEdit(*form, 3);
        form->Command3->click();
        QCOMPARE(form->editState().statusLine()->currentMessage(), QStringLiteral("已保存 Svd_sys.sav、RDText.vk"));
    }

    void opensOnTheGameFoldersFilesUnmodified()
    {
        auto form = openForm();
        QCOMPARE(form->systemSave().path, systemSavePath());
        QCOMPARE(form->Label5->text(), GetResText(Text::FileLocation) + QDir::toNativeSeparators(systemSavePath()));
        QCOMPARE(form->List1->count(), 100);
        QCOMPARE(form->List1->item(0)->text(), QStringLiteral("660:") + form->systemSave().officerName(0));
        QCOMPARE(form->List1->item(50)->text(), QStringLiteral("710:"));
        QVERIFY(!showsModified(*form));
        // The officer picker knows the new officers by name.
        QCOMPARE(session_.officerNames[660], form->systemSave().officerName(0));
    }

    void aSystemSaveMustHoldItsRecords_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("opens");
        QTest::newRow("the smallest") << 14'841 << true;
        QTest::newRow("one byte short") << 14'840 << false;
    }

    void aSystemSaveMustHoldItsRecords()
    {
        QFETCH(int, size);
        QFETCH(bool, opens);
        QVERIFY(WriteFileBytes(systemSavePath(), FileBytes(systemSavePath()).left(size)));
        std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
        QCOMPARE(bool(form), opens);
        QCOMPARE(prompter_.shown.empty(), opens);
        if (!opens) {
            QCOMPARE(prompter_.shown[0].text, GetResText(Text::FileDamaged));
            return;
        }
        // Open refuses the same short file the same way and keeps what is shown.
        const QString other = folder_->file(QStringLiteral("Svd_sys2.sav"));
        QVERIFY(WriteFileBytes(other, FileBytes(systemSavePath()).left(size - 1)));
        dialogs_.opens = {other};
        form->sOpenfile->trigger();
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::FileDamaged));
        QCOMPARE(form->systemSave().path, systemSavePath());
        QCOMPARE(form->systemSave().bytes.size(), qsizetype(size));
    }

    void numberSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");  // -1: not found, the row stays
        QTest::newRow("a new officer") << "700" << 40;
        QTest::newRow("the last") << "759" << 99;
        QTest::newRow("after the last") << "760" << -1;
        QTest::newRow("before the first") << "659" << -1;
    }

    void numberSearch()
    {
        QFETCH(QString, typed);
        QFETCH(int, row);
        auto form = openForm(7);
        QTest::keyClicks(form->Text5, typed);
        QTest::keyClick(form->Text5, Qt::Key_Return);
        QCOMPARE(form->List1->currentRow(), row < 0 ? 7 : row);
        QCOMPARE(prompter_.shown.size(), row < 0 ? 1u : 0u);
        if (row < 0) {
            QCOMPARE(prompter_.shown[0].text, GetResText(Text::OfficerNotFound));
            QCOMPARE(prompter_.shown[0].icon, MessageIcon::Information);
        } else {
            QCOMPARE(form->person().Text1[4]->text(), form->systemSave().officerName(row));
        }
    }

    void nameSearchStepsAndWraps()
    {
        auto form = openForm();
        QMap<QString, QList<int>> bySurname;
        for (int i = 0; i < 100; ++i)
            if (const QString name = form->systemSave().officerName(i); !name.isEmpty())
                bySurname[name.left(1)] << i;
        QList<int> matches;
        for (const auto& rows : bySurname)
            if (rows.size() > matches.size())
                matches = rows;
        QVERIFY(matches.size() >= 2);
        const QString surname = form->systemSave().officerName(matches[0]).left(1);

        form->List1->setCurrentRow(matches.back());
        test::CommitText(form->Text5, surname);
        for (int step = 0; step < matches.size() + 1; ++step) {
            QTest::keyClick(form->Text5, Qt::Key_Return);
            QCOMPARE(form->List1->currentRow(), matches[step % matches.size()]);
        }
        form->Text5->clear();
        test::CommitText(form->Text5, QStringLiteral("龘"));
        QTest::keyClick(form->Text5, Qt::Key_Return);
        QCOMPARE(prompter_.shown.back().text, GetResText(Text::OfficerNotFound));
        QCOMPARE(form->List1->currentRow(), matches[0]);
    }

    void anAppliedRecordReachesBothFilesOnSave()
    {
        auto form = openForm(5);
        const QByteArray savedBefore = FileBytes(systemSavePath());
        const QByteArray biographiesBefore = FileBytes(biographyPath());
        form->person().Text1[1]->clear();
        test::CommitText(form->person().Text1[1], QStringLiteral("雲"));
        test::Retype(form->Text2[0], QStringLiteral("99"));
        form->Combo[4]->setCurrentIndex(member::kAdmiralGrowth);
        form->Text4->selectAll();
        test::CommitText(form->Text4, QStringLiteral("字字字"));
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        QVERIFY(showsModified(*form));
        QCOMPARE(form->List1->item(5)->text(), QStringLiteral("665:") + form->systemSave().officerName(5));
        QVERIFY(form->systemSave().officerName(5).endsWith(QStringLiteral("雲")));
        // Apply changes only the buffers.
        QCOMPARE(FileBytes(systemSavePath()), savedBefore);
        QCOMPARE(FileBytes(biographyPath()), biographiesBefore);

        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QVERIFY(!showsModified(*form));
        const MemberRecord stored = recordIn(FileBytes(systemSavePath()), 5);
        QCOMPARE(stored.person.abilities[0], 99);
        QCOMPARE(stored.growthTendency, member::kAdmiralGrowth);
        QCOMPARE(DecodeBiography(FileBytes(biographyPath()), system_save::biographyRecord(5)),
                 QStringLiteral("字字字"));
        // Nothing but record 5 and its biography changed.
        QByteArray expected = savedBefore;
        expected.replace(system_save::record(5), member::kRecordSize,
                         FileBytes(systemSavePath()).mid(system_save::record(5), member::kRecordSize));
        QCOMPARE(FileBytes(systemSavePath()), expected);
        QCOMPARE(FileBytes(biographyPath()).left(system_save::biographyRecord(5)),
                 biographiesBefore.left(system_save::biographyRecord(5)));
        QCOMPARE(FileBytes(biographyPath()).mid(system_save::biographyRecord(6)),
                 biographiesBefore.mid(system_save::biographyRecord(6)));
    }

    void theAdmiralIsStoredAsItReadsBack_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("growth");
        QTest::addColumn<int>("bits");  // bits 0-1 of byte 59 afterwards; -1: as stored
        QTest::newRow("提督 over a mark with bit 0 set")
            << demo::kDemoAdmiralWithBitZero << member::kAdmiralGrowth << 2;
        QTest::newRow("another choice keeps bit 0") << demo::kDemoAdmiralWithBitZero << 0 << 1;
        QTest::newRow("an unchanged choice keeps both") << demo::kDemoAdmiralWithBitZero << -1 << 3;
    }

    void theAdmiralIsStoredAsItReadsBack()
    {
        QFETCH(int, record);
        QFETCH(int, growth);
        QFETCH(int, bits);
        auto form = openForm(record);
        QVERIFY(form->Combo[4]->currentIndex() != member::kAdmiralGrowth);
        if (growth >= 0)
            form->Combo[4]->setCurrentIndex(growth);
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        const qsizetype at = system_save::record(record) + member::kOutlook;
        QCOMPARE(byteAt(form->systemSave().bytes, at) & 3, bits);
        form->List1->setCurrentRow(0);
        form->List1->setCurrentRow(record);
        if (growth >= 0)
            QCOMPARE(form->Combo[4]->currentIndex(), growth);
    }

    void theLifespanShowsHalfYearsAndTakesWholeOnes_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");  // empty: left as shown
        QTest::addColumn<int>("halves");
        QTest::newRow("7.5 kept") << 0 << "7.5" << "" << 15;
        QTest::newRow("2.5 retyped") << 1 << "2.5" << "6" << 12;
        QTest::newRow("letters are not taken") << 1 << "2.5" << "x4" << 8;
    }

    void theLifespanShowsHalfYearsAndTakesWholeOnes()
    {
        QFETCH(int, record);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(int, halves);
        auto form = openForm(record);
        QCOMPARE(form->Text3[9]->text(), shown);
        if (!typed.isEmpty())
            test::Retype(form->Text3[9], typed);
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        QCOMPARE(form->systemSave().officer(record).lifespanHalves, halves);
    }

    void everyNumberBoxTakesItsFieldWithinItsLimits_data() { test::AddNumberBoxRows(NewOfficerFields()); }

    void everyNumberBoxTakesItsFieldWithinItsLimits()
    {
        QFETCH(QString, key);
        auto form = openForm(2);
        const auto& field = NewOfficerField(key);
        test::CheckNumberBox<MemberRecord>(
            control<QLineEdit>(*form, field.control), field, [&] { return form->systemSave().officer(2); },
            [&] { apply(*form); }, prompter_);
    }

    void biographiesOfTheEdgeLengths_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("characters");
        for (int i = 0; i < int(std::size(demo::kDemoBiographyLengths)); ++i)
            QTest::addRow("%d characters", demo::kDemoBiographyLengths[i]) << i << demo::kDemoBiographyLengths[i];
    }

    // Each shows whole, with a line break after every 18 characters, and an Apply
    // that leaves the text as it is keeps the stored bytes, even a full record.
    void biographiesOfTheEdgeLengths()
    {
        QFETCH(int, record);
        QFETCH(int, characters);
        auto form = openForm(record);
        const QString text = form->Text4->toPlainText();
        QCOMPARE(biographyWithoutBreaks(text).size(), characters);
        if (characters <= biography::kCapacity)
            QCOMPARE(text.count(QLatin1Char(biography::kLineBreak)), (characters - 1) / biography::kLineChars);
        const QByteArray before = form->biographies().bytes;
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        QVERIFY(form->biographies().bytes == before);
    }

    void theBiographyBoxTakesNoMoreThanARecordHolds()
    {
        auto form = openForm(3);  // 74 characters
        const QString before = biographyWithoutBreaks(form->Text4->toPlainText());
        form->Text4->moveCursor(QTextCursor::End);
        test::CommitText(form->Text4, QStringLiteral("字"));
        QCOMPARE(biographyWithoutBreaks(form->Text4->toPlainText()), before);
        test::CommitText(form->Text4, QStringLiteral("a"));
        QCOMPARE(biographyWithoutBreaks(form->Text4->toPlainText()), before);
    }

    void aRefusedApplyStoresNothing_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("ability above a byte") << 0 << "Text2(1)" << "256";
        QTest::newRow("empty box") << 0 << "Text3(4)" << "";
        QTest::newRow("single-byte biography") << 0 << "Text4" << "張a";
        QTest::newRow("a full biography shortened to 75") << 4 << "Text4" << "";
    }

    // The record's other edits (bravery typed too) stay in the boxes, neither
    // file buffer changes and the window stays unmodified.
    void aRefusedApplyStoresNothing()
    {
        QFETCH(int, record);
        QFETCH(QString, control);
        QFETCH(QString, text);
        auto form = openForm(record);
        const QByteArray saveBefore = form->systemSave().bytes;
        const QByteArray biographiesBefore = form->biographies().bytes;
        test::Retype(form->Text3[0], QStringLiteral("9"));
        if (control == QLatin1String("Text4")) {
            if (text.isEmpty()) {  // the user deletes the last character
                form->Text4->moveCursor(QTextCursor::End);
                QTest::keyClick(form->Text4, Qt::Key_Backspace);
            } else {
                ShowText(form->Text4, text);  // past the box's filter
            }
        } else {
            this->control<QLineEdit>(*form, control)->setText(text);
        }
        apply(*form);

        QCOMPARE(prompter_.shown.size(), 1u);
        // The message names the field by its caption.
        QString field = QStringLiteral("武將列傳");
        for (const auto& f : NewOfficerFields())
            if (f.control == control)
                field = f.label;
        QVERIFY2(prompter_.shown[0].text.contains(field), qPrintable(prompter_.shown[0].text));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
        QVERIFY(form->systemSave().bytes == saveBefore);
        QVERIFY(form->biographies().bytes == biographiesBefore);
        QCOMPARE(form->Text3[0]->text(), QStringLiteral("9"));
        QVERIFY(!form->modified());
        QVERIFY(showsModified(*form));  // the typed edits stay and Save asks about them
        QVERIFY(form->isVisible());
    }

    void theFacePickerAndAllTacticsReachTheRecord()
    {
        auto form = openForm(2);
        form->setPicker(test::ScriptedPicker(PickerKind::Face, 321));
        QTest::mouseClick(form->person().Command1, Qt::LeftButton);
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        const MemberRecord r = form->systemSave().officer(2);
        QCOMPARE(r.person.face, 321);
        // Every tactic at the top level, the odd stored nibbles 14 and 15 included.
        QVERIFY(r.tactics[0] != 0);
        for (const int nibble : r.tactics)
            QCOMPARE(nibble, r.tactics[0]);
        form->List1->setCurrentRow(3);
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        apply(*form);
        QCOMPARE(form->systemSave().officer(3).tactics, r.tactics);
        QCOMPARE(form->systemSave().officer(3).skills, r.skills);
    }

    void closingAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes saves") << Answer::Yes << true << true;
        QTest::newRow("no leaves the files") << Answer::No << true << false;
        QTest::newRow("cancel stays") << Answer::Cancel << false << false;
    }

    void closingAsksAboutUnsavedChanges()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        auto form = openForm();
        const QByteArray before = FileBytes(systemSavePath());
        applyAnEdit(*form, 1);
        prompter_.answers = {answer};
        QCOMPARE(form->close(), closes);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::SaveChanges));
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(FileBytes(systemSavePath()) != before, saved);
        if (saved)
            QCOMPARE(recordIn(FileBytes(systemSavePath()), 1).person.bravery, 3);
    }

    void closingUnmodifiedAsksNothing()
    {
        auto form = openForm();
        QVERIFY(form->close());
        QVERIFY(prompter_.shown.empty());
    }

    void saveAsWritesTheBufferUnderTheNewName_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("saved") << false;
        QTest::newRow("cancelled") << true;
    }

    void saveAsWritesTheBufferUnderTheNewName()
    {
        QFETCH(bool, cancelled);
        auto form = openForm();
        const QByteArray before = FileBytes(systemSavePath());
        applyAnEdit(*form, 1);
        const QString elsewhere = temp_->filePath(QStringLiteral("Svd_sys_copy.sav"));
        if (!cancelled)
            dialogs_.saves = {elsewhere};
        form->sSaveAs->trigger();
        QVERIFY(prompter_.shown.empty());
        QCOMPARE(FileBytes(systemSavePath()), before);
        QCOMPARE(form->systemSave().path, cancelled ? systemSavePath() : elsewhere);
        QCOMPARE(form->Label5->text(),
                 GetResText(Text::FileLocation) + QDir::toNativeSeparators(form->systemSave().path));
        QCOMPARE(showsModified(*form), cancelled);
        if (!cancelled)
            QVERIFY(FileBytes(elsewhere) == form->systemSave().bytes);
    }

    // The game wrote one of the files meanwhile: Save asks before overwriting it,
    // and writes neither file unless the answer allows it.
    void aFileChangedOutsideIsNotOverwrittenSilently_data()
    {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("elsewhere");  // the system save went to another name
        QTest::addColumn<bool>("written");
        QTest::newRow("system save overwritten") << "Svd_sys.sav" << Answer::Yes << false << true;
        QTest::newRow("system save elsewhere") << "Svd_sys.sav" << Answer::No << true << true;
        QTest::newRow("system save not saved") << "Svd_sys.sav" << Answer::Cancel << false << false;
        QTest::newRow("biographies overwritten") << "RDText.vk" << Answer::Yes << false << true;
        QTest::newRow("biographies not saved") << "RDText.vk" << Answer::No << false << false;
    }

    void aFileChangedOutsideIsNotOverwrittenSilently()
    {
        QFETCH(QString, changed);
        QFETCH(Answer, answer);
        QFETCH(bool, elsewhere);
        QFETCH(bool, written);
        auto form = openForm(6);
        test::CommitText(form->Text4, QStringLiteral("字"));
        applyAnEdit(*form, 6);
        const QString path = folder_->file(changed);
        QByteArray outside = FileBytes(path);
        outside[5] = char(outside[5] ^ 0x55);  // a header byte no record owns
        QVERIFY(WriteFileBytes(path, outside));
        const QByteArray other = FileBytes(changed == QLatin1String("RDText.vk") ? systemSavePath() : biographyPath());
        const QString copy = temp_->filePath(QStringLiteral("Svd_sys_copy.sav"));
        prompter_.answers = {answer};
        dialogs_.saves = {copy};
        QTest::mouseClick(form->Command3, Qt::LeftButton);

        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(showsModified(*form), !written);
        QCOMPARE(QFile::exists(copy), elsewhere);
        const QByteArray savedRecords = FileBytes(elsewhere ? copy : systemSavePath());
        QCOMPARE(recordIn(savedRecords, 6).person.bravery == 3, written);
        const QString biography = DecodeBiography(FileBytes(biographyPath()), system_save::biographyRecord(6));
        QCOMPARE(biography.startsWith(QStringLiteral("字")), written);
        if (!written) {
            QVERIFY(FileBytes(path) == outside);
            QVERIFY(FileBytes(changed == QLatin1String("RDText.vk") ? systemSavePath() : biographyPath()) == other);
        }
    }

    void openAsksAboutUnsavedChangesFirst()
    {
        auto form = openForm();
        const QByteArray biographiesBefore = form->biographies().bytes;
        form->List1->setCurrentRow(6);
        test::CommitText(form->Text4, QStringLiteral("字"));
        apply(*form);
        applyAnEdit(*form, 1);
        QVERIFY(form->biographies().bytes != biographiesBefore);
        prompter_.answers = {Answer::Cancel};
        dialogs_.opens = {systemSavePath()};
        form->sOpenfile->trigger();
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(dialogs_.opens.size(), 1u);  // no dialog after Cancel
        QVERIFY(showsModified(*form));

        prompter_.answers = {Answer::No};
        form->sOpenfile->trigger();
        QVERIFY(dialogs_.opens.empty());
        QVERIFY(!showsModified(*form));
        QCOMPARE(form->systemSave().officer(1).person.bravery, recordIn(FileBytes(systemSavePath()), 1).person.bravery);
        QVERIFY(form->biographies().bytes == biographiesBefore);
    }
};

QTEST_MAIN(Form1Test)
#include "new_officer_editor_uitest.moc"
