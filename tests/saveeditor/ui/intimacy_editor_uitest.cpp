// The intimacy editor as a user meets it: ticking rows and applying one level to
// them, the special persons, ticking all or none, and the name search.
#include "demo_folder/demo_folder.h"
#include "saveeditor/intimacy_stream.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace varkel;

class Form8Test : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveDocument> document_;
    SaveTables tables_;

    const QByteArray& save() const { return document_->bytes(); }

    // The editor over the newest demo save, for controlled-officer slot 0.
    std::unique_ptr<IntimacyEditor> openSlot0()
    {
        document_ =
            test::SaveDocumentOf(test::FileBytes(SaveGame::slotPath(session_.gameFolder, demo::kDemoNewestSlot)));
        tables_ = SaveTables::build(save());
        auto form = std::make_unique<IntimacyEditor>(session_, *document_, 0);
        form->show();
        return form;
    }

    static void tick(IntimacyEditor& f, int row) { f.List1->item(row)->setCheckState(Qt::Checked); }

private slots:
    void init() { prepare(); }

    void oneLevelGoesToExactlyTheTickedRows()
    {
        auto form = openSlot0();
        const QByteArray before = save();
        QVERIFY(!form->Command1->isEnabled());
        for (const int row : {2, 40, 300})
            tick(*form, row);
        QCOMPARE(form->Label2->text(),
                 GetResText(Text::SelectedCount) + QStringLiteral(": 3") + GetResText(Text::SelectedOfficers));
        QVERIFY(form->Command1->isEnabled());
        form->List1->setCurrentRow(40);
        form->Combo1->setCurrentIndex(30);
        QTest::mouseClick(form->Command1, Qt::LeftButton);

        const LevelStream stream = GeneralStream(0);
        for (int k = 0; k < stream.count; ++k) {
            const bool ticked = k == 2 || k == 40 || k == 300;
            QCOMPARE(stream.read(save(), k), ticked ? std::optional<int>(30) : stream.read(before, k));
        }
        // Nothing outside the stream changed.
        QVERIFY(save().left(stream.offset) == before.left(stream.offset));
        QVERIFY(save().mid(stream.offset + intimacy::kGeneralStreamSize) ==
                before.mid(stream.offset + intimacy::kGeneralStreamSize));
        QCOMPARE(form->tickedCount(), 0);
        QCOMPARE(form->Label2->text(),
                 GetResText(Text::SelectedCount) + QStringLiteral(": 0") + GetResText(Text::SelectedOfficers));
        QVERIFY(!form->Command1->isEnabled());
        QCOMPARE(form->List1->currentRow(), 40);
        QVERIFY(form->List1->item(40)->text().endsWith(GetResText(342)));
    }

    void theSpecialPersonsAreSevenRows()
    {
        auto form = openSlot0();
        QCOMPARE(form->List1->count(), GeneralListRows(tables_.officerCount));
        form->Option2->click();
        QCOMPARE(form->List1->count(), 7);
        for (int k = 0; k < 7; ++k)
            QVERIFY(form->List1->item(k)->text().startsWith(tables_.officerNames.value(intimacy::kSpecialPersons[k])));
        tick(*form, 6);
        form->Combo1->setCurrentIndex(3);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(SpecialStream(0).read(save(), 6), std::optional<int>(3));
    }

    void allOrNoneAreTicked()
    {
        auto form = openSlot0();
        form->List1->setCurrentRow(9);
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(form->tickedCount(), form->List1->count());
        QCOMPARE(form->List1->currentRow(), 9);
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        QCOMPARE(form->tickedCount(), 0);
        QCOMPARE(form->List1->currentRow(), 0);
        QVERIFY(!form->Command1->isEnabled());
    }

    void theNameSearchWrapsAround()
    {
        auto form = openSlot0();
        // The name of the last row, found again from the last row after wrapping.
        const int last = form->List1->count() - 1;
        const QString name = tables_.officerNames.value(*GeneralPositionOfficer(save(), last));
        QVERIFY(!name.isEmpty());
        form->List1->setCurrentRow(last);
        test::CommitText(form->Text1, name);
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QVERIFY(form->List1->item(form->List1->currentRow())->text().startsWith(name));
        QTest::keyClicks(form->Text1, QStringLiteral("ab1"));  // only double-byte characters
        QCOMPARE(form->Text1->text(), name);
        form->Text1->clear();
        test::CommitText(form->Text1, QStringLiteral("龘"));
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::OfficerNotFound));
    }

    // From the officer view of a controlled officer; an Apply marks the save modified.
    void itOpensForAControlledOfficerAndMarksTheSave()
    {
        std::unique_ptr<SaveGameEditor> editor(SaveGameEditor::open(session_));
        QVERIFY(editor);
        editor->show();
        const int officer = editor->tables().controlled[0];
        editor->column().List1->setCurrentRow(officer);
        bool shown = false;
        editor->setSideWindowRunner([&](QDialog& window) {
            auto& f = dynamic_cast<IntimacyEditor&>(window);
            shown = true;
            f.List1->item(0)->setCheckState(Qt::Checked);
            f.Combo1->setCurrentIndex(5);
            f.applyLevelToTicked();
        });
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command10")), Qt::LeftButton);
        QVERIFY(shown);
        QVERIFY(editor->modified());
        QCOMPARE(GeneralStream(0).read(editor->saveGame().bytes, 0), std::optional<int>(5));
    }
};

QTEST_MAIN(Form8Test)
#include "intimacy_editor_uitest.moc"
