#include "demo_folder/demo_folder.h"
#include "saveeditor/officer_fields.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/number_box_check.h"
#include "support/program_environment.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace varkel;
using test::FileBytes;
using test::WriteFileBytes;

Q_DECLARE_METATYPE(varkel::Answer)

class Form4Test : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString slot(int k) const { return SaveGame::slotPath(session_.gameFolder, k); }

    std::unique_ptr<SaveGameEditor> openForm() { return test::OpenSaveEditor(session_); }

    static QLineEdit* box(SaveGameEditor& f, const QString& name) { return control<QLineEdit>(f, name); }
    static QListWidget* list(SaveGameEditor& f) { return control<QListWidget>(f, QStringLiteral("List1")); }
    static QAction* slotItem(SaveGameEditor& f, int k)
    {
        return control<QAction>(f, QStringLiteral("sSavSum(%1)").arg(k));
    }

    // The Save buttons and menu items agree and tell whether there are unsaved changes.
    static bool showsModified(SaveGameEditor& f)
    {
        const bool on = control<QAction>(f, QStringLiteral("tSaveFile"))->isEnabled();
        for (int i = 0; i < 4; ++i)
            if (control<QPushButton>(f, QStringLiteral("Command8(%1)").arg(i))->isEnabled() != on)
                qFatal("Command8(%d) disagrees with tSaveFile", i);
        if (control<QAction>(f, QStringLiteral("tSaveAs"))->isEnabled() != on)
            qFatal("tSaveAs disagrees with tSaveFile");
        return on;
    }

    static QList<int> tickedSlots(SaveGameEditor& f)
    {
        QList<int> ticked;
        for (int k = 0; k < 9; ++k)
            if (slotItem(f, k)->isChecked())
                ticked << k;
        return ticked;
    }

    // Changes officer 1's bravery and applies it.
    static void applyAnEdit(SaveGameEditor& f)
    {
        list(f)->setCurrentRow(1);
        test::Retype(box(f, QStringLiteral("Text3(0)")), QStringLiteral("3"));
        QTest::mouseClick(control<QPushButton>(f, QStringLiteral("Command7(0)")), Qt::LeftButton);
        QVERIFY(showsModified(f));
    }

    static int braveryOf(const QByteArray& save, int officer) { return DecodeOfficer(save, officer).person.bravery; }

private slots:
    void init() { prepare(); }

    void startUpOpensTheNewestSlotUnmodified()
    {
        auto form = openForm();
        QCOMPARE(form->saveGame().path, slot(demo::kDemoNewestSlot));
        QCOMPARE(form->saveGame().bytes.size(), save::kStartupBufferSize);
        QCOMPARE(tickedSlots(*form), QList<int>{demo::kDemoNewestSlot});
        QCOMPARE(control<QLabel>(*form, QStringLiteral("Label28"))->text(),
                 GetResText(Text::FileLocation) + QDir::toNativeSeparators(slot(demo::kDemoNewestSlot)));
        const SaveTables& t = form->tables();
        QCOMPARE(list(*form)->count(), t.officerCount);
        QCOMPARE(session_.officerCount, t.officerCount);
        QCOMPARE(list(*form)->item(7)->text(), NumberedItem(7, 3, t.officerNames[7]));
        QCOMPARE(control<QGroupBox>(*form, QStringLiteral("Frame26"))->title(),
                 QStringLiteral("擔當武將(%1)").arg(t.controlledCount()));
        QVERIFY(control<QRadioButton>(*form, QStringLiteral("Option3(0)"))->isChecked());
        QCOMPARE(control<QRadioButton>(*form, QStringLiteral("Option3(3)"))->isEnabled(), t.hasFamily);
        QCOMPARE(list(*form)->currentRow(), 0);
        QVERIFY(!showsModified(*form));
        QVERIFY(prompter_.shown.empty());
    }

    // The treasure and relationship views are built when first shown; each view
    // shows the window's Save button, and the window keeps the size it opened with.
    void everyModeShowsTheSaveButton()
    {
        auto form = openForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QSize opened = form->size();
        for (int mode : {1, 2})
            QVERIFY(!form->findChild<QWidget*>(QStringLiteral("Frame10(%1)").arg(mode)));
        applyAnEdit(*form);
        for (int mode : {1, 2, 3, 0}) {
            QVERIFY(form->modes().Option3[mode]->isEnabled());
            form->modes().Option3[mode]->click();
            auto* view = control<QWidget>(*form, QStringLiteral("Frame10(%1)").arg(mode));
            auto* save = control<QPushButton>(*form, QStringLiteral("Command8(%1)").arg(mode));
            QVERIFY(view->isVisible() && view->isAncestorOf(save) && save->isVisible());
            QVERIFY(showsModified(*form));
            QCOMPARE(form->size(), opened);
        }
    }

    void startUpWithoutAValidSaveRefuses()
    {
        for (int k = 0; k < 9; ++k)
            QVERIFY(QFile::resize(slot(k), 374'000));
        QVERIFY(SaveGameEditor::open(session_) == nullptr);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::NoSavedGame));
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Error"));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
    }

    // A ruler renamed and applied: its force's name, the force list, the officer
    // list and the lists of the other modes (owners, parties) all show the new
    // name at once, each list on the row it was on.
    void renamingARulerRenamesEveryPlaceItsNameShows()
    {
        auto form = openForm();
        const SaveTables& t = form->tables();
        int ruler = -1;
        for (int n = 0; n < t.officerCount && ruler < 0; ++n) {
            const int force = DecodeOfficer(form->saveGame().bytes, n).status.force;
            if (force < save::kNoForce && t.forceNames[force] == t.officerNames[n])
                ruler = n;
        }
        QVERIFY(ruler >= 0);
        const QString oldName = t.officerNames[ruler];
        // Rows of other officers may not hold the old name as a part of theirs.
        int holding = 0;
        for (const QString& name : t.officerNames)
            holding += name.contains(oldName) ? 1 : 0;
        QCOMPARE(holding, 1);
        // Visit the other modes first, so their lists are filled and on a row.
        form->modes().Option3[1]->click();
        control<QListWidget>(*form, QStringLiteral("List2"))->setCurrentRow(5);
        form->modes().Option3[2]->click();
        control<QListWidget>(*form, QStringLiteral("List3"))->setCurrentRow(4);
        form->modes().Option3[0]->click();

        list(*form)->setCurrentRow(ruler);
        QLineEdit* given = box(*form, QStringLiteral("Text1(1)"));
        given->clear();
        test::CommitText(given, QStringLiteral("新名"));
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        const QString newName = box(*form, QStringLiteral("Text1(4)"))->text();
        QVERIFY(newName != oldName);

        auto* forceBox = control<QComboBox>(*form, QStringLiteral("Combo8"));
        QCOMPARE(forceBox->currentText(), newName);
        QVERIFY(forceBox->findText(newName) >= 0);
        QCOMPARE(forceBox->findText(oldName), -1);
        QCOMPARE(list(*form)->item(ruler)->text(), NumberedItem(ruler, 3, newName));
        QCOMPARE(form->tables().forceNames.count(newName), 1);
        QCOMPARE(session_.officerNames[ruler], newName);

        form->modes().Option3[1]->click();
        auto* treasures = control<QListWidget>(*form, QStringLiteral("List2"));
        QCOMPARE(treasures->currentRow(), 5);
        form->modes().Option3[2]->click();
        auto* relations = control<QListWidget>(*form, QStringLiteral("List3"));
        QCOMPARE(relations->currentRow(), 4);
        for (QListWidget* l : {treasures, relations})
            for (int i = 0; i < l->count(); ++i)
                QVERIFY2(!l->item(i)->text().contains(oldName), qPrintable(l->item(i)->text()));
    }

    void applyStoresTheViewAndRenamesTheListItem()
    {
        auto form = openForm();
        list(*form)->setCurrentRow(7);
        const QString oldName = ItemName(list(*form)->item(7)->text());
        QLineEdit* surname = box(*form, QStringLiteral("Text1(0)"));
        surname->clear();
        test::CommitText(surname, QStringLiteral("諸"));
        QLineEdit* given = box(*form, QStringLiteral("Text1(1)"));
        given->clear();
        test::CommitText(given, QStringLiteral("葛亮"));
        QCOMPARE(box(*form, QStringLiteral("Text1(4)"))->text(), QStringLiteral("諸葛亮"));
        test::Retype(box(*form, QStringLiteral("Text3(0)")), QStringLiteral("20"));  // one digit only: "2"
        QCOMPARE(box(*form, QStringLiteral("Text3(0)"))->text(), QStringLiteral("2"));
        box(*form, QStringLiteral("Text3(0)"))->setText(QStringLiteral("20"));
        test::Retype(box(*form, QStringLiteral("Text2(0)")), QStringLiteral("99"));
        test::Retype(box(*form, QStringLiteral("Text3(7)")), QStringLiteral("200"));
        // Byte 57 bit 3 is "水軍" whatever the old caption lists said.
        QCheckBox* navy = control<QCheckBox>(*form, QStringLiteral("Check2(23)"));
        QCOMPARE(navy->text(), QStringLiteral("水軍"));
        navy->setChecked(true);
        control<QComboBox>(*form, QStringLiteral("Combo6(14)"))->setCurrentIndex(6);

        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);

        QCOMPARE(box(*form, QStringLiteral("Text3(0)"))->text(), QStringLiteral("7"));
        QCOMPARE(box(*form, QStringLiteral("Text3(7)"))->text(), QStringLiteral("150"));
        const QByteArray& save = form->saveGame().bytes;
        const qsizetype person = save::personBlock(7), status = save::statusBlock(7);
        QCOMPARE(ReadNameField(save, person + 0, 2), QStringLiteral("諸"));
        QCOMPARE(save[person + 2], '\0');
        QCOMPARE(ReadNameField(save, person + 26, 6), QStringLiteral("諸葛亮"));
        QCOMPARE((static_cast<unsigned char>(save[person + 54]) >> 2) & 7, 7);
        QCOMPARE(static_cast<unsigned char>(save[person + 37]), 99);
        QCOMPARE(static_cast<unsigned char>(save[status + 2]), 99);
        QCOMPARE(static_cast<unsigned char>(save[person + 41]), 150);
        QVERIFY(static_cast<unsigned char>(save[status + 57]) & 0x08);
        QCOMPARE(static_cast<unsigned char>(save[status + 67]) & 0x0F, 13);
        QCOMPARE(list(*form)->item(7)->text(), QStringLiteral("007:諸葛亮"));
        QCOMPARE(session_.officerNames[7], QStringLiteral("諸葛亮"));
        QVERIFY(showsModified(*form));
        // Apply changes only the buffer.
        QCOMPARE(ReadNameField(FileBytes(slot(demo::kDemoNewestSlot)), person + 26, 6), oldName);
    }

    void everyNumberBoxTakesItsFieldWithinItsLimits_data() { test::AddNumberBoxRows(OfficerFields()); }

    void everyNumberBoxTakesItsFieldWithinItsLimits()
    {
        QFETCH(QString, key);
        auto form = openForm();
        list(*form)->setCurrentRow(1);
        const auto& field = OfficerField(key);
        test::CheckNumberBox<OfficerRecord>(
            box(*form, field.control), field, [&] { return DecodeOfficer(form->saveGame().bytes, 1); },
            [&] { QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton); },
            prompter_);
    }

    void aValueThatCannotBeStoredWritesNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("ability above a byte") << "Text2(1)" << "300" << GetResText(123);
        QTest::newRow("empty action") << "Text3(4)" << "" << "行動";
    }

    void aValueThatCannotBeStoredWritesNothing()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, field);
        auto form = openForm();
        list(*form)->setCurrentRow(3);
        const QByteArray before = form->saveGame().bytes;
        test::Retype(box(*form, QStringLiteral("Text3(0)")), QStringLiteral("9"));  // would be clamped
        box(*form, control)->setText(text);
        QTest::mouseClick(this->control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);

        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY2(prompter_.shown[0].text.contains(field), qPrintable(prompter_.shown[0].text));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Error"));
        QVERIFY(form->saveGame().bytes == before);
        QCOMPARE(box(*form, QStringLiteral("Text3(0)"))->text(), QStringLiteral("9"));
        QVERIFY(!form->modified());
        QVERIFY(showsModified(*form));  // the typed edits stay and Save asks about them
        QCOMPARE(list(*form)->currentRow(), 3);
    }

    void boxesFilterTypedAndPastedText()
    {
        auto form = openForm();
        QLineEdit* title = box(*form, QStringLiteral("Text1(3)"));
        title->clear();
        QApplication::clipboard()->setText(QStringLiteral("ab丞c相 x"));
        title->paste();
        QCOMPARE(title->text(), QStringLiteral("丞相"));
        QLineEdit* surname = box(*form, QStringLiteral("Text1(0)"));
        surname->clear();
        QApplication::clipboard()->setText(QStringLiteral("三個字"));
        surname->paste();  // longer than the box takes: refused
        QCOMPARE(surname->text(), QString());
        QLineEdit* loyalty = box(*form, QStringLiteral("Text3(15)"));
        loyalty->clear();
        QTest::keyClicks(loyalty, QStringLiteral("a1-2b34"));
        QCOMPARE(loyalty->text(), QStringLiteral("123"));

        // A stored value longer than the box's input length is shown whole.
        QByteArray save = FileBytes(slot(demo::kDemoNewestSlot));
        save[save::statusBlock(2) + 80] = char(0x60);
        save[save::statusBlock(2) + 81] = char(0xEA);  // 60000
        QVERIFY(WriteFileBytes(slot(demo::kDemoNewestSlot), save));
        form = openForm();
        list(*form)->setCurrentRow(2);
        QCOMPARE(box(*form, QStringLiteral("Text3(16)"))->text(), QStringLiteral("60000"));
    }

    void storedNamesAreShownAndKeptWhole()
    {
        // "甲×乙": × is a double-byte character (A1 D1) below U+0100; "AB張" starts with a slot
        // whose lead byte is ASCII.
        const QByteArray title("\xA5\xD2\xA1\xD1\xA4\x41\x00", 7);
        const QByteArray given("AB\xB1\x69\x00", 5);
        QByteArray save = FileBytes(slot(demo::kDemoNewestSlot));
        save.replace(save::personBlock(3) + 15, title.size(), title);
        save.replace(save::personBlock(3) + 5, given.size(), given);
        QVERIFY(WriteFileBytes(slot(demo::kDemoNewestSlot), save));
        auto form = openForm();
        list(*form)->setCurrentRow(3);
        QCOMPARE(box(*form, QStringLiteral("Text1(3)"))->text(), QStringLiteral("甲×乙"));
        QCOMPARE(box(*form, QStringLiteral("Text1(1)"))->text(), QStringLiteral("AB張"));
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        QCOMPARE(form->saveGame().bytes.mid(save::personBlock(3) + 15, title.size()), title);
        QCOMPARE(form->saveGame().bytes.mid(save::personBlock(3) + 5, given.size()), given);

        // The same characters can be typed; a key the box refuses leaves the text alone.
        QLineEdit* courtesy = box(*form, QStringLiteral("Text1(2)"));
        courtesy->selectAll();
        test::CommitText(courtesy, QStringLiteral("×"));
        QCOMPARE(courtesy->text(), QStringLiteral("×"));
        courtesy->selectAll();
        QTest::keyClicks(courtesy, QStringLiteral("a"));
        QCOMPARE(courtesy->text(), QStringLiteral("×"));
        QLineEdit* search = box(*form, QStringLiteral("Text13"));
        test::CommitText(search, QStringLiteral("張三"));
        search->selectAll();
        QTest::keyClicks(search, QStringLiteral("7"));  // name mode takes no digits
        QCOMPARE(search->text(), QStringLiteral("張三"));
    }

    void oddStoredValuesAreShownAndKept()
    {
        QByteArray save = FileBytes(slot(demo::kDemoNewestSlot));
        save[save::statusBlock(4)] = char(80);                       // force byte outside the table
        save[save::locationEntry(4)] = char((60 << 4) & 0xF0);       // city 60
        save[save::locationEntry(4) + 1] = char(60 >> 4);
        save[save::personBlock(4) + 48] = char(5000 & 0xFF);          // face beyond the bank
        save[save::personBlock(4) + 49] = char(5000 >> 8);
        QVERIFY(WriteFileBytes(slot(demo::kDemoNewestSlot), save));
        auto form = openForm();
        list(*form)->setCurrentRow(4);
        QCOMPARE(control<QComboBox>(*form, QStringLiteral("Combo8"))->currentText(), QStringLiteral("80"));
        QCOMPARE(control<QComboBox>(*form, QStringLiteral("Combo9"))->currentText(), QStringLiteral("60"));
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        QCOMPARE(DecodeOfficer(form->saveGame().bytes, 4).person.face, 5000);
        QCOMPARE(DecodeOfficer(form->saveGame().bytes, 4).status.force, 80);

        // The Apply kept every odd value, so the save is as it was: no save question.
        QVERIFY(!form->modified());
        slotItem(*form, demo::kDemoOddTacticSlot)->trigger();
        list(*form)->setCurrentRow(demo::kDemoOddTacticOfficer);
        QCOMPARE(control<QComboBox>(*form, QStringLiteral("Combo6(0)"))->currentText(), QStringLiteral("14"));
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        QVERIFY(prompter_.shown.empty());
        QCOMPARE(DecodeOfficer(form->saveGame().bytes, demo::kDemoOddTacticOfficer).status.tactics[0], 14);
    }

    void openingASlotAsksToSaveFirst()
    {
        auto form = openForm();
        const QByteArray onDisk = FileBytes(slot(demo::kDemoNewestSlot));
        applyAnEdit(*form);

        prompter_.answers = {Answer::Cancel};
        slotItem(*form, 1)->trigger();
        QCOMPARE(prompter_.shown.back().text, GetResText(Text::SaveChanges));
        QCOMPARE(prompter_.shown.back().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(form->saveGame().path, slot(demo::kDemoNewestSlot));
        QCOMPARE(tickedSlots(*form), QList<int>{demo::kDemoNewestSlot});
        QVERIFY(showsModified(*form));

        prompter_.answers = {Answer::No};
        slotItem(*form, 1)->trigger();
        QCOMPARE(form->saveGame().path, slot(1));
        QCOMPARE(tickedSlots(*form), QList<int>{1});
        QVERIFY(!showsModified(*form));
        QVERIFY(FileBytes(slot(demo::kDemoNewestSlot)) == onDisk);

        applyAnEdit(*form);
        const QByteArray edited = form->saveGame().bytes;
        prompter_.answers = {Answer::Yes};
        slotItem(*form, 0)->trigger();
        QVERIFY(FileBytes(slot(1)) == edited);
        QCOMPARE(form->saveGame().path, slot(0));
        QCOMPARE(tickedSlots(*form), QList<int>{0});
        QVERIFY(!showsModified(*form));
    }

    void refusedSlotsKeepTheOpenFile()
    {
        auto form = openForm();
        QVERIFY(QFile::remove(slot(0)));
        QVERIFY(QFile::resize(slot(1), 374'519));
        slotItem(*form, 0)->trigger();
        slotItem(*form, 1)->trigger();
        slotItem(*form, demo::kDemoShortSlot)->trigger();  // 374,520 bytes: opens from the menu
        QCOMPARE(prompter_.shown.size(), 2u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::SlotNotFound));
        QCOMPARE(prompter_.shown[1].text, GetResText(Text::FileDamaged));
        QCOMPARE(form->saveGame().path, slot(demo::kDemoShortSlot));
        QCOMPARE(form->saveGame().bytes.size(), 374'520);
        QCOMPARE(tickedSlots(*form), QList<int>{demo::kDemoShortSlot});
    }

    void closingAsksToSaveFirst()
    {
        auto form = openForm();
        form->show();
        applyAnEdit(*form);
        prompter_.answers = {Answer::Cancel};
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        prompter_.answers = {Answer::Yes};
        QVERIFY(form->close());
        QCOMPARE(braveryOf(FileBytes(slot(demo::kDemoNewestSlot)), 1), 3);

        form = openForm();
        form->show();
        list(*form)->setCurrentRow(1);
        test::Retype(box(*form, QStringLiteral("Text3(0)")), QStringLiteral("5"));
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        prompter_.answers = {Answer::No};
        QVERIFY(form->close());
        QCOMPARE(braveryOf(FileBytes(slot(demo::kDemoNewestSlot)), 1), 3);
    }

    void saveKeepsTheTailOfALongerFile()
    {
        // The long slot becomes the newest, so start-up reads only its first 374,534 bytes.
        QFile long_(slot(demo::kDemoLongSlot));
        QVERIFY(long_.open(QIODevice::ReadWrite));
        QVERIFY(long_.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
        long_.close();
        const QByteArray before = FileBytes(slot(demo::kDemoLongSlot));
        QVERIFY(before.size() > save::kStartupBufferSize);
        auto form = openForm();
        QCOMPARE(form->saveGame().path, slot(demo::kDemoLongSlot));
        applyAnEdit(*form);
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command8(0)")), Qt::LeftButton);
        const QByteArray after = FileBytes(slot(demo::kDemoLongSlot));
        QCOMPARE(after.size(), before.size());
        QVERIFY(after.left(save::kStartupBufferSize) == form->saveGame().bytes);
        QVERIFY(after.mid(save::kStartupBufferSize) == before.mid(save::kStartupBufferSize));
        QVERIFY(!showsModified(*form));
    }

    // The game wrote the open save meanwhile, or it was deleted: Save asks before
    // writing (over) it, names what happened, and offers another name.
    void aSaveChangedOrGoneOutsideIsNotWrittenSilently_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<Answer>("answer");
        for (const bool gone : {false, true}) {
            const char* what = gone ? "deleted, " : "changed, ";
            QTest::addRow("%swrite", what) << gone << Answer::Yes;
            QTest::addRow("%ssave elsewhere", what) << gone << Answer::No;
            QTest::addRow("%scancel", what) << gone << Answer::Cancel;
        }
    }
    void aSaveChangedOrGoneOutsideIsNotWrittenSilently()
    {
        QFETCH(bool, gone);
        QFETCH(Answer, answer);
        auto form = openForm();
        applyAnEdit(*form);
        const QString path = slot(demo::kDemoNewestSlot);
        QByteArray outside = FileBytes(path);
        outside[save::personBlock(2) + 54] = char(outside[save::personBlock(2) + 54] ^ 0x1C);
        if (gone)
            QVERIFY(QFile::remove(path));
        else
            QVERIFY(WriteFileBytes(path, outside));
        const QString elsewhere = folder_->file(QStringLiteral("svd_08.sav"));
        QVERIFY(QFile::remove(elsewhere));
        prompter_.answers = {answer};
        dialogs_.saves = {elsewhere};
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command8(0)")), Qt::LeftButton);

        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(prompter_.shown[0].text.contains(QStringLiteral("已經不存在")), gone);
        if (gone)
            QCOMPARE(prompter_.shown[0].text, QStringLiteral("文件 %1 已經不存在（可能被其他程序刪除或移走）。\n\n"
                                                             "是：重新寫入該文件\n否：另存為其他文件\n取消：不保存")
                                                  .arg(QDir::toNativeSeparators(path)));
        // Enter neither overwrites nor asks for a name: it does not save.
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNoCancelDefaultCancel);
        QCOMPARE(prompter_.shown[0].defaultAnswer(), Answer::Cancel);
        if (answer == Answer::Yes)
            QVERIFY(FileBytes(path) == form->saveGame().bytes);
        else if (gone)
            QVERIFY(!QFile::exists(path));
        else
            QVERIFY(FileBytes(path) == outside);
        QCOMPARE(QFile::exists(elsewhere), answer == Answer::No);
        if (answer == Answer::No)
            QVERIFY(FileBytes(elsewhere) == form->saveGame().bytes);
        QCOMPARE(form->saveGame().path, answer == Answer::No ? elsewhere : path);
        QCOMPARE(showsModified(*form), answer == Answer::Cancel);
        QCOMPARE(form->isWindowModified(), answer == Answer::Cancel);
        QCOMPARE(braveryOf(form->saveGame().bytes, 1), 3);
    }

    // A save that cannot be read whole is not opened, at start-up or from the menu.
    void aSaveThatCannotBeReadIsNotOpened()
    {
        test::FailingFileIo io;
        io.failAt(2);
        session_.files.setIo(&io);
        QVERIFY(SaveGameEditor::open(session_) == nullptr);
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.startsWith(QStringLiteral("75-")));
        QVERIFY(prompter_.shown[0].text.contains(slot(demo::kDemoNewestSlot)));

        session_.files.setIo(nullptr);
        auto form = openForm();
        io = test::FailingFileIo();
        io.failAt(1);
        session_.files.setIo(&io);
        slotItem(*form, 0)->trigger();
        QCOMPARE(prompter_.shown.size(), 2u);
        QVERIFY(prompter_.shown[1].text.startsWith(QStringLiteral("75-")));
        QCOMPARE(form->saveGame().path, slot(demo::kDemoNewestSlot));
        QCOMPARE(tickedSlots(*form), QList<int>{demo::kDemoNewestSlot});
    }

    // A save that fails part-way is reported; the edit stays unsaved and the file as it was.
    void aFailedSaveKeepsTheEditAndTheFile()
    {
        auto form = openForm();
        applyAnEdit(*form);
        const QByteArray before = FileBytes(slot(demo::kDemoNewestSlot));
        test::FailingFileIo io;
        io.failAt(16, 100);  // a write of the save itself, after its backup (14 calls)
        const auto usingIo = test::UseIo(session_.files, io);
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command8(0)")), Qt::LeftButton);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Error"));
        // The path and a Chinese description; the platform's English reason is not shown.
        QCOMPARE(prompter_.shown[0].text, QStringLiteral("75-路徑/文件訪問錯誤：") + slot(demo::kDemoNewestSlot));
        QCOMPARE(control<QStatusBar>(*form, QStringLiteral("StatusLine"))->currentMessage(),
                 QStringLiteral("未能保存 %1：%2")
                     .arg(QFileInfo(slot(demo::kDemoNewestSlot)).fileName(), prompter_.shown[0].text));
        QVERIFY(showsModified(*form));
        QVERIFY(FileBytes(slot(demo::kDemoNewestSlot)) == before);
        session_.files.setIo(nullptr);
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command8(0)")), Qt::LeftButton);
        QVERIFY(!showsModified(*form));
        QCOMPARE(braveryOf(FileBytes(slot(demo::kDemoNewestSlot)), 1), 3);
    }

    // The command line edits an officer through the same table and codec as Apply.
    void theCommandLineSetsWhatApplyStores()
    {
        const QString path = slot(demo::kDemoNewestSlot);
        const QString copy = temp_->filePath(QStringLiteral("copy.sav"));
        QVERIFY(QFile::copy(path, copy));
        auto form = openForm();
        applyAnEdit(*form);
        QTest::mouseClick(control<QPushButton>(*form, QStringLiteral("Command8(0)")), Qt::LeftButton);
        QProcess cli;
        cli.setProcessEnvironment(test::ProgramEnvironment(temp_->path()));  // its backups stay here
        cli.start(QStringLiteral(VARKEL_CLI), {QStringLiteral("set"), copy, QStringLiteral("officer"),
                                               QStringLiteral("1"), QStringLiteral("bravery=3")});
        QVERIFY(cli.waitForFinished(30'000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(FileBytes(copy) == FileBytes(path));
    }

    void saveAsWritesExactlyTheBuffer()
    {
        auto form = openForm();
        applyAnEdit(*form);
        const QString target = slot(demo::kDemoLongSlot);
        const QByteArray longFile = FileBytes(target);

        dialogs_.saves = {target};
        prompter_.answers = {Answer::No};
        control<QAction>(*form, QStringLiteral("tSaveAs"))->trigger();
        QCOMPARE(prompter_.shown.back().text, GetResText(Text::ReplaceFile));
        QVERIFY(FileBytes(target) == longFile);
        QCOMPARE(form->saveGame().path, slot(demo::kDemoNewestSlot));
        QVERIFY(showsModified(*form));

        dialogs_.saves = {target};
        prompter_.answers = {Answer::Yes};
        control<QAction>(*form, QStringLiteral("tSaveAs"))->trigger();
        QVERIFY(FileBytes(target) == form->saveGame().bytes);
        QCOMPARE(form->saveGame().path, target);
        QCOMPARE(control<QLabel>(*form, QStringLiteral("Label28"))->text(),
                 GetResText(Text::FileLocation) + QDir::toNativeSeparators(target));
        QCOMPARE(tickedSlots(*form), QList<int>{demo::kDemoLongSlot});
        QVERIFY(!showsModified(*form));
        QCOMPARE(dialogs_.requests.back().title, GetResText(Text::SaveAsTitle));
    }

    void nameSearchStepsAndWraps()
    {
        auto form = openForm();
        QListWidget* officers = list(*form);
        // The surname that most officers share.
        QMap<QString, QList<int>> bySurname;
        for (int i = 0; i < officers->count(); ++i)
            bySurname[ItemName(officers->item(i)->text()).left(1)] << i;
        QList<int> matches;
        for (const auto& rows : bySurname)
            if (rows.size() > matches.size())
                matches = rows;
        QVERIFY(matches.size() >= 2);
        const QString surname = ItemName(officers->item(matches[0])->text()).left(1);

        officers->setCurrentRow(matches.back());
        QLineEdit* search = box(*form, QStringLiteral("Text13"));
        test::CommitText(search, surname);
        QCOMPARE(control<QLabel>(*form, QStringLiteral("Label34"))->text(), GetResText(Text::SearchByName));
        for (int step = 0; step < matches.size() + 1; ++step) {
            QTest::keyClick(search, Qt::Key_Return);
            QCOMPARE(officers->currentRow(), matches[step % matches.size()]);
        }
        QCOMPARE(box(*form, QStringLiteral("Text1(4)"))->text().left(1), surname);

        search->clear();
        test::CommitText(search, QStringLiteral("龘"));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(prompter_.shown.back().text, GetResText(Text::OfficerNotFound));
        QCOMPARE(officers->currentRow(), matches[0]);
    }

    void numberSearch()
    {
        auto form = openForm();
        QLineEdit* search = box(*form, QStringLiteral("Text13"));
        QTest::keyClicks(search, QStringLiteral("x5"));  // the first character must be a digit
        QCOMPARE(search->text(), QStringLiteral("5"));
        QCOMPARE(control<QLabel>(*form, QStringLiteral("Label34"))->text(), GetResText(Text::SearchByNumber));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(list(*form)->currentRow(), 5);

        search->setText(QString::number(form->tables().officerCount));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::OfficerNotFound));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Information);
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Editor"));
        QCOMPARE(list(*form)->currentRow(), 5);

        search->clear();
        QCOMPARE(control<QLabel>(*form, QStringLiteral("Label34"))->text(), QString());
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(prompter_.shown.size(), 1u);
    }

    void controlledOfficerListSelectsTheOfficer()
    {
        auto form = openForm();
        auto* controlled = control<QComboBox>(*form, QStringLiteral("Combo10"));
        QVERIFY(controlled->count() >= 2);
        controlled->setCurrentIndex(1);
        emit controlled->activated(1);
        const int officer = ItemNumber(controlled->itemText(1));
        QCOMPARE(list(*form)->currentRow(), officer);
        QVERIFY(control<QCheckBox>(*form, QStringLiteral("Check5"))->isChecked());
        // A controlled officer has its intimacy editor.
        QVERIFY(control<QPushButton>(*form, QStringLiteral("Command10"))->isEnabled());
    }
};

QTEST_MAIN(Form4Test)
#include "save_game_editor_uitest.moc"
