// The problems list as a user meets it: the note on the status line when a save
// with problems opens, the list that `varkel-cli check` would print, Enter on a
// problem showing its record, and a mend (after its question) as one undo step.
#include "demo_folder/demo_folder.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/problems_window.h"
#include "saveeditor/ui/relation_panel.h"
#include "shared/ui/record_list.h"
#include "support/temp_game_folder.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace varkel;

class ProblemsTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveGameEditor> form_;

    void openForm(int slot)
    {
        form_.reset(SaveGameEditor::open(session_, SaveGame::slotPath(session_.gameFolder, slot)));
        QVERIFY(form_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    ProblemsWindow* openProblems()
    {
        emit form_->problemsNote->linkActivated(QStringLiteral("problems"));
        return form_->findChild<ProblemsWindow*>();
    }
    // The row of the first problem of `kind` about `field`; -1 for none.
    static int rowOf(const ProblemsWindow& w, const char* kind, const char* field)
    {
        for (std::size_t i = 0; i < w.problems().size(); ++i)
            if (w.problems()[i].kindName == QLatin1String(kind) && w.problems()[i].field == QLatin1String(field))
                return int(i);
        return -1;
    }

private slots:
    void init() { prepare(); }
    void cleanup() { form_.reset(); }

    void aSaveWithProblemsSaysSoOnTheStatusLine()
    {
        openForm(0);
        const std::size_t found = FindSaveProblems(form_->document(), form_->kindsContext()).size();
        QVERIFY(found > 0);
        // Counted once the window is shown.
        QTRY_VERIFY(form_->problemsNote->isVisible());
        QVERIFY(form_->problemsNote->text().contains(QStringLiteral(">發現 %1 個問題<").arg(found)));
        ProblemsWindow* w = openProblems();
        QVERIFY(w);
        QCOMPARE(std::size_t(w->list->topLevelItemCount()), found);
        for (int r = 0; r < w->list->topLevelItemCount(); ++r)
            QVERIFY(!w->list->topLevelItem(r)->text(4).isEmpty());  // every problem says why
    }

    void enterOnAProblemShowsItsRecord()
    {
        openForm(0);
        ProblemsWindow* w = openProblems();
        QVERIFY(w);
        const int row = rowOf(*w, "relations", "copies");
        QVERIFY(row >= 0);
        w->list->setCurrentItem(w->list->topLevelItem(row));
        QTest::keyClick(w->list, Qt::Key_Return);
        QVERIFY(form_->modes().Option3[2]->isChecked());
        QCOMPARE(form_->modes().records(2).shownRecord(), demo::kDemoRelationWithDifferingCopy);
    }

    // The mend is asked about with what it writes; Yes makes it one undo step,
    // and the problem is gone from the list and the count until undo.
    void aMendIsAskedAboutAndIsOneUndoStep()
    {
        openForm(0);
        QTRY_VERIFY(form_->problemsNote->isVisible());  // counted once the window is shown
        const QByteArray before = form_->saveGame().bytes;
        ProblemsWindow* w = openProblems();
        QVERIFY(w);
        const std::size_t found = w->problems().size();
        const int row = rowOf(*w, "relations", "copies");
        QVERIFY(row >= 0 && w->problems()[std::size_t(row)].mend);
        w->list->topLevelItem(row)->setSelected(true);
        QVERIFY(w->mendButton->isEnabled());
        prompter_.answers.push_back(Answer::No);
        QVERIFY(!w->mendSelected());
        QCOMPARE(form_->saveGame().bytes, before);
        QVERIFY(prompter_.shown.back().text.contains(w->problems()[std::size_t(row)].mendText));

        w->list->topLevelItem(row)->setSelected(true);
        prompter_.answers.push_back(Answer::Yes);
        w->mendButton->click();
        QVERIFY(form_->saveGame().bytes != before);
        QCOMPARE(w->problems().size(), found - 1);
        QVERIFY(form_->problemsNote->text().contains(QStringLiteral(">發現 %1 個問題<").arg(found - 1)));
        QVERIFY(form_->document().undo());
        QCOMPARE(form_->saveGame().bytes, before);
        QCOMPARE(w->problems().size(), found);
        QVERIFY(!form_->document().canUndo());
    }

    // Rows without a mend leave the mend button off; Escape closes the window.
    void onlyMendableRowsCanBeMended()
    {
        openForm(0);
        ProblemsWindow* w = openProblems();
        QVERIFY(w);
        for (int r = 0; r < w->list->topLevelItemCount(); ++r) {
            w->list->clearSelection();
            w->list->topLevelItem(r)->setSelected(true);
            QCOMPARE(w->mendButton->isEnabled(), w->problems()[std::size_t(r)].mend.has_value());
        }
        QTest::keyClick(w->list, Qt::Key_Escape);
        QTRY_VERIFY(!form_->findChild<ProblemsWindow*>());
    }
};

QTEST_MAIN(ProblemsTest)
#include "problems_uitest.moc"
