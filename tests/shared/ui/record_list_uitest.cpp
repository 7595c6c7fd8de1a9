// The list beside the view of one record: moving to another row asks about the
// edits of the record shown, and the answer decides what is stored, which record
// is shown and where the list stands.
#include "shared/ui/pending_edits.h"
#include "shared/ui/record_list.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

using namespace varkel;

namespace {

constexpr int kRefused = -1;  // a value the view cannot store

// A view of one number per record; the rows hold records 3, 5 and 8.
struct NumberView {
    std::map<int, int> stored{{3, 30}, {5, 50}, {8, 80}};
    int typed = 0;
    int shown = -1;
};

// A view that always holds edits, and stores them whenever asked.
RecordList::View alwaysEdited(NumberView& view)
{
    return {[&view](int n) { view.shown = n; }, [] { return true; }, [](int) { return true; }};
}

}  // namespace

class RecordListTest : public QObject {
    Q_OBJECT

private slots:
    void movingToAnotherRow_data()
    {
        QTest::addColumn<int>("typed");  // into record 5 before the move; 50 leaves it as stored
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("stored");  // record 5 afterwards
        QTest::addColumn<int>("applied");

        const int yes = int(Answer::Yes), no = int(Answer::No), stay = int(Answer::Cancel);
        QTest::newRow("untouched, no question") << 50 << yes << 0 << 8 << 2 << 50 << 0;
        QTest::newRow("apply, then move") << 51 << yes << 1 << 8 << 2 << 51 << 1;
        QTest::newRow("discard, then move") << 51 << no << 1 << 8 << 2 << 50 << 0;
        QTest::newRow("stay") << 51 << stay << 1 << 5 << 1 << 50 << 0;
        QTest::newRow("refused apply stays") << kRefused << yes << 1 << 5 << 1 << 50 << 0;
    }
    void movingToAnotherRow()
    {
        QFETCH(int, typed);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(int, shown);
        QFETCH(int, row);
        QFETCH(int, stored);
        QFETCH(int, applied);

        ScriptedPrompter prompter;
        QListWidget list;
        NumberView view;
        auto* records = new RecordList(
            list, prompter,
            {[&view](int n) {
                 view.shown = n;
                 view.typed = view.stored[n];
             },
             [&view] { return view.typed != view.stored[view.shown]; },
             [&view](int n) {
                 if (view.typed == kRefused)
                     return false;
                 view.stored[n] = view.typed;
                 return true;
             }},
            &list);
        for (const int n : {3, 5, 8})
            records->addRow(n, QString::number(n));
        QSignalSpy stores(records, &RecordList::stored);

        QCOMPARE(records->shownRecord(), -1);
        records->choose(5);
        QCOMPARE(records->shownRecord(), 5);
        QCOMPARE(records->selectedRecord(), 5);
        view.typed = typed;
        QCOMPARE(records->viewDiffers(), typed != 50);

        prompter.answers = {Answer(answer)};
        list.setCurrentRow(2);
        QCOMPARE(int(prompter.shown.size()), questions);
        if (questions > 0)
            QCOMPARE(prompter.shown[0].text, QString::fromUtf8(kPendingEditsQuestion));
        QCOMPARE(records->shownRecord(), shown);
        QCOMPARE(view.shown, shown);
        QCOMPARE(list.currentRow(), row);
        QCOMPARE(records->selectedRecord(), shown);
        QCOMPARE(view.stored[5], stored);
        QCOMPARE(int(stores.size()), applied);
    }

    // A record the list does not hold moves nothing; clearing leaves nothing to ask about.
    void choosingAndClearing()
    {
        ScriptedPrompter prompter;
        QListWidget list;
        NumberView view;
        RecordList records(list, prompter, alwaysEdited(view), nullptr);
        records.addRow(3, QStringLiteral("3"));
        records.choose(4);
        QCOMPARE(list.currentRow(), -1);
        QCOMPARE(records.shownRecord(), -1);
        records.choose(3);
        QCOMPARE(records.shownRecord(), 3);
        QVERIFY(records.viewDiffers());
        records.clear();
        QCOMPARE(list.count(), 0);
        QCOMPARE(records.shownRecord(), -1);
        QVERIFY(!records.viewDiffers());
        QVERIFY(prompter.shown.empty());
    }

    // Rows put in at once are numbered as records; the record asked for is shown
    // without a question about what the view held of the rows before.
    void settingRowsShowsTheFirstWithoutAsking()
    {
        ScriptedPrompter prompter;
        QListWidget list;
        NumberView view;
        RecordList records(list, prompter, alwaysEdited(view), nullptr);
        records.setRows({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 1);
        QCOMPARE(records.shownRecord(), 1);
        QVERIFY(records.viewDiffers());
        records.setRows({QStringLiteral("x"), QStringLiteral("y")});
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.item(1)->text(), QStringLiteral("y"));
        QCOMPARE(view.shown, 0);
        QCOMPARE(records.selectedRecord(), 0);
        QVERIFY(prompter.shown.empty());
        prompter.answers = {Answer::No};
        records.choose(1);
        QCOMPARE(int(prompter.shown.size()), 1);  // edits of a record shown are asked about again
        QCOMPARE(records.shownRecord(), 1);
    }
};

QTEST_MAIN(RecordListTest)
#include "record_list_uitest.moc"
