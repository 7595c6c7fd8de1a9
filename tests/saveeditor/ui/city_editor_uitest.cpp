// The city editor as a user meets it: replacing a head, the cities it cannot
// replace one in, bandits and their leader through the officer picker, the
// disaster flags, a refused Apply, and opening it (and the force editor) from the
// saved-game editor.
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "support/city_planting.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace varkel;
using varkel::city::record;
using namespace varkel::city;

class Form10Test : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveDocument> document_;
    SaveTables tables_;

    const QByteArray& save() const { return document_->bytes(); }
    void load(int slot = demo::kDemoNewestSlot)
    {
        document_ = test::SaveDocumentOf(test::FileBytes(SaveGame::slotPath(session_.gameFolder, slot)));
        tables_ = SaveTables::build(save());
    }
    CityOfficers officersOf(int c) const { return CityOfficersOf(save(), tables_.officerCount, c); }
    int cityOf(int n) const { return le16At(save(), save::locationEntry(n)) >> 4; }

    std::unique_ptr<CityEditor> open(int picked = -1)
    {
        auto form = std::make_unique<CityEditor>(session_, *document_, QStringList(),
                                             test::ScriptedPicker(PickerKind::Officer, picked));
        form->show();
        return form;
    }

    QString name(int n) const { return tables_.officerNames[n]; }
    static QStringList items(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static void apply(CityEditor& f) { QTest::mouseClick(f.Command2, Qt::LeftButton); }

private slots:
    void init()
    {
        prepare();
        load();
    }

    // The governor's and the commander's city: the old head becomes ordinary, the
    // new one takes its status; only the two status words change.
    void headChangeThroughCombo3()
    {
        auto form = open();
        QSignalSpy applied(form.get(), &CityEditor::applied);
        const CityOfficers governed = officersOf(demo::kDemoGovernedCity);
        QCOMPARE(governed.head, demo::kDemoGovernor);
        QVERIFY(governed.candidates.size() >= 2);
        for (const int outside : {demo::kDemoAwayOfficer, demo::kDemoUnservingOfficer})
            QVERIFY(std::find(governed.candidates.begin(), governed.candidates.end(), outside) ==
                    governed.candidates.end());
        form->List1->setCurrentRow(demo::kDemoGovernedCity);
        QStringList names;
        for (const int n : governed.candidates)
            names << name(n);
        QCOMPARE(items(form->Combo3), names);
        QCOMPARE(form->Combo3->currentText(), name(demo::kDemoGovernor));
        QVERIFY(form->Combo3->isEnabled());

        const int newHead = governed.candidates[0] == demo::kDemoGovernor ? governed.candidates[1]
                                                                          : governed.candidates[0];
        const int before = test::StatusCode(save(), newHead);
        QVERIFY(before == 3 || before == 4);
        const QByteArray bytes = save();
        form->Combo3->setCurrentIndex(int(names.indexOf(name(newHead))));
        apply(*form);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(test::StatusCode(save(), demo::kDemoGovernor), kOrdinary);
        QCOMPARE(test::StatusCode(save(), newHead), kGovernor);
        QByteArray expected = bytes;
        for (const int n : {demo::kDemoGovernor, newHead})
            expected.replace(save::statusBlock(n) + 50, 2, save().mid(save::statusBlock(n) + 50, 2));
        QVERIFY(save() == expected);
        QCOMPARE(form->Combo3->currentText(), name(newHead));

        // A corps commander's city: its corps row is fixed, and the new head takes the corps over.
        const int seat = cityOf(demo::kDemoCommanderIn700s);
        const int corps = byteAt(save(), record(seat) + city::kCorps);
        const CityOfficers commanded = officersOf(seat);
        QCOMPARE(commanded.head, demo::kDemoCommanderIn700s);
        const auto other = std::find_if(commanded.candidates.begin(), commanded.candidates.end(),
                                        [](int n) { return n != demo::kDemoCommanderIn700s; });
        QVERIFY(other != commanded.candidates.end());
        form->List1->setCurrentRow(seat);
        QVERIFY(!form->Combo2->isEnabled());
        QCOMPARE(form->Combo2->currentText(),
                 FormatNumber(corps, 2) + QLatin1Char(':') + name(demo::kDemoCommanderIn700s));
        form->Combo3->setCurrentIndex(int(items(form->Combo3).indexOf(name(*other))));
        apply(*form);
        QCOMPARE(test::StatusCode(save(), demo::kDemoCommanderIn700s), kOrdinary);
        QCOMPARE(test::StatusCode(save(), *other), kCorpsCommander);
        QCOMPARE(form->Combo2->currentText(), FormatNumber(corps, 2) + QLatin1Char(':') + name(*other));
    }

    // Cities whose head cannot be replaced here, and stored corps outside the force's rows.
    void citiesWithoutAReplaceableHead()
    {
        const QString none = GetResText(Text::Nothing);
        const int rulerCorps = byteAt(save(), record(0) + city::kCorps);
        const CityOfficers headless = officersOf(demo::kDemoCityWithoutHead);
        QStringList headlessRows{none};
        for (const int n : headless.candidates)
            headlessRows << name(n);
        const struct {
            int slot, city;
            QStringList heads;
            QString corps;
            bool corpsEnabled;
        } rows[] = {
            {demo::kDemoNewestSlot,
             0,
             {},
             FormatNumber(rulerCorps, 2) + QLatin1Char(':') + tables_.officerNames[0],
             false},
            {demo::kDemoNewestSlot, demo::kDemoCityWithoutHead, headlessRows, {}, false},
            {demo::kDemoNewestSlot, demo::kDemoCityWithoutCorps, {none}, QStringLiteral("68:") + none, false},
            {demo::kDemoOddCitySlot, demo::kDemoCityWithOddCorps, {}, QStringLiteral("70:"), false},
        };
        for (const auto& row : rows) {
            load(row.slot);
            auto form = open();
            form->List1->setCurrentRow(row.city);
            if (!row.heads.isEmpty())
                QCOMPARE(items(form->Combo3), row.heads);
            // A city of an odd corps may still have its governor replaced.
            if (row.city != demo::kDemoCityWithOddCorps)
                QVERIFY(!form->Combo3->isEnabled());
            if (!row.corps.isEmpty())
                QCOMPARE(form->Combo2->currentText(), row.corps);
            if (row.city != demo::kDemoCityWithoutHead)
                QCOMPARE(form->Combo2->isEnabled(), row.corpsEnabled);
            const QByteArray before = save();
            apply(*form);
            QVERIFY(save() == before);
        }
        QCOMPARE(headless.head, -1);
        QVERIFY(!headless.candidates.empty());
    }

    void banditsAndTheirLeaderThroughThePicker()
    {
        const int c = demo::kDemoCityWithoutBandits;
        const int leader = demo::kDemoGovernor;
        auto form = open(leader);
        form->List1->setCurrentRow(c);
        QVERIFY(!form->Check2->isChecked());
        QVERIFY(!form->Text1->isEnabled() && !form->Command1->isEnabled());
        form->Check2->click();
        QVERIFY(form->Text1->isEnabled() && form->Command1->isEnabled());
        test::Retype(form->Text1, QStringLiteral("105"));
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Text2->text(), name(leader));
        apply(*form);
        QCOMPARE(byteAt(save(), record(c) + kBanditStrength), 5);
        QCOMPARE(le16At(save(), record(c) + kBanditLeader), leader);
        QCOMPARE(byteAt(save(), record(c) + kBandits), kBanditsPresent);
        QCOMPARE(form->Text1->text(), QStringLiteral("100"));

        // Cancelling the picker keeps the leader; unticking clears strength and leader.
        auto cancelling = open(-1);
        cancelling->List1->setCurrentRow(c);
        QTest::mouseClick(cancelling->Command1, Qt::LeftButton);
        QCOMPARE(cancelling->Text2->text(), name(leader));
        cancelling->Check2->click();
        QCOMPARE(cancelling->Text1->text(), QStringLiteral("0"));
        QVERIFY(cancelling->Text2->text().isEmpty());
        apply(*cancelling);
        QCOMPARE(save().mid(record(c) + kBanditLeader, 2), QByteArray("\xB8\x06", 2));
        QCOMPARE(byteAt(save(), record(c) + kBandits), 0);
        QCOMPARE(byteAt(save(), record(c) + kBanditStrength), 0);
    }

    // What the user left alone keeps its stored value: 5100 men, the mark 1, leader 1800.
    void untouchedOddValuesAreKept()
    {
        const struct {
            int slot, city;
            qsizetype offset;
            int width;
            QString shown;
        } rows[] = {
            {demo::kDemoNewestSlot, demo::kDemoLeaderlessBanditCity, kBanditStrength, 1, QStringLiteral("5100")},
            {demo::kDemoNewestSlot, demo::kDemoBanditCityMarkedOne, kBandits, 1, {}},
            {demo::kDemoOddCitySlot, demo::kDemoCityWithOddBanditLeader, kBanditLeader, 2, QStringLiteral("1800")},
        };
        for (const auto& row : rows) {
            load(row.slot);
            auto form = open();
            form->List1->setCurrentRow(row.city);
            QVERIFY(form->Check2->isChecked());
            QLineEdit* box = row.offset == kBanditLeader ? form->Text2 : form->Text1;
            if (!row.shown.isEmpty())
                QCOMPARE(box->text(), row.shown);
            const QByteArray stored = save().mid(record(row.city) + row.offset, row.width);
            form->Check1[0]->setChecked(!form->Check1[0]->isChecked());
            apply(*form);
            QCOMPARE(save().mid(record(row.city) + row.offset, row.width), stored);
        }
    }

    void everyDisasterFlag()
    {
        const int c = demo::kDemoDisasterCities[8];
        QCOMPARE(byteAt(save(), record(c) + kDisasters), 0xFF);
        auto form = open();
        form->List1->setCurrentRow(c);
        for (QCheckBox* box : form->Check1)
            QVERIFY(box->isChecked());
        for (int k = 0; k < kDisasterCount; ++k) {
            for (int j = 0; j < kDisasterCount; ++j)
                form->Check1[j]->setChecked(j == k);
            apply(*form);
            QCOMPARE(byteAt(save(), record(c) + kDisasters), 0x03 | 1 << (k + 2));
        }
        for (int k = 0; k < kDisasterCount; ++k) {
            form->List1->setCurrentRow(demo::kDemoDisasterCities[k]);
            for (int j = 0; j < kDisasterCount; ++j)
                QCOMPARE(form->Check1[j]->isChecked(), j == k);
        }
    }

    void emptyStrengthIsRefused()
    {
        auto form = open();
        QSignalSpy applied(form.get(), &CityEditor::applied);
        form->List1->setCurrentRow(demo::kDemoBanditCity);
        form->Text1->selectAll();
        QTest::keyClick(form->Text1, Qt::Key_Backspace);
        QTest::keyClicks(form->Text1, QStringLiteral("ab"));  // letters do not go in
        QVERIFY(form->Text1->text().isEmpty());
        const QByteArray before = save();
        apply(*form);
        QVERIFY(save() == before);
        QCOMPARE(applied.count(), 0);
        QCOMPARE(prompter_.shown.size(), std::size_t(1));
        QVERIFY(prompter_.shown[0].text.contains(QStringLiteral("盜賊數量")));
    }

    // Both editors open from the "其它" menu and mark the save modified on Apply.
    void openedFromTheSaveEditorsMenu()
    {
        std::unique_ptr<SaveGameEditor> editor(SaveGameEditor::open(session_));
        QVERIFY(editor);
        QStringList opened;
        editor->setSideWindowRunner([&](QDialog& window) {
            opened << window.objectName();
            if (auto* cities = qobject_cast<CityEditor*>(&window)) {
                cities->Check1[0]->setChecked(!cities->Check1[0]->isChecked());
                cities->applySelected();
            } else if (auto* forces = qobject_cast<ForceEditor*>(&window)) {
                QVERIFY(!forces->windowTitle().isEmpty());
            }
        });
        editor->menus().sBingQi->trigger();
        QVERIFY(!editor->modified());
        editor->menus().sCity->trigger();
        QCOMPARE(opened, (QStringList{QStringLiteral("Form9"), QStringLiteral("Form10")}));
        QVERIFY(editor->modified());
        QCOMPARE(byteAt(editor->saveGame().bytes, record(0) + kDisasters) & 0x04,
                 (byteAt(test::FileBytes(editor->saveGame().path), record(0) + kDisasters) & 0x04) ^ 0x04);
    }
};

QTEST_MAIN(Form10Test)
#include "city_editor_uitest.moc"
