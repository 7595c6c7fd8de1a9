// The relationship view as a user meets it: the list, changing a party through
// the officer picker (or cancelling it), the kind list and Apply into all eight
// copies of the table.
#include "demo_folder/demo_folder.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/relation_panel.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace varkel;

class RelationTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    // The editor on the newest save in its relationship mode, showing record i.
    std::unique_ptr<SaveGameEditor> openRelations(int i)
    {
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        form->show();
        form->modes().Option3[2]->click();
        form->modes().relationPanel()->List3->setCurrentRow(i);
        return form;
    }

    static RelationPanel& panel(SaveGameEditor& f) { return *f.modes().relationPanel(); }
    static void apply(SaveGameEditor& f) { QTest::mouseClick(panel(f).Command7, Qt::LeftButton); }

    // The picker picks `officer` (negative: the user cancels).
    static void pickWith(SaveGameEditor& f, int officer)
    {
        f.setPicker(test::ScriptedPicker(PickerKind::Officer, officer));
    }

    // Record i read from each of the eight copies.
    static std::vector<QByteArray> copies(const QByteArray& save, int i)
    {
        std::vector<QByteArray> bytes;
        for (int c = 0; c < relation::kCopyCount; ++c)
            bytes.push_back(save.mid(relation::record(i, c), 4));
        return bytes;
    }

private slots:
    void init() { prepare(); }

    void theListShowsEveryRecord()
    {
        auto form = openRelations(0);
        QListWidget* list = panel(*form).List3;
        QCOMPARE(list->count(), relation::kCount);
        const SaveTables& t = form->tables();
        for (int i = 0; i < relation::kCount; ++i)
            QCOMPARE(list->item(i)->text(),
                     RelationRowText(i, DecodeRelation(form->saveGame().bytes, t.officerCount, i), t.officerNames));
    }

    // A party changed through the picker reaches all eight copies on Apply; a
    // cancelled picker leaves it; no officer makes the record empty.
    void aPartyIsChangedThroughThePicker_data()
    {
        QTest::addColumn<int>("party");
        QTest::addColumn<int>("picked");  // -1: cancelled; 1720: the no-officer item
        QTest::addColumn<bool>("cleared");
        QTest::newRow("A becomes officer 5") << 0 << 5 << false;
        QTest::newRow("B becomes officer 7") << 1 << 7 << false;
        QTest::newRow("cancelled") << 0 << -1 << false;
        QTest::newRow("A becomes no officer") << 0 << 1720 << true;
    }

    void aPartyIsChangedThroughThePicker()
    {
        QFETCH(int, party);
        QFETCH(int, picked);
        QFETCH(bool, cleared);
        auto form = openRelations(3);
        panel(*form).Combo4->setCurrentIndex(relation::kSworn);
        const Relation before = panel(*form).current();
        pickWith(*form, picked);
        QTest::mouseClick(panel(*form).Command12[std::size_t(party)], Qt::LeftButton);
        const QString shownName = panel(*form).Label19[std::size_t(party)]->text();
        apply(*form);
        QVERIFY(form->modified());

        const QByteArray& save = form->saveGame().bytes;
        const Relation stored = DecodeRelation(save, form->tables().officerCount, 3);
        const auto all = copies(save, 3);
        for (const QByteArray& copy : all)
            QCOMPARE(copy, all[0]);
        if (cleared) {
            QCOMPARE(all[0], QByteArray("\xFF\xFF\xFF\x3F", 4));
            QCOMPARE(panel(*form).List3->item(3)->text(), EmptyRelationRowText(3));
            QVERIFY(shownName.isEmpty());
            return;
        }
        const int expected = picked < 0 ? (party == 0 ? before.a : before.b) : picked;
        QCOMPARE(party == 0 ? stored.a : stored.b, expected);
        QCOMPARE(stored.kind, int(relation::kSworn));
        if (picked >= 0)
            QCOMPARE(shownName, form->tables().officerNames.value(picked));
    }

    // Parties outside the save's officers show no face and no name, only their
    // stored number, and an Apply of another change keeps them.
    void aPartyOutsideTheOfficersIsShownRawAndKept()
    {
        const QString path = SaveGame::slotPath(session_.gameFolder, demo::kDemoNewestSlot);
        QByteArray file = test::FileBytes(path);
        const int outside = SaveTables::build(file).officerCount + 20;
        EncodeRelation(file, 7, Relation{12, 14, outside, relation::kFeud});
        QVERIFY(test::WriteFileBytes(path, file));
        auto form = openRelations(7);
        RelationPanel& p = panel(*form);
        QCOMPARE(p.Label19[2]->text(), QString::number(outside));
        QVERIFY(p.Picture3[2]->pixmap().isNull());
        QVERIFY(!p.Picture3[0]->pixmap().isNull());
        pickWith(*form, 15);
        QTest::mouseClick(p.Command12[1], Qt::LeftButton);
        apply(*form);
        QCOMPARE(DecodeRelation(form->saveGame().bytes, form->tables().officerCount, 7),
                 (Relation{12, 15, outside, relation::kFeud}));
    }

    void onlyAFeudHasAThirdPartyToChange()
    {
        auto form = openRelations(5);
        for (int kind = 0; kind < relation::kKindCount; ++kind) {
            panel(*form).Combo4->setCurrentIndex(kind);
            QCOMPARE(panel(*form).Command12[2]->isEnabled(), kind == relation::kFeud);
        }
    }

    void theNoneKindClearsEveryCopy()
    {
        auto form = openRelations(1);
        pickWith(*form, 4);
        QTest::mouseClick(panel(*form).Command12[0], Qt::LeftButton);
        pickWith(*form, 9);
        QTest::mouseClick(panel(*form).Command12[1], Qt::LeftButton);
        panel(*form).Combo4->setCurrentIndex(relation::kMarried);
        apply(*form);
        QVERIFY(DecodeRelation(form->saveGame().bytes, form->tables().officerCount, 1).kind == relation::kMarried);

        panel(*form).Combo4->setCurrentIndex(relation::kNone);
        apply(*form);
        for (const QByteArray& copy : copies(form->saveGame().bytes, 1))
            QCOMPARE(copy, QByteArray("\xFF\xFF\xFF\x3F", 4));
        QCOMPARE(panel(*form).List3->item(1)->text(), EmptyRelationRowText(1));
        // Shown again, the record has no kind and no faces.
        panel(*form).List3->setCurrentRow(0);
        panel(*form).List3->setCurrentRow(1);
        QCOMPARE(panel(*form).Combo4->currentIndex(), int(relation::kNone));
        QVERIFY(panel(*form).Picture3[0]->pixmap().isNull());
    }
};

QTEST_MAIN(RelationTest)
#include "relation_uitest.moc"
