// The officer view's commands that change the save at once (taking and giving up
// control, forcing an appearance), "戰技全滿", the mode switch, and what an Apply
// leaves alone.
#include "demo_folder/demo_folder.h"
#include "saveeditor/control.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <set>

using namespace varkel;

namespace {

std::set<qsizetype> changedBytes(const QByteArray& a, const QByteArray& b)
{
    std::set<qsizetype> changed;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            changed.insert(i);
    return changed;
}

// "P54" is byte 54 of officer n's person block, "S80-81" bytes 80 and 81 of its
// status block, "F1876" byte 1876 of the file.
std::set<qsizetype> bytesNamed(const QStringList& names, int n)
{
    std::set<qsizetype> bytes;
    for (const QString& name : names) {
        const QStringList range = name.mid(1).split(QLatin1Char('-'));
        const int from = range[0].toInt(), to = range.value(1, range[0]).toInt();
        const qsizetype base = name[0] == QLatin1Char('P')   ? save::personBlock(n)
                               : name[0] == QLatin1Char('S') ? save::statusBlock(n)
                                                             : 0;
        for (int i = from; i <= to; ++i)
            bytes.insert(base + i);
    }
    return bytes;
}

int statusCode(const QByteArray& save, int n)
{
    return DecodeStatusBlock(save, save::statusBlock(n)).status;
}

int entriesNaming(const QByteArray& save, int officer)
{
    int entries = 0;
    for (int j = 0; j < 860; ++j)
        entries += le16At(save, save::kPersonMapOffset + 2 * j) == officer ? 1 : 0;
    return entries;
}

}  // namespace

Q_DECLARE_METATYPE(varkel::Answer)

class OfficerControlTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString slot(int k) const { return SaveGame::slotPath(session_.gameFolder, k); }

    // The editor on save slot k.
    std::unique_ptr<SaveGameEditor> openSlot(int k)
    {
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        if (k != demo::kDemoNewestSlot)
            control<QAction>(*form, QStringLiteral("sSavSum(%1)").arg(k))->trigger();
        if (form->saveGame().path != slot(k))
            qFatal("slot %d did not open", k);
        return form;
    }

    static QListWidget* list(SaveGameEditor& f) { return control<QListWidget>(f, QStringLiteral("List1")); }
    static QCheckBox* check5(SaveGameEditor& f) { return control<QCheckBox>(f, QStringLiteral("Check5")); }
    static QComboBox* combo10(SaveGameEditor& f) { return control<QComboBox>(f, QStringLiteral("Combo10")); }
    static QString frame26(SaveGameEditor& f) { return control<QGroupBox>(f, QStringLiteral("Frame26"))->title(); }
    static QPushButton* button(SaveGameEditor& f, const QString& name) { return control<QPushButton>(f, name); }
    static bool showsModified(SaveGameEditor& f)
    {
        return control<QAction>(f, QStringLiteral("tSaveFile"))->isEnabled();
    }

    // An officer the view lets one take control of: listed, not controlled, in the game.
    static int controllableOfficer(const SaveGameEditor& f)
    {
        for (int n = 1; n < f.tables().officerCount; ++n)
            if (statusCode(f.saveGame().bytes, n) < 8 && !f.tables().isControlled(n) &&
                PersonNumberOf(f.saveGame().bytes, n) >= 0)
                return n;
        qFatal("no officer to control");
    }
    static void show(SaveGameEditor& f, int n) { list(f)->setCurrentRow(n); }

    void expectOneMessage(int text, MessageButtons buttons, MessageIcon icon)
    {
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(text));
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Varkel-Editor"));
        QCOMPARE(prompter_.shown[0].buttons, buttons);
        QCOMPARE(prompter_.shown[0].icon, icon);
    }

private slots:
    void init() { prepare(); }

    void takingControlAsksFirst_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void takingControlAsksFirst()
    {
        QFETCH(Answer, answer);
        // Slot 2 of the newest save names an officer whose flag is clear: it is the
        // lowest free slot, between slots that hold officers.
        auto form = openSlot(demo::kDemoNewestSlot);
        QCOMPARE(form->tables().controlled[2], save::kNoControlledOfficer);
        const int controlledBefore = combo10(*form)->count();
        const int n = controllableOfficer(*form);
        show(*form, n);
        QVERIFY(check5(*form)->isEnabled());
        QVERIFY(!check5(*form)->isChecked());
        const QByteArray before = form->saveGame().bytes;
        prompter_.answers = {answer};

        check5(*form)->click();

        expectOneMessage(262, MessageButtons::YesNo, MessageIcon::Question);
        const QByteArray& after = form->saveGame().bytes;
        if (answer == Answer::No) {
            QVERIFY(!check5(*form)->isChecked());
            QVERIFY(after == before);
            QVERIFY(!showsModified(*form));
            QCOMPARE(combo10(*form)->count(), controlledBefore);
            return;
        }
        const int person = PersonNumberOf(before, n);
        const qsizetype slot2 = save::playerPerson(2);
        QCOMPARE(le16At(after, slot2), person);
        const std::set<qsizetype> allowed = {save::statusBlock(n) + 50, slot2, slot2 + 1};
        for (const qsizetype at : changedBytes(before, after))
            QVERIFY2(allowed.count(at), qPrintable(QString::number(at)));
        QVERIFY(DecodeStatusBlock(after, save::statusBlock(n)).controlled);
        QVERIFY(check5(*form)->isChecked());
        QCOMPARE(combo10(*form)->count(), controlledBefore + 1);
        QCOMPARE(combo10(*form)->currentIndex(), 2);
        QCOMPARE(combo10(*form)->currentText(), NumberedItem(n, 3, form->tables().officerNames[n]));
        QCOMPARE(frame26(*form), QStringLiteral("擔當武將(%1)").arg(controlledBefore + 1));
        QCOMPARE(list(*form)->currentRow(), n);
        QVERIFY(showsModified(*form));
        // A controlled officer has its intimacy editor.
        QVERIFY(button(*form, QStringLiteral("Command10"))->isEnabled());
    }

    void givingUpControlAsksFirst_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void givingUpControlAsksFirst()
    {
        QFETCH(Answer, answer);
        auto form = openSlot(demo::kDemoNewestSlot);
        const int controlledBefore = combo10(*form)->count();
        const int n = form->tables().controlled[1];  // not the current officer, who is slot 0's
        show(*form, n);
        QVERIFY(check5(*form)->isChecked());
        const QByteArray before = form->saveGame().bytes;
        prompter_.answers = {answer};

        check5(*form)->click();

        expectOneMessage(263, MessageButtons::YesNo, MessageIcon::Question);
        const QByteArray& after = form->saveGame().bytes;
        if (answer == Answer::No) {
            QVERIFY(check5(*form)->isChecked());
            QVERIFY(after == before);
            QVERIFY(!showsModified(*form));
            return;
        }
        const qsizetype slot1 = save::playerPerson(1);
        QCOMPARE(byteAt(after, slot1), 184);
        QCOMPARE(byteAt(after, slot1 + 1), 6);
        const std::set<qsizetype> allowed = {save::statusBlock(n) + 50, slot1, slot1 + 1};
        for (const qsizetype at : changedBytes(before, after))
            QVERIFY2(allowed.count(at), qPrintable(QString::number(at)));
        QVERIFY(!check5(*form)->isChecked());
        QCOMPARE(combo10(*form)->count(), controlledBefore - 1);
        QCOMPARE(combo10(*form)->currentIndex(), -1);
        for (int i = 0; i < combo10(*form)->count(); ++i)
            QVERIFY(ItemNumber(combo10(*form)->itemText(i)) != n);
        QCOMPARE(frame26(*form), QStringLiteral("擔當武將(%1)").arg(controlledBefore - 1));
        QVERIFY(showsModified(*form));
    }

    // Each refusal says why once and puts the box back; nothing is written.
    void refusedChangesOfControlSayWhy_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("officer");
        QTest::addColumn<int>("text");
        QTest::newRow("a ninth officer") << demo::kDemoSlotWithEightControlled << "free" << 260;
        QTest::newRow("the current officer") << demo::kDemoNewestSlot << "slot 0" << 264;
        QTest::newRow("the current officer among eight") << demo::kDemoSlotWithEightControlled << "slot 0" << 264;
        QTest::newRow("the only controlled officer") << 0 << "only" << 261;
    }
    void refusedChangesOfControlSayWhy()
    {
        QFETCH(int, slot);
        QFETCH(QString, officer);
        QFETCH(int, text);
        if (officer == QLatin1String("only")) {
            // Keep the officer of player slot 0 only, and make another officer current.
            QByteArray bytes = test::FileBytes(this->slot(slot));
            setLe16(bytes, save::playerPerson(1), save::kNoPerson);
            setLe16(bytes, save::playerPerson(3), save::kNoPerson);
            setLe16(bytes, save::kCurrentOfficerOffset, 1700);
            QVERIFY(test::WriteFileBytes(this->slot(slot), bytes));
        }
        auto form = openSlot(slot);
        const int n = officer == QLatin1String("free") ? controllableOfficer(*form) : form->tables().controlled[0];
        show(*form, n);
        const bool ticked = check5(*form)->isChecked();
        QCOMPARE(ticked, officer != QLatin1String("free"));
        const QByteArray before = form->saveGame().bytes;
        const QString caption = frame26(*form);

        check5(*form)->click();

        expectOneMessage(text, MessageButtons::Ok, MessageIcon::Critical);
        QCOMPARE(check5(*form)->isChecked(), ticked);
        QVERIFY(form->saveGame().bytes == before);
        QVERIFY(!showsModified(*form));
        QCOMPARE(frame26(*form), caption);
    }

    void anOfficerWithoutAPersonNumberIsNotControlled()
    {
        auto form = openSlot(demo::kDemoNewestSlot);
        show(*form, demo::kDemoUnlistedFreeOfficer);
        QVERIFY(check5(*form)->isEnabled());
        const QByteArray before = form->saveGame().bytes;
        check5(*form)->click();
        QVERIFY(prompter_.shown.empty());
        QVERIFY(form->saveGame().bytes == before);
        QVERIFY(!showsModified(*form));
        QVERIFY(!form->tables().isControlled(demo::kDemoUnlistedFreeOfficer));
    }

    void forcingAnAppearance_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("officer");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("listedAfter");
        QTest::newRow("unlisted: gets a person number")
            << demo::kDemoNewestSlot << demo::kDemoUnlistedDeadOfficer << Answer::Yes << true;
        QTest::newRow("listed: not listed twice")
            << demo::kDemoNewestSlot << demo::kDemoListedNotAppearedOfficer << Answer::Yes << true;
        QTest::newRow("no") << demo::kDemoNewestSlot << demo::kDemoUnlistedDeadOfficer << Answer::No << false;
        QTest::newRow("full map, listed")
            << demo::kDemoFullPersonMapSlot << demo::kDemoListedNotAppearedOfficer << Answer::Yes << true;
        // Its entry names officer 0 a second time: the map stays full.
        QTest::newRow("full map, unlisted")
            << demo::kDemoFullPersonMapSlot << demo::kDemoUnlistedDeadOfficer << Answer::Yes << false;
    }
    void forcingAnAppearance()
    {
        QFETCH(int, slot);
        QFETCH(int, officer);
        QFETCH(Answer, answer);
        QFETCH(bool, listedAfter);
        if (slot == demo::kDemoFullPersonMapSlot && !listedAfter) {
            QByteArray bytes = test::FileBytes(this->slot(slot));
            setLe16(bytes, save::personMapEntry(PersonNumberOf(bytes, officer)), 0);
            QVERIFY(test::WriteFileBytes(this->slot(slot), bytes));
        }
        auto form = openSlot(slot);
        show(*form, officer);
        QPushButton* command11 = button(*form, QStringLiteral("Command11"));
        QVERIFY(command11->isEnabled());
        QVERIFY(!check5(*form)->isEnabled());
        const QByteArray before = form->saveGame().bytes;
        const int entriesBefore = entriesNaming(before, officer);
        prompter_.answers = {answer};

        QTest::mouseClick(command11, Qt::LeftButton);

        expectOneMessage(258, MessageButtons::YesNo, MessageIcon::Question);
        const QByteArray& after = form->saveGame().bytes;
        if (answer == Answer::No) {
            QVERIFY(after == before);
            QVERIFY(!showsModified(*form));
            return;
        }
        QCOMPARE(statusCode(after, officer), 7);
        QCOMPARE(control<QComboBox>(*form, QStringLiteral("Combo3"))->currentText(), GetResText(307));
        QCOMPARE(byteAt(after, save::locationEntry(officer) + 3), 0);
        QCOMPARE(entriesNaming(after, officer), listedAfter ? 1 : 0);
        std::set<qsizetype> allowed = {save::statusBlock(officer) + 50, save::statusBlock(officer) + 51,
                                       save::locationEntry(officer) + 3};
        if (entriesBefore == 0 && listedAfter) {
            const int person = PersonNumberOf(after, officer);
            QVERIFY(person >= 860);
            QCOMPARE(le16At(before, save::personMapEntry(person)), save::kNoPerson);
            for (int u = 860; u < person; ++u)  // the first empty entry
                QVERIFY(le16At(before, save::personMapEntry(u)) != save::kNoPerson);
            allowed.insert(save::personMapEntry(person));
            allowed.insert(save::personMapEntry(person) + 1);
        }
        for (const qsizetype at : changedBytes(before, after))
            QVERIFY2(allowed.count(at), qPrintable(QString::number(at)));
        QVERIFY(showsModified(*form));
        QVERIFY(!command11->isEnabled());
        QVERIFY(check5(*form)->isEnabled());
        // Forcing in does not control.
        QCOMPARE(frame26(*form), QStringLiteral("擔當武將(%1)").arg(form->tables().controlledCount()));
        QVERIFY(!check5(*form)->isChecked());
    }

    // An officer forced in can then be controlled through the person number it got.
    void anOfficerForcedInCanBeControlled()
    {
        auto form = openSlot(demo::kDemoNewestSlot);
        show(*form, demo::kDemoUnlistedDeadOfficer);
        prompter_.answers = {Answer::Yes, Answer::Yes};
        QTest::mouseClick(button(*form, QStringLiteral("Command11")), Qt::LeftButton);
        check5(*form)->click();
        QCOMPARE(prompter_.shown.size(), 2u);
        QCOMPARE(prompter_.shown[1].text, GetResText(Text::ConfirmControl));
        const int person = PersonNumberOf(form->saveGame().bytes, demo::kDemoUnlistedDeadOfficer);
        QCOMPARE(le16At(form->saveGame().bytes, save::playerPerson(2)), person);
        QCOMPARE(form->tables().controlled[2], demo::kDemoUnlistedDeadOfficer);
        QVERIFY(check5(*form)->isChecked());
    }

    // Seven controlled officers leave one slot; the eighth takes it and a ninth is refused.
    void theEighthControlTakesTheLastSlot()
    {
        auto form = openSlot(demo::kDemoSlotWithSevenControlled);
        QCOMPARE(combo10(*form)->count(), 7);
        const int eighth = controllableOfficer(*form);
        show(*form, eighth);
        prompter_.answers = {Answer::Yes};
        check5(*form)->click();
        QCOMPARE(form->tables().controlled[2], eighth);
        QCOMPARE(frame26(*form), QStringLiteral("擔當武將(8)"));

        int ninth = eighth + 1;
        while (statusCode(form->saveGame().bytes, ninth) >= 8 || form->tables().isControlled(ninth) ||
               PersonNumberOf(form->saveGame().bytes, ninth) < 0)
            ++ninth;
        show(*form, ninth);
        const QByteArray before = form->saveGame().bytes;
        check5(*form)->click();
        QCOMPARE(prompter_.shown.back().text, GetResText(Text::TooManyControlled));
        QVERIFY(!check5(*form)->isChecked());
        QVERIFY(form->saveGame().bytes == before);
    }

    void allTacticsAndSkillsToTheTop()
    {
        auto form = openSlot(demo::kDemoOddTacticSlot);
        const int n = demo::kDemoOddTacticOfficer;  // tactic 0 holds 14, outside the list
        show(*form, n);
        const QByteArray before = form->saveGame().bytes;
        QTest::mouseClick(button(*form, QStringLiteral("Command9")), Qt::LeftButton);
        QVERIFY(form->saveGame().bytes == before);  // the controls only
        for (int t = 0; t < 15; ++t)
            QCOMPARE(control<QComboBox>(*form, QStringLiteral("Combo6(%1)").arg(t))->currentIndex(), 6);
        int ticked = 0;
        for (QCheckBox* box : form->findChildren<QCheckBox*>())
            if (box->objectName().startsWith(QLatin1String("Check2(")))
                ticked += box->isChecked() ? 1 : 0;
        QCOMPARE(ticked, 26);

        QTest::mouseClick(button(*form, QStringLiteral("Command7(0)")), Qt::LeftButton);
        const QByteArray& after = form->saveGame().bytes;
        const qsizetype s = save::statusBlock(n);
        for (int k = 0; k < 7; ++k)
            QCOMPARE(byteAt(after, s + 60 + k), 0xDD);
        QCOMPARE(byteAt(after, s + 67), 0x0D);
        QCOMPARE(byteAt(after, s + 59), 0xFF);
        QCOMPARE(byteAt(after, s + 58), 0xFF);
        QCOMPARE(byteAt(after, s + 57), 0xFF);
        QCOMPARE(byteAt(after, s + 56), byteAt(before, s + 56) | 0xC0);
        for (const qsizetype at : changedBytes(before, after))
            QVERIFY2(at >= s + 56 && at <= s + 67, qPrintable(QString::number(at - s)));
        QVERIFY(showsModified(*form));
    }

    // Apply with nothing changed, officer after officer: every byte stays.
    void anUnchangedApplyKeepsEveryByte_data()
    {
        QTest::addColumn<int>("slot");
        for (int k = 0; k < save::kSlotCount; ++k)
            QTest::newRow(qPrintable(QStringLiteral("slot %1").arg(k))) << k;
    }
    void anUnchangedApplyKeepsEveryByte()
    {
        QFETCH(int, slot);
        auto form = openSlot(slot);
        const QByteArray before = form->saveGame().bytes;
        QPushButton* apply = button(*form, QStringLiteral("Command7(0)"));
        for (int n = 0; n < form->tables().officerCount; ++n) {
            show(*form, n);
            apply->click();
            if (form->saveGame().bytes != before) {
                const auto changed = changedBytes(before, form->saveGame().bytes);
                QFAIL(qPrintable(QStringLiteral("officer %1 changed byte %2").arg(n).arg(*changed.begin())));
            }
        }
        QVERIFY(prompter_.shown.empty());
    }

    // Money takes the five digits its range needs; more than 65535 is refused.
    void moneyTakesFiveDigits()
    {
        auto form = openSlot(demo::kDemoNewestSlot);
        show(*form, 12);
        auto* box = control<QLineEdit>(*form, QStringLiteral("Text3(16)"));
        const struct {
            const char* typed;
            int stored;
        } rows[] = {{"543219", 54321}, {"65535", 65535}, {"65536", -1}};
        for (const auto& row : rows) {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, QString::fromLatin1(row.typed));
            QCOMPARE(box->text(), QString::fromLatin1(row.typed).left(5));
            const QByteArray before = form->saveGame().bytes;
            button(*form, QStringLiteral("Command7(0)"))->click();
            if (row.stored < 0) {
                QVERIFY(form->saveGame().bytes == before);
                QCOMPARE(prompter_.shown.size(), std::size_t(1));
            } else {
                QCOMPARE(le16At(form->saveGame().bytes, save::statusBlock(12) + 80), row.stored);
            }
        }
    }

    // A change of one control changes only the bytes of its field.
    void oneChangeChangesOnlyItsBytes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("values");  // the first, or the second when it shows the first
        QTest::addColumn<QStringList>("bytes");
        QTest::newRow("bravery") << "Text3(0)" << QStringList{"3", "4"} << QStringList{"P54"};
        QTest::newRow("loyalty") << "Text3(15)" << QStringList{"50", "51"} << QStringList{"S10"};
        QTest::newRow("money") << "Text3(16)" << QStringList{"1234", "1235"} << QStringList{"S80-81"};
        QTest::newRow("years of service") << "Text3(14)" << QStringList{"5", "6"} << QStringList{"S1"};
        QTest::newRow("might") << "Text2(0)" << QStringList{"77", "78"} << QStringList{"P37", "S2"};
        QTest::newRow("game year") << "Text5(0)" << QStringList{"200", "201"} << QStringList{"F1876"};
        QTest::newRow("courtesy name") << "Text1(2)" << QStringList{"甲", "乙"} << QStringList{"P10-14"};
        QTest::newRow("a tactic") << "Combo6(3)" << QStringList{"1", "2"} << QStringList{"S61"};
        QTest::newRow("rank") << "Combo11" << QStringList{"1", "2"} << QStringList{"S50"};
        QTest::newRow("health") << "Combo1" << QStringList{"1", "2"} << QStringList{"S51"};
        QTest::newRow("a skill") << "Check2(23)" << QStringList{} << QStringList{"S57"};
        QTest::newRow("a tendency") << "Check1(2)" << QStringList{} << QStringList{"P53"};
        QTest::newRow("sex") << "Option2" << QStringList{} << QStringList{"P52"};
    }
    void oneChangeChangesOnlyItsBytes()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, values);
        QFETCH(QStringList, bytes);
        auto form = openSlot(demo::kDemoNewestSlot);
        QPushButton* apply = button(*form, QStringLiteral("Command7(0)"));
        // Officers of every kind: serving, never served, entering later, with low tactic nibbles.
        for (int n = 0; n < form->tables().officerCount; n += 11) {
            show(*form, n);
            const QByteArray before = form->saveGame().bytes;
            QObject* target = form->findChild<QObject*>(control);
            QVERIFY(target);
            if (auto* box = qobject_cast<QLineEdit*>(target)) {
                const QString value = box->text() == values[0] ? values[1] : values[0];
                if (control.startsWith(QLatin1String("Text1"))) {
                    box->clear();
                    QInputMethodEvent event;
                    event.setCommitString(value);
                    QApplication::sendEvent(box, &event);
                } else {
                    box->setText(value);
                }
            } else if (auto* list = qobject_cast<QComboBox*>(target)) {
                const int index = list->currentIndex() == values[0].toInt() ? values[1].toInt() : values[0].toInt();
                list->setCurrentIndex(index);
            } else if (auto* radio = qobject_cast<QRadioButton*>(target)) {
                (radio->isChecked() ? this->control<QRadioButton>(*form, QStringLiteral("Option1")) : radio)
                    ->setChecked(true);
            } else if (auto* tick = qobject_cast<QCheckBox*>(target)) {
                tick->setChecked(!tick->isChecked());
            }
            apply->click();
            QVERIFY2(prompter_.shown.empty(),
                     qPrintable(prompter_.shown.empty() ? QString() : prompter_.shown[0].text));
            const std::set<qsizetype> allowed = bytesNamed(bytes, n);
            const std::set<qsizetype> changed = changedBytes(before, form->saveGame().bytes);
            QVERIFY2(!changed.empty(), qPrintable(QStringLiteral("officer %1").arg(n)));
            for (const qsizetype at : changed)
                QVERIFY2(allowed.count(at), qPrintable(QStringLiteral("officer %1 byte %2").arg(n).arg(at)));
        }
    }

    // Each mode fills its list when first shown after a load, not again.
    void theModeSwitchFillsEachListOncePerLoad()
    {
        auto form = openSlot(demo::kDemoNewestSlot);
        QLabel* label34 = control<QLabel>(*form, QStringLiteral("Label34"));
        show(*form, 5);
        QVERIFY(label34->isVisibleTo(form.get()));
        for (int mode = 1; mode < 4; ++mode) {
            auto* option = control<QRadioButton>(*form, QStringLiteral("Option3(%1)").arg(mode));
            if (!option->isEnabled())
                continue;
            option->click();
            QVERIFY(!label34->isVisibleTo(form.get()));
            QVERIFY(control<QWidget>(*form, QStringLiteral("Frame10(%1)").arg(mode))->isVisibleTo(form.get()));
            QVERIFY(!control<QWidget>(*form, QStringLiteral("Frame10(0)"))->isVisibleTo(form.get()));
        }
        control<QRadioButton>(*form, QStringLiteral("Option3(0)"))->click();
        QVERIFY(label34->isVisibleTo(form.get()));
        QCOMPARE(list(*form)->currentRow(), 5);  // not filled again
        QCOMPARE(list(*form)->count(), form->tables().officerCount);

        // A load fills it again and shows the officer mode.
        control<QRadioButton>(*form, QStringLiteral("Option3(1)"))->click();
        control<QAction>(*form, QStringLiteral("sSavSum(0)"))->trigger();
        QVERIFY(control<QRadioButton>(*form, QStringLiteral("Option3(0)"))->isChecked());
        QVERIFY(label34->isVisibleTo(form.get()));
        QCOMPARE(list(*form)->count(), form->tables().officerCount);
        QCOMPARE(list(*form)->currentRow(), 0);
    }
};

QTEST_MAIN(OfficerControlTest)
#include "officer_control_uitest.moc"
