// The family view as a user meets it: the member list, each kind of member shown
// with its officer, Apply of a child and of a spouse, refusals that store
// nothing, the face picker and the growth forecast window.
#include "demo_folder/demo_folder.h"
#include "person/biography.h"
#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/growth_forecast_dialog.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/input_filters.h"
#include "support/save_editor.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <bit>
#include <memory>

using namespace varkel;

class FamilyTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    // The editor on the newest save in its family mode, showing member k.
    std::unique_ptr<SaveGameEditor> openFamily(int k)
    {
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        form->show();
        form->setRandomSource([] { return 0.0; });
        form->modes().Option3[3]->click();
        form->modes().familyPanel()->List4->setCurrentRow(k);
        return form;
    }

    static FamilyPanel& panel(SaveGameEditor& f) { return *f.modes().familyPanel(); }
    static QLineEdit* box(SaveGameEditor& f, const char* control)
    {
        return panel(f).numberBox(QString::fromLatin1(control));
    }
    static void apply(SaveGameEditor& f) { QTest::mouseClick(panel(f).Command7, Qt::LeftButton); }
    static bool modified(SaveGameEditor& f) { return f.modified(); }

private slots:
    void init() { prepare(); }

    void theListNamesEveryMemberAndSelectsTheFirstNamed()
    {
        auto form = openFamily(0);
        QListWidget* list = panel(*form).List4;
        QCOMPARE(list->count(), 16);
        const QByteArray& save = form->saveGame().bytes;
        for (int k = 0; k < 16; ++k)
            QCOMPARE(list->item(k)->text(), NumberedItem(k, 2, ReadFullName(save, family::record(k))));
        QVERIFY(list->item(6)->text() == QStringLiteral("06:"));  // slot 6 names no officer
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(!modified(*form));
    }

    void eachKindOfMemberIsShownWithItsOfficer_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("officerCaption");  // empty: 父親 or 母親
        QTest::addColumn<QString>("remarkPart");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("forecast");
        QTest::newRow("a child of 14") << 0 << 14 << "" << GetResText(209) << true << true;
        QTest::newRow("a child of 15") << 1 << 15 << "" << GetResText(216) << false << false;
        QTest::newRow("no controlled officer") << 2 << 0 << "武將" << "" << false << false;
        QTest::newRow("born after the game year") << 4 << 0 << "" << GetResText(212) << true << true;
        QTest::newRow("a wife") << 8 << -1 << "丈夫" << GetResText(217) << true << false;
    }

    void eachKindOfMemberIsShownWithItsOfficer()
    {
        QFETCH(int, member);
        QFETCH(int, age);
        QFETCH(QString, officerCaption);
        QFETCH(QString, remarkPart);
        QFETCH(bool, editable);
        QFETCH(bool, forecast);
        auto form = openFamily(member);
        FamilyPanel& p = panel(*form);
        if (age >= 0)
            QCOMPARE(p.Text10Age->text(), QString::number(age));
        if (officerCaption.isEmpty())
            QVERIFY(p.Frame24->title() == GetResText(289) || p.Frame24->title() == GetResText(290));
        else
            QCOMPARE(p.Frame24->title(), officerCaption);
        if (remarkPart.isEmpty())
            QVERIFY(p.Label27->text().isEmpty());
        else
            QVERIFY2(p.Label27->text().contains(remarkPart), qPrintable(p.Label27->text()));
        QCOMPARE(p.Command7->isEnabled(), editable);
        QCOMPARE(p.Label32->isVisibleTo(form.get()), forecast);
        QCOMPARE(p.Frame21->isEnabled(), family::isChild(member) && officerCaption != QStringLiteral("武將"));
        QCOMPARE(p.Frame22->isEnabled(), family::isChild(member));
        QCOMPARE(box(*form, "Text12(0)")->isEnabled(), family::isChild(member));
        QCOMPARE(p.Label26->text().isEmpty(), officerCaption == QStringLiteral("武將"));
    }

    // A child's frame is captioned by the sex chosen; a member without an
    // officer keeps "武將".
    void theChildsCaptionFollowsTheSexChosen()
    {
        for (const int member : {0, 2}) {
            auto form = openFamily(member);
            FamilyPanel& p = panel(*form);
            const QString without = QStringLiteral("武將");
            p.person().Option1->click();
            QCOMPARE(p.Frame15->title(), member == 0 ? GetResText(Text::Son) : without);
            p.person().Option2->click();
            QCOMPARE(p.Frame15->title(), member == 0 ? GetResText(Text::Daughter) : without);
        }
    }

    void aChildIsAppliedWithItsGrowthCapsAndBiography()
    {
        auto form = openFamily(3);
        const QByteArray before = form->saveGame().bytes;
        test::Retype(box(*form, "Text9(0)"), QStringLiteral("77"));
        test::Retype(box(*form, "Text9(4)"), QStringLiteral("99"));
        test::Retype(box(*form, "Text12(2)"), QStringLiteral("9"));  // clamped to 7
        panel(*form).person().Text1[1]->clear();
        test::CommitText(panel(*form).person().Text1[1], QStringLiteral("星"));
        panel(*form).Text11->selectAll();
        test::CommitText(panel(*form).Text11, QStringLiteral("少年英雄"));
        apply(*form);

        QVERIFY2(prompter_.shown.empty(), qPrintable(prompter_.shown.empty() ? QString() : prompter_.shown[0].text));
        QVERIFY(modified(*form));
        const QByteArray& save = form->saveGame().bytes;
        const FamilyMember m = DecodeFamilyMember(save, 3);
        QCOMPARE(m.person.abilities[0], 77);
        QCOMPARE(m.caps[0], 99);
        QCOMPARE(m.growth[2], 7);
        QCOMPARE(box(*form, "Text12(2)")->text(), QStringLiteral("7"));
        QVERIFY(m.person.fullName.endsWith(QStringLiteral("星")));
        QCOMPARE(panel(*form).List4->item(3)->text(), NumberedItem(3, 2, m.person.fullName));
        QCOMPARE(DecodeBiography(save, family::biographyRecord(3)), QStringLiteral("少年英雄"));
        // Nothing outside the member's record, growth bytes and biography changed.
        for (qsizetype at = 0; at < save.size(); ++at) {
            const bool owned =
                (at >= family::record(3) && at < family::record(3) + member::kRecordSize) ||
                (at >= family::growthField(3) && at < family::growthField(3) + 6) ||
                (at >= family::biographyRecord(3) && at < family::biographyRecord(3) + biography::kRecordSize);
            if (!owned && save[at] != before[at])
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(at)));
        }
    }

    void aSpouseIsAppliedToItsRecordOnly()
    {
        auto form = openFamily(8);
        const QByteArray before = form->saveGame().bytes;
        test::Retype(box(*form, "Text9(1)"), QStringLiteral("55"));
        test::Retype(box(*form, "Text10(0)"), QStringLiteral("5"));
        apply(*form);
        QVERIFY(prompter_.shown.empty());
        const QByteArray& save = form->saveGame().bytes;
        QCOMPARE(DecodeFamilyMember(save, 8).person.abilities[1], 55);
        QCOMPARE(DecodeFamilyMember(save, 8).person.bravery, 5);
        QVERIFY(save.left(family::record(8)) == before.left(family::record(8)));
        QVERIFY(save.mid(family::record(9)) == before.mid(family::record(9)));
    }

    void aRefusedApplyStoresNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("a cap above a byte") << "Text9(5)" << "256" << "上限";
        QTest::newRow("an ability above a byte") << "Text9(0)" << "300" << GetResText(122);
        QTest::newRow("an empty box") << "Text10(4)" << "" << "相性";
        QTest::newRow("no given name") << "Text8(1)" << "" << GetResText(Text::DataNotWritten);
        QTest::newRow("a single-byte biography") << "Text11" << "abc" << "武將列傳";
    }

    void aRefusedApplyStoresNothing()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        auto form = openFamily(3);
        const QByteArray before = form->saveGame().bytes;
        if (control == QLatin1String("Text11"))
            ShowText(panel(*form).Text11, text);  // past the box's filter
        else
            this->control<QLineEdit>(*form, control)->setText(text);
        apply(*form);
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY2(prompter_.shown[0].text.contains(message), qPrintable(prompter_.shown[0].text));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
        QVERIFY(form->saveGame().bytes == before);
        QVERIFY(!modified(*form));
    }

    void theFacePickerAndAllTacticsReachTheMember()
    {
        auto form = openFamily(0);
        form->setPicker(test::ScriptedPicker(PickerKind::Face, 123));
        QTest::mouseClick(panel(*form).person().Command1, Qt::LeftButton);
        QTest::mouseClick(panel(*form).Command16, Qt::LeftButton);
        apply(*form);
        const FamilyMember m = DecodeFamilyMember(form->saveGame().bytes, 0);
        QCOMPARE(m.person.face, 123);
        for (const int nibble : m.tactics)
            QCOMPARE(nibble, 13);
        QCOMPARE(std::popcount(m.skills), kSkillCount);
    }

    // The forecast of member 0 (14 years old): from its applied values, with a
    // named officer as its likeness and Label32 red while the window is open.
    // A click on the link opens it once; so does a double click.
    void theForecastWindowShowsTheChildsFuture_data()
    {
        QTest::addColumn<int>("gesture");
        QTest::newRow("a click") << 0;
        QTest::newRow("a double click (QTest's)") << 1;
        QTest::newRow("a double click as a window system sends it") << 2;
    }

    void theForecastWindowShowsTheChildsFuture()
    {
        QFETCH(int, gesture);
        auto form = openFamily(0);
        int opened = 0;
        const FamilyMember child = DecodeFamilyMember(form->saveGame().bytes, 0);
        test::Retype(box(*form, "Text9(0)"), QStringLiteral("1"));  // not applied: not forecast
        std::array<QString, 8> shown;
        QString likeness;
        QColor whileOpen;
        form->setSideWindowRunner([&](QDialog& window) {
            auto& f = dynamic_cast<GrowthForecastDialog&>(window);
            ++opened;
            for (int i = 0; i < 8; ++i)
                shown[std::size_t(i)] = f.Label2[std::size_t(i)]->text();
            likeness = f.Label3->text();
            whileOpen = panel(*form).Label32->palette().color(QPalette::WindowText);
        });
        QLabel* link = panel(*form).Label32;
        if (gesture == 1) {
            QTest::mouseDClick(link, Qt::LeftButton);
        } else {
            QTest::mouseClick(link, Qt::LeftButton);
        }
        if (gesture == 2) {  // press, release, double click, release
            const QPointF at = link->rect().center();
            QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, link->mapToGlobal(at), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(link, &doubleClick);
            QTest::mouseRelease(link, Qt::LeftButton);
        }
        QCOMPARE(opened, 1);
        QCOMPARE(shown, GrowthForecast(child.person.abilities, child.caps, child.growth, 14, form->saveGame().bytes));
        QVERIFY(!likeness.isEmpty());
        QCOMPARE(likeness, form->tables().officerNames.value(0));  // the random source gives 0
        QCOMPARE(whileOpen, QColor(255, 0, 0));
        QVERIFY(panel(*form).Label32->palette().color(QPalette::WindowText) != QColor(255, 0, 0));
    }
};

QTEST_MAIN(FamilyTest)
#include "family_uitest.moc"
