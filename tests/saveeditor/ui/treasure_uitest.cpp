// The treasure view: filling its list once per load, editing a treasure into the
// save (owner) and the scenario buffer (attributes), writing "d_sce.vk", and the
// kind, points and picture rules as a user meets them.
#include "demo_folder/demo_folder.h"
#include "saveeditor/treasure_record.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace varkel;
using namespace varkel::treasure;

namespace {

// The first treasure whose kind byte satisfies `wanted`.
int treasureOfKind(const QByteArray& scenario, const std::function<bool(int)>& wanted)
{
    for (int t = 0; t < kCount; ++t)
        if (wanted(byteAt(scenario, record(t) + kKind)))
            return t;
    qFatal("no such treasure in the demo");
}

}  // namespace

Q_DECLARE_METATYPE(varkel::Answer)

class TreasureTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString scenarioPath() const { return folder_->file(QStringLiteral("d_sce.vk")); }

    // The editor in its treasure mode, showing treasure t.
    std::unique_ptr<SaveGameEditor> openTreasure(int t)
    {
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        form->show();
        form->modes().Option3[1]->click();
        panel(*form)->List2->setCurrentRow(t);
        return form;
    }
    static TreasurePanel* panel(SaveGameEditor& f) { return f.modes().treasurePanel(); }
    static bool showsModified(SaveGameEditor& f) { return f.menus().tSaveFile->isEnabled(); }
    static void apply(SaveGameEditor& f) { panel(f)->Command7->click(); }

private slots:
    void init() { prepare(); }

    void modesFillTheirListsOncePerLoad()
    {
        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session_));
        QListWidget* treasures = panel(*form)->List2;
        QCOMPARE(treasures->count(), 0);  // not shown yet, so not filled
        form->modes().Option3[1]->click();
        QCOMPARE(treasures->count(), kCount);
        QCOMPARE(treasures->currentRow(), 0);
        const int owner = le16At(form->saveGame().bytes, ownerEntry(0));
        QCOMPARE(treasures->item(0)->text(), NumberedItem(0, 3,
                                                          PadRight(form->scenario().treasureNames[0], 12) +
                                                              QLatin1Char('\t') + form->tables().officerNames[owner]));

        // Switching back and forth fills nothing again.
        treasures->item(7)->setText(QStringLiteral("marker"));
        form->column().List1->item(3)->setText(QStringLiteral("marker"));
        form->modes().Option3[0]->click();
        QVERIFY(form->column().Label34->isVisibleTo(form.get()));
        form->modes().Option3[1]->click();
        QVERIFY(!form->column().Label34->isVisibleTo(form.get()));
        QCOMPARE(treasures->item(7)->text(), QStringLiteral("marker"));
        QCOMPARE(form->column().List1->item(3)->text(), QStringLiteral("marker"));

        // Another save: the officer mode shows, the treasure list fills with its owners.
        form->menus().sSavSum[3]->trigger();
        QVERIFY(form->modes().Option3[0]->isChecked());
        QVERIFY(form->column().List1->item(3)->text() != QStringLiteral("marker"));
        QCOMPARE(treasures->item(7)->text(), QStringLiteral("marker"));
        form->modes().Option3[1]->click();
        QVERIFY(treasures->item(7)->text() != QStringLiteral("marker"));
        QCOMPARE(treasures->count(), kCount);
    }

    void anEditChangesTheOwnerInTheSaveAndTheRestInTheScenario()
    {
        const int t = 3;
        auto form = openTreasure(t);
        TreasurePanel* p = panel(*form);
        const QByteArray save = form->saveGame().bytes;
        const QByteArray scenario = form->scenario().bytes;
        const int newOwner = 42;
        form->setPicker(test::ScriptedPicker(PickerKind::Officer, newOwner));

        test::Retype(p->Text4[0], QString());
        test::CommitText(p->Text4[0], QStringLiteral("金印"));
        test::Retype(p->Text4[1], QStringLiteral("1250"));
        p->Combo2[1]->setCurrentIndex(1);  // a weapon: points are its own
        test::Retype(p->Text4[2], QStringLiteral("12"));
        p->Combo2[2]->setCurrentIndex(kNoSkillItem);
        p->Command3->click();
        const int picture = p->currentPicture();
        p->Command2->click();
        QCOMPARE(p->Text4[3]->text(), form->tables().officerNames[newOwner]);
        QCOMPARE(form->saveGame().bytes, save);  // nothing is stored before Apply
        QVERIFY(!p->Command13->isEnabled());

        apply(*form);

        QVERIFY(prompter_.shown.empty());
        const qsizetype r = record(t);
        const TreasureRecord stored = DecodeTreasure(form->scenario().bytes, &form->saveGame().bytes, t);
        QCOMPARE(stored.name, QStringLiteral("金印"));
        QCOMPARE(stored.priceHundreds, 12);
        QCOMPARE(stored.kind, 1);
        QCOMPARE(stored.points, 12);
        QCOMPARE(stored.skill, kNoSkillByte);
        QCOMPARE(stored.picture, picture);
        QCOMPARE(stored.owner, newOwner);
        // Bytes 12 and 18..20 of the record and the owner entry's last two stay.
        for (qsizetype i = 0; i < scenario.size(); ++i)
            if (i < r || i >= r + kRecordSize || i == r + 12 || i >= r + 18)
                QVERIFY2(form->scenario().bytes[i] == scenario[i], qPrintable(QString::number(i)));
        for (qsizetype i = 0; i < save.size(); ++i)
            if (i < ownerEntry(t) || i > ownerEntry(t) + 1)
                QVERIFY2(form->saveGame().bytes[i] == save[i], qPrintable(QString::number(i)));
        QCOMPARE(p->List2->item(t)->text(), NumberedItem(t, 3,
                                                         PadRight(QStringLiteral("金印"), 12) + QLatin1Char('\t') +
                                                             form->tables().officerNames[newOwner]));
        QCOMPARE(p->Label17->text(), QStringLiteral("金印"));
        QVERIFY(p->Command13->isEnabled());
        QVERIFY(showsModified(*form));

        // Shown again: the price in hundreds, the name as typed.
        p->List2->setCurrentRow(t + 1);
        p->List2->setCurrentRow(t);
        QCOMPARE(p->Text4[1]->text(), QStringLiteral("1200"));
        QCOMPARE(p->Text4[0]->text(), QStringLiteral("金印"));
    }

    void writingTheScenarioAsksAndKeepsTheTail_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void writingTheScenarioAsksAndKeepsTheTail()
    {
        QFETCH(Answer, answer);
        // A longer scenario file: the editor owns its first 134,024 bytes only.
        const QByteArray tail("tail bytes the editor never reads");
        QByteArray original = test::FileBytes(scenarioPath()) + tail;
        test::WriteFileBytes(scenarioPath(), original);
        auto form = openTreasure(5);
        TreasurePanel* p = panel(*form);
        test::Retype(p->Text4[1], QStringLiteral("300"));
        apply(*form);
        prompter_.answers = {answer};

        p->Command13->click();

        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::ConfirmTreasureSave));
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Editor"));
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNo);
        const QByteArray onDisk = test::FileBytes(scenarioPath());
        if (answer == Answer::No) {
            QCOMPARE(onDisk, original);
            QVERIFY(p->Command13->isEnabled());
            return;
        }
        QCOMPARE(onDisk, form->scenario().bytes + tail);
        QCOMPARE(byteAt(onDisk, record(5) + kPrice), 3);
        QVERIFY(!p->Command13->isEnabled());
        QCOMPARE(test::FileBytes(session_.files.backupOf(scenarioPath())), original);
    }

    void aFailedScenarioWriteKeepsTheChangesAndTheButton()
    {
        auto form = openTreasure(5);
        TreasurePanel* p = panel(*form);
        test::Retype(p->Text4[1], QStringLiteral("300"));
        apply(*form);
        const QByteArray original = test::FileBytes(scenarioPath());
        const QByteArray buffer = form->scenario().bytes;
        test::FailingFileIo io;
        io.failAt(0);
        const auto usingIo = test::UseIo(session_.files, io);
        prompter_.answers = {Answer::Yes};

        p->Command13->click();

        session_.files.setIo(nullptr);
        QCOMPARE(prompter_.shown.size(), 2u);
        QCOMPARE(prompter_.shown[1].title, QStringLiteral("Varkel-Error"));
        QCOMPARE(test::FileBytes(scenarioPath()), original);
        QCOMPARE(form->scenario().bytes, buffer);
        QVERIFY(p->Command13->isEnabled());
        QVERIFY(form->isVisible());

        // The user tries again once the disk is back.
        prompter_.answers = {Answer::Yes};
        p->Command13->click();
        QCOMPARE(test::FileBytes(scenarioPath()), buffer);
        QVERIFY(!p->Command13->isEnabled());
    }

    void aScenarioChangedOutsideIsNotOverwrittenUnasked()
    {
        auto form = openTreasure(5);
        TreasurePanel* p = panel(*form);
        test::Retype(p->Text4[1], QStringLiteral("300"));
        apply(*form);
        QByteArray changed = test::FileBytes(scenarioPath());
        changed[0] = static_cast<char>(changed[0] ^ 0x55);
        test::WriteFileBytes(scenarioPath(), changed + "more");
        prompter_.answers = {Answer::Yes, Answer::No};

        p->Command13->click();

        QCOMPARE(prompter_.shown.size(), 2u);
        QCOMPARE(prompter_.shown[1].buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(prompter_.shown[1].defaultAnswer(), Answer::No);  // Enter does not overwrite
        QVERIFY(prompter_.shown[1].text.contains(QStringLiteral("d_sce.vk")));
        QCOMPARE(test::FileBytes(scenarioPath()), changed + "more");
        QVERIFY(p->Command13->isEnabled());
    }

    void valuesThatCannotBeStoredAreRefused_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("label");
        QTest::newRow("points above a byte") << 2 << "999" << "點數";
        QTest::newRow("empty points") << 2 << "" << "點數";
        QTest::newRow("empty price") << 1 << "" << "價格";
        QTest::newRow("empty name") << 0 << "" << "名稱";
    }
    void valuesThatCannotBeStoredAreRefused()
    {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, label);
        auto form = openTreasure(treasureOfKind(test::FileBytes(scenarioPath()), [](int k) { return k == 1; }));
        TreasurePanel* p = panel(*form);
        const QByteArray save = form->saveGame().bytes;
        const QByteArray scenario = form->scenario().bytes;
        test::Retype(p->Text4[1], QStringLiteral("700"));  // a valid change that must not be stored either
        test::Retype(p->Text4[box], typed);

        apply(*form);

        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Error"));
        QVERIFY(prompter_.shown[0].text.contains(label));
        QCOMPARE(form->saveGame().bytes, save);
        QCOMPARE(form->scenario().bytes, scenario);
        QVERIFY(!p->Command13->isEnabled());
        QVERIFY(!form->modified());
        QVERIFY(showsModified(*form));  // the typed edits stay and Save asks about them
        QVERIFY(form->isVisible());
    }

    void theKindDecidesThePointsShownAndStored_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("storedPoints");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("ability");
        QTest::addColumn<int>("afterApply");
        QTest::newRow("seal keeps its byte") << 9 << 37 << "100" << 3 << 37;
        QTest::newRow("weapon shows its own") << 1 << 12 << "12" << 0 << 12;
        QTest::newRow("history book") << 7 << 9 << "9" << 2 << 9;
        // Shown as 0; left as they were, the stored points stay.
        QTest::newRow("horse keeps its byte") << 0 << 30 << "0" << kNoAbility << 30;
        QTest::newRow("map keeps its byte") << 2 << 5 << "0" << kNoAbility << 5;
        QTest::newRow("ornament keeps its byte") << 11 << 5 << "0" << kNoAbility << 5;
        QTest::newRow("a weapon of exactly 100 keeps its byte") << 1 << 100 << "100" << 0 << 100;
    }
    void theKindDecidesThePointsShownAndStored()
    {
        QFETCH(int, kind);
        QFETCH(int, storedPoints);
        QFETCH(QString, shown);
        QFETCH(int, ability);
        QFETCH(int, afterApply);
        const int t = 20;
        QByteArray scenario = test::FileBytes(scenarioPath());
        setByte(scenario, record(t) + kKind, kind);
        setByte(scenario, record(t) + kPoints, storedPoints);
        test::WriteFileBytes(scenarioPath(), scenario);
        auto form = openTreasure(t);
        TreasurePanel* p = panel(*form);
        QCOMPARE(p->Text4[2]->text(), shown);
        QCOMPARE(p->Combo2[0]->currentIndex(), ability);

        apply(*form);

        QCOMPARE(byteAt(form->scenario().bytes, record(t) + kPoints), afterApply);
        // Choosing another kind applies the rule again, with the points last loaded.
        p->Combo2[1]->setCurrentIndex(9);
        QCOMPARE(p->Text4[2]->text(), QStringLiteral("100"));
        p->Combo2[1]->setCurrentIndex(4);
        QCOMPARE(p->Text4[2]->text(), QString::number(afterApply));
        QCOMPARE(p->Combo2[0]->currentIndex(), 1);
        // A kind the user chose that raises nothing stores 0.
        p->Combo2[1]->setCurrentIndex(kind == 0 ? 2 : 0);
        apply(*form);
        QCOMPARE(byteAt(form->scenario().bytes, record(t) + kPoints), 0);
    }

    void stepsAndTypedNumbersWrapThePicture_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("step");  // a button, or digits to type
        QTest::addColumn<int>("shown");
        QTest::newRow("< from 0") << 0 << "Command4" << 79;
        QTest::newRow("> > from 75") << 75 << "Command5" << 5;
        QTest::newRow("< < from 3") << 3 << "Command6" << 73;
        QTest::newRow("> from 79") << 79 << "Command3" << 0;
        QTest::newRow("typed 95") << 10 << "95" << 15;
        QTest::newRow("typed 42") << 10 << "42" << 42;
    }
    void stepsAndTypedNumbersWrapThePicture()
    {
        QFETCH(int, from);
        QFETCH(QString, step);
        QFETCH(int, shown);
        const int t = 30;
        QByteArray scenario = test::FileBytes(scenarioPath());
        setByte(scenario, record(t) + kPicture, from);
        test::WriteFileBytes(scenarioPath(), scenario);
        auto form = openTreasure(t);
        TreasurePanel* p = panel(*form);
        const QString note = p->Text6->toPlainText();
        QVERIFY(!note.isEmpty());

        if (step.startsWith(QLatin1String("Command"))) {
            p->findChild<QPushButton*>(step)->click();
        } else {
            test::Retype(p->Text7, step);
            QTest::keyClick(p->Text7, Qt::Key_Return);
        }

        QCOMPARE(p->currentPicture(), shown);
        QCOMPARE(p->Text7->text(), QString::number(shown));
        const QImage expected = QImage::fromData(TreasureBitmapBytes(session_.banks, shown), "BMP");
        QCOMPARE(p->Picture2->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(test::FileBytes(session_.tempFolder + QStringLiteral("tBaowu.bmp")),
                 TreasureBitmapBytes(session_.banks, shown));
        // Only the picture changes until Apply; the note stays the treasure's.
        QCOMPARE(p->Text6->toPlainText(), note);
        QCOMPARE(byteAt(form->scenario().bytes, record(t) + kPicture), from);
        apply(*form);
        QCOMPARE(byteAt(form->scenario().bytes, record(t) + kPicture), shown);
    }

    void anEmptyPictureNumberChangesNothing()
    {
        auto form = openTreasure(30);
        TreasurePanel* p = panel(*form);
        const int before = p->currentPicture();
        test::Retype(p->Text7, QString());
        QTest::keyClick(p->Text7, Qt::Key_Return);
        QCOMPARE(p->currentPicture(), before);
        QVERIFY(prompter_.shown.empty());
    }

    void oddStoredValuesAreShownRawAndKept()
    {
        const int t = 40;
        QByteArray scenario = test::FileBytes(scenarioPath());
        setByte(scenario, record(t) + kKind, 12);
        setByte(scenario, record(t) + kSkill, 30);
        setByte(scenario, record(t) + kPicture, 200);
        setByte(scenario, record(t) + kPoints, 77);
        test::WriteFileBytes(scenarioPath(), scenario);
        const QString newest = SaveGame::newestSlot(folder_->path());
        QByteArray save = test::FileBytes(newest);
        setLe16(save, ownerEntry(t), 1800);
        test::WriteFileBytes(newest, save);
        auto form = openTreasure(t);
        TreasurePanel* p = panel(*form);
        QCOMPARE(p->Combo2[1]->currentText(), QStringLiteral("12"));
        QCOMPARE(p->Combo2[2]->currentText(), QStringLiteral("30"));
        QCOMPARE(p->Combo2[0]->currentIndex(), kNoAbility);
        QCOMPARE(p->Text4[2]->text(), QStringLiteral("77"));
        QCOMPARE(p->Text4[3]->text(), QStringLiteral("1800"));
        QCOMPARE(p->Text7->text(), QStringLiteral("200"));
        const QByteArray scenarioBefore = form->scenario().bytes;
        const QByteArray saveBefore = form->saveGame().bytes;

        apply(*form);

        QVERIFY(prompter_.shown.empty());
        QCOMPARE(form->scenario().bytes, scenarioBefore);
        QCOMPARE(form->saveGame().bytes, saveBefore);
        // A step brings the picture into the bank.
        p->Command3->click();
        QCOMPARE(p->currentPicture(), 41);
    }

    void closingWithUnwrittenAttributesAsks_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("closed");
        QTest::newRow("yes writes") << Answer::Yes << true << true;
        QTest::newRow("no discards") << Answer::No << false << true;
        QTest::newRow("cancel stays") << Answer::Cancel << false << false;
    }
    void closingWithUnwrittenAttributesAsks()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, written);
        QFETCH(bool, closed);
        auto form = openTreasure(5);
        TreasurePanel* p = panel(*form);
        test::Retype(p->Text4[1], QStringLiteral("300"));
        apply(*form);
        const QByteArray original = test::FileBytes(scenarioPath());
        // The owner was left as it was, so the save has no question of its own.
        prompter_.answers = {answer};

        const bool didClose = form->close();

        QCOMPARE(prompter_.shown[0].text, GetResText(Text::ConfirmTreasureSave));
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(didClose, closed);
        QCOMPARE(test::FileBytes(scenarioPath()) != original, written);
        QCOMPARE(prompter_.shown.size(), 1u);
    }

    void aMissingNotesFileLeavesTheEditorOpen()
    {
        QFile::remove(folder_->file(QStringLiteral("m_msg.vk")));
        auto form = openTreasure(0);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Error"));
        QVERIFY(prompter_.shown[0].text.contains(QStringLiteral("m_msg.vk")));
        QCOMPARE(panel(*form)->Text6->toPlainText(), QString());
        QCOMPARE(panel(*form)->List2->count(), kCount);
    }
};

QTEST_MAIN(TreasureTest)
#include "treasure_uitest.moc"
