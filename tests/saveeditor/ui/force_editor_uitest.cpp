// The force editor as a user meets it: troop types, machines, technology and rank
// stored and read back, and the state name box that takes Chinese only.
#include "demo_folder/demo_folder.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/force_editor.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace varkel;
using namespace varkel::force;

class Form9Test : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QByteArray opened_;  // the save as the window opens it
    std::unique_ptr<SaveDocument> document_;
    SaveTables tables_;
    QStringList ranks_;

    const QByteArray& save() const { return document_ ? document_->bytes() : opened_; }
    std::unique_ptr<ForceEditor> open()
    {
        document_ = test::SaveDocumentOf(opened_);
        tables_ = SaveTables::build(save());
        for (int i = 0; i < kRankCount; ++i)
            ranks_ << QStringLiteral("官%1").arg(i);
        auto form = std::make_unique<ForceEditor>(prompter_, *document_, ranks_);
        form->show();
        return form;
    }
    int at(int s, qsizetype b) const { return byteAt(save(), record(s) + b); }
    void put(int s, qsizetype b, int v) { setByte(opened_, record(s) + b, v); }

private slots:
    void init()
    {
        prepare();
        document_.reset();
        opened_ = test::FileBytes(SaveGame::slotPath(session_.gameFolder, demo::kDemoNewestSlot));
    }

    void listsTheForcesWithALeader()
    {
        auto form = open();
        int rows = 0;
        for (int s = 0; s < kCount; ++s)
            rows += tables_.forceNames[s].isEmpty() ? 0 : 1;
        QCOMPARE(form->List1->count(), rows);
        QVERIFY(form->List1->item(0)->text().startsWith(QStringLiteral("00:") + tables_.forceNames[0]));
    }

    // Each tick pattern goes into bytes 28 and 29 and reads back; bits 6-7 of 29 stay.
    void troopTypesAndMachinesRoundTrip()
    {
        put(0, kMachines, 0xC0);
        put(0, kTroops, 0x00);
        auto form = open();
        QSignalSpy applied(form.get(), &ForceEditor::applied);
        form->List1->setCurrentRow(0);
        for (QCheckBox* box : form->Check2)
            QVERIFY(!box->isChecked());  // bits 6-7 are no machine
        const struct {
            std::vector<int> troops, machines;
            int byte28, byte29;
        } rows[] = {
            {{0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2, 3, 4}, 0xFF, 0xFF},
            {{8}, {}, 0x00, 0xC1},
            {{0, 7}, {4}, 0x81, 0xE0},
            {{}, {}, 0x00, 0xC0},
        };
        for (const auto& row : rows) {
            for (int k = 0; k < kTroopTypeCount; ++k)
                form->Check1[k]->setChecked(std::find(row.troops.begin(), row.troops.end(), k) != row.troops.end());
            for (int k = 0; k < kMachineCount; ++k)
                form->Check2[k]->setChecked(std::find(row.machines.begin(), row.machines.end(), k) !=
                                            row.machines.end());
            QTest::mouseClick(form->Command1, Qt::LeftButton);
            QCOMPARE(at(0, kTroops), row.byte28);
            QCOMPARE(at(0, kMachines), row.byte29);
            form->List1->setCurrentRow(1);
            form->List1->setCurrentRow(0);
            for (int k = 0; k < kTroopTypeCount; ++k)
                QCOMPARE(form->Check1[k]->isChecked(),
                         std::find(row.troops.begin(), row.troops.end(), k) != row.troops.end());
        }
        QCOMPARE(applied.count(), 4);
    }

    void technologyAndRankKeepTheirOtherBits()
    {
        put(0, kTechnology, 0xE5);
        put(0, kRank, 0x83);
        auto form = open();
        form->List1->setCurrentRow(0);
        QCOMPARE(form->Combo2->currentText(), QStringLiteral("8"));
        QCOMPARE(form->Combo1->currentText(), ranks_[0]);
        form->Combo2->setCurrentIndex(0);
        form->Combo1->setCurrentIndex(5);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(at(0, kTechnology), 0x05);
        QCOMPARE(at(0, kRank), 0x97);
    }

    // Latin letters and digits never reach the name; Chinese does, and a short name ends with its 0.
    void stateNameTakesChineseOnly()
    {
        auto form = open();
        form->List1->setCurrentRow(1);
        const QString before = form->Text1->text();
        form->Text1->setFocus();
        QTest::keyClicks(form->Text1, QStringLiteral("abc12"));
        QCOMPARE(form->Text1->text(), before);
        const QByteArray unchanged = save();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(save() == unchanged);

        form->Text1->selectAll();
        QTest::keyClick(form->Text1, Qt::Key_Backspace);
        test::CommitText(form->Text1, QStringLiteral("吳國公"));
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(DecodeForce(save(), 1).name, QStringLiteral("吳國公"));
        QCOMPARE(at(1, 6), 0);
        QCOMPARE(form->Text1->text(), QStringLiteral("吳國公"));
    }
};

QTEST_MAIN(Form9Test)
#include "force_editor_uitest.moc"
