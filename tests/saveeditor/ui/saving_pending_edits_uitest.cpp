// Save with edits typed but not applied: Ctrl+S and Save as ask whether to apply
// them, drop them or stay, in both editors and in the city and force editors the
// saved-game editor runs. "Apply" applies and saves, "drop" saves what was
// stored and shows it again, "stay" writes nothing and keeps what was typed.
#include "demo_folder/demo_folder.h"
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "shared/ui/pending_edits.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <functional>
#include <memory>

using namespace varkel;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

enum class Where { OfficerView, CityEditor, ForceEditor, NewOfficerEditor };
enum class How { CtrlS, SaveAs };

// Types `text` over a box as a user does: digits by key, names by input method.
void typeOver(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (text[0].isDigit())
        QTest::keyClicks(box, text);
    else
        test::CommitText(box, text);
}

// The box a row types into, and what it types.
struct Typing {
    QLineEdit* box;
    QString text;
};

}  // namespace

class SavingPendingEditsTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    // What a save did: the file's bytes before and after, the questions asked,
    // what the box showed before and after it.
    struct Outcome {
        QByteArray before;
        QByteArray after;
        QString stored;      // the box before typing
        QString typed;
        QString shownAfter;
    };

    // Presses the keys in the box typed into, as the user does.
    void save(QWidget& window, QLineEdit* box, How how, const QString& saveAsPath)
    {
        if (how == How::SaveAs) {
            dialogs_.saves.push_back(saveAsPath);
            prompter_.answers.push_back(Answer::Yes);  // replace the file there
        }
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_S,
                        how == How::CtrlS ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }

    // Types in `where`, answers the question with `answer` and saves by `how`.
    Outcome run(Where where, Answer answer, How how)
    {
        Outcome o;
        if (where == Where::NewOfficerEditor) {
            std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
            form->show();
            form->List1->setCurrentRow(1);
            const QString path = form->systemSave().path;
            o.before = test::FileBytes(path);
            const Typing t = typing(*form, where);
            act(o, t, answer);
            save(*form, t.box, how, path);
            o.after = test::FileBytes(path);
            o.shownAfter = t.box->text();
            return o;
        }
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        form->show();
        const QString path = form->saveGame().path;
        o.before = test::FileBytes(path);
        if (where == Where::OfficerView) {
            form->column().List1->setCurrentRow(demo::kDemoGovernor);
            const Typing t = typing(*form, where);
            act(o, t, answer);
            save(*form, t.box, how, path);
            o.shownAfter = t.box->text();
        } else {
            // The side editor runs modal: the save is made while it shows.
            form->setSideWindowRunner([&](QDialog& window) {
                window.show();
                auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
                list->setCurrentRow(where == Where::CityEditor ? demo::kDemoBanditCity : 1);
                const Typing t = typing(window, where);
                act(o, t, answer);
                save(window, t.box, how, path);
                o.shownAfter = t.box->text();
            });
            (where == Where::CityEditor ? form->menus().sCity : form->menus().sBingQi)->trigger();
        }
        o.after = test::FileBytes(path);
        return o;
    }

    Typing typing(QWidget& window, Where where)
    {
        switch (where) {
        case Where::OfficerView:
            return {control<QLineEdit>(window, QStringLiteral("Text2(0)")), QStringLiteral("95")};
        case Where::CityEditor:
            return {control<QLineEdit>(window, QStringLiteral("Text1")), QStringLiteral("300")};
        case Where::ForceEditor:
            return {control<QLineEdit>(window, QStringLiteral("Text1")), QStringLiteral("新漢國")};
        case Where::NewOfficerEditor:
            break;
        }
        QLineEdit* box = control<QLineEdit>(window, QStringLiteral("Text3(0)"));
        return {box, QString::number((box->text().toInt() + 1) % 8)};
    }

    void act(Outcome& o, const Typing& t, Answer answer)
    {
        o.stored = t.box->text();
        o.typed = t.text == o.stored ? t.text + QLatin1Char('1') : t.text;
        typeOver(t.box, o.typed);
        prompter_.answers.push_back(answer);
    }

private slots:
    void init() { prepare(); }

    void aSaveAsksAboutEditsNotApplied_data()
    {
        QTest::addColumn<int>("where");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("how");
        const std::pair<const char*, Where> windows[] = {{"officer view", Where::OfficerView},
                                                         {"city editor", Where::CityEditor},
                                                         {"force editor", Where::ForceEditor},
                                                         {"new-officer editor", Where::NewOfficerEditor}};
        const std::pair<const char*, Answer> answers[] = {
            {"apply", Answer::Yes}, {"drop", Answer::No}, {"stay", Answer::Cancel}};
        for (const auto& [window, where] : windows)
            for (const auto& [said, answer] : answers)
                QTest::addRow("%s, %s, Ctrl+S", window, said) << int(where) << answer << int(How::CtrlS);
        for (const auto& [window, where] : windows)
            QTest::addRow("%s, apply, Save as", window) << int(where) << Answer::Yes << int(How::SaveAs);
    }
    void aSaveAsksAboutEditsNotApplied()
    {
        QFETCH(int, where);
        QFETCH(Answer, answer);
        QFETCH(int, how);
        const Outcome o = run(Where(where), answer, How(how));

        QVERIFY(!prompter_.shown.empty());
        QCOMPARE(prompter_.shown.front().text, QString::fromUtf8(kPendingEditsQuestion));
        QCOMPARE(prompter_.shown.front().buttons, MessageButtons::YesNoCancel);
        if (answer == Answer::Yes) {
            QVERIFY(o.after != o.before);  // the edit, applied, is in the file
            QCOMPARE(o.shownAfter, o.typed);
        } else if (answer == Answer::No) {
            QCOMPARE(o.after, o.before);  // saved without the edit
            QCOMPARE(o.shownAfter, o.stored);
        } else {
            QCOMPARE(o.after, o.before);
            QCOMPARE(o.shownAfter, o.typed);
        }
    }
};

QTEST_MAIN(SavingPendingEditsTest)
#include "saving_pending_edits_uitest.moc"
