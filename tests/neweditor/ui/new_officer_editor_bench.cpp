// Times the new-officer editor on a demo game folder: opening the window (both
// files read, the list filled, officer 660 shown and painted) and switching
// officers (a List1 selection shows the record, its face and its biography).
//   build/tests/new_officer_editor_bench [runs]
#include "neweditor/ui/new_officer_editor.h"
#include "support/bench.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <memory>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    test::BenchSession bench;

    test::TimeRuns("open Form1", runs, [&](int) {
        std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(bench.session));
        if (!form)
            std::exit(1);
        form->show();
        QApplication::processEvents();
    });

    std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(bench.session));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return 1;
    test::TimeRuns("switch new officer (List1 -> showOfficer)", runs, [&](int i) {
        form->List1->setCurrentRow((i * 37 + 1) % form->List1->count());
        QApplication::processEvents();
    });
    return 0;
}
