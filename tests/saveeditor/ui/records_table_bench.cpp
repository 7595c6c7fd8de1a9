// Times the table of all records on the demo save with 860 officers, paired with
// the officer view's switch: opening the officers table (every row read, the
// window shown and painted), sorting by each column, filtering again on each key
// typed, a batch change of every officer (preview and apply, the table and the
// editor following) and its undo.
//   build/tests/records_table_bench [runs]
#include "demo_folder/demo_folder.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/side_windows.h"
#include "shared/ui/records_window.h"
#include "support/bench.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>

#include <memory>
#include <numeric>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    test::BenchSession bench;
    Session& session = bench.session;
    std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session,
                                            SaveGame::slotPath(session.gameFolder, demo::kDemoSlotWith860Officers)));
    if (!form)
        return 1;
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return 1;
    auto* list = form->findChild<QListWidget*>(QStringLiteral("List1"));
    std::printf("%d officers\n", list->count());
    test::TimeRuns("switch officer (List1 -> ReadWJInfo2), for comparison", runs, [&](int i) {
        list->setCurrentRow((i * 37 + 1) % list->count());
        QApplication::processEvents();
    });

    test::TimeRuns("open the officers table (rows read, window shown and painted, closed after)", runs, [&](int) {
        RecordsWindow* w = form->sideWindows().openRecordsTable(SaveRecord::Officer, form.get(), [](int) {});
        QApplication::processEvents();
        delete w;
    });

    RecordsWindow* w = form->sideWindows().openRecordsTable(SaveRecord::Officer, form.get(), [](int) {});
    if (!QTest::qWaitForWindowExposed(w))
        return 1;
    const int columns = w->table().columnCount();
    test::TimeRuns("sort by a column (every column in turn, both orders, painted)", std::max(runs, 2 * columns),
                   [&](int i) {
                       w->view->sortByColumn(i % columns, i / columns % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
                       w->view->viewport()->repaint();
                   });
    w->view->sortByColumn(0, Qt::AscendingOrder);

    const QString typed = QStringLiteral("武力>=60 身份=在野 忠誠<90");
    test::TimeRuns("filter again on a key typed (\"武力>=60 身份=在野 忠誠<90\" a character at a time, painted)",
                   std::max(runs, int(typed.size())), [&](int i) {
                       const int at = i % int(typed.size());
                       if (at == 0)
                           w->filterBox->clear();
                       w->filterBox->insert(typed.mid(at, 1));
                       w->view->viewport()->repaint();
                   });
    w->filterBox->clear();

    RecordSource& source = w->source();
    std::vector<int> everyone(std::size_t(source.kind().count()));
    std::iota(everyone.begin(), everyone.end(), 0);
    const auto changes =
        *ParseAssignments(source.kind(), {QStringLiteral("loyalty=*90%"), QStringLiteral("charisma=+3")}, nullptr);
    BatchResult applied;
    const auto batch = [&] {
        (void)source.preview(Assigning(everyone, changes));
        applied = source.apply(everyone, Assigning(everyone, changes));
        w->view->viewport()->repaint();
        form->repaint();
    };
    const auto undo = [&] {
        form->document().undo();
        w->view->viewport()->repaint();
        form->repaint();
    };
    test::TimeRuns(
        "batch change of every officer: preview, apply, the table and the editor following", runs,
        [&](int) { batch(); },
        [&](int i) {
            if (i > 0)
                undo();
        });
    std::printf("  %d changed, %d refused\n", applied.count(BatchOutcome::Result::Changed),
                applied.count(BatchOutcome::Result::Refused));
    test::TimeRuns(
        "undo of that batch: the table and the editor following", runs, [&](int) { undo(); },
        [&](int i) {
            if (i > 0)
                batch();
        });
    return 0;
}
